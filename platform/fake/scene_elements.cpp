// Elements and attribute values of a scene.
#include <array>
#include <limits>

#include "platform/fake/scene_loader.h"

namespace tessary::fake {

using nlohmann::json;

namespace {

struct Shorthand {
  std::string_view key;
  std::string_view attribute;
  int expect;  // SceneLoader::Expect
};

// The attributes whose elements are the children of the element holding
// them: an element defined inside one of these lists has it as its parent.
constexpr std::array<std::string_view, 9> kChildListAttributes = {"AXChildren",
                                                                  "AXVisibleChildren",
                                                                  "AXRows",
                                                                  "AXContents",
                                                                  "AXChildrenInNavigationOrder",
                                                                  "AXSelectedChildren",
                                                                  "AXWindows",
                                                                  "AXColumns",
                                                                  "AXTabs"};

bool isChildList(std::string_view attribute) {
  for (std::string_view name : kChildListAttributes) {
    if (name == attribute) return true;
  }
  return false;
}

constexpr std::array<std::string_view, 9> kTypedKeys = {"point", "size",    "rect",  "range", "ref",
                                                        "error", "timeout", "other", "real"};

}  // namespace

bool SceneLoader::isTypedValue(const json& value) const {
  if (!value.is_object()) return false;
  size_t typedKeys = 0;
  for (std::string_view key : kTypedKeys) {
    if (value.contains(key)) ++typedKeys;
  }
  const bool typed = typedKeys > 0;
  // "size" is also an element shorthand: an object with more keys than that
  // is an element.
  if (typedKeys == 1 && value.size() > 1 && value.contains("size")) return false;
  if (typed && value.size() != 1) {
    fail(
        "a typed value ({\"point\": ...}, {\"ref\": ...}, {\"error\": ...}, ...) has exactly one "
        "key");
  }
  return typed;
}

uint32_t SceneLoader::loadElement(const json& object, std::optional<int32_t> inheritedPid,
                                  std::optional<uint32_t> into) {
  checkDepth();
  expectObject(object, "an element");
  ElementStore& elements = state_.elements;
  uint32_t slot = into.value_or(0);
  if (auto idIt = object.find("id"); idIt != object.end()) {
    PathScope scope(path_, "id");
    std::string id = text(*idIt);
    if (into) fail("the system-wide element's id is always \"systemWide\"");
    if (id.empty()) fail("must not be empty");
    if (id.starts_with("#")) fail("must not begin with \"#\" (kept for elements without an id)");
    if (std::optional<uint32_t> existing = elements.byId(id)) {
      if (elements.at(*existing).defined) fail("id " + quotedText(id) + " is used twice");
      slot = *existing;
      forwardRefs_.erase(slot);
    } else {
      slot = elements.add();
      elements.setId(slot, std::move(id));
    }
  } else if (!into) {
    slot = elements.add();
  }

  {
    ElementRecord& record = elements.at(slot);
    // Nearly every key sets one attribute; "frame" sets two, the parent
    // comes later.
    record.attributes.reserve(object.size() + 2);
    record.defined = true;
    record.pid = inheritedPid;
    if (auto pidIt = object.find("pid"); pidIt != object.end()) {
      PathScope scope(path_, "pid");
      record.pid = int32(*pidIt);
    }
    record.application = -1;
    if (record.pid) {
      if (auto app = state_.applicationByPid.find(*record.pid);
          app != state_.applicationByPid.end()) {
        record.application = static_cast<int32_t>(app->second);
      }
    }
  }

  for (const auto& [key, value] : object.items()) {
    PathScope scope(path_, key);
    loadElementKey(slot, key, value, into.has_value());
  }
  return slot;
}

void SceneLoader::loadElementKey(uint32_t slot, const std::string& key, const json& value,
                                 bool systemWide) {
  static constexpr Shorthand kShorthands[] = {
      {"role", "AXRole", int(Expect::text)},
      {"subrole", "AXSubrole", int(Expect::text)},
      {"title", "AXTitle", int(Expect::text)},
      {"description", "AXDescription", int(Expect::text)},
      {"roleDescription", "AXRoleDescription", int(Expect::text)},
      {"identifier", "AXIdentifier", int(Expect::text)},
      {"value", "AXValue", int(Expect::anyValue)},
      {"enabled", "AXEnabled", int(Expect::boolean)},
      {"focused", "AXFocused", int(Expect::boolean)},
      {"position", "AXPosition", int(Expect::point)},
      {"size", "AXSize", int(Expect::size)},
      {"children", "AXChildren", int(Expect::elementList)},
      {"visibleChildren", "AXVisibleChildren", int(Expect::elementList)},
      {"rows", "AXRows", int(Expect::elementList)},
      {"contents", "AXContents", int(Expect::elementList)},
      {"navigationOrder", "AXChildrenInNavigationOrder", int(Expect::elementList)},
      {"selectedChildren", "AXSelectedChildren", int(Expect::elementList)},
      {"windows", "AXWindows", int(Expect::elementList)},
      {"focusedElement", "AXFocusedUIElement", int(Expect::element)},
      {"selectedText", "AXSelectedText", int(Expect::text)},
      {"selectedTextRange", "AXSelectedTextRange", int(Expect::range)},
      {"parent", "AXParent", int(Expect::element)},
  };

  ElementStore& elements = state_.elements;
  if (key == "id" || key == "pid") return;
  if (key == "comment") {
    text(value);
  } else if (key == "hash") {
    if (!value.is_number_integer() || (!value.is_number_unsigned() && value.get<int64_t>() < 0)) {
      fail("must be a whole number from 0 to 18446744073709551615");
    }
    elements.at(slot).hash = value.get<uint64_t>();
    explicitHashes_.insert(slot);
  } else if (key == "hitTestable") {
    elements.at(slot).hitTestable = boolean(value);
  } else if (key == "frame") {
    std::vector<double> xywh = numbers(value, 4);
    setAttribute(slot, "AXPosition", StoredAnswer::of(AXPoint{xywh[0], xywh[1]}));
    setAttribute(slot, "AXSize", StoredAnswer::of(AXSize{xywh[2], xywh[3]}));
  } else if (key == "attributes") {
    expectObject(value, "an object of attribute names and values");
    for (const auto& [name, item] : value.items()) {
      PathScope scope(path_, name);
      std::optional<uint32_t> container;
      if (isChildList(name)) container = slot;
      setAttribute(slot, name, loadAnswer(item, container, slot));
    }
  } else if (key == "settable") {
    loadSettable(slot, value);
  } else if (key == "setResults") {
    loadSetResults(slot, value);
  } else if (key == "parameterized") {
    expectObject(value, "an object of parameterized attribute names and answers");
    for (const auto& [name, item] : value.items()) {
      PathScope scope(path_, name);
      StoredAnswer answer = loadAnswer(item, std::nullopt, slot);
      elements.at(slot).ensureExtras().parameterized.emplace_back(name, std::move(answer));
    }
  } else if (key == "batchAnswers") {
    expectObject(value, "an object of attribute names and what a batch read answers for them");
    for (const auto& [name, item] : value.items()) {
      PathScope scope(path_, name);
      std::optional<uint32_t> container;
      if (isChildList(name)) container = slot;
      StoredAnswer answer = loadAnswer(item, container, slot);
      elements.at(slot).ensureExtras().batchAnswers.emplace_back(elements.key(name),
                                                                 std::move(answer));
    }
  } else if (key == "actions") {
    ElementExtras& extras = elements.at(slot).ensureExtras();
    if (value.is_array()) {
      for (size_t i = 0; i < value.size(); ++i) {
        PathScope scope(path_, i);
        extras.actions.emplace_back(text(value[i]), axerror::success);
      }
    } else if (value.is_object()) {
      for (const auto& [name, code] : value.items()) {
        PathScope scope(path_, name);
        extras.actions.emplace_back(name, int32(code));
      }
    } else {
      fail("must be a list of action names or an object of names and result codes");
    }
  } else if (key == "elementAtPositionError") {
    if (!systemWide) {
      fail(
          "only the system-wide element takes elementAtPositionError here; an application's "
          "goes on the application");
    }
    elements.at(slot).ensureExtras().elementAtPositionError = loadErrorAnswer(value, false);
  } else {
    for (const Shorthand& shorthand : kShorthands) {
      if (shorthand.key == key) {
        setAttribute(slot, shorthand.attribute,
                     loadShorthand(value, static_cast<Expect>(shorthand.expect), slot));
        return;
      }
    }
    failUnknownKey(key);
  }
}

void SceneLoader::setAttribute(uint32_t slot, std::string_view name, StoredAnswer answer) {
  ElementStore& elements = state_.elements;
  const AttributeKey key = elements.key(name);
  if (elements.find(slot, key)) fail("attribute " + quotedText(name) + " is given twice");
  elements.set(slot, key, std::move(answer));
}

StoredAnswer SceneLoader::loadShorthand(const json& value, Expect expect, uint32_t slot) {
  if (value.is_null() || isTypedValue(value)) return loadAnswer(value, std::nullopt, slot);
  switch (expect) {
    case Expect::text:
      return StoredAnswer::of(text(value));
    case Expect::boolean:
      return StoredAnswer::of(boolean(value));
    case Expect::anyValue:
      return loadAnswer(value, std::nullopt, slot);
    case Expect::point: {
      std::vector<double> xy = numbers(value, 2);
      return StoredAnswer::of(AXPoint{xy[0], xy[1]});
    }
    case Expect::size: {
      std::vector<double> wh = numbers(value, 2);
      return StoredAnswer::of(AXSize{wh[0], wh[1]});
    }
    case Expect::range:
      return StoredAnswer::of(range(value));
    case Expect::elementList: {
      if (!value.is_array()) fail("must be a list of elements (element objects or refs)");
      AXValueList list;
      list.reserve(value.size());
      for (size_t i = 0; i < value.size(); ++i) {
        PathScope scope(path_, i);
        if (!value[i].is_object() || (isTypedValue(value[i]) && !value[i].contains("ref"))) {
          fail("must be an element object or a ref");
        }
        list.push_back(loadValue(value[i], slot, slot));
      }
      return StoredAnswer::of(std::move(list));
    }
    case Expect::element:
      if (!value.is_object()) fail("must be an element object or a ref");
      return StoredAnswer::of(loadValue(value, std::nullopt, slot));
  }
  fail("cannot be read");
}

StoredAnswer SceneLoader::loadAnswer(const json& value, std::optional<uint32_t> container,
                                     uint32_t slot) {
  if (value.is_null()) return StoredAnswer::nothing();
  if (isTypedValue(value) && (value.contains("error") || value.contains("timeout"))) {
    return loadErrorAnswer(value, false);
  }
  return StoredAnswer::of(loadValue(value, container, slot));
}

AXValue SceneLoader::loadValue(const json& value, std::optional<uint32_t> container,
                               uint32_t slot) {
  switch (value.type()) {
    case json::value_t::null:
      fail("null stands only for a whole attribute's answer (success without a value)");
    case json::value_t::boolean:
      return AXValue(value.get<bool>());
    case json::value_t::string:
      return AXValue(value.get<std::string>());
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
      return AXValue(integer(value));
    case json::value_t::number_float:
      return AXValue(value.get<double>());
    case json::value_t::array: {
      checkDepth();
      AXValueList list;
      list.reserve(value.size());
      for (size_t i = 0; i < value.size(); ++i) {
        PathScope scope(path_, i);
        list.push_back(loadValue(value[i], container, slot));
      }
      return AXValue(std::move(list));
    }
    case json::value_t::object: {
      if (isTypedValue(value)) {
        if (value.contains("error") || value.contains("timeout")) {
          fail("an error or timeout is the answer of a whole attribute, not part of a value");
        }
        return loadTypedValue(value);
      }
      const uint32_t child = loadElement(value, state_.elements.at(slot).pid);
      ElementRecord& record = state_.elements.at(child);
      if (container && record.parent < 0) record.parent = static_cast<int32_t>(*container);
      return AXValue(state_.elements.handle(child));
    }
    default:
      fail("is not a value a scene can hold");
  }
}

AXValue SceneLoader::loadTypedValue(const json& object) {
  const std::string& kind = object.begin().key();
  const json& value = object.begin().value();
  PathScope scope(path_, kind);
  if (kind == "point") {
    std::vector<double> xy = numbers(value, 2);
    return AXValue(AXPoint{xy[0], xy[1]});
  }
  if (kind == "size") {
    std::vector<double> wh = numbers(value, 2);
    return AXValue(AXSize{wh[0], wh[1]});
  }
  if (kind == "rect") {
    std::vector<double> xywh = numbers(value, 4);
    return AXValue(AXRect{AXPoint{xywh[0], xywh[1]}, AXSize{xywh[2], xywh[3]}});
  }
  if (kind == "range") return AXValue(range(value));
  if (kind == "ref") return AXValue(refTo(value));
  if (kind == "other") return AXValue(AXOtherValue{text(value)});
  // "real": a number that stays a real even when written without a fraction.
  return AXValue(number(value));
}

AXRange SceneLoader::range(const json& value) const {
  if (!value.is_array() || value.size() != 2) fail("must be [location, length]");
  AXRange range;
  {
    PathScope scope(path_, 0);
    range.location = integer(value[0]);
  }
  PathScope scope(path_, 1);
  range.length = integer(value[1]);
  return range;
}

AXElement SceneLoader::refTo(const json& id) {
  std::string name = text(id);
  if (name.empty()) fail("must not be empty");
  ElementStore& elements = state_.elements;
  if (std::optional<uint32_t> existing = elements.byId(name)) return elements.handle(*existing);
  const uint32_t slot = elements.add();
  elements.setId(slot, std::move(name));
  forwardRefs_.emplace(slot, path_.text());
  return elements.handle(slot);
}

StoredAnswer SceneLoader::loadErrorAnswer(const json& value, bool allowSuccess) {
  int32_t code = 0;
  if (value.is_object() && value.size() == 1 && value.contains("timeout")) {
    PathScope scope(path_, "timeout");
    if (!boolean(value["timeout"])) fail("must be true (leave the timeout out otherwise)");
    return StoredAnswer::timingOut();
  }
  if (value.is_object() && value.size() == 1 && value.contains("error")) {
    PathScope scope(path_, "error");
    code = int32(value["error"]);
    if (code == axerror::success) fail("0 is success, not an error");
  } else if (value.is_number()) {
    code = int32(value);
  } else {
    fail("must be an error code or {\"timeout\": true}");
  }
  if (code == axerror::success && !allowSuccess) fail("0 is success, not an error");
  return StoredAnswer::failing(code);
}

void SceneLoader::loadSettable(uint32_t slot, const json& value) {
  ElementStore& elements = state_.elements;
  ElementExtras& extras = elements.at(slot).ensureExtras();
  auto add = [&](const std::string& name, StoredAnswer answer) {
    const AttributeKey key = elements.key(name);
    for (const auto& [existing, _] : extras.settable) {
      if (existing == key) fail(quotedText(name) + " is listed twice");
    }
    extras.settable.emplace_back(key, std::move(answer));
  };
  if (value.is_array()) {
    for (size_t i = 0; i < value.size(); ++i) {
      PathScope scope(path_, i);
      add(text(value[i]), StoredAnswer::of(true));
    }
  } else if (value.is_object()) {
    for (const auto& [name, item] : value.items()) {
      PathScope scope(path_, name);
      add(name,
          item.is_boolean() ? StoredAnswer::of(item.get<bool>()) : loadErrorAnswer(item, false));
    }
  } else {
    fail("must be a list of attribute names or an object of names and true/false");
  }
}

void SceneLoader::loadSetResults(uint32_t slot, const json& value) {
  expectObject(value, "an object of attribute names and lists of result codes");
  ElementStore& elements = state_.elements;
  for (const auto& [name, attempts] : value.items()) {
    PathScope scope(path_, name);
    if (!attempts.is_array() || attempts.empty()) {
      fail("must be a non-empty list of result codes, one per write attempt (0 = success)");
    }
    std::vector<StoredAnswer> results;
    for (size_t i = 0; i < attempts.size(); ++i) {
      PathScope item(path_, i);
      results.push_back(loadErrorAnswer(attempts[i], true));
    }
    elements.at(slot).ensureExtras().setResults.emplace_back(elements.key(name),
                                                             std::move(results));
  }
}

}  // namespace tessary::fake
