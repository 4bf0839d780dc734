// What this backend knows about one accessible object of an application:
// the facts of the application's bulk cache read (or of a per-object read
// when it has no cache) plus the extents, text, value and identifier read
// for it in the same run. Plain data; the attribute translation reads it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessary::linuxdesktop {

// An object reference: the application's bus name and the object's path.
struct AtspiRef {
  std::string bus;
  std::string path;
  bool operator==(const AtspiRef&) const = default;
  bool isNull() const { return path.empty() || path == kNullPath; }
  static constexpr const char* kNullPath = "/org/a11y/atspi/null";
};

// The interfaces this backend reads.
namespace atspiinterface {
constexpr uint32_t component = 1;
constexpr uint32_t text = 2;
constexpr uint32_t editableText = 4;
constexpr uint32_t value = 8;
constexpr uint32_t action = 16;
constexpr uint32_t cache = 32;
}  // namespace atspiinterface
uint32_t interfaceBit(std::string_view dbusInterfaceName);

struct AtspiExtents {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

struct AtspiItem {
  AtspiRef ref;
  AtspiRef parent;
  int32_t indexInParent = -1;
  int32_t childCount = 0;
  uint32_t interfaces = 0;
  std::string name;
  uint32_t role = 0;
  std::string description;
  uint64_t states = 0;  // bit n = AT-SPI state n
  // The object's children when they were read from the object itself
  // (rather than put together from the cache's parent references).
  std::optional<std::vector<AtspiRef>> children;
  std::optional<AtspiExtents> extents;  // screen coordinates
  std::optional<std::string> text;      // the whole text of the Text interface
  // The text is still to be read: only some answers need it (the value of a
  // check box is its state, that of a spin button its number).
  bool textPending = false;
  std::optional<double> currentValue;  // the Value interface
  std::optional<std::string> accessibleId;
  // Only the extents were read (one of a long list of children
  // the cache does not hold); the rest is read when it is asked for.
  bool partial = false;
  // A cached object whose extents, text, value and identifier are still to
  // be read (it was not shown when the cache was read).
  bool detailsPending = false;

  bool has(uint32_t state) const { return state < 64 && (states >> state) & 1u; }
  bool implements(uint32_t interface) const { return (interfaces & interface) != 0; }
};

}  // namespace tessary::linuxdesktop
