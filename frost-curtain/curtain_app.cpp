#include "frost-curtain/curtain_app.h"

#include <utility>

namespace tessary::curtain {

AppDelegate::AppDelegate(ProgramContext& context)
    : shouldShowTuningUI(wantsTuning(context.arguments)),
      context_(context),
      platform_(context.platform) {
  parameters.heightRatio = parseHeightRatio(context.arguments).value_or(kDefaultHeightRatio);
}

std::function<void()> AppDelegate::whileAlive(std::function<void(AppDelegate&)> work) {
  return [weak = weak_from_this(), work = std::move(work)] {
    if (std::shared_ptr<AppDelegate> self = weak.lock()) work(*self);
  };
}

void AppDelegate::writeLine(const std::string& line) {
  context_.out << line << '\n' << std::flush;
}

void AppDelegate::writeError(const std::string& text) {
  context_.err << text << std::flush;
}

void AppDelegate::applicationDidFinishLaunching() {
  const std::optional<Rect> screen = screenUnderCursor(platform_.screens);
  if (!screen) {
    writeError(kNoScreenError);
    platform_.application.terminate();
    return;
  }
  applyCurrentParameters(false, nullptr);
  if (shouldShowTuningUI) {
    buildTuningPanel(*screen);
    platform_.application.activateIgnoringOtherApps();
    isBlurVisible = true;
    applyCurrentParameters(false, nullptr);
  } else {
    // Every band once through the window server while invisible, so the
    // first show does not pay for it.
    Compositor& compositor = platform_.compositor;
    for (const std::unique_ptr<BlurWindowLayer>& band : blurLayers) {
      band->freezeOpacity();
      compositor.setWindowFrame(band->window(), band->targetFrame, false, false);
      band->setOpacity(0);
      compositor.orderFrontRegardless(band->window());
      compositor.orderOut(band->window());
      band->isPresented = false;
    }
  }
  startCommandListener();
  writeLine(kReadyLine);
}

void AppDelegate::startCommandListener() {
  std::weak_ptr<AppDelegate> weak = weak_from_this();
  BackgroundApplication& application = platform_.application;
  application.readStandardInput(context_.in, [weak, &application](std::string_view bytes) {
    std::shared_ptr<AppDelegate> self = weak.lock();
    if (!self) return;
    if (bytes.empty()) {
      application.performOnMainQueue([&application] { application.terminate(); });
      return;
    }
    self->inputBuffer.feed(bytes, [&](std::string&& line) {
      application.performOnMainQueue(self->whileAlive(
          [line = std::move(line)](AppDelegate& delegate) { delegate.handle(line); }));
    });
  });
}

void AppDelegate::handle(const std::string& line) {
  const Command command = parseCommand(line);
  switch (command.word) {
    case CommandWord::show: {
      if (!command.id) {
        writeError(kShowNeedsIdError);
        return;
      }
      const int64_t id = *command.id;
      latestVisibilityCommandId = id;
      isBlurVisible = true;
      applyCurrentParameters(true, whileAlive([id](AppDelegate& self) {
                               if (self.latestVisibilityCommandId == id && self.isBlurVisible) {
                                 self.writeLine(kShownPrefix + std::to_string(id));
                               }
                             }));
      return;
    }
    case CommandWord::hide: {
      if (!command.id) {
        writeError(kHideNeedsIdError);
        return;
      }
      const int64_t id = *command.id;
      latestVisibilityCommandId = id;
      isBlurVisible = false;
      hideBlur(whileAlive([id](AppDelegate& self) {
        if (self.latestVisibilityCommandId == id && !self.isBlurVisible) {
          self.writeLine(kHiddenPrefix + std::to_string(id));
        }
      }));
      return;
    }
    case CommandWord::randomize:
      parameters =
          randomParameters(platform_.random, parameters.heightRatio, parameters.materialName);
      if (shouldShowTuningUI) rebuildTuningControls();
      applyCurrentParameters(false, nullptr);
      return;
    case CommandWord::copy:
      handleCopy();
      return;
    case CommandWord::exit:
      platform_.application.terminate();
      return;
    case CommandWord::unknown:
      writeError(kUnknownCommandPrefix + line + "\n");
      return;
  }
}

void AppDelegate::hideBlur(std::function<void()> completion) {
  Compositor& compositor = platform_.compositor;
  compositor.beginTransaction();
  compositor.setTransactionDisableActions(true);
  compositor.setTransactionCompletion(
      whileAlive([completion = std::move(completion)](AppDelegate& self) {
        self.finishHide();
        if (completion) completion();
      }));
  for (const std::unique_ptr<BlurWindowLayer>& band : blurLayers) {
    band->freezeOpacity();
    band->isPresented = false;
    band->animateOpacity(0, blurHideAnimationDuration, kEaseInEaseOut);
  }
  compositor.commitTransaction();
}

void AppDelegate::finishHide() {
  Compositor& compositor = platform_.compositor;
  for (const std::unique_ptr<BlurWindowLayer>& band : blurLayers) {
    // A show that came in meanwhile has presented the band again.
    if (band->isPresented || band->currentOpacity() > kFadedOutOpacity) continue;
    compositor.orderOut(band->window());
    const Rect parked = parkedFrame(band->targetFrame);
    if (compositor.windowFrame(band->window()) != parked) {
      compositor.setWindowFrame(band->window(), parked, false, false);
    }
  }
}

void AppDelegate::applyCurrentParameters(bool animated, std::function<void()> completion) {
  const std::optional<Rect> screen = screenUnderCursor(platform_.screens);
  if (!screen) {
    if (completion) completion();
    return;
  }
  parameters = sanitize(parameters);
  const std::vector<BlurLayerSpec> specs = bandSpecs(parameters);
  const int material = materialValue(parameters.materialName);
  while (blurLayers.size() < specs.size())
    createBand(*screen, specs[blurLayers.size()], material);
  while (blurLayers.size() > specs.size()) {
    const CompositorWindowId window = blurLayers.back()->window();
    platform_.compositor.orderOut(window);
    platform_.compositor.closeWindow(window);
    blurLayers.pop_back();
  }
  for (size_t k = 0; k < specs.size(); ++k)
    updateBand(*blurLayers[k], *screen, specs[k], material);
  if (isBlurVisible) {
    presentBands(animated, animated ? std::move(completion) : nullptr);
    if (animated) return;
  }
  if (completion) completion();
}

void AppDelegate::createBand(const Rect& screen, const BlurLayerSpec& spec, int material) {
  const Rect target = targetFrame(screen, parameters.heightRatio, spec);
  blurLayers.push_back(
      std::make_unique<BlurWindowLayer>(platform_.compositor, spec, target, material));
}

void AppDelegate::updateBand(BlurWindowLayer& band, const Rect& screen, const BlurLayerSpec& spec,
                             int material) {
  Compositor& compositor = platform_.compositor;
  const CompositorWindowId window = band.window();
  const Rect target = targetFrame(screen, parameters.heightRatio, spec);
  const bool sameFrame = target == band.targetFrame;
  const bool sameSpec = spec == band.spec;
  const bool sameExponents = parameters.opacityExponent == band.opacityExponent &&
                             parameters.curveExponent == band.curveExponent;
  const int currentMaterial = compositor.viewMaterial(window);
  band.spec = spec;
  band.targetFrame = target;
  band.opacityExponent = parameters.opacityExponent;
  band.curveExponent = parameters.curveExponent;
  if (currentMaterial != material) compositor.setViewMaterial(window, material);

  const Rect place =
      band.isPresented || compositor.isWindowVisible(window) ? target : parkedFrame(target);
  if (compositor.windowFrame(window) != place)
    compositor.setWindowFrame(window, place, true, false);

  if (!sameFrame) {
    const Rect view = compositor.viewFrame(window);
    if (view.w != target.w || view.h != target.h) {
      compositor.setViewFrame(window, Rect{0, 0, target.w, target.h});
    }
    band.applyMask();
  } else if (!sameSpec || !sameExponents) {
    band.applyMask();
  }
}

void AppDelegate::presentBands(bool animated, std::function<void()> completion) {
  Compositor& compositor = platform_.compositor;
  if (animated) {
    compositor.beginTransaction();
    compositor.setTransactionDisableActions(true);
    compositor.setTransactionCompletion(std::move(completion));
  }
  const std::vector<BlurLayerSpec> specs = bandSpecs(parameters);
  for (size_t k = 0; k < blurLayers.size(); ++k) {
    BlurWindowLayer& band = *blurLayers[k];
    const CompositorWindowId window = band.window();
    const double targetAlpha = specs[k].targetAlpha;
    const bool wasVisible = compositor.isWindowVisible(window);
    band.freezeOpacity();
    if (!wasVisible) {
      compositor.setWindowFrame(window, band.targetFrame, false, false);
      band.setOpacity(0);
    }
    compositor.orderFrontRegardless(window);
    band.isPresented = true;
    if (animated) {
      band.animateOpacity(targetAlpha, blurShowAnimationDuration, kEaseInEaseOut);
    } else {
      compositor.setWindowFrame(window, band.targetFrame, true, false);
      band.setOpacity(targetAlpha);
    }
  }
  if (animated) compositor.commitTransaction();
}

void AppDelegate::handleCopy() {
  std::optional<std::string> json = parametersJson(parameters);
  if (!json) return;
  platform_.pasteboard.clearContents();
  // A pasteboard that refuses the string has not copied anything.
  if (platform_.pasteboard.setPlainString(*json)) writeLine(kCopiedLine);
}

int runFrostCurtain(ProgramContext& context) {
  auto delegate = std::make_shared<AppDelegate>(context);
  BackgroundApplication& application = context.platform.application;
  application.setActivationPolicy(delegate->shouldShowTuningUI ? kActivationPolicyAccessory
                                                               : kActivationPolicyProhibited);
  application.run([delegate] { delegate->applicationDidFinishLaunching(); });
  return 0;
}

}  // namespace tessary::curtain
