#pragma once

#include <string>

namespace tessary::testing {

// The source tree and the build's program directory, as CTest passes them.
std::string sourceDir();
std::string binDir();
// A scene file under tests/scenes or demo, by path relative to the source tree.
std::string sourcePath(const std::string& relative);

}  // namespace tessary::testing
