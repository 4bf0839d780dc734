#include "platform/linux/atspi_calls.h"

#include <systemd/sd-bus.h>

#include <cstring>

#include "platform/linux/atspi_attributes.h"

namespace tessary::linuxdesktop {

namespace {

constexpr const char* kProperties = "org.freedesktop.DBus.Properties";

// Reads "(so)" at the current position.
std::optional<AtspiRef> readRefHere(sd_bus_message* message) {
  const char* bus = nullptr;
  const char* path = nullptr;
  if (sd_bus_message_read(message, "(so)", &bus, &path) <= 0 || !bus || !path) return std::nullopt;
  return AtspiRef{bus, path};
}

std::optional<uint32_t> readInterfacesHere(sd_bus_message* message) {
  char** names = nullptr;
  if (sd_bus_message_read_strv(message, &names) < 0) return std::nullopt;
  uint32_t bits = 0;
  for (char** name = names; name && *name; ++name) {
    bits |= interfaceBit(*name);
    free(*name);
  }
  free(names);
  return bits;
}

std::optional<uint64_t> readStatesHere(sd_bus_message* message) {
  const void* data = nullptr;
  size_t size = 0;
  if (sd_bus_message_read_array(message, 'u', &data, &size) < 0) return std::nullopt;
  uint32_t words[2] = {0, 0};
  std::memcpy(words, data, std::min(size, sizeof words));
  return uint64_t{words[0]} | (uint64_t{words[1]} << 32);
}

std::optional<std::vector<AtspiRef>> readRefListHere(sd_bus_message* message) {
  if (sd_bus_message_enter_container(message, 'a', "(so)") <= 0) return std::nullopt;
  std::vector<AtspiRef> refs;
  while (std::optional<AtspiRef> ref = readRefHere(message))
    refs.push_back(std::move(*ref));
  if (sd_bus_message_exit_container(message) < 0) return std::nullopt;
  return refs;
}

bool readStringHere(sd_bus_message* message, std::string& out) {
  const char* text = nullptr;
  if (sd_bus_message_read(message, "s", &text) <= 0 || !text) return false;
  out = text;
  return true;
}

}  // namespace

uint32_t interfaceBit(std::string_view name) {
  if (name == "org.a11y.atspi.Component") return atspiinterface::component;
  if (name == "org.a11y.atspi.Text") return atspiinterface::text;
  if (name == "org.a11y.atspi.EditableText") return atspiinterface::editableText;
  if (name == "org.a11y.atspi.Value") return atspiinterface::value;
  if (name == "org.a11y.atspi.Action") return atspiinterface::action;
  if (name == "org.a11y.atspi.Cache") return atspiinterface::cache;
  return 0;
}

DBusCall accessibleCall(const AtspiRef& ref, const char* interface, const char* member) {
  return DBusCall{ref.bus, ref.path, interface, member, {}};
}

DBusCall propertyGet(const AtspiRef& ref, const char* interface, const char* property) {
  std::string interfaceName = interface, propertyName = property;
  return DBusCall{
      ref.bus, ref.path, kProperties, "Get", [interfaceName, propertyName](sd_bus_message* m) {
        return sd_bus_message_append(m, "ss", interfaceName.c_str(), propertyName.c_str());
      }};
}

DBusCall extentsCall(const AtspiRef& ref) {
  return DBusCall{ref.bus, ref.path, "org.a11y.atspi.Component", "GetExtents",
                  [](sd_bus_message* m) { return sd_bus_message_append(m, "u", 0u); }};
}

DBusCall textCall(const AtspiRef& ref) {
  return DBusCall{ref.bus, ref.path, "org.a11y.atspi.Text", "GetText",
                  [](sd_bus_message* m) { return sd_bus_message_append(m, "ii", 0, -1); }};
}

DBusCall cacheItemsCall(const std::string& bus) {
  return DBusCall{bus, "/org/a11y/atspi/cache", "org.a11y.atspi.Cache", "GetItems", {}};
}

std::optional<std::vector<AtspiItem>> readCacheItems(sd_bus_message* reply) {
  if (!reply) return std::nullopt;
  const char* signature = sd_bus_message_get_signature(reply, 1);
  if (!signature) return std::nullopt;
  bool current = std::strcmp(signature, "a((so)(so)(so)iiassusau)") == 0;
  bool older = std::strcmp(signature, "a((so)(so)(so)a(so)assusau)") == 0;
  if (!current && !older) return std::nullopt;
  const char* itemSignature = current ? "(so)(so)(so)iiassusau" : "(so)(so)(so)a(so)assusau";
  if (sd_bus_message_enter_container(
          reply, 'a', current ? "((so)(so)(so)iiassusau)" : "((so)(so)(so)a(so)assusau)") <= 0) {
    return std::nullopt;
  }
  std::vector<AtspiItem> items;
  while (sd_bus_message_enter_container(reply, 'r', itemSignature) > 0) {
    AtspiItem item;
    std::optional<AtspiRef> ref = readRefHere(reply);
    std::optional<AtspiRef> application = readRefHere(reply);
    std::optional<AtspiRef> parent = readRefHere(reply);
    if (!ref || !application || !parent) return std::nullopt;
    item.ref = std::move(*ref);
    item.parent = std::move(*parent);
    if (current) {
      if (sd_bus_message_read(reply, "ii", &item.indexInParent, &item.childCount) <= 0)
        return std::nullopt;
    } else {
      item.children = readRefListHere(reply);
      if (!item.children) return std::nullopt;
      item.childCount = static_cast<int32_t>(item.children->size());
    }
    std::optional<uint32_t> interfaces = readInterfacesHere(reply);
    if (!interfaces || !readStringHere(reply, item.name) ||
        sd_bus_message_read(reply, "u", &item.role) <= 0 ||
        !readStringHere(reply, item.description)) {
      return std::nullopt;
    }
    item.interfaces = *interfaces;
    std::optional<uint64_t> states = readStatesHere(reply);
    if (!states) return std::nullopt;
    item.states = *states;
    if (sd_bus_message_exit_container(reply) < 0) return std::nullopt;
    items.push_back(std::move(item));
  }
  if (sd_bus_message_exit_container(reply) < 0) return std::nullopt;
  return items;
}

std::optional<std::vector<AtspiRef>> readReferenceList(sd_bus_message* reply) {
  return reply ? readRefListHere(reply) : std::nullopt;
}

std::optional<AtspiRef> readReference(sd_bus_message* reply) {
  return reply ? readRefHere(reply) : std::nullopt;
}

std::optional<AtspiRef> readReferenceVariant(sd_bus_message* reply) {
  if (!reply || sd_bus_message_enter_container(reply, 'v', "(so)") <= 0) return std::nullopt;
  return readRefHere(reply);
}

std::optional<AtspiExtents> readExtents(sd_bus_message* reply) {
  AtspiExtents e;
  if (!reply || sd_bus_message_read(reply, "(iiii)", &e.x, &e.y, &e.width, &e.height) <= 0)
    return std::nullopt;
  return e;
}

std::optional<uint64_t> readStates(sd_bus_message* reply) {
  return reply ? readStatesHere(reply) : std::nullopt;
}

std::optional<uint32_t> readInterfaces(sd_bus_message* reply) {
  return reply ? readInterfacesHere(reply) : std::nullopt;
}

std::optional<uint32_t> readUnsigned(sd_bus_message* reply) {
  uint32_t value = 0;
  if (!reply || sd_bus_message_read(reply, "u", &value) <= 0) return std::nullopt;
  return value;
}

namespace {

enum ObjectRead : size_t {
  kReadRole,
  kReadStates,
  kReadInterfaces,
  kReadProperties,
  kReadExtents,
  kObjectReadCount
};

// The Accessible interface's properties, from one GetAll answer ("a{sv}").
void readAccessibleProperties(sd_bus_message* reply, AtspiItem& item) {
  if (!reply || sd_bus_message_enter_container(reply, 'a', "{sv}") <= 0) return;
  while (sd_bus_message_enter_container(reply, 'e', "sv") > 0) {
    const char* key = nullptr;
    if (sd_bus_message_read(reply, "s", &key) <= 0 || !key) return;
    std::string_view name(key);
    const char* text = nullptr;
    int32_t count = 0;
    if ((name == "Name" || name == "Description" || name == "AccessibleId") &&
        sd_bus_message_read(reply, "v", "s", &text) > 0 && text) {
      if (name == "Name") item.name = text;
      if (name == "Description") item.description = text;
      if (name == "AccessibleId") item.accessibleId = std::string(text);
    } else if (name == "ChildCount" && sd_bus_message_read(reply, "v", "i", &count) > 0) {
      item.childCount = count;
    } else if (name == "Parent" && sd_bus_message_enter_container(reply, 'v', "(so)") > 0) {
      if (std::optional<AtspiRef> parent = readRefHere(reply)) item.parent = std::move(*parent);
      if (sd_bus_message_exit_container(reply) < 0) return;
    } else if (sd_bus_message_skip(reply, "v") < 0) {
      return;
    }
    if (sd_bus_message_exit_container(reply) < 0) return;
  }
}

}  // namespace

DBusCall fillCall(const AtspiRef& ref, ItemFill fill) {
  switch (fill) {
    case ItemFill::extents:
      return extentsCall(ref);
    case ItemFill::text:
      return textCall(ref);
    case ItemFill::value:
      return propertyGet(ref, "org.a11y.atspi.Value", "CurrentValue");
    case ItemFill::identifier:
      return propertyGet(ref, kAccessibleInterface, "AccessibleId");
    case ItemFill::children:
      break;
  }
  return accessibleCall(ref, kAccessibleInterface, "GetChildren");
}

void applyFill(AtspiItem& item, ItemFill fill, sd_bus_message* reply) {
  switch (fill) {
    case ItemFill::extents:
      item.extents = readExtents(reply);
      break;
    case ItemFill::text:
      item.text = readString(reply);
      item.textPending = false;
      break;
    case ItemFill::value:
      item.currentValue = readDoubleVariant(reply);
      break;
    case ItemFill::identifier:
      item.accessibleId = readStringVariant(reply);
      break;
    case ItemFill::children:
      item.children = readReferenceList(reply);
      break;
  }
}

void addValueFills(AtspiItem& item, std::vector<ItemFill>& fills) {
  if (item.implements(atspiinterface::value)) fills.push_back(ItemFill::value);
  if (!item.implements(atspiinterface::text)) return;
  // With a Value interface the text is the answer only when the value fails.
  if (!item.implements(atspiinterface::value) && valueIsText(item))
    fills.push_back(ItemFill::text);
  else
    item.textPending = true;
}

std::vector<DBusCall> objectReadCalls(const AtspiRef& ref) {
  std::vector<DBusCall> calls(kObjectReadCount);
  calls[kReadRole] = accessibleCall(ref, kAccessibleInterface, "GetRole");
  calls[kReadStates] = accessibleCall(ref, kAccessibleInterface, "GetState");
  calls[kReadInterfaces] = accessibleCall(ref, kAccessibleInterface, "GetInterfaces");
  calls[kReadProperties] = DBusCall{
      ref.bus, ref.path, kProperties, "GetAll",
      [](sd_bus_message* m) { return sd_bus_message_append(m, "s", kAccessibleInterface); }};
  calls[kReadExtents] = extentsCall(ref);
  return calls;
}

AtspiItem applyObjectReplies(const AtspiRef& ref, std::vector<DBusReply>& replies) {
  AtspiItem item;
  item.ref = ref;
  replies.resize(kObjectReadCount);
  auto message = [&](size_t i) { return replies[i].message.get(); };
  item.role = readUnsigned(message(kReadRole)).value_or(0);
  item.states = readStates(message(kReadStates)).value_or(0);
  item.interfaces = readInterfaces(message(kReadInterfaces)).value_or(0);
  // Unknown until the properties say; -1 has the children asked for.
  item.childCount = -1;
  readAccessibleProperties(message(kReadProperties), item);
  item.extents = readExtents(message(kReadExtents));
  return item;
}

std::vector<ItemFill> secondRoundFills(AtspiItem& item) {
  std::vector<ItemFill> fills;
  if (item.childCount != 0) fills.push_back(ItemFill::children);
  addValueFills(item, fills);
  return fills;
}

void completeObjectRead(AtspiItem& item) {
  if (!item.children) item.children.emplace();
  item.childCount = static_cast<int32_t>(item.children->size());
}

std::vector<DBusCall> geometryReadCalls(const AtspiRef& ref) {
  return {extentsCall(ref)};
}

AtspiItem applyGeometryReplies(const AtspiRef& ref, std::vector<DBusReply>& replies) {
  AtspiItem item;
  item.ref = ref;
  item.partial = true;
  replies.resize(1);
  item.extents = readExtents(replies[0].message.get());
  // Extents answered means the object has the Component interface.
  if (item.extents) item.interfaces |= atspiinterface::component;
  return item;
}

}  // namespace tessary::linuxdesktop
