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

// The calls that read one object without the cache, in the order
// `applyObjectReplies` takes their replies.
std::vector<DBusCall> objectReadCalls(const AtspiRef& ref);
AtspiItem applyObjectReplies(const AtspiRef& ref, std::vector<DBusReply>& replies);
// The extents only: the calls, and the partial item they make.
std::vector<DBusCall> geometryReadCalls(const AtspiRef& ref);
AtspiItem applyGeometryReplies(const AtspiRef& ref, std::vector<DBusReply>& replies);

}  // namespace tessary::linuxdesktop
