// The stand-ins of the programs without AppKit: everything answers as
// absent, nothing waits for what will never come, and the curtain's own logic
// runs on them without harm.
#include "platform/macos/without_appkit/no_appkit_services.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "frost-curtain/curtain_app.h"
#include "platform/fake/fake_desktop.h"

namespace tessary::macos {
namespace {

TEST(NoAppKitServices, TheApplicationNeverLaunchesAndItsInputEndsAtOnce) {
  NoApplication application;
  bool launched = false;
  application.run([&] { launched = true; });
  EXPECT_FALSE(launched);

  bool ran = false;
  application.performOnMainQueue([&] { ran = true; });
  EXPECT_FALSE(ran);

  std::vector<std::string> reads;
  application.readStandardInput(nullptr,
                                [&](std::string_view bytes) { reads.emplace_back(bytes); });
  EXPECT_EQ(reads, std::vector<std::string>{""});
}

TEST(NoAppKitServices, NoWindowIsMadeAndEveryQueryAnswersAbsent) {
  NoCompositor compositor;
  const CompositorWindowId window = compositor.createBandWindow(BandWindowConfig{});
  EXPECT_EQ(window, NoCompositor::kNoBandWindow);
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
TEST(NoAppKitServices, TransactionCompletionsRunAtTheirCommit) {
  NoCompositor compositor;
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

TEST(NoAppKitServices, ThePasteboardRefusesAndThePanelHasNoControls) {
  NoPasteboard pasteboard;
  pasteboard.clearContents();
  EXPECT_FALSE(pasteboard.setPlainString("{}"));

  NoTuningPanel panel;
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
// The stand-ins' screens: the main display alone, with the interface's
// screen list and pointer, as MacScreens gives them.
class MainDisplayOnly : public Screens {
 public:
  std::optional<Rect> mainScreenFrame() override { return Rect{0, 0, 1000, 800}; }
};

struct CurtainWithoutAppKit {
  std::unique_ptr<fake::FakeDesktop> desktop = fake::loadSceneOrThrow("{}");
  MainDisplayOnly screens;
  NoApplication application;
  NoCompositor compositor;
  NoPasteboard pasteboard;
  NoTuningPanel tuningPanel;
  Platform fakePlatform = desktop->platform();
  Platform platform{fakePlatform.accessibility,
                    fakePlatform.windowServer,
                    screens,
                    fakePlatform.workspace,
                    fakePlatform.clock,
                    fakePlatform.hostWindows,
                    fakePlatform.speechRecognizer,
                    fakePlatform.inputState,
                    application,
                    compositor,
                    pasteboard,
                    fakePlatform.random,
                    tuningPanel};
  std::ostringstream out, err;
};

TEST(NoAppKitServices, TheCurtainEndsAtOnceWithoutItsApplication) {
  CurtainWithoutAppKit curtain;
  ProgramContext context{{}, {}, curtain.out, curtain.err, curtain.platform};
  EXPECT_EQ(curtain::runFrostCurtain(context), 0);
  EXPECT_EQ(curtain.out.str(), "");
  EXPECT_EQ(curtain.err.str(), "");
}

TEST(NoAppKitServices, TheCurtainsCommandsFinishWithoutWindows) {
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
