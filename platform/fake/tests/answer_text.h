// Answers of the simulated desktop as short texts that keep every kind apart
// ("int 1" is not "real 1"), so tests can compare whole answers in tables.
#pragma once

#include <string>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/value_text.h"

namespace tessary::fake::testing {

// The scene id of a handle, or "?" when the desktop does not know it.
inline std::string idOfHandle(const FakeDesktop& desktop, const AXElement& element,
                              const std::vector<std::string>& ids) {
  for (const std::string& id : ids) {
    AXElement candidate = desktop.element(id);
    if (candidate && candidate.native() == element.native()) return id;
  }
  return "?";
}

inline std::string valueKindText(const AXValue& value) {
  struct Visitor {
    std::string operator()(const std::string&) const { return "text "; }
    std::string operator()(int64_t) const { return "int "; }
    std::string operator()(double) const { return "real "; }
    std::string operator()(bool) const { return "bool "; }
    std::string operator()(const AXPoint&) const { return ""; }
    std::string operator()(const AXSize&) const { return ""; }
    std::string operator()(const AXRect&) const { return ""; }
    std::string operator()(const AXRange&) const { return ""; }
    std::string operator()(const AXElement&) const { return ""; }
    std::string operator()(const AXValueList&) const { return "list "; }
    std::string operator()(const AXOtherValue&) const { return ""; }
  };
  return std::visit(Visitor{}, value.storage());
}

// "error -25212", "empty", "int 1", "real 1", "text \"Save\"",
// "{\"point\":[1,2]}", "list [1,\"a\"]", element references as
// {"ref":"<hash in hex>"} unless `ids` names them.
inline std::string answerText(const FakeDesktop& desktop, const AXResult& result,
                              const std::vector<std::string>& ids = {}) {
  if (result.error != axerror::success) return "error " + std::to_string(result.error);
  if (!result.value) return "empty";
  struct Context {
    const FakeDesktop* desktop;
    const std::vector<std::string>* ids;
  } context{&desktop, &ids};
  auto name = [](const AXElement& element, const void* raw) {
    const auto* c = static_cast<const Context*>(raw);
    return idOfHandle(*c->desktop, element, *c->ids);
  };
  return valueKindText(*result.value) + valueText(*result.value, name, &context);
}

}  // namespace tessary::fake::testing
