// frost-curtain's application delegate: start-up, the standard-input
// reader, the commands and their replies, and the show/hide sequencing of
// the bands; in tuning mode also the panel's controls and their actions.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frost-curtain/blur_window_layer.h"
#include "frost-curtain/command_protocol.h"
#include "frost-curtain/preview_parameters.h"
#include "frost-curtain/tuning_panel.h"
#include "platform/program.h"

namespace tessary::curtain {

inline constexpr const char* kReadyLine = "ready";
inline constexpr const char* kShownPrefix = "shown ";
inline constexpr const char* kHiddenPrefix = "hidden ";
inline constexpr const char* kCopiedLine = "copied";
inline constexpr const char* kNoScreenError = "error: could not resolve active screen\n";
inline constexpr const char* kShowNeedsIdError = "error: show command requires id\n";
inline constexpr const char* kHideNeedsIdError = "error: hide command requires id\n";
inline constexpr const char* kUnknownCommandPrefix = "error: unknown command ";
// A band at or below this opacity counts as faded out.
inline constexpr double kFadedOutOpacity = 0.0001;

class AppDelegate : public std::enable_shared_from_this<AppDelegate> {
 public:
  explicit AppDelegate(ProgramContext& context);

  void applicationDidFinishLaunching();
  void startCommandListener();
  // One trimmed command line.
  void handle(const std::string& command);
  void hideBlur(std::function<void()> completion);
  void applyCurrentParameters(bool animated, std::function<void()> completion);
  // Parameters as JSON to the general pasteboard, then "copied".
  void handleCopy();

  // Tuning panel (tuning_panel.cpp).
  void buildTuningPanel(const Rect& screen);
  void rebuildTuningControls();
  void handleControlAction(PanelControlId control);
  void handleSliderChange(PanelControlId slider);
  void handleMaterialChange(PanelControlId popUp);
  void handleRandomize();

  const bool shouldShowTuningUI;
  const double blurShowAnimationDuration = 0.05;
  const double blurHideAnimationDuration = 0.065;
  LineSplitter inputBuffer;  // touched only by the standard-input reader
  PreviewParameters parameters;
  std::vector<std::unique_ptr<BlurWindowLayer>> blurLayers;
  bool isBlurVisible = false;
  int64_t latestVisibilityCommandId = 0;
  bool hasTuningWindow = false;
  std::map<PanelControlId, SliderKey> sliderBindings;
  std::map<SliderKey, PanelControlId> valueLabels;
  std::optional<PanelControlId> materialPopup;

 private:
  void addSliderRow(const SliderRow& row, double value, double& y, double width);
  void createBand(const Rect& screen, const BlurLayerSpec& spec, int material);
  void updateBand(BlurWindowLayer& band, const Rect& screen, const BlurLayerSpec& spec,
                  int material);
  void presentBands(bool animated, std::function<void()> completion);
  void finishHide();
  void writeLine(const std::string& line);
  void writeError(const std::string& text);
  // `work` run only while this delegate still exists.
  std::function<void()> whileAlive(std::function<void(AppDelegate&)> work);

  ProgramContext& context_;
  Platform& platform_;
  std::optional<PanelControlId> randomizeButton_;
  std::optional<PanelControlId> copyButton_;
};

int runFrostCurtain(ProgramContext& context);

}  // namespace tessary::curtain
