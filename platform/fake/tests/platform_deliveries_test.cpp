// Answers a real platform sends that plain JSON cannot write: non-finite and
// out-of-range reals, window-server values of other kinds, window lists that
// differ by option, the two forms of list read answered differently, a
// freeze at the first touch of an element, and the count of element
// references that cross over.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/tests/answer_text.h"

namespace tessary::fake {
namespace {

using testing::answerText;

struct RealCase {
  std::string attribute;
  std::string answer;
};

class NonFiniteReal : public ::testing::TestWithParam<RealCase> {};

TEST_P(NonFiniteReal, ReadsAsWritten) {
  auto desktop = loadSceneOrThrow(R"({"applications": [{"pid": 7, "element": {"windows": [
    {"id": "odd", "frame": ["nan", "inf", "-inf", "1e400"],
     "attributes": {"AXValue": {"real": "nan"}, "AXNegative": {"real": "-1e999"},
                    "AXTiny": {"real": "1e-400"}, "AXBox": {"rect": [0, "+inf", 1, 2]},
                    "AXList": [{"real": "inf"}, 1]}}]}}]})");
  AXResult result = desktop->platform().accessibility.copyAttributeValue(desktop->element("odd"),
                                                                         GetParam().attribute);
  EXPECT_EQ(answerText(*desktop, result), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    Reals, NonFiniteReal,
    ::testing::Values(RealCase{"AXPosition", R"({"point":[nan,inf]})"},
                      RealCase{"AXSize", R"({"size":[-inf,inf]})"}, RealCase{"AXValue", "real nan"},
                      RealCase{"AXNegative", "real -inf"}, RealCase{"AXTiny", "real 0"},
                      RealCase{"AXBox", R"({"rect":[0,inf,1,2]})"},
                      RealCase{"AXList", "list [inf,1]"}),
    [](const ::testing::TestParamInfo<RealCase>& info) { return info.param.attribute; });

TEST(WindowServerKinds, NullDataAndDatesReadAsTheWrongKind) {
  auto desktop = loadSceneOrThrow(R"({"windowList": [{"bounds": ["nan", 0, "inf", 10],
    "raw": {"kCGWindowName": null, "kCGWindowMemoryUsage": {"other": "CFData"},
            "kCGWindowAlpha": {"real": "nan"},
            "kCGWindowWorkspace": [null, {"other": "CFDate"}, 3]}}]})");
  std::optional<PlistArray> list = desktop->platform().windowServer.copyWindowInfo(0, 0);
  ASSERT_TRUE(list && list->size() == 1);
  const PlistDict& entry = *(*list)[0].asDict();
  EXPECT_EQ(std::get<PlistOther>(entry.at("kCGWindowName").storage()).typeName, "CFNull");
  EXPECT_EQ(std::get<PlistOther>(entry.at("kCGWindowMemoryUsage").storage()).typeName, "CFData");
  EXPECT_FALSE(entry.at("kCGWindowName").asString());
  EXPECT_FALSE(entry.at("kCGWindowMemoryUsage").asReal());
  EXPECT_TRUE(std::isnan(*entry.at("kCGWindowAlpha").asReal()));
  const PlistArray& mixed = *entry.at("kCGWindowWorkspace").asArray();
  ASSERT_EQ(mixed.size(), 3u);
  EXPECT_FALSE(mixed[0].asInteger());
  EXPECT_FALSE(mixed[1].asInteger());
  EXPECT_EQ(mixed[2].asInteger(), 3);
  const PlistValue* bounds = entry.at("kCGWindowBounds").find("Width");
  ASSERT_TRUE(bounds);
  EXPECT_EQ(bounds->asReal(), std::numeric_limits<double>::infinity());
}

TEST(WindowServerOptions, AWindowListedOnlyForSomeOptions) {
  auto desktop = loadSceneOrThrow(R"({"windowList": [
    {"name": "always", "bounds": [0, 0, 10, 10]},
    {"name": "capture only", "bounds": [0, 0, 10, 10], "listedWithOptions": [17, 25]}]})");
  auto names = [&](uint32_t options) {
    std::vector<std::string> listed;
    std::optional<PlistArray> entries = desktop->platform().windowServer.copyWindowInfo(options, 0);
    for (const PlistValue& entry : entries.value_or(PlistArray{}))
      listed.push_back(*entry.find("kCGWindowName")->asString());
    return listed;
  };
  EXPECT_EQ(names(17), (std::vector<std::string>{"always", "capture only"}));
  EXPECT_EQ(names(25), (std::vector<std::string>{"always", "capture only"}));
  EXPECT_EQ(names(1), (std::vector<std::string>{"always"}));
  EXPECT_EQ(names(0), (std::vector<std::string>{"always"}));
}

constexpr const char* kForms = R"({"applications": [
  {"pid": 7, "rejectsListReads": "batch", "element": {"windows": [
    {"id": "refused-in-batch", "children": [{"id": "a"}, {"id": "b"}], "title": "T"}]}},
  {"pid": 8, "rejectsListReads": "ranged", "element": {"windows": [
    {"id": "refused-ranged", "rows": [{"id": "c"}]}]}},
  {"pid": 9, "element": {"windows": [
    {"id": "answers-otherwise", "children": [{"id": "d"}, {"id": "e"}],
     "batchAnswers": {"AXChildren": [{"ref": "e"}], "AXTitle": {"error": -25212}},
     "title": "Kept"}]}}]})";

struct FormCase {
  std::string element;
  std::string attribute;
  std::string batch;
  std::string ranged;
  std::string single;
};

class ListReadForm : public ::testing::TestWithParam<FormCase> {};

TEST_P(ListReadForm, EachFormAnswersAsTheSceneSays) {
  const FormCase& c = GetParam();
  auto desktop = loadSceneOrThrow(kForms);
  Accessibility& accessibility = desktop->platform().accessibility;
  const std::vector<std::string> ids = {"a", "b", "c", "d", "e"};
  const AXElement element = desktop->element(c.element);
  const std::vector<std::string_view> one = {c.attribute};
  EXPECT_EQ(answerText(*desktop, accessibility.copyMultipleAttributeValues(element, one)[0], ids),
            c.batch);
  EXPECT_EQ(
      answerText(*desktop, accessibility.copyAttributeValues(element, c.attribute, 0, 9999), ids),
      c.ranged);
  EXPECT_EQ(answerText(*desktop, accessibility.copyAttributeValue(element, c.attribute), ids),
            c.single);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ListReadForm,
    ::testing::Values(
        FormCase{"refused-in-batch", "AXChildren", "error -25205",
                 R"(list [{"ref":"a"},{"ref":"b"}])", R"(list [{"ref":"a"},{"ref":"b"}])"},
        // Only the list attributes are refused.
        FormCase{"refused-in-batch", "AXTitle", R"(text "T")", "error -25201", R"(text "T")"},
        FormCase{"refused-ranged", "AXRows", R"(list [{"ref":"c"}])", "error -25205",
                 R"(list [{"ref":"c"}])"},
        FormCase{"answers-otherwise", "AXChildren", R"(list [{"ref":"e"}])",
                 R"(list [{"ref":"d"},{"ref":"e"}])", R"(list [{"ref":"d"},{"ref":"e"}])"},
        FormCase{"answers-otherwise", "AXTitle", "error -25212", "error -25201", R"(text "Kept")"}),
    [](const ::testing::TestParamInfo<FormCase>& info) {
      std::string name = info.param.element + "_" + info.param.attribute;
      std::erase(name, '-');
      return name;
    });

TEST(ElementReferences, EveryReferenceInAnAnswerIsCounted) {
  auto desktop = loadSceneOrThrow(R"({"applications": [{"pid": 7, "element": {"windows": [
    {"id": "list", "title": "Inbox", "children": [{"id": "a"}, {"id": "b"}, {"id": "c"}],
     "attributes": {"AXNested": [[{"ref": "a"}], {"ref": "b"}, 1]}}]}}]})");
  Accessibility& accessibility = desktop->platform().accessibility;
  const AXElement list = desktop->element("list");
  desktop->clearCalls();
  const std::vector<std::string_view> batch = {"AXTitle", "AXChildren", "AXNested"};
  accessibility.copyMultipleAttributeValues(list, batch);
  EXPECT_EQ(desktop->elementReferencesTransferred(), 3u + 2u);
  accessibility.copyAttributeValues(list, "AXChildren", 1, 5);
  EXPECT_EQ(desktop->elementReferencesTransferred(), 5u + 2u);
  accessibility.copyAttributeValue(list, "AXTitle");
  EXPECT_EQ(desktop->elementReferencesTransferred(), 7u);
  desktop->clearCalls();
  EXPECT_EQ(desktop->elementReferencesTransferred(), 0u);
}

TEST(FreezeAtElement, TheFirstTouchAndEverythingAfterItTimeOut) {
  auto desktop = loadSceneOrThrow(R"({"applications": [{"pid": 7, "freezeAtElement": "stuck",
    "element": {"windows": [{"id": "window", "title": "W", "children": [
      {"id": "fine", "title": "Fine"}, {"id": "stuck", "title": "Stuck"}]}]}}]})");
  Accessibility& accessibility = desktop->platform().accessibility;
  EXPECT_EQ(
      answerText(*desktop, accessibility.copyAttributeValue(desktop->element("fine"), "AXTitle")),
      R"(text "Fine")");
  EXPECT_EQ(desktop->elapsedSeconds(), 0.0);
  EXPECT_EQ(accessibility.copyAttributeValue(desktop->element("stuck"), "AXTitle").error,
            axerror::cannotComplete);
  EXPECT_EQ(accessibility.copyAttributeValue(desktop->element("fine"), "AXTitle").error,
            axerror::cannotComplete);
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 2 * 6.0);
}

TEST(FreezeAtElement, NamesAnElementOfTheScene) {
  auto loaded =
      FakeDesktop::fromSceneText(R"({"applications": [{"pid": 7, "freezeAtElement": "nowhere"}]})");
  ASSERT_TRUE(std::holds_alternative<std::string>(loaded));
  EXPECT_EQ(std::get<std::string>(loaded),
            "applications[0].freezeAtElement: ref \"nowhere\" names no element");
}

}  // namespace
}  // namespace tessary::fake
