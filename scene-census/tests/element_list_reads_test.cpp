// Child lists are read with the ranged read's answer on every application:
// applications that answer the batch form of a list read otherwise than the
// ranged form, and a table whose whole row array would cross the process
// boundary.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/fake/fake_desktop.h"
#include "scene-census/element/ui_element.h"

namespace tessary {
namespace {

std::vector<std::string> childNames(const UIElement& element) {
  std::vector<std::string> names;
  for (const auto& child : element.children())
    names.push_back(child->name().value_or("?"));
  return names;
}

std::unique_ptr<UIElement> buildElement(fake::FakeDesktop& desktop, AttributeReader& reader,
                                        const std::string& id) {
  return std::make_unique<UIElement>(reader, desktop.element(id), 0, 0, 60, Box{0, 0, 1000, 1000},
                                     std::nullopt);
}

const std::string kTwoButtons =
    R"([{"role": "AXButton", "title": "Save", "frame": [10, 10, 50, 20]},
        {"role": "AXButton", "title": "Cancel", "frame": [70, 10, 50, 20]}])";

struct ListReadCase {
  std::string what;
  std::string applicationKeys;  // after the pid
  std::string elementKeys;      // of the element "list", after its id
  std::vector<std::string> children;
};

class ChildListReads : public ::testing::TestWithParam<ListReadCase> {};

TEST_P(ChildListReads, ChildrenAreTheRangedReadsAnswer) {
  const ListReadCase& c = GetParam();
  auto desktop = fake::loadSceneOrThrow(R"({"applications": [{"pid": 7)" + c.applicationKeys +
                                        R"(, "element": {"windows": [{"id": "list", )" +
                                        c.elementKeys + "}]}}]}");
  AttributeReader reader(desktop->platform().accessibility);
  std::unique_ptr<UIElement> element = buildElement(*desktop, reader, "list");
  EXPECT_EQ(childNames(*element), c.children);
}

INSTANTIATE_TEST_SUITE_P(
    Applications, ChildListReads,
    ::testing::Values(ListReadCase{"groupOfAnApplicationRefusingBatchListReads",
                                   R"(, "rejectsListReads": "batch")",
                                   R"("role": "AXGroup", "frame": [0, 0, 200, 40], "children": )" +
                                       kTwoButtons,
                                   {"Save", "Cancel"}},
                      ListReadCase{"groupWhoseBatchCallsItsChildrenUnsupported",
                                   "",
                                   R"("role": "AXGroup", "frame": [0, 0, 200, 40],
                        "batchAnswers": {"AXChildren": {"error": -25205}}, "children": )" +
                                       kTwoButtons,
                                   {"Save", "Cancel"}},
                      ListReadCase{"groupWhoseBatchAnswersNoValue",
                                   "",
                                   R"("role": "AXGroup", "frame": [0, 0, 200, 40],
                        "batchAnswers": {"AXVisibleChildren": null}, "visibleChildren": )" +
                                       kTwoButtons,
                                   {"Save", "Cancel"}},
                      ListReadCase{"tableWhoseBatchAnswersNoRows",
                                   "",
                                   R"("role": "AXTable", "frame": [0, 0, 200, 40],
                        "batchAnswers": {"AXRows": []}, "rows": [
                          {"role": "AXRow", "title": "First", "frame": [0, 0, 200, 20]},
                          {"role": "AXRow", "title": "Second", "frame": [0, 20, 200, 20]}])",
                                   {"First", "Second"}},
                      ListReadCase{"tableOfAnApplicationRefusingRangedListReads",
                                   R"(, "rejectsListReads": "ranged")",
                                   R"("role": "AXTable", "frame": [0, 0, 200, 40], "rows": [
                          {"role": "AXRow", "title": "First", "frame": [0, 0, 200, 20]}])",
                                   {}},
                      ListReadCase{"outlineWhoseBatchAnswersOtherRows",
                                   "",
                                   R"("role": "AXOutline", "frame": [0, 0, 200, 40],
                        "batchAnswers": {"AXRows": [{"role": "AXRow", "title": "Stale", "frame": [0, 0, 200, 20]}]},
                        "rows": [{"role": "AXRow", "title": "Current", "frame": [0, 0, 200, 20]}])",
                                   {"Current"}}),
    [](const auto& info) { return info.param.what; });

// A table of 100,000 rows sends at most the read cap of row references, and
// records only the rows on screen.
TEST(LongLists, ATableSendsAtMostTheReadCapOfRowReferences) {
  std::string rows;
  for (int r = 0; r < 100'000; ++r) {
    if (r) rows += ",";
    rows += R"({"role": "AXRow", "frame": [0, )" + std::to_string(r * 20) + R"(, 1000, 20]})";
  }
  auto desktop = fake::loadSceneOrThrow(
      R"({"applications": [{"pid": 7, "element": {"windows": [{"id": "ledger",
      "role": "AXTable", "frame": [0, 0, 1000, 1000], "rows": [)" +
      rows + "]}]}}]}");
  AttributeReader reader(desktop->platform().accessibility);
  desktop->clearCalls();
  std::unique_ptr<UIElement> table = buildElement(*desktop, reader, "ledger");
  // Rows 0 to 50 touch the box [0, 0, 1000, 1000].
  EXPECT_EQ(table->children().size(), 51u);
  EXPECT_EQ(desktop->elementReferencesTransferred(), static_cast<uint64_t>(kMaxListReadCount));
}

}  // namespace
}  // namespace tessary
