// Window-server entries made from X11 facts: keys and kinds, layers, and the
// list options.
#include "platform/linux/window_entries.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/window_server.h"

namespace tessary::linuxdesktop {
namespace {

X11WindowFacts window(uint32_t number, bool onScreen = true) {
  X11WindowFacts facts;
  facts.number = number;
  facts.bounds = Rect{10, 20, 300, 200};
  facts.viewable = onScreen;
  facts.pid = 4000 + static_cast<int32_t>(number);
  facts.ownerName = "app";
  facts.title = "Window " + std::to_string(number);
  return facts;
}

// Same kind and same value, for numbers, booleans and texts.
bool sameScalar(const PlistValue& a, const PlistValue& b) {
  if (a.storage().index() != b.storage().index()) return false;
  if (a.asString()) return *a.asString() == *b.asString();
  if (a.asBool()) return *a.asBool() == *b.asBool();
  return a.asReal() == b.asReal();
}

TEST(WindowEntries, AnEntryHasTheKeysAndKindsOfTheMacOSList) {
  X11WindowFacts facts = window(7);
  facts.opacity = 0.5;
  PlistValue expected(PlistDict{
      {"kCGWindowNumber", PlistValue(int64_t{7})},
      {"kCGWindowLayer", PlistValue(int64_t{0})},
      {"kCGWindowAlpha", PlistValue(0.5)},
      {"kCGWindowStoreType", PlistValue(1)},
      {"kCGWindowSharingState", PlistValue(1)},
      {"kCGWindowBounds", PlistValue(PlistDict{{"X", PlistValue(10.0)},
                                               {"Y", PlistValue(20.0)},
                                               {"Width", PlistValue(300.0)},
                                               {"Height", PlistValue(200.0)}})},
      {"kCGWindowOwnerPID", PlistValue(int64_t{4007})},
      {"kCGWindowOwnerName", PlistValue("app")},
      {"kCGWindowName", PlistValue("Window 7")},
      {"kCGWindowIsOnscreen", PlistValue(true)},
  });
  EXPECT_EQ(windowEntry(facts).asDict()->size(), expected.asDict()->size());
  PlistValue entry = windowEntry(facts);
  for (const auto& [key, value] : *expected.asDict()) {
    const PlistValue* got = entry.find(key);
    ASSERT_NE(got, nullptr) << key;
    EXPECT_EQ(got->storage().index(), value.storage().index()) << key;
    if (const PlistDict* bounds = value.asDict()) {
      for (const auto& [member, number] : *bounds)
        EXPECT_TRUE(sameScalar(*got->find(member), number)) << member;
    } else {
      EXPECT_TRUE(sameScalar(*got, value)) << key;
    }
  }

  // Without an owner or title those keys are absent; full opacity is 1.0.
  X11WindowFacts bare;
  bare.number = 9;
  bare.viewable = true;
  bare.hidden = true;
  entry = windowEntry(bare);
  EXPECT_EQ(entry.find("kCGWindowOwnerPID"), nullptr);
  EXPECT_EQ(entry.find("kCGWindowOwnerName"), nullptr);
  EXPECT_EQ(entry.find("kCGWindowName"), nullptr);
  EXPECT_EQ(entry.find("kCGWindowIsOnscreen"), nullptr);
  EXPECT_TRUE(sameScalar(*entry.find("kCGWindowAlpha"), PlistValue(1.0)));
}

TEST(WindowEntries, LayersFollowTypeAndState) {
  struct Case {
    std::optional<WindowType> type;
    bool overrideRedirect, above;
    int64_t layer;
  };
  const int64_t desktop = std::numeric_limits<int32_t>::min() + 21;
  const Case cases[] = {
      {std::nullopt, false, false, 0},
      {WindowType::normal, false, false, 0},
      {WindowType::dialog, false, false, 0},
      {WindowType::utility, false, false, 0},
      {WindowType::normal, false, true, 3},
      {WindowType::dock, false, false, 20},
      {WindowType::dock, false, true, 20},
      {WindowType::desktop, false, false, desktop},
      {WindowType::notification, true, false, 25},
      {WindowType::popupMenu, true, false, 101},
      {WindowType::dropdownMenu, true, false, 101},
      {WindowType::combo, true, false, 101},
      {std::nullopt, true, false, 101},
      {WindowType::tooltip, true, false, 200},
      {WindowType::dnd, true, false, 500},
  };
  for (const Case& c : cases) {
    X11WindowFacts facts = window(1);
    facts.type = c.type;
    facts.overrideRedirect = c.overrideRedirect;
    facts.above = c.above;
    EXPECT_EQ(layerFor(facts), c.layer)
        << "type " << (c.type ? static_cast<int>(*c.type) : -1) << " override "
        << c.overrideRedirect << " above " << c.above;
  }
}

std::vector<int64_t> numbers(const std::optional<PlistArray>& list) {
  std::vector<int64_t> result;
  if (!list) return result;
  for (const PlistValue& entry : *list)
    result.push_back(*entry.find("kCGWindowNumber")->asInteger());
  return result;
}

TEST(WindowEntries, ListOptionsSelectAsOnTheMacOSWindowServer) {
  // Front to back: 1, 2 minimised, 3 unmapped, 4 the desktop, 5.
  std::vector<X11WindowFacts> windows = {window(1), window(2), window(3, false), window(4),
                                         window(5)};
  windows[1].hidden = true;
  windows[3].type = WindowType::desktop;
  using namespace windowlist;
  struct Case {
    uint32_t options, relative;
    std::vector<int64_t> expected;
  };
  const Case cases[] = {
      {0, nullWindowId, {1, 2, 3, 4, 5}},
      {onScreenOnly, nullWindowId, {1, 4, 5}},
      {onScreenOnly | excludeDesktopElements, nullWindowId, {1, 5}},
      {onScreenAboveWindow, 5, {1, 4}},
      {onScreenAboveWindow | includingWindow, 5, {1, 4, 5}},
      {onScreenBelowWindow, 1, {4, 5}},
      {onScreenBelowWindow | includingWindow | excludeDesktopElements, 1, {1, 5}},
      {onScreenBelowWindow, nullWindowId, {1, 4, 5}},
      {onScreenAboveWindow, 99, {}},
      {includingWindow, 2, {2}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(numbers(windowList(windows, c.options, c.relative)), c.expected)
        << "options " << c.options << " relative " << c.relative;
  }
  EXPECT_FALSE(windowList(windows, onScreenOnly | onScreenAboveWindow, 1));
}

}  // namespace
}  // namespace tessary::linuxdesktop
