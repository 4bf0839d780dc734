#include "platform/fake/scene_loader.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace tessary::fake {

using nlohmann::json;

void SceneLoader::load(const json& scene) {
  expectObject(scene, "the scene");
  // Applications first: elements anywhere may belong to them by pid.
  if (auto it = scene.find("applications"); it != scene.end()) {
    PathScope scope(path_, "applications");
    loadApplications(*it);
  }
  for (const auto& [key, value] : scene.items()) {
    PathScope scope(path_, key);
    if (key == "applications") continue;
    if (key == "hostViews") continue;  // after the window list, whose entries they name
    if (key == "comment") {
      text(value);
    } else if (key == "trusted") {
      state_.trusted = boolean(value);
    } else if (key == "remoteNotificationRegistration") {
      state_.remoteRegistrationAvailable = boolean(value);
    } else if (key == "mainScreen") {
      if (!value.is_null()) state_.mainScreen = rect(value);
    } else if (key == "screens") {
      if (!value.is_array()) fail("must be a list of rectangles");
      for (size_t i = 0; i < value.size(); ++i) {
        PathScope item(path_, i);
        state_.screens.push_back(rect(value[i]));
      }
    } else if (key == "pointer") {
      if (value.is_object()) {
        for (const auto& [name, coordinate] : value.items()) {
          PathScope inner(path_, name);
          if (name != "x" && name != "y") failUnknownKey(name, "x, y");
          number(coordinate);
        }
        if (!value.contains("x") || !value.contains("y")) fail("needs x and y");
        state_.pointer = Point{value["x"].get<double>(), value["y"].get<double>()};
      } else {
        std::vector<double> xy = numbers(value, 2);
        state_.pointer = Point{xy[0], xy[1]};
      }
    } else if (key == "windowList") {
      loadWindowList(value);
    } else if (key == "windowTimeline") {
      loadWindowTimeline(value);
    } else if (key == "raiseBringsWindowForward") {
      state_.windowListChanges.raiseBringsWindowForward = boolean(value);
    } else if (key == "frontmostApplication") {
      frontmostPid_ = int32(value);
      frontmostPath_ = path_.text();
    } else if (key == "systemWide") {
      loadSystemWide(value);
    } else if (key == "speech") {
      loadSpeech(value);
    } else if (key == "realTime") {
      state_.realTime = boolean(value);
    } else if (key == "input") {
      loadInput(value);
    } else if (loadOverlaySection(key, value)) {
    } else {
      failUnknownKey(key);
    }
  }
  if (auto it = scene.find("hostViews"); it != scene.end()) {
    PathScope scope(path_, "hostViews");
    loadHostViews(*it);
  }
  finish();
}

void SceneLoader::loadApplications(const json& list) {
  if (!list.is_array()) fail("must be a list of applications");
  // Every pid is known before any element is read, so an element's pid can
  // name an application further down the list.
  for (size_t i = 0; i < list.size(); ++i) {
    PathScope item(path_, i);
    expectObject(list[i], "an application");
    auto pid = list[i].find("pid");
    if (pid == list[i].end()) fail("an application needs a pid");
    int32_t value;
    {
      PathScope key(path_, "pid");
      value = int32(*pid);
    }
    if (state_.applicationByPid.contains(value)) {
      fail("pid " + std::to_string(value) + " is used by two applications");
    }
    state_.applicationByPid.emplace(value, static_cast<uint32_t>(state_.applications.size()));
    ApplicationRecord& app = state_.applications.emplace_back();
    app.pid = value;
  }
  for (size_t i = 0; i < list.size(); ++i) {
    PathScope item(path_, i);
    loadApplication(list[i], static_cast<uint32_t>(i));
  }
}

void SceneLoader::loadApplication(const json& object, uint32_t index) {
  const int32_t pid = state_.applications[index].pid;
  std::optional<uint32_t> element;
  for (const auto& [key, value] : object.items()) {
    PathScope scope(path_, key);
    ApplicationRecord& app = state_.applications[index];
    if (key == "pid") continue;
    if (key == "comment") {
      text(value);
    } else if (key == "name") {
      app.name = text(value);
    } else if (key == "bundleIdentifier") {
      app.bundleIdentifier = text(value);
    } else if (key == "bundlePath") {
      app.bundlePath = text(value);
    } else if (key == "running") {
      app.running = boolean(value);
    } else if (key == "freezeAfterCalls") {
      int64_t calls = integer(value);
      if (calls < 0) fail("must not be negative");
      app.freezeAfterCalls = static_cast<uint64_t>(calls);
    } else if (key == "observers") {
      loadObservers(value, app);
    } else if (key == "elementAtPositionError") {
      app.elementAtPositionError = loadErrorAnswer(value, false);
    } else if (key == "freezeAtElement") {
      app.freezeAtElement = *state_.elements.indexOf(refTo(value));
    } else if (key == "rejectsListReads") {
      const std::string form = text(value);
      if (form == "batch") {
        app.rejectedListReads = ApplicationRecord::ListReadForm::batch;
      } else if (form == "ranged") {
        app.rejectedListReads = ApplicationRecord::ListReadForm::ranged;
      } else {
        fail("must be \"batch\" or \"ranged\"");
      }
    } else if (key == "element") {
      if (!value.is_object() || isTypedValue(value)) fail("must be an element object");
      element = loadElement(value, pid);
    } else {
      failUnknownKey(key);
    }
  }

  ApplicationRecord& app = state_.applications[index];
  ElementStore& elements = state_.elements;
  if (!element) {
    element = elements.add();
    ElementRecord& record = elements.at(*element);
    record.defined = true;
    record.pid = pid;
    record.application = static_cast<int32_t>(index);
    elements.set(*element, elements.key("AXWindows"), StoredAnswer::of(AXValueList{}));
  }
  app.element = *element;
  // An application element without a role or title of its own answers as
  // the platform's do.
  if (!elements.find(*element, "AXRole")) {
    elements.set(*element, elements.key("AXRole"), StoredAnswer::of("AXApplication"));
  }
  if (app.name && !elements.find(*element, "AXTitle")) {
    elements.set(*element, elements.key("AXTitle"), StoredAnswer::of(*app.name));
  }
  if (elements.at(*element).id.starts_with("#")) {
    elements.setId(*element, "app:" + std::to_string(pid));
  }
}

void SceneLoader::loadObservers(const json& value, ApplicationRecord& app) {
  if (value.is_boolean()) {
    app.observerCreateResult = value.get<bool>() ? axerror::success : axerror::failure;
    return;
  }
  expectObject(value, "true, false or an object with create and addNotification");
  for (const auto& [key, item] : value.items()) {
    PathScope scope(path_, key);
    if (key == "create") {
      app.observerCreateResult = int32(item);
    } else if (key == "addNotification") {
      if (item.is_object()) {
        for (const auto& [notification, code] : item.items()) {
          PathScope inner(path_, notification);
          app.notificationResults[notification] = int32(code);
        }
      } else {
        app.notificationResult = int32(item);
      }
    } else {
      failUnknownKey(key, "create, addNotification");
    }
  }
}

void SceneLoader::loadSystemWide(const json& object) {
  if (!object.is_object() || isTypedValue(object)) fail("must be an element object");
  loadElement(object, std::nullopt, state_.systemWide);
}

void SceneLoader::finish() {
  if (!forwardRefs_.empty()) {
    const auto& [slot, where] = *forwardRefs_.begin();
    throw SceneError{where + ": ref " + quotedText(state_.elements.at(slot).id) +
                     " names no element"};
  }
  if (frontmostPid_ && !state_.applicationByPid.contains(*frontmostPid_)) {
    throw SceneError{frontmostPath_ + ": no application has pid " + std::to_string(*frontmostPid_)};
  }
  state_.frontmostApplication = frontmostPid_;

  for (const WindowLink& link : windowLinks_) {
    std::optional<uint32_t> element = state_.elements.byId(link.element);
    if (!element) throw SceneError{link.where + ": no element has id " + quotedText(link.element)};
    std::vector<WindowRecord>& windows =
        link.stage < 0 ? state_.windows
                       : state_.windowListChanges.stages[static_cast<size_t>(link.stage)].windows;
    windows[link.window].element = static_cast<int32_t>(*element);
  }

  ElementStore& elements = state_.elements;
  for (uint32_t i = 0; i < elements.size(); ++i) {
    ElementRecord& record = elements.at(i);
    if (!explicitHashes_.contains(i)) record.hash = defaultElementHash(record.id);
  }
  // Handles made while loading carry the hash their element had then; now
  // that every hash is final, make them all again.
  auto rehandle = [&](auto& self, AXValue& value) -> void {
    if (const AXElement* element = value.element()) {
      value = AXValue(elements.handle(*elements.indexOf(*element)));
    } else if (const AXValueList* list = value.list()) {
      AXValueList copy = *list;
      for (AXValue& item : copy)
        self(self, item);
      value = AXValue(std::move(copy));
    }
  };
  const AttributeKey parentKey = elements.key("AXParent");
  for (uint32_t i = 0; i < elements.size(); ++i) {
    ElementRecord& record = elements.at(i);
    for (StoredAttribute& attribute : record.attributes)
      rehandle(rehandle, attribute.answer.value);
    if (record.extras) {
      for (auto& [name, answer] : record.extras->parameterized)
        rehandle(rehandle, answer.value);
      for (auto& [key, answer] : record.extras->batchAnswers)
        rehandle(rehandle, answer.value);
    }
    if (record.parent >= 0 && !elements.find(i, parentKey)) {
      elements.set(i, parentKey, StoredAnswer::of(elements.handle(record.parent)));
    }
  }
}

void SceneLoader::fail(const std::string& problem) const {
  throw SceneError{path_.text() + ": " + problem};
}

void SceneLoader::checkDepth() const {
  constexpr size_t kMaxPathDepth = 2000;
  if (path_.depth() > kMaxPathDepth)
    fail("nests too deep (more than 2000 levels of keys and lists)");
}

void SceneLoader::failUnknownKey(const std::string& key, const char* known) const {
  std::string problem = "unknown key " + quotedText(key);
  if (known) problem += std::string(" (") + known + ")";
  throw SceneError{path_.parentText() + ": " + problem};
}

void SceneLoader::expectObject(const json& value, const char* what) const {
  if (!value.is_object()) fail(std::string("must be ") + what + " (a JSON object)");
}

std::string SceneLoader::text(const json& value) const {
  if (!value.is_string()) fail("must be a text");
  return value.get<std::string>();
}

bool SceneLoader::boolean(const json& value) const {
  if (!value.is_boolean()) fail("must be true or false");
  return value.get<bool>();
}

double SceneLoader::number(const json& value) const {
  if (value.is_number()) return value.get<double>();
  // Reals JSON cannot write: "nan", "inf", "-inf", and decimal texts past
  // the double range, which round to an infinity (or to 0) as a platform
  // reading them would.
  if (value.is_string()) {
    const std::string& written = value.get_ref<const std::string&>();
    if (written == "nan") return std::numeric_limits<double>::quiet_NaN();
    if (written == "inf" || written == "+inf") return std::numeric_limits<double>::infinity();
    if (written == "-inf") return -std::numeric_limits<double>::infinity();
    const bool decimal =
        !written.empty() && written.find_first_not_of("+-.0123456789eE") == std::string::npos;
    if (decimal) {
      char* end = nullptr;
      double parsed = std::strtod(written.c_str(), &end);
      if (end == written.c_str() + written.size()) return parsed;
    }
  }
  fail("must be a number (or \"nan\", \"inf\", \"-inf\" or a decimal text)");
}

int64_t SceneLoader::integer(const json& value) const {
  if (value.is_number_unsigned()) {
    if (value.get<uint64_t>() > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
      fail("is out of range");
    }
    return static_cast<int64_t>(value.get<uint64_t>());
  }
  if (!value.is_number_integer()) fail("must be a whole number");
  return value.get<int64_t>();
}

int32_t SceneLoader::int32(const json& value) const {
  int64_t number = integer(value);
  if (number < std::numeric_limits<int32_t>::min() ||
      number > std::numeric_limits<int32_t>::max()) {
    fail("is out of the 32-bit range");
  }
  return static_cast<int32_t>(number);
}

std::vector<double> SceneLoader::numbers(const json& value, size_t count) const {
  if (!value.is_array() || value.size() != count) {
    fail("must be a list of " + std::to_string(count) + " numbers");
  }
  std::vector<double> result;
  for (size_t i = 0; i < count; ++i) {
    PathScope item(path_, i);
    result.push_back(number(value[i]));
  }
  return result;
}

Rect SceneLoader::rect(const json& value) const {
  if (value.is_object()) {
    for (const auto& [key, item] : value.items()) {
      PathScope scope(path_, key);
      if (key != "x" && key != "y" && key != "w" && key != "h") {
        failUnknownKey(key, "x, y, w, h");
      }
      number(item);
    }
    for (const char* key : {"x", "y", "w", "h"}) {
      if (!value.contains(key)) fail(std::string("needs ") + key);
    }
    return Rect{value["x"].get<double>(), value["y"].get<double>(), value["w"].get<double>(),
                value["h"].get<double>()};
  }
  std::vector<double> xywh = numbers(value, 4);
  return Rect{xywh[0], xywh[1], xywh[2], xywh[3]};
}

}  // namespace tessary::fake
