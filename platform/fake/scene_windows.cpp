// The window server's list of a scene.
#include <set>

#include "platform/fake/scene_loader.h"

namespace tessary::fake {

using nlohmann::json;

namespace {

// kCGDesktopIconWindowLevel: the desktop and its icons sit at or below it.
constexpr int64_t kDesktopIconWindowLevel = -2147483603;
// Numbers given to windows that the scene does not number.
constexpr uint32_t kFirstAutomaticWindowNumber = 100;

}  // namespace

void SceneLoader::loadWindowList(const json& value, int32_t stage) {
  std::vector<WindowRecord>& windows =
      stage < 0 ? state_.windows
                : state_.windowListChanges.stages[static_cast<size_t>(stage)].windows;
  if (value.is_string() && value.get<std::string>() == "fail") {
    (stage < 0 ? state_.windowListFails
               : state_.windowListChanges.stages[static_cast<size_t>(stage)].fails) = true;
    return;
  }
  if (!value.is_array()) fail("must be a list of windows (front to back) or \"fail\"");

  // Explicit numbers first, so the automatic ones can avoid them.
  std::set<uint32_t> taken;
  for (const json& window : value) {
    if (!window.is_object()) continue;
    auto number = window.find("number");
    if (number != window.end() && number->is_number_unsigned() &&
        number->get<uint64_t>() <= UINT32_MAX) {
      taken.insert(static_cast<uint32_t>(number->get<uint64_t>()));
    }
  }
  uint32_t nextNumber = kFirstAutomaticWindowNumber;
  std::set<uint32_t> used;
  for (size_t i = 0; i < value.size(); ++i) {
    PathScope item(path_, i);
    expectObject(value[i], "a window");
    uint32_t number = 0;
    if (auto it = value[i].find("number"); it != value[i].end()) {
      PathScope scope(path_, "number");
      int64_t given = integer(*it);
      if (given < 0 || given > UINT32_MAX) fail("must be a window number from 0 to 4294967295");
      number = static_cast<uint32_t>(given);
      if (!used.insert(number).second)
        fail("window number " + std::to_string(number) + " is used twice");
    } else {
      while (taken.contains(nextNumber))
        ++nextNumber;
      number = nextNumber++;
      used.insert(number);
    }
    WindowRecord& window = windows.emplace_back();
    loadWindow(value[i], window, number, stage, windows.size() - 1);
  }
}

void SceneLoader::loadWindow(const json& object, WindowRecord& window, uint32_t windowNumber,
                             int32_t stage, size_t position) {
  PlistDict& entry = window.entry;
  std::set<std::string> given;  // keys set by shorthands the scene wrote
  auto put = [&](const char* key, PlistValue value) {
    entry[key] = std::move(value);
    given.insert(key);
  };
  window.number = windowNumber;
  entry["kCGWindowNumber"] = PlistValue(int64_t{windowNumber});
  entry["kCGWindowLayer"] = PlistValue(0);
  entry["kCGWindowAlpha"] = PlistValue(1.0);
  entry["kCGWindowStoreType"] = PlistValue(1);
  entry["kCGWindowSharingState"] = PlistValue(1);
  int64_t layer = 0;
  bool ownerGiven = false, boundsGiven = false;
  std::optional<bool> desktop;
  std::optional<int32_t> pid;

  for (const auto& [key, value] : object.items()) {
    PathScope scope(path_, key);
    if (key == "comment") {
      text(value);
    } else if (key == "number" || key == "raw" || key == "omit") {
      continue;  // numbered already; raw and omit come last
    } else if (key == "owner") {
      put("kCGWindowOwnerName", PlistValue(text(value)));
      ownerGiven = true;
    } else if (key == "pid") {
      pid = int32(value);
      put("kCGWindowOwnerPID", PlistValue(int64_t{*pid}));
    } else if (key == "name") {
      put("kCGWindowName", PlistValue(text(value)));
    } else if (key == "layer") {
      layer = integer(value);
      put("kCGWindowLayer", PlistValue(layer));
    } else if (key == "bounds") {
      std::vector<double> xywh = numbers(value, 4);
      put("kCGWindowBounds",
          PlistValue(
              PlistDict{{"X", xywh[0]}, {"Y", xywh[1]}, {"Width", xywh[2]}, {"Height", xywh[3]}}));
      boundsGiven = true;
    } else if (key == "alpha") {
      put("kCGWindowAlpha", PlistValue(number(value)));
    } else if (key == "onscreen") {
      window.onScreen = boolean(value);
    } else if (key == "desktop") {
      desktop = boolean(value);
    } else if (key == "clickThrough") {
      window.clickThrough = boolean(value);
    } else if (key == "listedWithOptions") {
      if (!value.is_array()) fail("must be a list of copyWindowInfo option values");
      std::vector<uint32_t> options;
      for (size_t i = 0; i < value.size(); ++i) {
        PathScope item(path_, i);
        int64_t option = integer(value[i]);
        if (option < 0 || option > UINT32_MAX) fail("must be an option value from 0 to 4294967295");
        options.push_back(static_cast<uint32_t>(option));
      }
      window.listedWithOptions = std::move(options);
    } else if (key == "element") {
      windowLinks_.push_back(WindowLink{stage, position, text(value), path_.text()});
    } else {
      failUnknownKey(key);
    }
  }
  if (window.onScreen) entry["kCGWindowIsOnscreen"] = PlistValue(true);
  window.desktopElement = desktop.value_or(layer <= kDesktopIconWindowLevel);
  // The window server always names the owner; take the application's name
  // when the scene leaves it out.
  if (!ownerGiven && pid) {
    const ApplicationRecord* app = state_.application(*pid);
    if (app && app->name) entry["kCGWindowOwnerName"] = PlistValue(*app->name);
  }

  if (auto raw = object.find("raw"); raw != object.end()) {
    PathScope scope(path_, "raw");
    expectObject(*raw, "an object of window-list keys and values");
    for (const auto& [key, value] : raw->items()) {
      PathScope inner(path_, key);
      if (given.contains(key)) fail("is also given by a shorthand key");
      entry[key] = plistValue(value);
      if (key == "kCGWindowBounds") boundsGiven = true;
    }
  }
  if (!boundsGiven) fail("a window needs bounds [x, y, w, h] (omit can take them away)");
  if (auto omit = object.find("omit"); omit != object.end()) {
    PathScope scope(path_, "omit");
    if (!omit->is_array()) fail("must be a list of window-list keys");
    for (size_t i = 0; i < omit->size(); ++i) {
      PathScope item(path_, i);
      std::string key = text((*omit)[i]);
      if (entry.erase(key) == 0) fail("the entry has no key " + quotedText(key) + " to omit");
    }
  }
}

PlistValue SceneLoader::plistValue(const json& value) {
  checkDepth();
  // A lone "real" or "other" key is a typed value, as in elements: a real
  // written as text ("nan", "inf", "1e400"), or data, a date and the like.
  if (value.is_object() && value.size() == 1) {
    if (auto real = value.find("real"); real != value.end()) {
      PathScope scope(path_, "real");
      return PlistValue(number(*real));
    }
    if (auto other = value.find("other"); other != value.end()) {
      PathScope scope(path_, "other");
      return PlistValue(PlistOther{text(*other)});
    }
  }
  switch (value.type()) {
    case json::value_t::null:
      return PlistValue(PlistOther{"CFNull"});
    case json::value_t::boolean:
      return PlistValue(value.get<bool>());
    case json::value_t::string:
      return PlistValue(value.get<std::string>());
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
      return PlistValue(integer(value));
    case json::value_t::number_float:
      return PlistValue(value.get<double>());
    case json::value_t::array: {
      PlistArray array;
      for (size_t i = 0; i < value.size(); ++i) {
        PathScope item(path_, i);
        array.push_back(plistValue(value[i]));
      }
      return PlistValue(std::move(array));
    }
    case json::value_t::object: {
      PlistDict dict;
      for (const auto& [key, item] : value.items()) {
        PathScope scope(path_, key);
        dict.emplace(key, plistValue(item));
      }
      return PlistValue(std::move(dict));
    }
    default:
      fail("is not a value a window-list entry can hold");
  }
}

}  // namespace tessary::fake
