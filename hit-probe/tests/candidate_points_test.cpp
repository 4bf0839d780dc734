#include "hit-probe/candidate_points.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace tessary::hitprobe {
namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

struct PointsCase {
  const char* name;
  int64_t x, y, width, height;
  std::vector<CandidatePoint> expected;
};

class CandidatePointsTest : public ::testing::TestWithParam<PointsCase> {};

TEST_P(CandidatePointsTest, ProducesPointsInProbingOrder) {
  const PointsCase& c = GetParam();
  EXPECT_EQ(uniqueCandidatePoints(c.x, c.y, c.width, c.height), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, CandidatePointsTest,
    ::testing::Values(
        PointsCase{"ordinaryBox",
                   100,
                   200,
                   50,
                   20,
                   {{125, 210}, {105, 202}, {145, 202}, {105, 218}, {145, 218}}},
        // The fifth point repeats the centre and is dropped.
        PointsCase{"onePointBox", 10, 10, 1, 1, {{11, 11}, {10, 10}, {11, 10}, {10, 11}}},
        PointsCase{"zeroExtentsCountAsOne", 10, 10, 0, 0, {{11, 11}, {10, 10}, {11, 10}, {10, 11}}},
        PointsCase{
            "negativeExtentsCountAsOne", -5, -7, -40, -1, {{-4, -6}, {-5, -7}, {-4, -7}, {-5, -6}}},
        // 0.1 * 5 = 0.5 and 0.9 * 5 = 4.5 and 0.5 * 5 = 2.5: halves go up.
        PointsCase{"halvesRoundAwayFromZero", 0, 0, 5, 5, {{3, 3}, {1, 1}, {5, 1}, {1, 5}, {5, 5}}},
        // 0.1 * 4 = 0.4 and 0.9 * 4 = 3.6 and 0.5 * 3 = 1.5.
        PointsCase{"nonHalvesRoundToNearest", 0, 0, 4, 3, {{2, 2}, {0, 0}, {4, 0}, {0, 3}, {4, 3}}},
        // A width of 0 counts as 1: the horizontal offsets are 1, 0, 1, 0, 1.
        PointsCase{"zeroWidthTallBox", 7, 0, 0, 100, {{8, 50}, {7, 10}, {8, 10}, {7, 90}, {8, 90}}},
        PointsCase{"negativeOriginKeepsItsSign",
                   -100,
                   -200,
                   50,
                   20,
                   {{-75, -190}, {-95, -198}, {-55, -198}, {-95, -182}, {-55, -182}}},
        // Past the 64-bit range the coordinates stay at its ends, and the
        // then identical points collapse.
        PointsCase{"rightEdgeSaturates", kMax, kMax, kMax, kMax, {{kMax, kMax}}},
        PointsCase{"leftEdgeStaysDefined",
                   kMin,
                   kMin,
                   1,
                   1,
                   {{kMin + 1, kMin + 1}, {kMin, kMin}, {kMin + 1, kMin}, {kMin, kMin + 1}}},
        PointsCase{"hugeExtentsFromTheLeftEnd",
                   kMin,
                   0,
                   kMax,
                   0,
                   {{kMin + (kMax / 2 + 1), 1},
                    {kMin + 922337203685477632, 0},
                    {kMin + 8301034833169298432, 0},
                    {kMin + 922337203685477632, 1},
                    {kMin + 8301034833169298432, 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary::hitprobe
