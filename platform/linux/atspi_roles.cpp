#include "platform/linux/atspi_roles.h"

#include <atspi/atspi-constants.h>

namespace tessary::linuxdesktop {

namespace {

struct RoleEntry {
  uint32_t atspiRole;
  RoleMapping mapping;
};

// Roles without a row here map to "AXGroup" with their AT-SPI name; see
// docs/linux-backend.md.
constexpr RoleEntry kRoles[] = {
    {ATSPI_ROLE_APPLICATION, {"AXApplication", "application"}},
    {ATSPI_ROLE_FRAME, {"AXWindow", "frame"}},
    {ATSPI_ROLE_WINDOW, {"AXWindow", "window"}},
    {ATSPI_ROLE_DIALOG, {"AXWindow", "dialog"}},
    {ATSPI_ROLE_ALERT, {"AXWindow", "alert"}},
    {ATSPI_ROLE_INPUT_METHOD_WINDOW, {"AXWindow", "input method window"}},
    {ATSPI_ROLE_PUSH_BUTTON, {"AXButton", "push button"}},
    {ATSPI_ROLE_PUSH_BUTTON_MENU, {"AXMenuButton", "push button menu"}},
    {ATSPI_ROLE_TOGGLE_BUTTON, {"AXCheckBox", "toggle button"}},
    {ATSPI_ROLE_CHECK_BOX, {"AXCheckBox", "check box"}},
    {ATSPI_ROLE_RADIO_BUTTON, {"AXRadioButton", "radio button"}},
    {ATSPI_ROLE_PAGE_TAB, {"AXRadioButton", "page tab"}},
    {ATSPI_ROLE_PAGE_TAB_LIST, {"AXTabGroup", "page tab list"}},
    {ATSPI_ROLE_COMBO_BOX, {"AXPopUpButton", "combo box"}},
    {ATSPI_ROLE_AUTOCOMPLETE, {"AXComboBox", "autocomplete"}},
    {ATSPI_ROLE_TEXT, {"AXTextField", "text"}},
    {ATSPI_ROLE_ENTRY, {"AXTextField", "entry"}},
    {ATSPI_ROLE_EDITBAR, {"AXTextField", "editbar"}},
    {ATSPI_ROLE_PASSWORD_TEXT, {"AXTextField", "password text"}},
    {ATSPI_ROLE_DOCUMENT_TEXT, {"AXTextArea", "document text"}},
    {ATSPI_ROLE_TERMINAL, {"AXTextArea", "terminal"}},
    {ATSPI_ROLE_LABEL, {"AXStaticText", "label"}},
    {ATSPI_ROLE_STATIC, {"AXStaticText", "static"}},
    {ATSPI_ROLE_CAPTION, {"AXStaticText", "caption"}},
    {ATSPI_ROLE_ACCELERATOR_LABEL, {"AXStaticText", "accelerator label"}},
    {ATSPI_ROLE_HEADING, {"AXHeading", "heading"}},
    {ATSPI_ROLE_LINK, {"AXLink", "link"}},
    {ATSPI_ROLE_IMAGE, {"AXImage", "image"}},
    {ATSPI_ROLE_ICON, {"AXImage", "icon"}},
    {ATSPI_ROLE_DESKTOP_ICON, {"AXImage", "desktop icon"}},
    {ATSPI_ROLE_ANIMATION, {"AXImage", "animation"}},
    {ATSPI_ROLE_IMAGE_MAP, {"AXImage", "image map"}},
    {ATSPI_ROLE_CHART, {"AXImage", "chart"}},
    {ATSPI_ROLE_LIST, {"AXList", "list"}},
    {ATSPI_ROLE_LIST_BOX, {"AXList", "list box"}},
    {ATSPI_ROLE_TABLE, {"AXTable", "table"}},
    {ATSPI_ROLE_TREE_TABLE, {"AXOutline", "tree table"}},
    {ATSPI_ROLE_TREE, {"AXOutline", "tree"}},
    {ATSPI_ROLE_TABLE_ROW, {"AXRow", "table row"}},
    {ATSPI_ROLE_TREE_ITEM, {"AXRow", "tree item"}},
    {ATSPI_ROLE_LIST_ITEM, {"AXRow", "list item"}},
    {ATSPI_ROLE_TABLE_CELL, {"AXCell", "table cell"}},
    {ATSPI_ROLE_ROW_HEADER, {"AXCell", "row header"}},
    {ATSPI_ROLE_TABLE_ROW_HEADER, {"AXCell", "table row header"}},
    {ATSPI_ROLE_COLUMN_HEADER, {"AXButton", "column header"}},
    {ATSPI_ROLE_TABLE_COLUMN_HEADER, {"AXButton", "table column header"}},
    {ATSPI_ROLE_MENU_BAR, {"AXMenuBar", "menu bar"}},
    {ATSPI_ROLE_MENU, {"AXMenuItem", "menu"}},
    {ATSPI_ROLE_POPUP_MENU, {"AXMenu", "popup menu"}},
    {ATSPI_ROLE_MENU_ITEM, {"AXMenuItem", "menu item"}},
    {ATSPI_ROLE_CHECK_MENU_ITEM, {"AXMenuItem", "check menu item"}},
    {ATSPI_ROLE_RADIO_MENU_ITEM, {"AXMenuItem", "radio menu item"}},
    {ATSPI_ROLE_TEAROFF_MENU_ITEM, {"AXMenuItem", "tearoff menu item"}},
    {ATSPI_ROLE_SLIDER, {"AXSlider", "slider"}},
    {ATSPI_ROLE_DIAL, {"AXSlider", "dial"}},
    {ATSPI_ROLE_SPIN_BUTTON, {"AXIncrementor", "spin button"}},
    {ATSPI_ROLE_PROGRESS_BAR, {"AXProgressIndicator", "progress bar"}},
    {ATSPI_ROLE_LEVEL_BAR, {"AXLevelIndicator", "level bar"}},
    {ATSPI_ROLE_RATING, {"AXLevelIndicator", "rating"}},
    {ATSPI_ROLE_SCROLL_BAR, {"AXScrollBar", "scroll bar"}},
    {ATSPI_ROLE_SCROLL_PANE, {"AXScrollArea", "scroll pane"}},
    {ATSPI_ROLE_SPLIT_PANE, {"AXSplitGroup", "split pane"}},
    {ATSPI_ROLE_SEPARATOR, {"AXSplitter", "separator"}},
    {ATSPI_ROLE_TOOL_BAR, {"AXToolbar", "tool bar"}},
    {ATSPI_ROLE_TOOL_TIP, {"AXHelpTag", "tool tip"}},
    {ATSPI_ROLE_DATE_EDITOR, {"AXDateField", "date editor"}},
    {ATSPI_ROLE_RULER, {"AXRuler", "ruler"}},
    {ATSPI_ROLE_DOCUMENT_WEB, {"AXWebArea", "document web"}},
    {ATSPI_ROLE_DOCUMENT_FRAME, {"AXWebArea", "document frame"}},
    {ATSPI_ROLE_UNKNOWN, {"AXUnknown", "unknown"}},
    {ATSPI_ROLE_INVALID, {"AXUnknown", "invalid"}},
    {ATSPI_ROLE_REDUNDANT_OBJECT, {"AXUnknown", "redundant object"}},
    {ATSPI_ROLE_PANEL, {"AXGroup", "panel"}},
    {ATSPI_ROLE_FILLER, {"AXGroup", "filler"}},
    {ATSPI_ROLE_VIEWPORT, {"AXGroup", "viewport"}},
    {ATSPI_ROLE_GROUPING, {"AXGroup", "grouping"}},
    {ATSPI_ROLE_SECTION, {"AXGroup", "section"}},
    {ATSPI_ROLE_PARAGRAPH, {"AXGroup", "paragraph"}},
    {ATSPI_ROLE_STATUS_BAR, {"AXGroup", "status bar"}},
    {ATSPI_ROLE_FORM, {"AXGroup", "form"}},
    {ATSPI_ROLE_FILE_CHOOSER, {"AXGroup", "file chooser"}},
    {ATSPI_ROLE_COLOR_CHOOSER, {"AXGroup", "color chooser"}},
    {ATSPI_ROLE_FONT_CHOOSER, {"AXGroup", "font chooser"}},
    {ATSPI_ROLE_CALENDAR, {"AXGroup", "calendar"}},
    {ATSPI_ROLE_DRAWING_AREA, {"AXGroup", "drawing area"}},
    {ATSPI_ROLE_CANVAS, {"AXGroup", "canvas"}},
};

}  // namespace

RoleMapping mapRole(uint32_t atspiRole) {
  for (const RoleEntry& entry : kRoles) {
    if (entry.atspiRole == atspiRole) return entry.mapping;
  }
  return {"AXGroup", "other"};
}

bool isWindowRole(uint32_t atspiRole) {
  return mapRole(atspiRole).axRole == "AXWindow";
}

}  // namespace tessary::linuxdesktop
