#include "platform/macos/cf_number.h"

namespace tessary::macos {

std::variant<int64_t, double> numberFromCFNumber(CFNumberRef number) {
  if (!CFNumberIsFloatType(number)) {
    int64_t integer = 0;
    if (CFNumberGetValue(number, kCFNumberSInt64Type, &integer)) return integer;
  }
  double real = 0;
  CFNumberGetValue(number, kCFNumberDoubleType, &real);
  return real;
}

}  // namespace tessary::macos
