// field-writer on small desktops: which element takes the value, the one
// retry of a busy element in virtual time, and the outcome lines.
#include "field-writer/field_writer.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>

#include "platform/fake/fake_desktop.h"
#include "testsupport/paths.h"
#include "testsupport/run_binary.h"

namespace tessary {
namespace {

std::string scenePath(const std::string& scene) {
  return tessary::testing::sourcePath("field-writer/tests/scenes/" + scene);
}

struct WriterRun {
  int status = -1;
  std::string out, err;
  std::unique_ptr<fake::FakeDesktop> desktop;
};

WriterRun runWriter(const std::string& scene, std::vector<std::string> arguments) {
  WriterRun run;
  auto loaded = fake::FakeDesktop::fromSceneFile(scenePath(scene));
  if (auto* problem = std::get_if<std::string>(&loaded)) {
    ADD_FAILURE() << *problem;
    return run;
  }
  run.desktop = std::move(std::get<std::unique_ptr<fake::FakeDesktop>>(loaded));
  std::ostringstream out, err;
  ProgramContext context{std::move(arguments), {}, out, err, run.desktop->platform()};
  run.status = runFieldWriter(context);
  run.out = out.str();
  run.err = err.str();
  return run;
}

// "element detail" of every call of one operation, in order.
std::vector<std::string> callsOf(const fake::FakeDesktop& desktop, std::string_view operation) {
  std::vector<std::string> calls;
  for (const fake::PlatformCall& call : desktop.calls()) {
    if (call.operation == operation) calls.push_back(call.element + " " + call.detail);
  }
  return calls;
}

struct WriteCase {
  const char* name;
  const char* scene;
  std::vector<std::string> arguments;
  int status;
  const char* out;
  const char* err;
  // Elements asked whether "AXValue" is settable, and the writes, in order.
  std::vector<std::string> settableQuestions;
  std::vector<std::string> writes;
  // The element whose "AXValue" must hold the argument afterwards.
  const char* writtenElement;
  double pausedSeconds;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
  *os << c.name;
}

class FieldWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(FieldWrite, WritesIntoTheExpectedElement) {
  const WriteCase& c = GetParam();
  WriterRun run = runWriter(c.scene, c.arguments);
  ASSERT_TRUE(run.desktop);
  EXPECT_EQ(run.status, c.status);
  EXPECT_EQ(run.out, c.out);
  EXPECT_EQ(run.err, c.err);
  EXPECT_EQ(callsOf(*run.desktop, "isAttributeSettable"), c.settableQuestions);
  EXPECT_EQ(callsOf(*run.desktop, "setAttributeValue"), c.writes);
  if (c.writtenElement) {
    std::optional<AXValue> value = run.desktop->attributeValue(c.writtenElement, "AXValue");
    ASSERT_TRUE(value && value->text());
    EXPECT_EQ(*value->text(), c.arguments.front());
  }
  // The pause before a retry is the only time that passes.
  EXPECT_DOUBLE_EQ(run.desktop->elapsedSeconds(), c.pausedSeconds);
  std::vector<std::string> pauses(c.pausedSeconds > 0 ? 1 : 0, " 100000");
  EXPECT_EQ(callsOf(*run.desktop, "sleepMicroseconds"), pauses);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, FieldWrite,
    ::testing::Values(WriteCase{"focusedFieldTakesTheValue",
                                "focused_text_field.json",
                                {"hello"},
                                0,
                                "ok\n",
                                "",
                                {"field AXValue"},
                                {R"(field AXValue "hello")"},
                                "field",
                                0},
                      WriteCase{"emptyValueEmptiesTheField",
                                "focused_text_field.json",
                                {""},
                                0,
                                "ok\n",
                                "",
                                {"field AXValue"},
                                {R"(field AXValue "")"},
                                "field",
                                0},
                      // Used as given: no trimming, further arguments ignored.
                      WriteCase{"valueIsWrittenUntrimmed",
                                "focused_text_field.json",
                                {"  two\nlines ", "x"},
                                0,
                                "ok\n",
                                "",
                                {"field AXValue"},
                                {R"(field AXValue "  two\nlines ")"},
                                "field",
                                0},
                      WriteCase{"fieldTwoLevelsAboveTheFocusedNodeTakesTheValue",
                                "inner_node_two_levels_below_the_field.json",
                                {"hello"},
                                0,
                                "ok\n",
                                "",
                                {"text-node AXValue", "wrapper AXValue", "field AXValue"},
                                {R"(field AXValue "hello")"},
                                "field",
                                0},
                      WriteCase{"editableFifthAncestorIsNeverTried",
                                "editable_five_levels_up.json",
                                {"hello"},
                                3,
                                "",
                                "set-failed\n",
                                {"focused AXValue", "level-1 AXValue", "level-2 AXValue",
                                 "level-3 AXValue", "level-4 AXValue"},
                                {},
                                nullptr,
                                0},
                      WriteCase{"busyTwiceMovesOnToTheParent",
                                "busy_node_inside_the_field.json",
                                {"hello"},
                                0,
                                "ok\n",
                                "",
                                {"busy AXValue", "field AXValue"},
                                {R"(busy AXValue "hello")", R"(busy AXValue "hello")",
                                 R"(field AXValue "hello")"},
                                "field",
                                0.1},
                      WriteCase{"busyOnceThenTheRetrySucceeds",
                                "field_busy_once.json",
                                {"hello"},
                                0,
                                "ok\n",
                                "",
                                {"field AXValue"},
                                {R"(field AXValue "hello")", R"(field AXValue "hello")"},
                                "field",
                                0.1},
                      // A failed settable question skips the element; another error code
                      // is not retried.
                      WriteCase{"otherErrorsAreNotRetried",
                                "errors_other_than_busy.json",
                                {"hello"},
                                0,
                                "ok\n",
                                "",
                                {"asking AXValue", "refusing AXValue", "field AXValue"},
                                {R"(refusing AXValue "hello")", R"(field AXValue "hello")"},
                                "field",
                                0},
                      WriteCase{"nothingFocused",
                                "nothing_focused.json",
                                {"hello"},
                                2,
                                "",
                                "no-focused-element\n",
                                {},
                                {},
                                nullptr,
                                0},
                      WriteCase{"focusReadFails",
                                "focus_read_fails.json",
                                {"hello"},
                                2,
                                "",
                                "no-focused-element\n",
                                {},
                                {},
                                nullptr,
                                0},
                      WriteCase{"focusReadAnswersNoValue",
                                "focus_answers_no_value.json",
                                {"hello"},
                                2,
                                "",
                                "no-focused-element\n",
                                {},
                                {},
                                nullptr,
                                0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FieldWriteUsage, NoArgumentMakesNoAccessibilityCall) {
  WriterRun run = runWriter("focused_text_field.json", {});
  ASSERT_TRUE(run.desktop);
  EXPECT_EQ(run.status, 64);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "usage: field-writer <value>\n");
  EXPECT_TRUE(run.desktop->calls().empty());
  EXPECT_EQ(run.desktop->accessibilityRoundTrips(), 0u);
  std::optional<AXValue> value = run.desktop->attributeValue("field", "AXValue");
  ASSERT_TRUE(value && value->text());
  EXPECT_EQ(*value->text(), "draft");
}

struct BinaryCase {
  const char* name;
  std::string scene;
  std::vector<std::string> arguments;
  int status;
  const char* out;
  const char* err;
};

void PrintTo(const BinaryCase& c, std::ostream* os) {
  *os << c.name;
}

class FieldWriterBinary : public ::testing::TestWithParam<BinaryCase> {};

TEST_P(FieldWriterBinary, AnswersWithOneLineAndItsStatus) {
  const BinaryCase& c = GetParam();
  tessary::testing::BinaryRun run =
      tessary::testing::runBinary("field-writer", c.arguments,
                                  {{"TESSARY_SIM_DESKTOP", tessary::testing::sourcePath(c.scene)}});
  EXPECT_EQ(run.exitStatus, c.status);
  EXPECT_EQ(run.out, c.out);
  EXPECT_EQ(run.err, c.err);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, FieldWriterBinary,
    ::testing::Values(
        // The demo's browser focuses its search field.
        BinaryCase{"demoSearchFieldTakesTheValue", "demo/desktop.json", {"hello"}, 0, "ok\n", ""},
        BinaryCase{"usageOnTheErrorStream",
                   "demo/desktop.json",
                   {},
                   64,
                   "",
                   "usage: field-writer <value>\n"},
        BinaryCase{"setFailedOnTheErrorStream",
                   "field-writer/tests/scenes/editable_five_levels_up.json",
                   {"hello"},
                   3,
                   "",
                   "set-failed\n"},
        BinaryCase{"noFocusOnTheErrorStream",
                   "field-writer/tests/scenes/nothing_focused.json",
                   {"hello"},
                   2,
                   "",
                   "no-focused-element\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary
