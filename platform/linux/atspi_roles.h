// The one table from AT-SPI roles to the roles the logic reads.
#pragma once

#include <cstdint>
#include <string_view>

namespace tessary::linuxdesktop {

struct RoleMapping {
  std::string_view axRole;
  // The AT-SPI role's own name, given as the role description.
  std::string_view atspiName;
};

RoleMapping mapRole(uint32_t atspiRole);

// Top-level objects that count as windows of their application.
bool isWindowRole(uint32_t atspiRole);

}  // namespace tessary::linuxdesktop
