// Whole samples out of reads of any length: nothing lost, nothing shifted.
#include "voice-scribe/sample_aligner.h"

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace tessary {
namespace {

// Bytes that tell their position, so a slip by one shows.
std::string patternedBytes(size_t count) {
  std::string bytes(count, '\0');
  for (size_t i = 0; i < count; ++i)
    bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
  return bytes;
}

// Feeds `input` in reads of the given sizes (cycled); returns the samples
// handed out, each batch checked for whole samples.
std::string alignedThrough(const std::string& input, const std::vector<size_t>& readSizes) {
  auto aligner = std::make_unique<SampleAligner>();
  std::string samples;
  size_t offset = 0;
  for (size_t i = 0; offset < input.size(); ++i) {
    std::span<char> space = aligner->readSpace();
    size_t count = std::min({readSizes[i % readSizes.size()], space.size(), input.size() - offset});
    std::memcpy(space.data(), input.data() + offset, count);
    offset += count;
    std::span<const char> whole = aligner->takeSamples(count);
    EXPECT_EQ(whole.size() % 2, 0u);
    samples.append(whole.data(), whole.size());
  }
  return samples;
}

struct SplitCase {
  const char* name;
  size_t total;
  std::vector<size_t> readSizes;
  friend void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }
};

class ReadSplits : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ReadSplits, HandOutEveryWholeSampleInOrder) {
  const std::string input = patternedBytes(GetParam().total);
  const std::string samples = alignedThrough(input, GetParam().readSizes);
  // Only a lone last byte is left out.
  EXPECT_EQ(samples, input.substr(0, input.size() - input.size() % 2));
}

INSTANTIATE_TEST_SUITE_P(Table, ReadSplits,
                         ::testing::Values(SplitCase{"OneByteReads", 101, {1}},
                                           SplitCase{"TwoByteReads", 100, {2}},
                                           SplitCase{"ThreeByteReads", 99, {3}},
                                           SplitCase{"OddThenEven", 4097 * 3 + 8, {4097, 4096}},
                                           SplitCase{"MixedOddSizes", 5000, {1, 3, 5, 2, 7, 4097}},
                                           SplitCase{"FullReads",
                                                     SampleAligner::kReadCapacity * 3 + 1,
                                                     {SampleAligner::kReadCapacity}},
                                           SplitCase{"FullReadsAfterAnOddOne",
                                                     SampleAligner::kReadCapacity * 2 + 5,
                                                     {1, SampleAligner::kReadCapacity}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SampleAligner, CarriesAnOddByteIntoTheNextSample) {
  SampleAligner aligner;
  std::span<char> space = aligner.readSpace();
  std::memcpy(space.data(), "\x11\x22\x33", 3);
  std::span<const char> first = aligner.takeSamples(3);
  EXPECT_EQ(std::string(first.data(), first.size()), "\x11\x22");
  EXPECT_TRUE(aligner.carrying());
  space = aligner.readSpace();
  EXPECT_EQ(space.size(), SampleAligner::kReadCapacity);
  space[0] = '\x44';
  std::span<const char> second = aligner.takeSamples(1);
  EXPECT_EQ(std::string(second.data(), second.size()), "\x33\x44");
  EXPECT_FALSE(aligner.carrying());
}

TEST(SampleAligner, AnEmptyReadChangesNothing) {
  SampleAligner aligner;
  aligner.readSpace()[0] = '\x7f';
  EXPECT_TRUE(aligner.takeSamples(1).empty());
  aligner.readSpace();
  EXPECT_TRUE(aligner.takeSamples(0).empty());
  EXPECT_TRUE(aligner.carrying());
  aligner.readSpace()[0] = '\x01';
  std::span<const char> sample = aligner.takeSamples(1);
  EXPECT_EQ(std::string(sample.data(), sample.size()), "\x7f\x01");
}

}  // namespace
}  // namespace tessary
