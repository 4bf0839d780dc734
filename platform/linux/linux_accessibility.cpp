#include "platform/linux/linux_accessibility.h"

#include <atspi/atspi-constants.h>
#include <systemd/sd-bus.h>

#include <algorithm>
#include <cmath>

#include "platform/linux/atspi_attributes.h"
#include "platform/linux/atspi_calls.h"
#include "platform/linux/atspi_roles.h"

namespace tessary::linuxdesktop {

namespace {

// The messaging timeout of the platform when none is set.
constexpr double kDefaultTimeoutSeconds = 6.0;
// Deeper than any real tree; only a hostile application gets here.
constexpr int kMaxHitDepth = 128;
constexpr const char* kChildrenChangedEvent = "object:children-changed";
// Child lists longer than this that the cache does not hold are read for
// their geometry first.
constexpr size_t kFullReadLimit = 64;
// The logic reads list attributes in slices of at most 9,999 entries.
constexpr size_t kMaxChildrenPrefetched = 9999;
// How much of an application without a cache is read to find its focus.
constexpr size_t kMaxShownTreeObjects = 20000;

struct LinuxElement {
  bool systemWide = false;
  AtspiRef ref;
};

// What is read with an object's details rather than with the cache.
bool attributeNeedsDetails(std::string_view attribute) {
  return attribute == "AXPosition" || attribute == "AXSize" || attribute == "AXValue" ||
         attribute == "AXIdentifier" || attribute == "AXChildren" || attribute == "AXWindows" ||
         attribute == "AXSelectedText" || attribute == "AXSelectedTextRange";
}

uint64_t hashOf(const AtspiRef& ref) {
  uint64_t hash = 1469598103934665603ull;
  auto mix = [&](std::string_view text) {
    for (unsigned char c : text) {
      hash ^= c;
      hash *= 1099511628211ull;
    }
  };
  mix(ref.bus);
  mix(std::string_view("\0", 1));
  mix(ref.path);
  return hash;
}

const LinuxElement* nativeOf(const AXElement& element) {
  return static_cast<const LinuxElement*>(element.native());
}

uint64_t microseconds(double seconds) {
  return static_cast<uint64_t>(std::max(0.001, seconds) * 1e6);
}

// AT-SPI text offsets count characters; ranges on the platform count UTF-16
// code units.
size_t byteOffsetOfCharacter(const std::string& text, int64_t character) {
  size_t byte = 0;
  for (int64_t i = 0; i < character && byte < text.size(); ++i) {
    ++byte;
    while (byte < text.size() && (static_cast<unsigned char>(text[byte]) & 0xC0) == 0x80)
      ++byte;
  }
  return byte;
}

int64_t utf16Length(std::string_view text) {
  int64_t units = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c & 0xC0) == 0x80) continue;
    units += c >= 0xF0 ? 2 : 1;
  }
  return units;
}

// The character offset at a UTF-16 offset (a surrogate pair's second half
// counts with its character).
int32_t characterOffsetOfUtf16(std::string_view text, int64_t units) {
  int64_t seen = 0;
  int32_t characters = 0;
  for (size_t i = 0; i < text.size() && seen < units; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c & 0xC0) == 0x80) continue;
    seen += c >= 0xF0 ? 2 : 1;
    ++characters;
  }
  // Past the end the toolkit clamps; keep the count in range of its integers.
  int64_t beyond = std::max<int64_t>(0, units - seen);
  return static_cast<int32_t>(std::min<int64_t>(characters + beyond, INT32_MAX));
}

int32_t errorOf(const DBusReply& reply) {
  if (reply.ok()) return axerror::success;
  if (reply.timedOut()) return axerror::cannotComplete;
  if (reply.errorName == SD_BUS_ERROR_UNKNOWN_METHOD ||
      reply.errorName == SD_BUS_ERROR_UNKNOWN_INTERFACE) {
    return axerror::attributeUnsupported;
  }
  if (reply.errorName == SD_BUS_ERROR_UNKNOWN_OBJECT ||
      reply.errorName == SD_BUS_ERROR_SERVICE_UNKNOWN ||
      reply.errorName == SD_BUS_ERROR_NAME_HAS_NO_OWNER) {
    return axerror::invalidUIElement;
  }
  return axerror::failure;
}

}  // namespace

struct LinuxAccessibility::Application {
  std::string bus;
  bool loaded = false;
  bool cached = false;  // the snapshot came from the application's cache
  std::optional<double> timeoutSeconds;
  std::unordered_map<std::string, AtspiItem> items;  // by path
  // Children put together from the cache's parent references, by path.
  std::unordered_map<std::string, std::vector<AtspiRef>> cacheChildren;
};

LinuxAccessibility::LinuxAccessibility(std::unique_ptr<DBusConnection> accessibilityBus,
                                       std::unique_ptr<DBusConnection> sessionBus,
                                       DesktopWindows& windows)
    : bus_(std::move(accessibilityBus)),
      session_(std::move(sessionBus)),
      windows_(windows),
      defaultTimeout_(microseconds(kDefaultTimeoutSeconds)) {}

LinuxAccessibility::~LinuxAccessibility() = default;

uint64_t LinuxAccessibility::callsSent() const {
  return bus_ ? bus_->callsSent() : 0;
}

std::map<std::string, uint64_t> LinuxAccessibility::callsByMember() const {
  return bus_ ? bus_->callsByMember() : std::map<std::string, uint64_t>{};
}

size_t LinuxAccessibility::objectsRead() const {
  size_t objects = 0;
  for (const auto& [bus, app] : applications_)
    objects += app->items.size();
  return objects;
}

bool LinuxAccessibility::isProcessTrusted() {
  return bus_ != nullptr;
}

AXElement LinuxAccessibility::elementFor(const AtspiRef& ref) {
  auto native = std::make_shared<LinuxElement>(LinuxElement{false, ref});
  uint64_t hash = hashOf(ref);
  return AXElement(std::move(native), hash);
}

AXElement LinuxAccessibility::applicationElement(int32_t pid) {
  std::optional<std::string> bus = busOfPid(pid);
  // An application that is not in the registry gets a handle whose every
  // call fails, as the platform's handle for a process without accessibility.
  return elementFor(AtspiRef{bus.value_or(""), kRootPath});
}

AXElement LinuxAccessibility::systemWideElement() {
  auto native = std::make_shared<LinuxElement>(LinuxElement{true, {}});
  return AXElement(std::move(native), 1);
}

const std::vector<LinuxAccessibility::RegisteredApplication>&
LinuxAccessibility::registeredApplications() {
  if (registered_) return *registered_;
  registered_.emplace();
  if (!bus_) return *registered_;
  // The event listener goes in the same round trip: the registry has told
  // the applications of it before it answers the list.
  std::vector<DBusCall> registryCalls = {
      accessibleCall(AtspiRef{kRegistryBus, kRootPath}, kAccessibleInterface, "GetChildren")};
  if (!listenerRegistered_) {
    registryCalls.insert(registryCalls.begin(), eventListenerCall());
    listenerRegistered_ = true;
  }
  std::vector<DBusReply> registryReplies = bus_->callAll(registryCalls, defaultTimeout_);
  std::optional<std::vector<AtspiRef>> apps =
      readReferenceList(registryReplies.back().message.get());
  if (!apps) return *registered_;
  std::vector<DBusCall> calls;
  for (const AtspiRef& app : *apps) {
    std::string name = app.bus;
    calls.push_back(DBusCall{
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "GetConnectionUnixProcessID",
        [name](sd_bus_message* m) { return sd_bus_message_append(m, "s", name.c_str()); }});
  }
  std::vector<DBusReply> pids = bus_->callAll(calls, defaultTimeout_);
  for (size_t i = 0; i < apps->size(); ++i) {
    uint32_t pid = 0;
    if (!pids[i].ok() || sd_bus_message_read(pids[i].message.get(), "u", &pid) <= 0) continue;
    registered_->push_back(RegisteredApplication{(*apps)[i].bus, static_cast<int32_t>(pid)});
    pidOfBus_[(*apps)[i].bus] = static_cast<int32_t>(pid);
  }
  return *registered_;
}

std::optional<std::string> LinuxAccessibility::busOfPid(int32_t pid) {
  for (const RegisteredApplication& app : registeredApplications()) {
    if (app.pid == pid) return app.bus;
  }
  return std::nullopt;
}

std::optional<int32_t> LinuxAccessibility::pidOfBus(const std::string& bus) {
  registeredApplications();
  auto known = pidOfBus_.find(bus);
  if (known != pidOfBus_.end()) return known->second;
  if (!bus_ || bus.empty()) return std::nullopt;
  DBusReply reply = bus_->call(
      DBusCall{"org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
               "GetConnectionUnixProcessID",
               [bus](sd_bus_message* m) { return sd_bus_message_append(m, "s", bus.c_str()); }},
      defaultTimeout_);
  uint32_t pid = 0;
  if (!reply.ok() || sd_bus_message_read(reply.message.get(), "u", &pid) <= 0) return std::nullopt;
  pidOfBus_[bus] = static_cast<int32_t>(pid);
  return static_cast<int32_t>(pid);
}

uint64_t LinuxAccessibility::timeoutFor(const std::string& bus) const {
  auto app = applications_.find(bus);
  if (app != applications_.end() && app->second->timeoutSeconds)
    return microseconds(*app->second->timeoutSeconds);
  return defaultTimeout_;
}

// Toolkits publish their cache only once some client listens for events;
// one listener for the run switches it on in every application.
DBusCall LinuxAccessibility::eventListenerCall() {
  return DBusCall{kRegistryBus, "/org/a11y/atspi/registry", "org.a11y.atspi.Registry",
                  "RegisterEvent", [](sd_bus_message* m) {
                    int status = sd_bus_message_append(m, "s", kChildrenChangedEvent);
                    if (status >= 0) status = sd_bus_message_append_strv(m, nullptr);
                    if (status >= 0) status = sd_bus_message_append(m, "s", "");
                    return status;
                  }};
}

void LinuxAccessibility::registerEventListener() {
  if (listenerRegistered_ || !bus_) return;
  listenerRegistered_ = true;
  bus_->call(eventListenerCall(), defaultTimeout_);
}

LinuxAccessibility::Application* LinuxAccessibility::application(const std::string& bus) {
  if (!bus_ || bus.empty()) return nullptr;
  auto found = applications_.find(bus);
  if (found == applications_.end()) {
    auto app = std::make_unique<Application>();
    app->bus = bus;
    found = applications_.emplace(bus, std::move(app)).first;
  }
  Application& app = *found->second;
  if (!app.loaded) loadSnapshot(app);
  return &app;
}

void LinuxAccessibility::loadSnapshot(Application& app) {
  app.loaded = true;
  registerEventListener();
  uint64_t timeout = timeoutFor(app.bus);
  AtspiRef root{app.bus, kRootPath};
  DBusReply reply = bus_->call(cacheItemsCall(app.bus), timeout);
  std::optional<std::vector<AtspiItem>> cached = readCacheItems(reply.message.get());

  if (!cached) {
    // An application that answers nothing is gone (or never was): its root
    // stays unknown and every call on it fails.
    readObjects(app, {root}, ReadDepth::full);
    return;
  }
  app.cached = true;
  for (AtspiItem& item : *cached) {
    if (item.ref.bus != app.bus) continue;
    std::string path = item.ref.path;
    app.items.emplace(std::move(path), std::move(item));
  }
  // Children from the parent references, in index order; an object whose
  // cached children do not add up to its child count is asked itself.
  std::unordered_map<std::string, std::vector<std::pair<int32_t, AtspiRef>>> byParent;
  for (const auto& [path, item] : app.items) {
    if (item.parent.bus == app.bus && item.indexInParent >= 0)
      byParent[item.parent.path].emplace_back(item.indexInParent, item.ref);
  }
  for (auto& [parent, children] : byParent) {
    std::sort(children.begin(), children.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<AtspiRef>& list = app.cacheChildren[parent];
    for (auto& child : children)
      list.push_back(std::move(child.second));
  }

  // Details of the objects that are shown come in the same batch; those of
  // hidden ones (other pages, closed menus) only if they are asked about.
  FillBatch details;
  for (auto& [path, item] : app.items) {
    if (item.has(ATSPI_STATE_SHOWING))
      details.addDetails(item, app);
    else
      item.detailsPending = true;
  }
  std::vector<DBusReply> replies = bus_->callAll(details.calls, timeout);
  details.apply(replies, 0);
  // Toolkits that keep the application object out of their cache have it
  // read as any object is.
  readObjects(app, {root}, ReadDepth::full);
}

void LinuxAccessibility::FillBatch::add(AtspiItem& item, ItemFill fill) {
  calls.push_back(fillCall(item.ref, fill));
  fills.emplace_back(&item, fill);
}

void LinuxAccessibility::FillBatch::addDetails(AtspiItem& item, const Application& app) {
  item.detailsPending = false;
  if (item.implements(atspiinterface::component)) add(item, ItemFill::extents);
  std::vector<ItemFill> valueFills;
  addValueFills(item, valueFills);
  for (ItemFill fill : valueFills)
    add(item, fill);
  add(item, ItemFill::identifier);
  auto listed = app.cacheChildren.find(item.ref.path);
  size_t cachedCount = listed == app.cacheChildren.end() ? 0 : listed->second.size();
  // Objects that manage their descendants (tables, trees) leave them out of
  // the cache and give no count (-1).
  bool countMismatch = item.childCount < 0 || static_cast<size_t>(item.childCount) != cachedCount;
  if (!item.children && (countMismatch || item.has(ATSPI_STATE_MANAGES_DESCENDANTS)))
    add(item, ItemFill::children);
}

void LinuxAccessibility::FillBatch::apply(std::vector<DBusReply>& replies, size_t first) {
  for (size_t i = 0; i < fills.size() && first + i < replies.size(); ++i)
    applyFill(*fills[i].first, fills[i].second, replies[first + i].message.get());
}

AtspiItem* LinuxAccessibility::detailedItem(const AtspiRef& ref) {
  AtspiItem* known = completeItem(ref);
  if (!known || !known->detailsPending) return known;
  Application* app = application(ref.bus);
  FillBatch details;
  details.addDetails(*known, *app);
  std::vector<DBusReply> replies = bus_->callAll(details.calls, timeoutFor(ref.bus));
  details.apply(replies, 0);
  return known;
}

void LinuxAccessibility::readObjects(Application& app, const std::vector<AtspiRef>& refs,
                                     ReadDepth depth) {
  std::vector<AtspiRef> missing;
  for (const AtspiRef& ref : refs) {
    if (ref.bus != app.bus || ref.isNull()) continue;
    auto known = app.items.find(ref.path);
    if (known == app.items.end() || (depth == ReadDepth::full && known->second.partial))
      missing.push_back(ref);
  }
  if (missing.empty()) return;
  // A long list (the cells of a big table) is read for its geometry only:
  // most of it lies outside the view and is culled by position.
  const bool geometryOnly =
      depth == ReadDepth::geometryForLongLists && missing.size() > kFullReadLimit;
  std::vector<DBusCall> calls;
  size_t perObject = 0;
  for (const AtspiRef& ref : missing) {
    std::vector<DBusCall> objectCalls =
        geometryOnly ? geometryReadCalls(ref) : objectReadCalls(ref);
    perObject = objectCalls.size();
    for (DBusCall& call : objectCalls)
      calls.push_back(std::move(call));
  }
  std::vector<DBusReply> replies = bus_->callAll(calls, timeoutFor(app.bus));
  std::vector<AtspiItem*> read;
  for (size_t i = 0; i < missing.size(); ++i) {
    std::vector<DBusReply> objectReplies;
    for (size_t j = 0; j < perObject; ++j)
      objectReplies.push_back(std::move(replies[i * perObject + j]));
    // An object that answers nothing at all is gone; it stays unknown.
    bool anyAnswer = std::any_of(objectReplies.begin(), objectReplies.end(),
                                 [](const DBusReply& r) { return r.ok(); });
    if (!anyAnswer) continue;
    auto [slot, inserted] = app.items.insert_or_assign(
        missing[i].path, geometryOnly ? applyGeometryReplies(missing[i], objectReplies)
                                      : applyObjectReplies(missing[i], objectReplies));
    read.push_back(&slot->second);
  }
  if (geometryOnly) return;
  // The second round: what the first says there is to read.
  FillBatch second;
  for (AtspiItem* object : read) {
    for (ItemFill fill : secondRoundFills(*object))
      second.add(*object, fill);
  }
  std::vector<DBusReply> secondReplies = bus_->callAll(second.calls, timeoutFor(app.bus));
  second.apply(secondReplies, 0);
  for (AtspiItem* object : read)
    completeObjectRead(*object);
}

void LinuxAccessibility::readText(AtspiItem& object) {
  DBusReply reply = bus_->call(textCall(object.ref), timeoutFor(object.ref.bus));
  applyFill(object, ItemFill::text, reply.message.get());
}

AtspiItem* LinuxAccessibility::item(const AtspiRef& ref) {
  Application* app = application(ref.bus);
  if (!app || ref.isNull()) return nullptr;
  auto found = app->items.find(ref.path);
  if (found != app->items.end()) return &found->second;
  readObjects(*app, {ref}, ReadDepth::full);
  found = app->items.find(ref.path);
  return found == app->items.end() ? nullptr : &found->second;
}

AtspiItem* LinuxAccessibility::completeItem(const AtspiRef& ref) {
  AtspiItem* known = item(ref);
  if (!known || !known->partial) return known;
  Application* app = application(ref.bus);
  readObjects(*app, {ref}, ReadDepth::full);
  return item(ref);
}

std::vector<AtspiRef> LinuxAccessibility::childrenOf(Application& app, const AtspiItem& item) {
  std::vector<AtspiRef> children;
  if (item.children) {
    children = *item.children;
  } else if (auto listed = app.cacheChildren.find(item.ref.path);
             listed != app.cacheChildren.end()) {
    children = listed->second;
  }
  // Children the snapshot does not hold yet are read together, in one batch;
  // beyond the longest list anything reads, each is read when asked about.
  std::vector<AtspiRef> prefetch(
      children.begin(),
      children.begin() + static_cast<ptrdiff_t>(std::min(children.size(), kMaxChildrenPrefetched)));
  readObjects(app, prefetch, ReadDepth::geometryForLongLists);
  return children;
}

AXResult LinuxAccessibility::objectAttribute(const AtspiRef& ref, std::string_view attribute) {
  Application* app = application(ref.bus);
  // Position and size are there for every object read; everything else
  // needs the whole object.
  const bool geometry = attribute == "AXPosition" || attribute == "AXSize";
  AtspiItem* found = geometry ? item(ref) : completeItem(ref);
  if (found && found->detailsPending && attributeNeedsDetails(attribute)) found = detailedItem(ref);
  if (!app || !found) return AXResult::failed(axerror::invalidUIElement);
  AtspiItem& object = *found;
  // Text left unread because the value did not come from it is read once
  // it does (a spin button whose number could not be read).
  if (attribute == "AXValue" && object.textPending && valueIsText(object)) readText(object);

  if (attribute == "AXWindows") {
    if (object.role != ATSPI_ROLE_APPLICATION)
      return AXResult::failed(axerror::attributeUnsupported);
    AXValueList windows;
    for (const AtspiRef& child : childrenOf(*app, object)) {
      const AtspiItem* window = item(child);
      if (!window || !isWindowRole(window->role)) continue;
      if (!window->has(ATSPI_STATE_SHOWING) && !window->has(ATSPI_STATE_ICONIFIED)) continue;
      windows.emplace_back(elementFor(child));
    }
    return AXResult::of(AXValue(std::move(windows)));
  }
  if (attribute == "AXFocusedUIElement") {
    if (object.role != ATSPI_ROLE_APPLICATION)
      return AXResult::failed(axerror::attributeUnsupported);
    return focusedElement(pidOfBus(ref.bus));
  }
  if (attribute == "AXSelectedText" || attribute == "AXSelectedTextRange") {
    if (!object.implements(atspiinterface::text))
      return AXResult::failed(axerror::attributeUnsupported);
    return selectedText(object, attribute == "AXSelectedTextRange");
  }

  AttributeSources sources{[this](const AtspiRef& r) { return elementFor(r); },
                           [this, app](const AtspiItem& i) { return childrenOf(*app, i); },
                           [app](const AtspiRef& r) {
                             auto known = app->items.find(r.path);
                             if (known == app->items.end() || known->second.states == 0)
                               return true;
                             return known->second.has(ATSPI_STATE_SHOWING);
                           }};
  return readItemAttribute(object, attribute, sources);
}

AXResult LinuxAccessibility::selectedText(AtspiItem& object, bool rangeOnly) {
  uint64_t timeout = timeoutFor(object.ref.bus);
  std::vector<DBusCall> calls = {
      DBusCall{object.ref.bus, object.ref.path, "org.a11y.atspi.Text", "GetSelection",
               [](sd_bus_message* m) { return sd_bus_message_append(m, "i", 0); }},
      propertyGet(object.ref, "org.a11y.atspi.Text", "CaretOffset"), textCall(object.ref)};
  std::vector<DBusReply> replies = bus_->callAll(calls, timeout);
  if (std::optional<std::string> text = readString(replies[2].message.get())) {
    object.text = *text;
    object.textPending = false;
  }
  const std::string text = object.text.value_or("");
  int32_t start = 0, end = 0;
  if (!replies[0].ok() || sd_bus_message_read(replies[0].message.get(), "ii", &start, &end) <= 0 ||
      start == end) {
    int32_t caret = 0;
    if (!replies[1].ok() || sd_bus_message_read(replies[1].message.get(), "v", "i", &caret) <= 0) {
      return AXResult::failed(errorOf(replies[0].ok() ? replies[1] : replies[0]));
    }
    start = end = std::max(0, caret);
  }
  if (start > end) std::swap(start, end);
  size_t from = byteOffsetOfCharacter(text, std::max(0, start));
  size_t to = byteOffsetOfCharacter(text, std::max(0, end));
  std::string selected = text.substr(from, to - from);
  if (!rangeOnly) return AXResult::of(AXValue(std::move(selected)));
  int64_t location = utf16Length(std::string_view(text).substr(0, from));
  return AXResult::of(AXValue(AXRange{location, utf16Length(selected)}));
}

AXResult LinuxAccessibility::focusedElement(std::optional<int32_t> pid) {
  if (!pid) return AXResult::failed(axerror::noValue);
  std::optional<std::string> bus = busOfPid(*pid);
  Application* app = bus ? application(*bus) : nullptr;
  if (!app) return AXResult::failed(axerror::noValue);
  if (!app->cached) readShownTree(*app);
  // The deepest focused object that is shown: containers of the focus may
  // carry the state too.
  const AtspiItem* best = nullptr;
  size_t bestDepth = 0;
  for (const auto& [path, candidate] : app->items) {
    if (!candidate.has(ATSPI_STATE_FOCUSED) || !candidate.has(ATSPI_STATE_SHOWING)) continue;
    size_t depth = 0;
    for (const AtspiItem* up = &candidate; up && depth < 256; ++depth) {
      auto parent = app->items.find(up->parent.path);
      up = parent == app->items.end() || up->parent.bus != app->bus ? nullptr : &parent->second;
    }
    if (!best || depth > bestDepth || (depth == bestDepth && candidate.ref.path < best->ref.path)) {
      best = &candidate;
      bestDepth = depth;
    }
  }
  if (!best) return AXResult::failed(axerror::noValue);
  return AXResult::of(AXValue(elementFor(best->ref)));
}

// Without a cache the shown part of the tree is read level by level, one
// batch per level, so that a question about all of it (where the focus is)
// can be answered.
void LinuxAccessibility::readShownTree(Application& app) {
  AtspiItem* root = item(AtspiRef{app.bus, kRootPath});
  if (!root) return;
  std::vector<AtspiRef> level = childrenOf(app, *root);
  size_t visited = 0;
  for (int depth = 0; depth < kMaxHitDepth && !level.empty() && visited < kMaxShownTreeObjects;
       ++depth) {
    readObjects(app, level, ReadDepth::full);
    std::vector<AtspiRef> next;
    for (const AtspiRef& ref : level) {
      ++visited;
      auto known = app.items.find(ref.path);
      if (known == app.items.end() || !known->second.has(ATSPI_STATE_SHOWING)) continue;
      if (known->second.children) {
        for (const AtspiRef& child : *known->second.children)
          if (child.bus == app.bus && !child.isNull()) next.push_back(child);
      }
    }
    level = std::move(next);
  }
}

AXResult LinuxAccessibility::copyAttributeValue(const AXElement& element,
                                                std::string_view attribute) {
  const LinuxElement* native = nativeOf(element);
  if (!native || !bus_) return AXResult::failed(axerror::invalidUIElement);
  if (native->systemWide) {
    if (attribute == "AXFocusedUIElement") return focusedElement(windows_.activeWindowPid());
    if (attribute == "AXFocusedApplication") {
      std::optional<int32_t> pid = windows_.activeWindowPid();
      std::optional<std::string> bus = pid ? busOfPid(*pid) : std::nullopt;
      if (!bus) return AXResult::failed(axerror::noValue);
      return AXResult::of(AXValue(elementFor(AtspiRef{*bus, kRootPath})));
    }
    return AXResult::failed(axerror::attributeUnsupported);
  }
  return objectAttribute(native->ref, attribute);
}

AXResult LinuxAccessibility::copyAttributeValues(const AXElement& element,
                                                 std::string_view attribute, int64_t index,
                                                 int64_t maxCount) {
  AXResult whole = copyAttributeValue(element, attribute);
  const AXValue* value = whole.get();
  if (!value) return whole;
  const AXValueList* list = value->list();
  if (!list) return AXResult::failed(axerror::illegalArgument);
  if (index < 0 || maxCount < 0) return AXResult::failed(axerror::illegalArgument);
  size_t from = std::min(list->size(), static_cast<size_t>(index));
  size_t to = std::min(list->size(), from + static_cast<size_t>(maxCount));
  return AXResult::of(AXValue(AXValueList(list->begin() + static_cast<ptrdiff_t>(from),
                                          list->begin() + static_cast<ptrdiff_t>(to))));
}

std::vector<AXResult> LinuxAccessibility::copyMultipleAttributeValues(
    const AXElement& element, std::span<const std::string_view> attributes) {
  std::vector<AXResult> answers;
  answers.reserve(attributes.size());
  for (std::string_view attribute : attributes)
    answers.push_back(copyAttributeValue(element, attribute));
  return answers;
}

AXResult LinuxAccessibility::copyParameterizedAttributeValue(const AXElement& element,
                                                             std::string_view attribute,
                                                             const AXValue& parameter) {
  const LinuxElement* native = nativeOf(element);
  if (!native || !bus_) return AXResult::failed(axerror::invalidUIElement);
  if (native->systemWide || attribute != "AXBoundsForRange")
    return AXResult::failed(axerror::parameterizedAttributeUnsupported);
  AtspiItem* object = detailedItem(native->ref);
  if (!object) return AXResult::failed(axerror::invalidUIElement);
  if (!object->implements(atspiinterface::text))
    return AXResult::failed(axerror::parameterizedAttributeUnsupported);
  std::optional<AXRange> range = parameter.range();
  if (!range || range->location < 0 || range->length < 0)
    return AXResult::failed(axerror::illegalArgument);
  if (object->textPending) readText(*object);
  const std::string text = object->text.value_or("");
  int32_t start = characterOffsetOfUtf16(text, range->location);
  int32_t end = characterOffsetOfUtf16(text, range->location + range->length);
  DBusReply reply = bus_->call(
      DBusCall{native->ref.bus, native->ref.path, "org.a11y.atspi.Text", "GetRangeExtents",
               [start, end](sd_bus_message* m) {
                 return sd_bus_message_append(m, "iiu", start, end, 0u);
               }},
      timeoutFor(native->ref.bus));
  if (!reply.ok()) return AXResult::failed(errorOf(reply));
  // Unlike GetExtents this answers four integers, not one structure.
  AtspiExtents e;
  std::optional<AtspiExtents> extents;
  if (sd_bus_message_read(reply.message.get(), "iiii", &e.x, &e.y, &e.width, &e.height) > 0)
    extents = e;
  if (!extents || !extentsArePlaced(*extents)) return AXResult::failed(axerror::noValue);
  return AXResult::of(AXValue(
      AXRect{AXPoint{static_cast<double>(extents->x), static_cast<double>(extents->y)},
             AXSize{static_cast<double>(extents->width), static_cast<double>(extents->height)}}));
}

AXResult LinuxAccessibility::isAttributeSettable(const AXElement& element,
                                                 std::string_view attribute) {
  const LinuxElement* native = nativeOf(element);
  if (!native || !bus_) return AXResult::failed(axerror::invalidUIElement);
  if (native->systemWide) return AXResult::of(AXValue(false));
  AtspiItem* object = completeItem(native->ref);
  if (!object) return AXResult::failed(axerror::invalidUIElement);
  if (attribute == "AXValue") return AXResult::of(AXValue(valueIsSettable(*object)));
  if (attribute == "AXFocused") return AXResult::of(AXValue(object->has(ATSPI_STATE_FOCUSABLE)));
  if (attribute == "AXManualAccessibility" || attribute == "AXEnhancedUserInterface")
    return AXResult::of(AXValue(object->role == ATSPI_ROLE_APPLICATION && session_ != nullptr));
  return AXResult::of(AXValue(false));
}

// Browsers on Linux build their accessibility trees only while the bus's
// "IsEnabled" switch is on; turning it on is what activating web content
// amounts to here.
int32_t LinuxAccessibility::enableAccessibilitySwitch() {
  if (!session_) return axerror::cannotComplete;
  // Nothing here turns the switch off, so once seen on it stays on for the
  // run (a capture writes it four times).
  if (switchSeenOn_) return axerror::attributeUnsupported;
  DBusCall get{"org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Get",
               [](sd_bus_message* m) {
                 return sd_bus_message_append(m, "ss", "org.a11y.Status", "IsEnabled");
               }};
  DBusReply current = session_->call(get, defaultTimeout_);
  // Already on: there is nothing to activate and nothing to wait for.
  if (readBooleanVariant(current.message.get()).value_or(false)) {
    switchSeenOn_ = true;
    return axerror::attributeUnsupported;
  }
  DBusCall set{"org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
               [](sd_bus_message* m) {
                 return sd_bus_message_append(m, "ssv", "org.a11y.Status", "IsEnabled", "b", 1);
               }};
  return session_->call(set, defaultTimeout_).ok() ? axerror::success : axerror::cannotComplete;
}

int32_t LinuxAccessibility::setAttributeValue(const AXElement& element, std::string_view attribute,
                                              const AXValue& value) {
  const LinuxElement* native = nativeOf(element);
  if (!native || !bus_) return axerror::invalidUIElement;
  if (native->systemWide) return axerror::attributeUnsupported;
  AtspiItem* object = completeItem(native->ref);
  if (!object) return axerror::invalidUIElement;
  uint64_t timeout = timeoutFor(native->ref.bus);

  if (attribute == "AXManualAccessibility" || attribute == "AXEnhancedUserInterface") {
    if (object->role != ATSPI_ROLE_APPLICATION) return axerror::attributeUnsupported;
    std::optional<bool> on = value.boolean();
    if (!on) return axerror::illegalArgument;
    return *on ? enableAccessibilitySwitch() : axerror::success;
  }
  if (attribute == "AXValue") {
    const std::string* text = value.text();
    if (!text) return axerror::illegalArgument;
    if (!valueIsSettable(*object)) return axerror::attributeUnsupported;
    std::string contents = *text;
    DBusReply reply = bus_->call(DBusCall{native->ref.bus, native->ref.path,
                                          "org.a11y.atspi.EditableText", "SetTextContents",
                                          [contents](sd_bus_message* m) {
                                            return sd_bus_message_append(m, "s", contents.c_str());
                                          }},
                                 timeout);
    if (!reply.ok()) return errorOf(reply);
    if (!readBoolean(reply.message.get()).value_or(false)) return axerror::failure;
    object->text = contents;
    object->textPending = false;
    return axerror::success;
  }
  if (attribute == "AXFocused") {
    // What cannot take the focus (a window's frame: the window manager
    // gives windows the focus) has no focus to set.
    if (!object->has(ATSPI_STATE_FOCUSABLE)) return axerror::attributeUnsupported;
    if (!value.boolean().value_or(false)) return axerror::success;
    DBusReply reply = bus_->call(
        DBusCall{native->ref.bus, native->ref.path, "org.a11y.atspi.Component", "GrabFocus", {}},
        timeout);
    if (!reply.ok()) return errorOf(reply);
    return readBoolean(reply.message.get()).value_or(false) ? axerror::success : axerror::failure;
  }
  return axerror::attributeUnsupported;
}

int32_t LinuxAccessibility::performAction(const AXElement& element, std::string_view action) {
  const LinuxElement* native = nativeOf(element);
  if (!native || !bus_) return axerror::invalidUIElement;
  if (native->systemWide) return axerror::actionUnsupported;
  AtspiItem* object = detailedItem(native->ref);
  if (!object) return axerror::invalidUIElement;
  uint64_t timeout = timeoutFor(native->ref.bus);

  if (action == "AXRaise") {
    if (!isWindowRole(object->role) || !object->extents) return axerror::actionUnsupported;
    std::optional<int32_t> pid = pidOfBus(native->ref.bus);
    if (!pid) return axerror::cannotComplete;
    const AtspiExtents& e = *object->extents;
    return windows_.raiseWindow(
        *pid, Rect{static_cast<double>(e.x), static_cast<double>(e.y), static_cast<double>(e.width),
                   static_cast<double>(e.height)});
  }
  if (action != "AXPress") return axerror::actionUnsupported;
  if (!object->implements(atspiinterface::action)) return axerror::actionUnsupported;
  DBusReply names = bus_->call(
      DBusCall{native->ref.bus, native->ref.path, "org.a11y.atspi.Action", "GetActions", {}},
      timeout);
  if (!names.ok()) return errorOf(names);
  sd_bus_message* message = names.message.get();
  // The toolkits name the primary action differently.
  constexpr std::string_view kPressNames[] = {"click", "press", "activate", "toggle", "jump"};
  int32_t chosen = -1, count = 0;
  size_t chosenRank = std::size(kPressNames);
  if (sd_bus_message_enter_container(message, 'a', "(sss)") > 0) {
    const char *name = nullptr, *description = nullptr, *keys = nullptr;
    while (sd_bus_message_read(message, "(sss)", &name, &description, &keys) > 0) {
      for (size_t rank = 0; rank < chosenRank; ++rank) {
        if (name && kPressNames[rank] == name) {
          chosen = count;
          chosenRank = rank;
        }
      }
      ++count;
    }
  }
  if (count == 0) return axerror::actionUnsupported;
  if (chosen < 0) chosen = 0;
  DBusReply done = bus_->call(
      DBusCall{native->ref.bus, native->ref.path, "org.a11y.atspi.Action", "DoAction",
               [chosen](sd_bus_message* m) { return sd_bus_message_append(m, "i", chosen); }},
      timeout);
  if (!done.ok()) return errorOf(done);
  return readBoolean(done.message.get()).value_or(false) ? axerror::success : axerror::failure;
}

AXResult LinuxAccessibility::elementAtPosition(const AXElement& root, float x, float y) {
  const LinuxElement* native = nativeOf(root);
  if (!native || !bus_) return AXResult::failed(axerror::invalidUIElement);
  if (!std::isfinite(x) || !std::isfinite(y)) return AXResult::failed(axerror::illegalArgument);

  AtspiRef start = native->ref;
  AtspiItem* rootItem = native->systemWide ? nullptr : item(start);
  if (native->systemWide || (rootItem && rootItem->role == ATSPI_ROLE_APPLICATION)) {
    // Which window is in front is the window system's to say; the
    // application's window object is then the one that best matches it.
    std::optional<int32_t> pid;
    if (!native->systemWide) {
      pid = pidOfBus(start.bus);
      if (!pid) return AXResult::failed(axerror::invalidUIElement);
    }
    std::optional<WindowAtPoint> window = windows_.windowAt(x, y, pid);
    if (!window) return AXResult::failed(axerror::noValue);
    std::optional<std::string> bus = busOfPid(window->pid);
    Application* app = bus ? application(*bus) : nullptr;
    AtspiItem* appRoot = app ? item(AtspiRef{*bus, kRootPath}) : nullptr;
    if (!appRoot) return AXResult::failed(axerror::noValue);
    std::optional<AtspiRef> best;
    double bestScore = -1;
    for (const AtspiRef& child : childrenOf(*app, *appRoot)) {
      const AtspiItem* frame = item(child);
      if (frame && isWindowRole(frame->role)) frame = detailedItem(child);
      if (!frame || !isWindowRole(frame->role) || !frame->extents) continue;
      const AtspiExtents& e = *frame->extents;
      Rect bounds{static_cast<double>(e.x), static_cast<double>(e.y), static_cast<double>(e.width),
                  static_cast<double>(e.height)};
      if (!(x >= bounds.x && x < bounds.x + bounds.w && y >= bounds.y && y < bounds.y + bounds.h))
        continue;
      double score = iou(bounds, window->bounds);
      if (score > bestScore) {
        bestScore = score;
        best = child;
      }
    }
    if (!best) return AXResult::failed(axerror::noValue);
    start = *best;
  }

  // Down to the deepest object under the point, one question per level.
  AtspiRef current = start;
  uint64_t timeout = timeoutFor(current.bus);
  int32_t ix = static_cast<int32_t>(std::floor(x)), iy = static_cast<int32_t>(std::floor(y));
  for (int depth = 0; depth < kMaxHitDepth; ++depth) {
    DBusReply reply = bus_->call(
        DBusCall{
            current.bus, current.path, "org.a11y.atspi.Component", "GetAccessibleAtPoint",
            [ix, iy](sd_bus_message* m) { return sd_bus_message_append(m, "iiu", ix, iy, 0u); }},
        timeout);
    std::optional<AtspiRef> next = readReference(reply.message.get());
    if (!next || next->isNull() || *next == current) {
      // Some containers answer only for part of what they hold (a tree view
      // for its cells, not its column headers); their listed children are
      // searched by their extents then, the last drawn first.
      next = shownChildAt(current, x, y);
      if (!next) break;
    }
    current = std::move(*next);
  }
  return AXResult::of(AXValue(elementFor(current)));
}

std::optional<AtspiRef> LinuxAccessibility::shownChildAt(const AtspiRef& ref, double x, double y) {
  Application* app = application(ref.bus);
  AtspiItem* parent = item(ref);
  if (!app || !parent) return std::nullopt;
  std::vector<AtspiRef> children = childrenOf(*app, *parent);
  for (auto child = children.rbegin(); child != children.rend(); ++child) {
    const AtspiItem* candidate = item(*child);
    if (candidate && candidate->detailsPending) candidate = detailedItem(*child);
    if (!candidate || !candidate->has(ATSPI_STATE_SHOWING) || !candidate->extents ||
        !extentsArePlaced(*candidate->extents)) {
      continue;
    }
    const AtspiExtents& e = *candidate->extents;
    if (x >= e.x && x < static_cast<double>(e.x) + e.width && y >= e.y &&
        y < static_cast<double>(e.y) + e.height) {
      return *child;
    }
  }
  return std::nullopt;
}

std::optional<int32_t> LinuxAccessibility::processIdentifier(const AXElement& element) {
  const LinuxElement* native = nativeOf(element);
  if (!native || native->systemWide) return std::nullopt;
  return pidOfBus(native->ref.bus);
}

int32_t LinuxAccessibility::setMessagingTimeout(const AXElement& element, float seconds) {
  const LinuxElement* native = nativeOf(element);
  if (!native || !(seconds >= 0) || !std::isfinite(seconds)) return axerror::illegalArgument;
  if (native->systemWide) {
    defaultTimeout_ = microseconds(seconds > 0 ? seconds : kDefaultTimeoutSeconds);
    return axerror::success;
  }
  if (native->ref.bus.empty()) return axerror::invalidUIElement;
  auto found = applications_.find(native->ref.bus);
  if (found == applications_.end()) {
    auto app = std::make_unique<Application>();
    app->bus = native->ref.bus;
    found = applications_.emplace(native->ref.bus, std::move(app)).first;
  }
  if (seconds > 0)
    found->second->timeoutSeconds = seconds;
  else
    found->second->timeoutSeconds.reset();
  return axerror::success;
}

// There are no notification observers on this backend: the toolkits send
// their events to whoever listens on the bus, and nothing here needs them.
bool LinuxAccessibility::lookUpRemoteNotificationRegistration() {
  return false;
}
std::optional<AXObserverId> LinuxAccessibility::createObserver(int32_t) {
  return std::nullopt;
}
void LinuxAccessibility::addObserverToRunLoop(AXObserverId) {}
int32_t LinuxAccessibility::addNotification(AXObserverId, const AXElement&, std::string_view,
                                            bool) {
  return axerror::invalidUIElementObserver;
}

}  // namespace tessary::linuxdesktop
