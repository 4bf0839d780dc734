// What the module's functions accept, decided without the JavaScript
// runtime: the glue names each argument's kind and converts numbers here.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tessary::anchor {

// A Buffer is whatever the runtime's buffer test accepts.
enum class ArgumentKind { buffer, number, other };

struct Signature {
  std::string_view typeErrorMessage;
  std::span<const ArgumentKind> required;
};

inline constexpr ArgumentKind kHandleOnly[] = {ArgumentKind::buffer};
inline constexpr ArgumentKind kHandleAndWindowId[] = {ArgumentKind::buffer, ArgumentKind::number};

inline constexpr Signature kPinAboveSignature{"pinAbove(handleBuffer, targetCgWindowId)",
                                              kHandleAndWindowId};
inline constexpr Signature kSetWindowLevelNormalSignature{"setWindowLevelNormal(handleBuffer)",
                                                          kHandleOnly};
inline constexpr Signature kGetWindowNumberSignature{"getWindowNumber(handleBuffer)", kHandleOnly};
inline constexpr Signature kDescribeZOrderSignature{"describeZOrder(handleBuffer)", kHandleOnly};

// Whether the call may go on: at least as many arguments as the signature
// requires, each of its kind. Arguments past the required ones are ignored.
bool argumentsFit(std::span<const ArgumentKind> given, const Signature& signature);

// ECMAScript's ToUint32, which the runtime's uint32 conversion applies:
// fractions truncated toward zero, the result taken modulo 2^32, NaN and the
// infinities 0.
uint32_t toUint32(double value);

}  // namespace tessary::anchor
