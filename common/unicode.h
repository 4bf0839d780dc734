// The Unicode work of the suite, in one small interface over ICU's C API
// (libicu on Linux, the system's libicucore on macOS, where grapheme clusters
// are counted with CoreFoundation instead). All texts are UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessary {

// Unicode whitespace and line breaks removed at both ends (the platform's
// whitespace-and-newlines set: Zs, U+0009..U+000D, U+0085, U+2028, U+2029).
std::string_view trimWhitespaceAndNewlines(std::string_view text);
// Full Unicode lower-case mapping.
std::string lowercased(std::string_view text);
// Every match of the ICU regular expression `pattern` replaced by
// `replacement` (taken literally). The text is returned unchanged when the
// pattern cannot be compiled.
std::string regexReplaceAll(std::string_view text, std::string_view pattern,
                            std::string_view replacement);
// User-perceived characters (extended grapheme clusters).
size_t graphemeClusterCount(std::string_view text);
// True when `text` is well-formed UTF-8.
bool isValidUtf8(std::string_view text);

}  // namespace tessary
