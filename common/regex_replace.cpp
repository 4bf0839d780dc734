// Regular-expression replacement over ICU's C regex API.
#include <unicode/uregex.h>

#include <map>
#include <memory>

#include "common/unicode.h"
#include "common/unicode_internal.h"

namespace tessary {

namespace {

struct RegexCloser {
  void operator()(URegularExpression* regex) const { uregex_close(regex); }
};
using RegexPointer = std::unique_ptr<URegularExpression, RegexCloser>;

// Title matching applies the same few patterns to many titles; compiling
// each pattern once per thread keeps that cheap. A pattern that does not
// compile is remembered as null.
URegularExpression* compiledPattern(std::string_view pattern) {
  thread_local std::map<std::string, RegexPointer, std::less<>> cache;
  auto found = cache.find(pattern);
  if (found != cache.end()) return found->second.get();
  const IcuString source = toUtf16(pattern);
  UErrorCode status = U_ZERO_ERROR;
  RegexPointer regex(
      uregex_open(source.data(), static_cast<int32_t>(source.size()), 0, nullptr, &status));
  if (U_FAILURE(status)) regex.reset();
  return cache.emplace(std::string(pattern), std::move(regex)).first->second.get();
}

// uregex_replaceAll reads "$n" and "\" in the replacement; escaping both
// makes the replacement literal.
IcuString literalReplacement(std::string_view replacement) {
  IcuString escaped;
  for (UChar c : toUtf16(replacement)) {
    if (c == u'$' || c == u'\\') escaped.push_back(u'\\');
    escaped.push_back(c);
  }
  return escaped;
}

}  // namespace

std::string regexReplaceAll(std::string_view text, std::string_view pattern,
                            std::string_view replacement) {
  URegularExpression* regex = compiledPattern(pattern);
  if (!regex) return std::string(text);
  const IcuString subject = toUtf16(text);
  const IcuString literal = literalReplacement(replacement);
  UErrorCode status = U_ZERO_ERROR;
  uregex_setText(regex, subject.data(), static_cast<int32_t>(subject.size()), &status);
  if (U_FAILURE(status)) return std::string(text);
  IcuString result(subject.size() + 16, UChar{0});
  int32_t length = uregex_replaceAll(regex, literal.data(), static_cast<int32_t>(literal.size()),
                                     result.data(), static_cast<int32_t>(result.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    result.resize(static_cast<size_t>(length));
    status = U_ZERO_ERROR;
    uregex_reset(regex, 0, &status);
    length = uregex_replaceAll(regex, literal.data(), static_cast<int32_t>(literal.size()),
                               result.data(), length, &status);
  }
  // The regex must not keep pointing at `subject` once it is gone.
  static const UChar kEmpty[1] = {0};
  UErrorCode clearStatus = U_ZERO_ERROR;
  uregex_setText(regex, kEmpty, 0, &clearStatus);
  if (U_FAILURE(status)) return std::string(text);
  result.resize(static_cast<size_t>(length));
  return toUtf8(result);
}

}  // namespace tessary
