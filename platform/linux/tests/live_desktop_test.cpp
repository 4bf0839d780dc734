// The programs on a real X11 desktop: run under scripts/live-desktop with the
// widget factory and a second application (the GTK demo) whose window is
// moved over it or out of its way with xdotool.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "hit-probe/reporting_element.h"
#include "platform/linux/linux_backend.h"
#include "testsupport/run_binary.h"

namespace tessary::linuxdesktop {
namespace {

using nlohmann::json;
using tessary::testing::BinaryRun;
using tessary::testing::runBinary;

std::string commandOutput(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
    output.append(buffer, n);
  pclose(pipe);
  return output;
}

struct LiveApps {
  std::string factoryPid, demoPid;
};

LiveApps liveApps() {
  const char* pids = std::getenv("TESSARY_LIVE_APP_PIDS");
  std::istringstream in(pids ? pids : "");
  LiveApps apps;
  in >> apps.factoryPid >> apps.demoPid;
  return apps;
}

std::map<std::string, std::string> desktopEnvironment() {
  std::map<std::string, std::string> environment;
  for (const char* name : {"DISPLAY", "DBUS_SESSION_BUS_ADDRESS"}) {
    if (const char* value = std::getenv(name)) environment[name] = value;
  }
  return environment;
}

std::string windowOf(const std::string& pid) {
  std::istringstream ids(commandOutput("xdotool search --onlyvisible --pid " + pid));
  std::string id;
  ids >> id;
  return id;
}

struct Box {
  int64_t left, top, right, bottom;
  bool contains(const Box& other) const {
    return left <= other.left && top <= other.top && other.right <= right && other.bottom <= bottom;
  }
  bool overlaps(const Box& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
};

Box boxOf(const json& value) {
  return {value[0].get<int64_t>(), value[1].get<int64_t>(), value[2].get<int64_t>(),
          value[3].get<int64_t>()};
}

// Moves an application's window (origin of the client; these windows draw
// their own decorations) and waits until the window server shows it there.
Box moveWindow(const std::string& pid, int x, int y) {
  std::string window = windowOf(pid);
  std::system(("xdotool windowmove --sync " + window + " " + std::to_string(x) + " " +
               std::to_string(y) + " >/dev/null 2>&1")
                  .c_str());
  std::map<std::string, int64_t> geometry;
  std::istringstream lines(commandOutput("xdotool getwindowgeometry --shell " + window));
  for (std::string line; std::getline(lines, line);) {
    size_t equals = line.find('=');
    if (equals != std::string::npos)
      geometry[line.substr(0, equals)] = std::strtoll(line.c_str() + equals + 1, nullptr, 10);
  }
  return {geometry["X"], geometry["Y"], geometry["X"] + geometry["WIDTH"],
          geometry["Y"] + geometry["HEIGHT"]};
}

void activate(const std::string& pid) {
  std::system(("xdotool windowactivate --sync " + windowOf(pid) + " >/dev/null 2>&1").c_str());
}

json capture(const std::string& targetPid, std::string* text = nullptr) {
  std::map<std::string, std::string> environment = desktopEnvironment();
  environment["TESSARY_OVERLAY_TARGET_PID"] = targetPid;
  BinaryRun run = runBinary("scene-census", {}, environment);
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  if (text) *text = run.out;
  return json::parse(run.out, nullptr, /*allow_exceptions=*/false);
}

void forEachElement(const json& elements, const std::function<void(const json&)>& visit) {
  if (!elements.is_array()) return;
  for (const json& element : elements) {
    visit(element);
    forEachElement(element.value("children", json::array()), visit);
  }
}

std::vector<json> elementsWhere(const json& captured,
                                const std::function<bool(const json&)>& keep) {
  std::vector<json> found;
  forEachElement(captured["elements"], [&](const json& element) {
    if (keep(element)) found.push_back(element);
  });
  return found;
}

bool isVisible(const json& element) {
  return element.value("visible", false) && element.contains("visible_bbox");
}

// The demo window moved below and to the right of the factory (which lies
// at 277,169 to 1643,910 on the 1920x1080 screen).
void clearTheFactory(const LiveApps& apps) {
  moveWindow(apps.demoPid, 1650, 920);
  activate(apps.factoryPid);
}

class LiveDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    apps_ = liveApps();
    if (apps_.factoryPid.empty() || apps_.demoPid.empty())
      GTEST_SKIP() << "not on a live desktop (run through scripts/live-desktop)";
  }
  LiveApps apps_;
};

TEST_F(LiveDesktop, CaptureOfTheFactoryIsTheSameInTwoRunsAndShowsItsControls) {
  clearTheFactory(apps_);
  std::string first, second;
  json captured = capture(apps_.factoryPid, &first);
  capture(apps_.factoryPid, &second);
  EXPECT_EQ(first, second);

  ASSERT_EQ(captured["elements"].size(), 1u);
  const json& window = captured["elements"][0];
  EXPECT_EQ(window["role"], "AXWindow");
  EXPECT_EQ(window["app_name"], "gtk3-widget-factory");
  Box windowBox = boxOf(window["bbox"]);
  std::map<std::string, int> byRoleAndName;
  forEachElement(captured["elements"], [&](const json& element) {
    ++byRoleAndName[element.value("role", "") + " " + element.value("name", "")];
    if (isVisible(element)) {
      EXPECT_TRUE(windowBox.contains(boxOf(element["visible_bbox"]))) << element.dump();
    }
  });
  // A sample of the first page: page switcher, check boxes, the list's cells
  // (which its table only lists when asked itself) and the notebooks' tabs.
  EXPECT_EQ(byRoleAndName["AXRadioButton Page 1"], 1);
  EXPECT_EQ(byRoleAndName["AXCheckBox checkbutton"], 6);
  EXPECT_EQ(byRoleAndName["AXCell Andrea"], 1);
  EXPECT_EQ(byRoleAndName["AXRadioButton page 1"], 4);
  EXPECT_EQ(byRoleAndName["AXButton Close"], 1);
  // The hidden pages of the page switcher are not part of the capture.
  std::vector<json> hidden = elementsWhere(captured, [](const json& e) {
    return e.value("name", "") == "Page 2 content" || e.value("role", "") == "AXUnknown";
  });
  EXPECT_TRUE(hidden.empty());
}

TEST_F(LiveDesktop, PartsOfTheFactoryUnderTheDemoWindowAreLeftOut) {
  clearTheFactory(apps_);
  json clear = capture(apps_.factoryPid);
  Box cover = moveWindow(apps_.demoPid, 960, 120);
  activate(apps_.demoPid);
  json covered = capture(apps_.factoryPid);
  clearTheFactory(apps_);

  int coveredBefore = 0, stillVisibleLeft = 0;
  forEachElement(clear["elements"], [&](const json& element) {
    if (!isVisible(element) || element.value("role", "") == "AXWindow") return;
    Box box = boxOf(element["visible_bbox"]);
    if (cover.contains(box)) ++coveredBefore;
  });
  forEachElement(covered["elements"], [&](const json& element) {
    if (!isVisible(element) || element.value("role", "") == "AXWindow") return;
    Box box = boxOf(element["visible_bbox"]);
    EXPECT_FALSE(cover.contains(box)) << "shown under the demo window: " << element.dump();
    if (!box.overlaps(cover)) ++stillVisibleLeft;
  });
  // The arrangement covers something that was shown, and leaves the left
  // part of the factory in view.
  EXPECT_GE(coveredBefore, 20);
  EXPECT_GE(stillVisibleLeft, 20);
}

TEST_F(LiveDesktop, HitProbeFindsEveryVisibleActionableElementUnderItsBox) {
  clearTheFactory(apps_);
  json captured = capture(apps_.factoryPid);
  int probed = 0;
  forEachElement(captured["elements"], [&](const json& element) {
    if (!hitprobe::isActionableRole(element.value("role", "")) || !isVisible(element)) return;
    ++probed;
    Box box = boxOf(element["bbox"]);
    BinaryRun run = runBinary(
        "hit-probe",
        {element["id"].get<std::string>(), std::to_string(box.left), std::to_string(box.top),
         std::to_string(box.right - box.left), std::to_string(box.bottom - box.top)},
        desktopEnvironment());
    SCOPED_TRACE(element.dump());
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    json report = json::parse(run.out, nullptr, false);
    EXPECT_EQ(report.value("status", ""), "match") << run.out;
  });
  EXPECT_GE(probed, 30);
}

TEST_F(LiveDesktop, FieldWriterWritesTheFocusedEntryAndCapturesShowTheTextAndItsSelection) {
  clearTheFactory(apps_);
  json before = capture(apps_.factoryPid);
  std::vector<json> entries = elementsWhere(before, [](const json& e) {
    return e.value("role", "") == "AXTextField" && e.value("value", "") == "entry" &&
           e.value("enabled", false) && isVisible(e);
  });
  ASSERT_FALSE(entries.empty());
  Box box = boxOf(entries[0]["bbox"]);
  std::string x = std::to_string((box.left + box.right) / 2);
  std::string y = std::to_string((box.top + box.bottom) / 2);
  std::system(("xdotool mousemove --sync " + x + " " + y +
               " sleep 0.2 mousedown 1 sleep 0.1 mouseup 1 >/dev/null 2>&1")
                  .c_str());
  // The click reaches the application on its own time: wait until a capture
  // shows the entry focused.
  bool focused = false;
  for (int attempt = 0; attempt < 50 && !focused; ++attempt) {
    json now = capture(apps_.factoryPid);
    focused = !elementsWhere(now, [&](const json& e) {
                 return e.value("bbox", json()) == entries[0]["bbox"] && e.value("focused", false);
               }).empty();
    if (!focused) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_TRUE(focused);

  const std::string text = "written on a real desktop \u00e9\u6f22";
  BinaryRun run = runBinary("field-writer", {text}, desktopEnvironment());
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, "ok\n");

  json after = capture(apps_.factoryPid);
  std::vector<json> written = elementsWhere(after, [&](const json& e) {
    return e.value("role", "") == "AXTextField" && e.value("value", "") == text;
  });
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0]["bbox"], entries[0]["bbox"]);

  // The first three characters selected: the selection-only capture names
  // them (the range counted in UTF-16 units and turned back into the
  // toolkit's characters) with their own box inside the entry.
  std::system("xdotool key --delay 50 Home shift+Right shift+Right shift+Right");
  std::map<std::string, std::string> environment = desktopEnvironment();
  environment["TESSARY_OVERLAY_SELECTION_ONLY"] = "1";
  json selection;
  for (int attempt = 0; attempt < 50; ++attempt) {
    BinaryRun selected = runBinary("scene-census", {}, environment);
    ASSERT_EQ(selected.exitStatus, 0) << selected.err;
    selection = json::parse(selected.out, nullptr, false).value("selection_context", json());
    if (selection.value("text", "") == "wri") break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(selection.value("source_kind", ""), "selected_text");
  EXPECT_EQ(selection.value("text", ""), "wri");
  EXPECT_EQ(selection.value("source_app_name", ""), "gtk3-widget-factory");
  ASSERT_TRUE(selection.contains("bbox"));
  Box selectedBox = boxOf(selection["bbox"]);
  EXPECT_TRUE(box.contains(selectedBox)) << selection.dump();
  EXPECT_LT(selectedBox.right - selectedBox.left, (box.right - box.left) / 2) << selection.dump();
}

// The whole file a program has written so far.
std::string fileText(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool waitFor(const std::function<bool()>& done, double seconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

TEST_F(LiveDesktop, InputSentinelReportsKeysAndADragDrivenThroughTheServer) {
  const char* binDir = std::getenv("TESSARY_BIN_DIR");
  ASSERT_NE(binDir, nullptr);
  std::map<std::string, std::string> environment = desktopEnvironment();
  BinaryRun probe = runBinary("input-sentinel", {"--probe"}, environment);
  EXPECT_EQ(probe.exitStatus, 0) << probe.err;
  EXPECT_EQ(probe.out, "PROBE listenEventAccess=0\n");

  // The sentinel samples until it is ended: run it in the background and
  // stop it by its pid.
  char directory[] = "/tmp/tessary-sentinel.XXXXXX";
  ASSERT_NE(mkdtemp(directory), nullptr);
  const std::string output = std::string(directory) + "/out";
  std::string command = "env -i";
  for (const auto& [name, value] : environment)
    command += " " + name + "='" + value + "'";
  command += " " + std::string(binDir) + "/input-sentinel >" + output + " 2>&1 & echo $!";
  const pid_t pid = std::atoi(commandOutput(command).c_str());
  ASSERT_GT(pid, 0);

  EXPECT_TRUE(waitFor([&] { return fileText(output) == "READY\n"; }, 10)) << fileText(output);
  std::system(
      "xdotool mousemove --sync 100 100 sleep 0.1 keydown ctrl sleep 0.1 keyup ctrl sleep 0.1 "
      "keydown shift sleep 0.1 keyup shift sleep 0.1 keydown Escape sleep 0.1 keyup Escape "
      "sleep 0.1 mousedown 1 sleep 0.1 mousemove --sync 200 150 sleep 0.1 mouseup 1 >/dev/null "
      "2>&1");
  const std::string expected =
      "READY\nCTRL_DOWN\nCTRL_UP\nSHIFT_DOWN\nSHIFT_UP\nESC\nMOUSE_DOWN 100 100 0\n"
      "MOUSE_MOVE 200 150\nMOUSE_UP 200 150 0\n";
  waitFor([&] { return fileText(output).size() >= expected.size(); }, 10);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const std::string seen = fileText(output);
  kill(pid, SIGTERM);
  waitFor([&] { return kill(pid, 0) != 0; }, 5);
  std::system(("rm -rf " + std::string(directory)).c_str());
  EXPECT_EQ(seen, expected);
}

// "x=.. y=.. w=.. h=.." of a window's box, as pane-scout prints it.
std::string placeOf(const Box& box) {
  return "x=" + std::to_string(box.left) + " y=" + std::to_string(box.top) +
         " w=" + std::to_string(box.right - box.left) +
         " h=" + std::to_string(box.bottom - box.top);
}

std::string firstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

TEST_F(LiveDesktop, PaneScoutAndPaneRaiseFollowTwoOverlappingWindows) {
  Box factory = moveWindow(apps_.factoryPid, 100, 100);
  Box demo = moveWindow(apps_.demoPid, 400, 300);
  activate(apps_.demoPid);
  const std::map<std::string, std::string> environment = desktopEnvironment();
  const std::string factoryWindow = windowOf(apps_.factoryPid);
  const std::string demoWindow = windowOf(apps_.demoPid);
  const std::string factoryLine = "pid=" + apps_.factoryPid + " cgWindowId=" + factoryWindow + " " +
                                  placeOf(factory) +
                                  " owner=gtk3-widget-factory title=gtk3-widget-factory";

  // Where both windows lie the demo, in front, answers; both are listed,
  // front to back.
  BinaryRun at = runBinary("pane-scout", {"at", "500", "400"}, environment);
  EXPECT_EQ(firstLine(at.out), "ok pid=" + apps_.demoPid + " cgWindowId=" + demoWindow + " " +
                                   placeOf(demo) + " owner=gtk3-demo title=Application Class " +
                                   "appBundle=/usr/bin/gtk3-demo");
  BinaryRun listed = runBinary("pane-scout", {"list-at", "500", "400"}, environment);
  EXPECT_EQ(listed.out,
            "hit pid=" + apps_.demoPid + " cgWindowId=" + demoWindow +
                " layer=0 skip=no bounds=400,300," + std::to_string(demo.right - demo.left) + "," +
                std::to_string(demo.bottom - demo.top) +
                " owner=gtk3-demo title=Application Class\nhit pid=" + apps_.factoryPid +
                " cgWindowId=" + factoryWindow + " layer=0 skip=no bounds=100,100," +
                std::to_string(factory.right - factory.left) + "," +
                std::to_string(factory.bottom - factory.top) +
                " owner=gtk3-widget-factory title=gtk3-widget-factory\n");
  // Excluded, the demo is passed over for the window under it.
  std::map<std::string, std::string> excluding = environment;
  excluding["TESSARY_OVERLAY_EXCLUDED_PID"] = apps_.demoPid;
  EXPECT_EQ(runBinary("pane-scout", {"at", "500", "400"}, excluding).out,
            "ok " + factoryLine + " appBundle=/usr/bin/gtk3-widget-factory\n");
  BinaryRun frontmost = runBinary("pane-scout", {"frontmost", apps_.factoryPid}, environment);
  EXPECT_EQ(frontmost.out, "ok " + factoryLine + " appBundle=/usr/bin/gtk3-widget-factory\n");

  // The factory's visible corner raises it in front of the demo.
  BinaryRun raised = runBinary("pane-raise", {"200", "200"}, environment);
  EXPECT_EQ(raised.exitStatus, 0) << raised.err;
  EXPECT_EQ(raised.out, "activated owner=gtk3-widget-factory pid=" + apps_.factoryPid +
                            " window=gtk3-widget-factory raised=true\n");
  EXPECT_TRUE(waitFor(
      [&] {
        return runBinary("pane-scout", {"at", "500", "400"}, environment).out ==
               "ok " + factoryLine + " appBundle=/usr/bin/gtk3-widget-factory\n";
      },
      5));
  EXPECT_EQ(runBinary("pane-scout", {"active"}, environment).out, frontmost.out);

  // The watch reports the window where it is, then where it was moved.
  Box moved{};
  bool movedOnce = false;
  BinaryRun watched = tessary::testing::runBinaryClosingInputWhen(
      "pane-scout", {"watch", apps_.factoryPid, "100"}, environment,
      [&](const std::string& outSoFar) {
        if (!movedOnce && outSoFar.find('\n') != std::string::npos) {
          movedOnce = true;
          moved = moveWindow(apps_.factoryPid, 150, 120);
        }
        return std::count(outSoFar.begin(), outSoFar.end(), '\n') >= 2;
      });
  EXPECT_EQ(watched.out, frontmost.out + "ok pid=" + apps_.factoryPid +
                             " cgWindowId=" + factoryWindow + " " + placeOf(moved) +
                             " owner=gtk3-widget-factory title=gtk3-widget-factory " +
                             "appBundle=/usr/bin/gtk3-widget-factory\n");
  clearTheFactory(apps_);
}

// The writes pane-raise makes after raising a window: those without an
// AT-SPI equivalent are refused as unsupported, not reported as done.
TEST_F(LiveDesktop, WindowWritesWithoutAnEquivalentAreUnsupported) {
  clearTheFactory(apps_);
  std::ostringstream err;
  Environment environment;
  for (const auto& [name, value] : desktopEnvironment())
    environment.emplace(name, value);
  std::unique_ptr<PlatformBackend> backend = openLinuxDesktop(environment, err);
  ASSERT_TRUE(backend) << err.str();
  Accessibility& accessibility = backend->platform().accessibility;
  AXElement application = accessibility.applicationElement(std::stoi(apps_.factoryPid));
  AXResult windows = accessibility.copyAttributeValue(application, "AXWindows");
  ASSERT_TRUE(windows.get() && windows.get()->list() && !windows.get()->list()->empty());
  const AXElement* window = windows.get()->list()->front().element();
  ASSERT_TRUE(window);
  EXPECT_EQ(accessibility.setAttributeValue(application, "AXFocusedWindow", AXValue(*window)),
            axerror::attributeUnsupported);
  EXPECT_EQ(accessibility.setAttributeValue(*window, "AXMain", AXValue(true)),
            axerror::attributeUnsupported);
  AXResult focusable = accessibility.isAttributeSettable(*window, "AXFocused");
  ASSERT_TRUE(focusable.get() && focusable.get()->boolean());
  // A GTK window's frame cannot take the focus itself.
  EXPECT_FALSE(*focusable.get()->boolean());
  EXPECT_EQ(accessibility.setAttributeValue(*window, "AXFocused", AXValue(true)),
            axerror::attributeUnsupported);
  EXPECT_EQ(accessibility.performAction(*window, "AXRaise"), axerror::success);
}

}  // namespace
}  // namespace tessary::linuxdesktop
