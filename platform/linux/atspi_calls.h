// The AT-SPI D-Bus calls this backend makes and the readers of their replies.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/linux/atspi_item.h"
#include "platform/linux/dbus_connection.h"

namespace tessary::linuxdesktop {

inline constexpr const char* kAccessibleInterface = "org.a11y.atspi.Accessible";
inline constexpr const char* kRootPath = "/org/a11y/atspi/accessible/root";
inline constexpr const char* kRegistryBus = "org.a11y.atspi.Registry";

DBusCall accessibleCall(const AtspiRef& ref, const char* interface, const char* member);
DBusCall propertyGet(const AtspiRef& ref, const char* interface, const char* property);
DBusCall extentsCall(const AtspiRef& ref);
DBusCall textCall(const AtspiRef& ref);
DBusCall cacheItemsCall(const std::string& bus);

// The application's whole cache ("a((so)(so)(so)iiassusau)", or the older
// shape that lists each object's children); nothing for any other reply.
std::optional<std::vector<AtspiItem>> readCacheItems(sd_bus_message* reply);
std::optional<std::vector<AtspiRef>> readReferenceList(sd_bus_message* reply);  // a(so)
std::optional<AtspiRef> readReference(sd_bus_message* reply);                   // (so)
std::optional<AtspiRef> readReferenceVariant(sd_bus_message* reply);            // v (so)
std::optional<AtspiExtents> readExtents(sd_bus_message* reply);                 // (iiii)
std::optional<uint64_t> readStates(sd_bus_message* reply);                      // au
std::optional<uint32_t> readInterfaces(sd_bus_message* reply);                  // as
std::optional<uint32_t> readUnsigned(sd_bus_message* reply);                    // u

// The facts of an object that take a call each: beyond the cache, and beyond
// the first round of an object read without it.
enum class ItemFill { extents, text, value, identifier, children };
DBusCall fillCall(const AtspiRef& ref, ItemFill fill);
void applyFill(AtspiItem& item, ItemFill fill, sd_bus_message* reply);
// The text and value an object needs read: the Value interface's value, and
// the text only where the value is the text. Text that may still be needed
// (the value may fail, a range may be measured) is marked pending.
void addValueFills(AtspiItem& item, std::vector<ItemFill>& fills);

// An object read without the cache takes two rounds. The first asks what it
// is (role, states, interfaces, the Accessible properties, extents), in the
// order `applyObjectReplies` takes their replies; the second what that says
// there is to read (`secondRoundFills`: its children unless it has none, its
// value and text as `addValueFills` says).
std::vector<DBusCall> objectReadCalls(const AtspiRef& ref);
AtspiItem applyObjectReplies(const AtspiRef& ref, std::vector<DBusReply>& replies);
std::vector<ItemFill> secondRoundFills(AtspiItem& item);
// After the second round: the children read (none when it has none or they
// could not be read) and their count.
void completeObjectRead(AtspiItem& item);
// The extents only: the calls, and the partial item they make.
std::vector<DBusCall> geometryReadCalls(const AtspiRef& ref);
AtspiItem applyGeometryReplies(const AtspiRef& ref, std::vector<DBusReply>& replies);

}  // namespace tessary::linuxdesktop
