// The stand-ins of the services a program does not use: everything answers
// as absent, nothing waits for what will never come, and the curtain's own
// logic runs on the AppKit ones without harm.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "frost-curtain/curtain_app.h"
#include "platform/fake/fake_desktop.h"
#include "platform/macos/service_kits.h"

namespace tessary::macos {
namespace {

// A main display of 1000 x 800 points, with the interface's screen list and
// pointer.
class MainDisplayOnly : public Screens {
 public:
  std::optional<Rect> mainScreenFrame() override { return Rect{0, 0, 1000, 800}; }
};

TEST(StandIns, AccessibilityIsRefusedAsToAnUntrustedProcess) {
  std::unique_ptr<Accessibility> accessibility = makeAccessibility();
  EXPECT_FALSE(accessibility->isProcessTrusted());
  const AXElement application = accessibility->applicationElement(42);
  EXPECT_FALSE(application);
  EXPECT_EQ(accessibility->copyAttributeValue(application, "AXRole").error, axerror::apiDisabled);
  const std::string_view names[] = {"AXRole", "AXTitle", "AXChildren"};
  const std::vector<AXResult> batch =
      accessibility->copyMultipleAttributeValues(application, names);
  ASSERT_EQ(batch.size(), 3u);
  for (const AXResult& answer : batch) {
    EXPECT_EQ(answer.error, axerror::apiDisabled);
    EXPECT_EQ(answer.get(), nullptr);
  }
  EXPECT_EQ(accessibility->setAttributeValue(application, "AXFocused", AXValue{true}),
            axerror::apiDisabled);
  EXPECT_EQ(accessibility->processIdentifier(application), std::nullopt);
  EXPECT_EQ(accessibility->createObserver(42), std::nullopt);
}

TEST(StandIns, NoWindowsNoDisplaysNoApplicationsNoInput) {
  EXPECT_EQ(makeWindowServer()->copyWindowInfo(windowlist::onScreenOnly, windowlist::nullWindowId),
            std::nullopt);
  std::unique_ptr<Screens> screens = makeScreens();
  EXPECT_EQ(screens->mainScreenFrame(), std::nullopt);
  EXPECT_TRUE(screens->screenFrames().empty());

  std::unique_ptr<Workspace> workspace = makeWorkspace();
  EXPECT_TRUE(workspace->runningApplications().empty());
  EXPECT_EQ(workspace->frontmostApplication(), std::nullopt);
  EXPECT_FALSE(workspace->activateApplication(42, activation::ignoringOtherApps));

  std::unique_ptr<InputState> input = makeInputState();
  EXPECT_EQ(input->pointerLocation(), std::nullopt);
  EXPECT_EQ(input->checkAccess(kListenEventRequestType), 1u);  // denied
  bool fired = false;
  input->runRepeatingTimer(0.1, 0.01, [&] { fired = true; });  // returns at once
  EXPECT_FALSE(fired);
}

TEST(StandIns, HostWindowsRunWorkWhereAskedAndKnowNoView) {
  std::unique_ptr<HostWindows> windows = makeHostWindows();
  bool ran = false;
  windows->runOnMainQueueAndWait([&] { ran = true; });
  EXPECT_TRUE(ran);
  EXPECT_EQ(windows->windowOfView(0x1000), std::nullopt);
}

TEST(StandIns, SpeechIsRestrictedAndTakesNoAudio) {
  std::unique_ptr<SpeechRecognizer> speech = makeSpeechRecognizer();
  std::vector<int64_t> statuses;
  speech->requestAuthorization([&](int64_t status) { statuses.push_back(status); });
  EXPECT_EQ(statuses, std::vector<int64_t>{speechauthorization::restricted});
  EXPECT_EQ(speech->recognizerForLocale("en-US"), nullptr);
  EXPECT_EQ(speech->makeAudioFormat(kAudioCommonFormatInt16, 16000, 1, false), nullptr);
  std::shared_ptr<SpeechAudioRequest> request = speech->makeAudioBufferRequest();
  ASSERT_NE(request, nullptr);
  request->endAudio();
}

TEST(StandIns, TheApplicationNeverLaunchesAndItsInputEndsAtOnce) {
  MainDisplayOnly displays;
  AppKitServices appKit = makeAppKitServices(displays);
  bool launched = false;
  appKit.application->run([&] { launched = true; });
  EXPECT_FALSE(launched);

  bool ran = false;
  appKit.application->performOnMainQueue([&] { ran = true; });
  EXPECT_FALSE(ran);

  std::vector<std::string> reads;
  appKit.application->readStandardInput(nullptr,
                                        [&](std::string_view bytes) { reads.emplace_back(bytes); });
  EXPECT_EQ(reads, std::vector<std::string>{""});

  // The displays alone: their main screen, the pointer at the origin.
  EXPECT_EQ(appKit.screens->screenFrames(), (std::vector<Rect>{{0, 0, 1000, 800}}));
  EXPECT_EQ(appKit.screens->mouseLocation(), Point{});
}

TEST(StandIns, NoBandWindowIsMadeAndEveryQueryAnswersAbsent) {
  MainDisplayOnly displays;
  AppKitServices appKit = makeAppKitServices(displays);
  Compositor& compositor = *appKit.compositor;
  const CompositorWindowId window = compositor.createBandWindow(BandWindowConfig{});
  EXPECT_EQ(window, 0u);
  compositor.setWindowFrame(window, Rect{0, 0, 10, 10}, true, false);
  compositor.orderFrontRegardless(window);
  EXPECT_EQ(compositor.windowFrame(window), Rect{});
  EXPECT_FALSE(compositor.isWindowVisible(window));
  EXPECT_EQ(compositor.backingScaleFactor(window), 1);
  EXPECT_FALSE(compositor.viewHasLayer(window));
  EXPECT_EQ(compositor.presentationOpacity(window), std::nullopt);
  compositor.setLayerMask(window, 2, MaskImage{4, 4, MaskBytes(64)});
}

// Each completion runs once, when its own transaction is committed; one set
// outside any transaction has nothing to wait for.
TEST(StandIns, TransactionCompletionsRunAtTheirCommit) {
  MainDisplayOnly displays;
  AppKitServices appKit = makeAppKitServices(displays);
  Compositor& compositor = *appKit.compositor;
  std::vector<std::string> ran;
  compositor.beginTransaction();
  compositor.setTransactionCompletion([&] { ran.push_back("outer"); });
  compositor.beginTransaction();
  compositor.setTransactionCompletion([&] { ran.push_back("inner"); });
  EXPECT_TRUE(ran.empty());
  compositor.commitTransaction();
  EXPECT_EQ(ran, std::vector<std::string>{"inner"});
  compositor.commitTransaction();
  EXPECT_EQ(ran, (std::vector<std::string>{"inner", "outer"}));
  compositor.commitTransaction();  // none open
  EXPECT_EQ(ran.size(), 2u);

  compositor.setTransactionCompletion([&] { ran.push_back("alone"); });
  EXPECT_EQ(ran.back(), "alone");
}

TEST(StandIns, ThePasteboardRefusesAndThePanelHasNoControls) {
  MainDisplayOnly displays;
  AppKitServices appKit = makeAppKitServices(displays);
  appKit.pasteboard->clearContents();
  EXPECT_FALSE(appKit.pasteboard->setPlainString("{}"));

  TuningPanelViews& panel = *appKit.tuningPanel;
  panel.createPanel(TuningPanelConfig{});
  const PanelControlId label =
      panel.addLabel(kPanelDocumentView, Rect{}, "x", PanelFont::system, false);
  const PanelControlId slider = panel.addSlider(kPanelDocumentView, Rect{}, 5, 0, 10, 3, true);
  const PanelControlId popUp = panel.addPopUp(kPanelDocumentView, Rect{}, {"a", "b"}, 1);
  EXPECT_NE(label, kPanelDocumentView);
  EXPECT_NE(label, slider);
  EXPECT_NE(slider, popUp);
  EXPECT_EQ(panel.sliderValue(slider), 0);
  EXPECT_FALSE(panel.sliderAllowsOnlyTickMarkValues(slider));
  EXPECT_EQ(panel.selectedItemTitle(popUp), std::nullopt);
  EXPECT_EQ(panel.documentFrame(), Rect{});
}

// The curtain's logic on a desktop whose AppKit services are the stand-ins:
// the program ends at once, and its launch and commands driven by hand find
// no window, finish every show and hide, and copy nothing.
struct CurtainWithoutAppKit {
  std::unique_ptr<fake::FakeDesktop> desktop = fake::loadSceneOrThrow("{}");
  MainDisplayOnly displays;
  AppKitServices appKit = makeAppKitServices(displays);
  Platform fakePlatform = desktop->platform();
  Platform platform{fakePlatform.accessibility,
                    fakePlatform.windowServer,
                    *appKit.screens,
                    fakePlatform.workspace,
                    fakePlatform.clock,
                    fakePlatform.hostWindows,
                    fakePlatform.speechRecognizer,
                    fakePlatform.inputState,
                    *appKit.application,
                    *appKit.compositor,
                    *appKit.pasteboard,
                    fakePlatform.random,
                    *appKit.tuningPanel};
  std::ostringstream out, err;
};

TEST(StandIns, TheCurtainEndsAtOnceWithoutItsApplication) {
  CurtainWithoutAppKit curtain;
  ProgramContext context{{}, {}, curtain.out, curtain.err, curtain.platform};
  EXPECT_EQ(curtain::runFrostCurtain(context), 0);
  EXPECT_EQ(curtain.out.str(), "");
  EXPECT_EQ(curtain.err.str(), "");
}

TEST(StandIns, TheCurtainsCommandsFinishWithoutWindows) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, std::vector<std::string>{"--tuning"}}) {
    SCOPED_TRACE(arguments.empty() ? "without the panel" : "with the panel");
    CurtainWithoutAppKit curtain;
    ProgramContext context{arguments, {}, curtain.out, curtain.err, curtain.platform};
    auto delegate = std::make_shared<curtain::AppDelegate>(context);
    delegate->applicationDidFinishLaunching();
    for (const char* line : {"show 1", "randomize", "hide 2", "copy", "show 3"})
      delegate->handle(line);
    EXPECT_EQ(curtain.out.str(), "ready\nshown 1\nhidden 2\nshown 3\n");
    EXPECT_EQ(curtain.err.str(), "");
  }
}

}  // namespace
}  // namespace tessary::macos
