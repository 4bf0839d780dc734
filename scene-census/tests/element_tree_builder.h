// Small element trees for serializer tests, written as nested initializers
// and built into records through a scripted accessibility service.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/stable_identifier.h"
#include "scene-census/element/ui_element.h"
#include "scene-census/tests/scripted_accessibility.h"

namespace tessary::testing {

struct TestNode {
  TestNode(std::string role, std::vector<std::pair<std::string, AXValue>> attributes = {},
           std::vector<TestNode> children = {}, bool onScreen = true)
      : role(std::move(role)),
        attributes(std::move(attributes)),
        children(std::move(children)),
        onScreen(onScreen) {}

  std::string role;
  std::vector<std::pair<std::string, AXValue>> attributes;
  std::vector<TestNode> children;
  // On screen: a 100 x 20 frame at (10, 10), visible. Off screen: a frame
  // far outside the visible area.
  bool onScreen = true;
};

class TreeBuilder {
 public:
  // The record of `root` with its subtree, captured inside a 2000-point
  // square visible area.
  std::unique_ptr<UIElement> build(const TestNode& root) {
    std::string id = add(root);
    return std::make_unique<UIElement>(reader_, ax_.element(id), 0, 0, 60, Box{0, 0, 2000, 2000},
                                       std::nullopt);
  }

  ScriptedAccessibility& accessibility() { return ax_; }

 private:
  std::string add(const TestNode& node) {
    std::string id = "n" + std::to_string(next_++);
    ScriptedAccessibility::Node& scripted = ax_.add(id);
    if (node.onScreen) {
      scripted.frame(10, 10, 100, 20);
    } else {
      scripted.frame(5000, 5000, 100, 20);
    }
    if (!node.role.empty()) scripted.role(node.role);
    for (const auto& [attribute, value] : node.attributes)
      scripted.set(attribute, value);
    std::vector<std::string> children;
    for (const TestNode& child : node.children)
      children.push_back(add(child));
    if (!children.empty()) ax_.node(id).set("AXChildren", ax_.elements(children));
    return id;
  }

  ScriptedAccessibility ax_;
  AttributeReader reader_{ax_};
  int next_ = 0;
};

// The identifier of an element with a native identifier: nothing else enters
// its key.
inline std::string idFor(const std::string& role, const std::string& nativeIdentifier) {
  return stableElementIdentifier(role, nativeIdentifier, std::nullopt, std::nullopt, std::nullopt,
                                 std::nullopt, std::nullopt, std::nullopt);
}

// Replaces every "{ROLE|AXID}" in `text` by idFor(ROLE, AXID).
inline std::string withIds(std::string text) {
  size_t open;
  while ((open = text.find('{')) != std::string::npos) {
    size_t bar = text.find('|', open), close = text.find('}', open);
    std::string role = text.substr(open + 1, bar - open - 1);
    std::string axid = text.substr(bar + 1, close - bar - 1);
    text.replace(open, close - open + 1, idFor(role, axid));
  }
  return text;
}

}  // namespace tessary::testing
