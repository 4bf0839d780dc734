// The translation of AT-SPI facts into the attributes the logic reads.
#include "platform/linux/atspi_attributes.h"

#include <atspi/atspi-constants.h>
#include <gtest/gtest.h>

#include <limits>
#include <map>

#include "platform/linux/atspi_roles.h"

namespace tessary::linuxdesktop {
namespace {

uint64_t states(std::initializer_list<int> list) {
  uint64_t bits = 0;
  for (int state : list)
    bits |= uint64_t{1} << state;
  return bits;
}

AtspiItem makeItem(uint32_t role, uint32_t interfaces, uint64_t stateBits) {
  AtspiItem item;
  item.ref = {":1.5", "/org/a11y/atspi/accessible/7"};
  item.parent = {":1.5", "/org/a11y/atspi/accessible/3"};
  item.role = role;
  item.interfaces = interfaces;
  item.states = stateBits;
  item.name = "Name";
  item.description = "Description";
  return item;
}

// Handles carry the path as their hash so the tests can tell them apart.
struct Sources {
  std::vector<AtspiRef> children;
  std::map<std::string, bool> shown;
  AttributeSources sources() {
    return AttributeSources{[](const AtspiRef& ref) {
                              return AXElement(std::make_shared<int>(0),
                                               std::hash<std::string>()(ref.path));
                            },
                            [this](const AtspiItem&) { return children; },
                            [this](const AtspiRef& ref) {
                              auto it = shown.find(ref.path);
                              return it == shown.end() || it->second;
                            }};
  }
};

AXResult read(const AtspiItem& item, std::string_view attribute) {
  Sources sources;
  return readItemAttribute(item, attribute, sources.sources());
}

// The answer when it is of exactly this kind.
template <typename Kind>
std::optional<Kind> kindOf(const AXResult& result) {
  if (!result.get()) return std::nullopt;
  const Kind* value = std::get_if<Kind>(&result.get()->storage());
  return value ? std::optional<Kind>(*value) : std::nullopt;
}

struct RoleCase {
  uint32_t role;
  uint64_t states;
  std::string axRole;
  std::string description;
};

TEST(AtspiAttributes, RolesFollowTheTableAndMultiLineTextIsATextArea) {
  const RoleCase cases[] = {
      {ATSPI_ROLE_FRAME, 0, "AXWindow", "frame"},
      {ATSPI_ROLE_DIALOG, 0, "AXWindow", "dialog"},
      {ATSPI_ROLE_PUSH_BUTTON, 0, "AXButton", "push button"},
      {ATSPI_ROLE_TOGGLE_BUTTON, 0, "AXCheckBox", "toggle button"},
      {ATSPI_ROLE_PAGE_TAB, 0, "AXRadioButton", "page tab"},
      {ATSPI_ROLE_COMBO_BOX, 0, "AXPopUpButton", "combo box"},
      {ATSPI_ROLE_TEXT, states({ATSPI_STATE_SINGLE_LINE}), "AXTextField", "text"},
      {ATSPI_ROLE_TEXT, states({ATSPI_STATE_MULTI_LINE}), "AXTextArea", "text"},
      {ATSPI_ROLE_PASSWORD_TEXT, 0, "AXTextField", "password text"},
      {ATSPI_ROLE_LABEL, 0, "AXStaticText", "label"},
      {ATSPI_ROLE_TABLE_CELL, 0, "AXCell", "table cell"},
      {ATSPI_ROLE_TABLE_COLUMN_HEADER, 0, "AXButton", "table column header"},
      {ATSPI_ROLE_TREE_TABLE, 0, "AXOutline", "tree table"},
      {ATSPI_ROLE_SCROLL_PANE, 0, "AXScrollArea", "scroll pane"},
      {ATSPI_ROLE_DOCUMENT_WEB, 0, "AXWebArea", "document web"},
      {ATSPI_ROLE_APPLICATION, 0, "AXApplication", "application"},
      {ATSPI_ROLE_PANEL, 0, "AXGroup", "panel"},
      {ATSPI_ROLE_MATH_FRACTION, 0, "AXGroup", "other"},
      {9999, 0, "AXGroup", "other"},
  };
  for (const RoleCase& c : cases) {
    SCOPED_TRACE(c.axRole + " from " + std::to_string(c.role));
    AtspiItem item = makeItem(c.role, 0, c.states);
    EXPECT_EQ(*read(item, "AXRole").get()->text(), c.axRole);
    EXPECT_EQ(*read(item, "AXRoleDescription").get()->text(), c.description);
  }
  EXPECT_TRUE(isWindowRole(ATSPI_ROLE_ALERT));
  EXPECT_FALSE(isWindowRole(ATSPI_ROLE_PANEL));
}

TEST(AtspiAttributes, ValueIsTheNumberTheCheckedStateOrTheText) {
  AtspiItem slider = makeItem(ATSPI_ROLE_SLIDER, atspiinterface::value, 0);
  slider.currentValue = 42.5;
  EXPECT_EQ(kindOf<double>(read(slider, "AXValue")), 42.5);

  AtspiItem checked =
      makeItem(ATSPI_ROLE_CHECK_BOX, atspiinterface::action, states({ATSPI_STATE_CHECKED}));
  EXPECT_EQ(kindOf<int64_t>(read(checked, "AXValue")), 1);
  AtspiItem unchecked = makeItem(ATSPI_ROLE_RADIO_BUTTON, 0, 0);
  EXPECT_EQ(kindOf<int64_t>(read(unchecked, "AXValue")), 0);

  AtspiItem entry = makeItem(ATSPI_ROLE_TEXT, atspiinterface::text, 0);
  entry.text = "typed";
  EXPECT_EQ(*read(entry, "AXValue").get()->text(), "typed");
  entry.text.reset();  // the text read failed
  EXPECT_EQ(read(entry, "AXValue").error, axerror::noValue);

  AtspiItem button = makeItem(ATSPI_ROLE_PUSH_BUTTON, atspiinterface::action, 0);
  EXPECT_EQ(read(button, "AXValue").error, axerror::attributeUnsupported);
}

TEST(AtspiAttributes, GeometryComesFromPlacedExtentsOnly) {
  AtspiItem placed = makeItem(ATSPI_ROLE_PUSH_BUTTON, atspiinterface::component, 0);
  placed.extents = AtspiExtents{-20, 30, 40, 50};
  EXPECT_EQ(read(placed, "AXPosition").get()->point(), (AXPoint{-20, 30}));
  EXPECT_EQ(read(placed, "AXSize").get()->size(), (AXSize{40, 50}));

  // A cell scrolled out of view.
  AtspiItem unplaced = placed;
  unplaced.extents = AtspiExtents{std::numeric_limits<int32_t>::min(), 10, 40, 20};
  EXPECT_EQ(read(unplaced, "AXPosition").error, axerror::noValue);
  EXPECT_EQ(read(unplaced, "AXSize").error, axerror::noValue);

  AtspiItem unread = placed;
  unread.extents.reset();
  EXPECT_EQ(read(unread, "AXPosition").error, axerror::noValue);

  AtspiItem noComponent = makeItem(ATSPI_ROLE_PUSH_BUTTON, 0, 0);
  EXPECT_EQ(read(noComponent, "AXSize").error, axerror::attributeUnsupported);
}

TEST(AtspiAttributes, ChildrenLeaveOutWhatIsNotShown) {
  Sources sources;
  sources.children = {
      {":1.5", "/a"}, {":1.5", AtspiRef::kNullPath}, {":1.5", "/b"}, {":1.5", "/c"}};
  sources.shown["/b"] = false;
  AtspiItem item = makeItem(ATSPI_ROLE_PANEL, 0, 0);
  AXResult children = readItemAttribute(item, "AXChildren", sources.sources());
  std::optional<std::vector<AXElement>> list = children.get()->elementList();
  ASSERT_TRUE(list);
  ASSERT_EQ(list->size(), 2u);
  EXPECT_EQ((*list)[0].hash(), std::hash<std::string>()("/a"));
  EXPECT_EQ((*list)[1].hash(), std::hash<std::string>()("/c"));
}

TEST(AtspiAttributes, StatesNamesParentAndIdentifier) {
  AtspiItem item =
      makeItem(ATSPI_ROLE_PUSH_BUTTON, 0, states({ATSPI_STATE_ENABLED, ATSPI_STATE_FOCUSED}));
  EXPECT_EQ(read(item, "AXEnabled").get()->boolean(), true);
  EXPECT_EQ(read(item, "AXFocused").get()->boolean(), true);
  EXPECT_EQ(*read(item, "AXTitle").get()->text(), "Name");
  EXPECT_EQ(*read(item, "AXDescription").get()->text(), "Description");
  EXPECT_EQ(read(item, "AXParent").get()->element()->hash(),
            std::hash<std::string>()("/org/a11y/atspi/accessible/3"));

  AtspiItem idle = makeItem(ATSPI_ROLE_PUSH_BUTTON, 0, 0);
  EXPECT_EQ(read(idle, "AXEnabled").get()->boolean(), false);
  EXPECT_EQ(read(idle, "AXFocused").get()->boolean(), false);

  EXPECT_EQ(read(item, "AXIdentifier").error, axerror::noValue);
  item.accessibleId = "";
  EXPECT_EQ(read(item, "AXIdentifier").error, axerror::noValue);
  item.accessibleId = "save-button";
  EXPECT_EQ(*read(item, "AXIdentifier").get()->text(), "save-button");

  AtspiItem application = makeItem(ATSPI_ROLE_APPLICATION, 0, 0);
  EXPECT_EQ(read(application, "AXParent").error, axerror::noValue);
  AtspiItem orphan = makeItem(ATSPI_ROLE_PANEL, 0, 0);
  orphan.parent = {":1.5", AtspiRef::kNullPath};
  EXPECT_EQ(read(orphan, "AXParent").error, axerror::noValue);

  for (std::string_view attribute : {"AXSubrole", "AXHelp", "AXRows", "AXVisibleChildren"})
    EXPECT_EQ(read(item, attribute).error, axerror::attributeUnsupported) << attribute;
}

TEST(AtspiAttributes, ValueIsSettableOnEditableTextOnly) {
  const uint32_t editable = atspiinterface::text | atspiinterface::editableText;
  EXPECT_TRUE(valueIsSettable(makeItem(ATSPI_ROLE_TEXT, editable, states({ATSPI_STATE_EDITABLE}))));
  // A disabled entry keeps the interface but drops the state.
  EXPECT_FALSE(valueIsSettable(makeItem(ATSPI_ROLE_TEXT, editable, 0)));
  EXPECT_FALSE(valueIsSettable(
      makeItem(ATSPI_ROLE_LABEL, atspiinterface::text, states({ATSPI_STATE_EDITABLE}))));
}

}  // namespace
}  // namespace tessary::linuxdesktop
