// The command line of voice-scribe: which locale to recognize.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessary {

inline constexpr const char* kDefaultLocaleIdentifier = "en-US";

// No arguments: "en-US". One argument "--locale=<id>", or the two arguments
// "--locale" and "<id>": the identifier trimmed of white space and line
// breaks. Anything else, or an identifier that trims to nothing: nothing
// (the usage error).
std::optional<std::string> parseLocaleIdentifier(const std::vector<std::string>& arguments);

}  // namespace tessary
