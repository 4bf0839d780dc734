// The views of a floating tuning panel: an NSPanel whose content is a scroll
// view around a flipped document view (y grows downwards), holding labels,
// buttons, sliders and pop-up menus. Frames of controls are in the document
// view's (or their container's) flipped coordinates.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/geometry.h"

namespace tessary {

// A control or container made by the panel; 0 is the document view itself.
using PanelControlId = uint64_t;
inline constexpr PanelControlId kPanelDocumentView = 0;

struct TuningPanelConfig {
  Rect contentRect;         // screen coordinates, bottom-left origin
  uint64_t styleMask = 27;  // titled, closable, resizable, utility window
  int backing = 2;          // buffered
  bool defer = false;
  std::string title;
  int level = 25;                     // status
  uint64_t collectionBehavior = 273;  // all spaces, stationary, full-screen auxiliary
  bool hidesOnDeactivate = false;
  bool floatingPanel = true;
  bool becomesKeyOnlyIfNeeded = false;
  // The scroll view follows the panel's size, scrolls vertically and draws
  // no background; this is its document view's first frame.
  Rect documentFrame;
};

enum class PanelFont {
  system,                  // the label default
  boldSystem13,            // section headings
  monospacedDigit11Medium  // value labels
};

class TuningPanelViews {
 public:
  virtual ~TuningPanelViews() = default;
  // Creates the panel with its scroll view and document view (once).
  virtual void createPanel(const TuningPanelConfig& config) = 0;
  // makeKeyAndOrderFront, then orderFrontRegardless.
  virtual void showPanel() = 0;
  virtual Rect documentFrame() = 0;
  virtual void setDocumentFrame(const Rect& frame) = 0;
  // Removes every subview of the document view.
  virtual void removeAllControls() = 0;

  virtual PanelControlId addContainer(PanelControlId parent, const Rect& frame) = 0;
  virtual PanelControlId addLabel(PanelControlId parent, const Rect& frame, const std::string& text,
                                  PanelFont font, bool rightAligned) = 0;
  virtual PanelControlId addButton(PanelControlId parent, const Rect& frame,
                                   const std::string& title) = 0;
  // A continuous slider; with tick marks > 0 and `onlyTickMarkValues` it
  // snaps to them.
  virtual PanelControlId addSlider(PanelControlId parent, const Rect& frame, double value,
                                   double minimum, double maximum, int tickMarks,
                                   bool onlyTickMarkValues) = 0;
  // A pop-up (not pull-down) menu with the items, `selected` chosen.
  virtual PanelControlId addPopUp(PanelControlId parent, const Rect& frame,
                                  const std::vector<std::string>& items, int selected) = 0;

  virtual void setLabelText(PanelControlId label, const std::string& text) = 0;
  virtual double sliderValue(PanelControlId slider) = 0;
  virtual bool sliderAllowsOnlyTickMarkValues(PanelControlId slider) = 0;
  virtual std::optional<std::string> selectedItemTitle(PanelControlId popUp) = 0;

  // Buttons, sliders and pop-ups send their action here, on the main thread.
  virtual void setActionHandler(std::function<void(PanelControlId)> handler) = 0;
};

}  // namespace tessary
