// Diagnostic and result lines go out whole and are flushed at once: the host
// reads them as they come.
#pragma once

#include <ostream>
#include <string_view>

namespace tessary {

inline void writeLine(std::ostream& stream, std::string_view line) {
  stream << line << '\n';
  stream.flush();
}

}  // namespace tessary
