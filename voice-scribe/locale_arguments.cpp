#include "voice-scribe/locale_arguments.h"

#include <string_view>

#include "common/unicode.h"

namespace tessary {

namespace {
constexpr std::string_view kLocaleOption = "--locale";
constexpr std::string_view kLocaleOptionWithValue = "--locale=";

std::optional<std::string> nonEmpty(std::string_view identifier) {
  std::string_view trimmed = trimWhitespaceAndNewlines(identifier);
  if (trimmed.empty()) return std::nullopt;
  return std::string(trimmed);
}
}  // namespace

std::optional<std::string> parseLocaleIdentifier(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return std::string(kDefaultLocaleIdentifier);
  if (arguments.size() == 1 && arguments[0].starts_with(kLocaleOptionWithValue)) {
    return nonEmpty(std::string_view(arguments[0]).substr(kLocaleOptionWithValue.size()));
  }
  if (arguments.size() == 2 && arguments[0] == kLocaleOption) return nonEmpty(arguments[1]);
  return std::nullopt;
}

}  // namespace tessary
