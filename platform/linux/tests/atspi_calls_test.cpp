// Which calls read an object's facts: only those whose answers the
// attributes use.
#include "platform/linux/atspi_calls.h"

#include <atspi/atspi-constants.h>
#include <gtest/gtest.h>

#include "platform/linux/atspi_attributes.h"

namespace tessary::linuxdesktop {
namespace {

AtspiItem makeItem(uint32_t role, uint32_t interfaces) {
  AtspiItem item;
  item.ref = {":1.5", "/org/a11y/atspi/accessible/7"};
  item.role = role;
  item.interfaces = interfaces;
  return item;
}

struct ValueFillCase {
  const char* what;
  uint32_t role;
  uint32_t interfaces;
  std::vector<ItemFill> fills;
  bool textPending;
};

TEST(AtspiCalls, TextIsReadOnlyWhereTheValueIsTheText) {
  using atspiinterface::text, atspiinterface::value, atspiinterface::action;
  const ValueFillCase cases[] = {
      {"label", ATSPI_ROLE_LABEL, text, {ItemFill::text}, false},
      {"entry", ATSPI_ROLE_TEXT, text | atspiinterface::editableText, {ItemFill::text}, false},
      {"button with a label", ATSPI_ROLE_PUSH_BUTTON, text | action, {ItemFill::text}, false},
      // The state is the value; the text only serves a measured range.
      {"check box with a label", ATSPI_ROLE_CHECK_BOX, text | action, {}, true},
      {"radio menu item", ATSPI_ROLE_RADIO_MENU_ITEM, text, {}, true},
      // The number is the value unless it cannot be read.
      {"spin button", ATSPI_ROLE_SPIN_BUTTON, text | value, {ItemFill::value}, true},
      {"slider", ATSPI_ROLE_SLIDER, value, {ItemFill::value}, false},
      {"panel", ATSPI_ROLE_PANEL, 0, {}, false},
  };
  for (const ValueFillCase& c : cases) {
    SCOPED_TRACE(c.what);
    AtspiItem item = makeItem(c.role, c.interfaces);
    std::vector<ItemFill> fills;
    addValueFills(item, fills);
    EXPECT_EQ(fills, c.fills);
    EXPECT_EQ(item.textPending, c.textPending);
  }
}

TEST(AtspiCalls, PendingTextIsNeededOnceTheValueFails) {
  AtspiItem spin = makeItem(ATSPI_ROLE_SPIN_BUTTON, atspiinterface::text | atspiinterface::value);
  spin.currentValue = 3;
  EXPECT_FALSE(valueIsText(spin));
  spin.currentValue.reset();  // the value read failed
  EXPECT_TRUE(valueIsText(spin));
  EXPECT_FALSE(valueIsText(makeItem(ATSPI_ROLE_TOGGLE_BUTTON, atspiinterface::text)));
  EXPECT_FALSE(valueIsText(makeItem(ATSPI_ROLE_PUSH_BUTTON, 0)));
}

TEST(AtspiCalls, ChildrenAreAskedForUnlessTheObjectHasNone) {
  for (int32_t count : {-1, 0, 1, 40}) {
    SCOPED_TRACE(count);
    AtspiItem cell = makeItem(ATSPI_ROLE_TABLE_CELL, atspiinterface::text);
    cell.childCount = count;
    std::vector<ItemFill> fills = secondRoundFills(cell);
    bool asksChildren = !fills.empty() && fills.front() == ItemFill::children;
    EXPECT_EQ(asksChildren, count != 0);
    EXPECT_EQ(fills.back(), ItemFill::text);

    // Children not read (none, or the read failed) are an empty list.
    completeObjectRead(cell);
    ASSERT_TRUE(cell.children);
    EXPECT_TRUE(cell.children->empty());
    EXPECT_EQ(cell.childCount, 0);
  }
  AtspiItem row = makeItem(ATSPI_ROLE_TABLE_ROW, 0);
  row.childCount = 2;
  row.children = std::vector<AtspiRef>{{":1.5", "/a"}, {":1.5", "/b"}};
  completeObjectRead(row);
  EXPECT_EQ(row.childCount, 2);
}

}  // namespace
}  // namespace tessary::linuxdesktop
