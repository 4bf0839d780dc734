#include "testsupport/paths.h"

#include <cstdlib>

namespace tessary::testing {

namespace {
std::string fromEnvironment(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value ? value : fallback;
}
}  // namespace

std::string sourceDir() {
  return fromEnvironment("TESSARY_SOURCE_DIR", ".");
}
std::string binDir() {
  return fromEnvironment("TESSARY_BIN_DIR", "build/bin");
}
std::string sourcePath(const std::string& relative) {
  return sourceDir() + "/" + relative;
}

}  // namespace tessary::testing
