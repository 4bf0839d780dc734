// The one-shot queries: at, list-at, bounds, frontmost and active, on small
// scenes, with every line compared whole.
#include <gtest/gtest.h>

#include "common/exclusion.h"
#include "pane-scout/tests/scout_run.h"

namespace tessary::panescout {
namespace {

using testing::runScout;

struct QueryCase {
  const char* name;
  const char* scene;
  std::vector<std::string> arguments;
  const char* excludedPids;  // nullptr: the variable is not set
  const char* expectedOut;
  int expectedStatus;
};

void PrintTo(const QueryCase& c, std::ostream* os) {
  *os << c.name;
}

class Queries : public ::testing::TestWithParam<QueryCase> {};

TEST_P(Queries, PrintExactlyTheseLines) {
  const QueryCase& c = GetParam();
  auto desktop = fake::loadSceneFileOrThrow(testing::scenePath(c.scene));
  Environment environment;
  if (c.excludedPids) environment[kExcludedPidVariable] = c.excludedPids;
  testing::ScoutRun run = runScout(desktop->platform(), c.arguments, environment);
  EXPECT_EQ(run.out, c.expectedOut);
  EXPECT_EQ(run.status, c.expectedStatus);
  EXPECT_EQ(run.err, "");
}

constexpr const char* kMenu = "menu_bar_over_windows.json";
constexpr const char* kEditor =
    "ok pid=501 cgWindowId=11 x=100 y=0 w=400 h=300 owner=Editor title=Report Draft "
    "appBundle=/Applications/Editor.app\n";
constexpr const char* kMail =
    "ok pid=502 cgWindowId=12 x=300 y=100 w=400 h=300 owner=Mail title= "
    "appBundle=/Applications/Mail Beta.app\n";
constexpr const char* kAlbum =
    "ok pid=503 cgWindowId=14 x=600 y=200 w=300 h=300 owner=Viewer title=Album appBundle=\n";

INSTANTIATE_TEST_SUITE_P(
    At, Queries,
    ::testing::Values(
        QueryCase{"menuBarOverAWindow", kMenu, {"at", "150", "10"}, nullptr, kEditor, 0},
        QueryCase{"lastColumnInside", kMenu, {"at", "299", "299"}, nullptr, kEditor, 0},
        QueryCase{"rightEdgeOutside", kMenu, {"at", "500", "50"}, nullptr, "none\n", 0},
        QueryCase{"bottomEdgeOutside", kMenu, {"at", "150", "300"}, nullptr, "none\n", 0},
        QueryCase{"topmostOfTwo", kMenu, {"at", "650", "250"}, nullptr, kMail, 0},
        QueryCase{"excludedListWithASpace", kMenu, {"at", "650", "250"}, "501, 502", kAlbum, 0},
        QueryCase{
            "excludedListWithJunk", kMenu, {"at", "650", "250"}, ",abc, 12x,\n502 ,,", kAlbum, 0},
        QueryCase{"noCommaIsOneBadPiece", kMenu, {"at", "650", "250"}, "501 502", kMail, 0},
        QueryCase{"ownersMatchExactly",
                  kMenu,
                  {"at", "50", "720"},
                  nullptr,
                  "ok pid=311 cgWindowId=5 x=0 y=700 w=100 h=50 owner=dock title=Shelf "
                  "appBundle=\n",
                  0},
        QueryCase{"dockSkipped", kMenu, {"at", "500", "760"}, nullptr, "none\n", 0},
        QueryCase{"signedArguments", kMenu, {"at", "+150", "+10"}, nullptr, kEditor, 0},
        QueryCase{"farOutside",
                  kMenu,
                  {"at", "-9223372036854775808", "9223372036854775807"},
                  nullptr,
                  "none\n",
                  0}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    ListAt, Queries,
    ::testing::Values(QueryCase{"menuBarAndTheWindowBelow",
                                kMenu,
                                {"list-at", "150", "10"},
                                nullptr,
                                "hit pid=160 cgWindowId=1 layer=24 skip=layer24 bounds=0,0,1000,25 "
                                "owner=Window Server title=Menubar\n"
                                "hit pid=900 cgWindowId=3 layer=3 skip=owner bounds=0,0,1000,800 "
                                "owner=Tessary Overlay title=Overlay\n"
                                "hit pid=501 cgWindowId=11 layer=0 skip=no bounds=100,0,400,300 "
                                "owner=Editor title=Report Draft\n",
                                0},
                      QueryCase{"layerBeforeOwnerBeforePid",
                                kMenu,
                                {"list-at", "910", "10"},
                                "320,900",
                                "hit pid=160 cgWindowId=1 layer=24 skip=layer24 bounds=0,0,1000,25 "
                                "owner=Window Server title=Menubar\n"
                                "hit pid=320 cgWindowId=2 layer=25 skip=layer25 bounds=900,0,30,25 "
                                "owner=Control Center title=\n"
                                "hit pid=900 cgWindowId=3 layer=3 skip=owner bounds=0,0,1000,800 "
                                "owner=Tessary Overlay title=Overlay\n",
                                0},
                      QueryCase{"excludedProcess",
                                kMenu,
                                {"list-at", "650", "250"},
                                "502",
                                "hit pid=900 cgWindowId=3 layer=3 skip=owner bounds=0,0,1000,800 "
                                "owner=Tessary Overlay title=Overlay\n"
                                "hit pid=502 cgWindowId=12 layer=0 skip=pid bounds=300,100,400,300 "
                                "owner=Mail title=\n"
                                "hit pid=503 cgWindowId=14 layer=0 skip=no bounds=600,200,300,300 "
                                "owner=Viewer title=Album\n",
                                0},
                      QueryCase{
                          "nothingThere", kMenu, {"list-at", "5000", "5000"}, nullptr, "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

constexpr const char* kChoice = "main_window_choice.json";

INSTANTIATE_TEST_SUITE_P(
    BoundsFrontmostActive, Queries,
    ::testing::Values(
        QueryCase{"boundsTruncatesTowardZero",
                  kMenu,
                  {"bounds", "13"},
                  nullptr,
                  "ok pid=503 cgWindowId=13 x=-10 y=200 w=299 h=0 owner=Viewer title=Photo "
                  "appBundle=\n",
                  0},
        QueryCase{"boundsOfAnyLayerOwnerOrProcess",
                  kMenu,
                  {"bounds", "3"},
                  "900",
                  "ok pid=900 cgWindowId=3 x=0 y=0 w=1000 h=800 owner=Tessary Overlay "
                  "title=Overlay appBundle=\n",
                  0},
        QueryCase{"boundsOfAWindowOffScreen", kChoice, {"bounds", "70"}, nullptr, "gone\n", 0},
        QueryCase{"boundsLargestNumber", kChoice, {"bounds", "4294967295"}, nullptr, "gone\n", 0},
        QueryCase{"largerAreaWins",
                  kChoice,
                  {"frontmost", "601"},
                  nullptr,
                  "ok pid=601 cgWindowId=11 x=10 y=10 w=150 h=150 owner=Small title=Square "
                  "appBundle=/Applications/Small.app\n",
                  0},
        QueryCase{"firstBigEnoughWins",
                  kChoice,
                  {"frontmost", "604"},
                  nullptr,
                  "ok pid=604 cgWindowId=43 x=20 y=20 w=300 h=200 owner=Growing "
                  "title=Document appBundle=/Applications/Growing.app\n",
                  0},
        QueryCase{"bigEnoughIsInclusive",
                  kChoice,
                  {"frontmost", "605"},
                  nullptr,
                  "ok pid=605 cgWindowId=51 x=0 y=0 w=220 h=140 owner=Narrow "
                  "title=Just big enough appBundle=\n",
                  0},
        QueryCase{"equalAreaKeepsTheFirst",
                  kChoice,
                  {"frontmost", "606"},
                  nullptr,
                  "ok pid=606 cgWindowId=60 x=0 y=0 w=100 h=40 owner=Even title=First "
                  "appBundle=\n",
                  0},
        QueryCase{"onlyPanels", kChoice, {"frontmost", "602"}, nullptr, "gone\n", 0},
        QueryCase{"noSuchProcess", kChoice, {"frontmost", "-7"}, nullptr, "gone\n", 0},
        QueryCase{"activeIsTheFrontmostApplication",
                  kChoice,
                  {"active"},
                  nullptr,
                  "ok pid=604 cgWindowId=43 x=20 y=20 w=300 h=200 owner=Growing "
                  "title=Document appBundle=/Applications/Growing.app\n",
                  0},
        QueryCase{"activeWithExtraArguments", kMenu, {"active", "1", "2"}, nullptr, kMail, 0}),
    [](const auto& info) { return std::string(info.param.name); });

constexpr const char* kAtUsage = "error usage: pane-scout at <x> <y>\n";
constexpr const char* kListAtUsage = "error usage: pane-scout list-at <x> <y>\n";

INSTANTIATE_TEST_SUITE_P(
    BadArguments, Queries,
    ::testing::Values(
        QueryCase{"noCommand",
                  kMenu,
                  {},
                  nullptr,
                  "error usage: pane-scout <at|bounds|frontmost|active|watch> ...\n",
                  1},
        QueryCase{
            "unknownCommand", kMenu, {"resize", "1"}, nullptr, "error unknown_command resize\n", 1},
        QueryCase{"commandsAreCaseSensitive",
                  kMenu,
                  {"AT", "1", "1"},
                  nullptr,
                  "error unknown_command AT\n",
                  1},
        QueryCase{"emptyCommand", kMenu, {""}, nullptr, "error unknown_command \n", 1},
        QueryCase{"unknownCommandStaysOnOneLine",
                  kMenu,
                  {"re\nsize"},
                  nullptr,
                  "error unknown_command re size\n",
                  1},
        QueryCase{"atOneArgument", kMenu, {"at", "1"}, nullptr, kAtUsage, 1},
        QueryCase{"atLetters", kMenu, {"at", "12x", "1"}, nullptr, kAtUsage, 1},
        QueryCase{"atLeadingSpace", kMenu, {"at", "1", " 12"}, nullptr, kAtUsage, 1},
        QueryCase{"atTrailingSpace", kMenu, {"at", "12 ", "1"}, nullptr, kAtUsage, 1},
        QueryCase{"atSignAlone", kMenu, {"at", "+", "1"}, nullptr, kAtUsage, 1},
        QueryCase{"atMinusAlone", kMenu, {"at", "1", "-"}, nullptr, kAtUsage, 1},
        QueryCase{"atHexadecimal", kMenu, {"at", "0x10", "1"}, nullptr, kAtUsage, 1},
        QueryCase{"atEmpty", kMenu, {"at", "", "1"}, nullptr, kAtUsage, 1},
        QueryCase{"atReal", kMenu, {"at", "1.5", "1"}, nullptr, kAtUsage, 1},
        QueryCase{"atPast64Bits", kMenu, {"at", "9223372036854775808", "1"}, nullptr, kAtUsage, 1},
        QueryCase{"listAtMissing", kMenu, {"list-at"}, nullptr, kListAtUsage, 1},
        QueryCase{"listAtLetters", kMenu, {"list-at", "1", "y"}, nullptr, kListAtUsage, 1},
        QueryCase{"boundsMissing",
                  kMenu,
                  {"bounds"},
                  nullptr,
                  "error usage: pane-scout bounds <cgWindowId>\n",
                  1},
        QueryCase{"boundsNegative", kMenu, {"bounds", "-1"}, nullptr, "error invalid_id\n", 1},
        QueryCase{
            "boundsPast32Bits", kMenu, {"bounds", "4294967296"}, nullptr, "error invalid_id\n", 1},
        QueryCase{"boundsLetters", kMenu, {"bounds", "12x"}, nullptr, "error invalid_id\n", 1},
        QueryCase{"boundsEmpty", kMenu, {"bounds", ""}, nullptr, "error invalid_id\n", 1},
        QueryCase{"frontmostMissing",
                  kMenu,
                  {"frontmost"},
                  nullptr,
                  "error usage: pane-scout frontmost <pid>\n",
                  1},
        QueryCase{
            "frontmostLetters", kMenu, {"frontmost", "12x"}, nullptr, "error invalid_pid\n", 1},
        QueryCase{"frontmostPast32Bits",
                  kMenu,
                  {"frontmost", "2147483648"},
                  nullptr,
                  "error invalid_pid\n",
                  1},
        QueryCase{"frontmostEmpty", kMenu, {"frontmost", ""}, nullptr, "error invalid_pid\n", 1},
        QueryCase{"watchMissing",
                  kMenu,
                  {"watch"},
                  nullptr,
                  "error usage: pane-scout watch <pid> [intervalMs]\n",
                  1},
        QueryCase{"watchLetters", kMenu, {"watch", "abc"}, nullptr, "error invalid_pid\n", 1},
        QueryCase{"watchEmpty", kMenu, {"watch", "", "20"}, nullptr, "error invalid_pid\n", 1}),
    [](const auto& info) { return std::string(info.param.name); });

// An unreadable list is an error where a point is asked about, and "gone"
// where a window is.
TEST(UnavailableWindowList, ErrorForPointsGoneForWindows) {
  auto desktop = fake::loadSceneOrThrow(R"({"windowList": "fail", "frontmostApplication": 7,
      "applications": [{"pid": 7}]})");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"at", "1", "1"}, "error no_window_list\n"},
      {{"list-at", "1", "1"}, "error no_window_list\n"},
      {{"bounds", "1"}, "gone\n"},
      {{"frontmost", "7"}, "gone\n"},
      {{"active"}, "gone\n"}};
  for (const auto& [arguments, expected] : cases) {
    testing::ScoutRun run = runScout(desktop->platform(), arguments);
    EXPECT_EQ(run.out, expected) << arguments[0];
    EXPECT_EQ(run.status, expected.starts_with("error") ? 1 : 0) << arguments[0];
    EXPECT_EQ(run.err, "");
  }
}

TEST(UnavailableWindowList, NoFrontmostApplicationIsGone) {
  auto desktop = fake::loadSceneOrThrow(R"({"applications": [{"pid": 7}],
      "windowList": [{"pid": 7, "owner": "A", "bounds": [0, 0, 500, 500]}]})");
  testing::ScoutRun run = runScout(desktop->platform(), {"active"});
  EXPECT_EQ(run.out, "gone\n");
  EXPECT_EQ(run.status, 0);
}

// A list holding anything but dictionaries is no list of window descriptions.
class ListWithANumber : public WindowServer {
 public:
  explicit ListWithANumber(WindowServer& real) : real_(real) {}
  std::optional<PlistArray> copyWindowInfo(uint32_t options, uint32_t relativeTo) override {
    std::optional<PlistArray> list = real_.copyWindowInfo(options, relativeTo);
    if (list) list->push_back(PlistValue(5));
    return list;
  }

 private:
  WindowServer& real_;
};

TEST(UnavailableWindowList, AnEntryThatIsNoDictionary) {
  auto desktop = fake::loadSceneFileOrThrow(testing::scenePath(kMenu));
  Platform& real = desktop->platform();
  ListWithANumber windowServer(real.windowServer);
  Platform platform{real.accessibility, windowServer,     real.screens,          real.workspace,
                    real.clock,         real.hostWindows, real.speechRecognizer, real.inputState};
  EXPECT_EQ(runScout(platform, {"at", "150", "10"}).out, "error no_window_list\n");
  EXPECT_EQ(runScout(platform, {"bounds", "11"}).out, "gone\n");
  EXPECT_EQ(runScout(real, {"bounds", "11"}).out, kEditor);
}

// The list is read once per query with the on-screen, no-desktop options,
// and the bundle path is asked for the answer only.
TEST(QueryCalls, OneListReadAndOneApplicationLookUp) {
  auto desktop = fake::loadSceneFileOrThrow(testing::scenePath(kMenu));
  runScout(desktop->platform(), {"at", "650", "250"});
  std::vector<std::string> calls;
  for (const fake::PlatformCall& call : desktop->calls())
    calls.push_back(call.operation + " " + call.detail);
  EXPECT_EQ(calls, (std::vector<std::string>{"copyWindowInfo options=17 relativeTo=0",
                                             "runningApplication 502"}));
}

// Ten thousand windows, the one asked for at the back.
TEST(LargeWindowList, TenThousandEntries) {
  std::string list;
  for (int i = 0; i < 10000; ++i) {
    if (!list.empty()) list += ",";
    list += R"({"owner": "Filler", "pid": 8, "bounds": [)" + std::to_string(i * 10) +
            R"(, 0, 10, 10]})";
  }
  auto desktop = fake::loadSceneOrThrow(R"({"windowList": [)" + list + "]}");
  testing::ScoutRun run = runScout(desktop->platform(), {"at", "99995", "5"});
  EXPECT_EQ(run.out,
            "ok pid=8 cgWindowId=10099 x=99990 y=0 w=10 h=10 owner=Filler title= appBundle=\n");
  EXPECT_EQ(runScout(desktop->platform(), {"frontmost", "8"}).out,
            "ok pid=8 cgWindowId=100 x=0 y=0 w=10 h=10 owner=Filler title= appBundle=\n");
}

}  // namespace
}  // namespace tessary::panescout
