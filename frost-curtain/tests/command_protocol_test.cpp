// Standard-input lines and the command grammar.
#include "frost-curtain/command_protocol.h"

#include <gtest/gtest.h>

#include <limits>

namespace tessary::curtain {
namespace {

std::vector<std::string> linesOf(const std::vector<std::string>& reads,
                                 LineSplitter* keep = nullptr) {
  LineSplitter local;
  LineSplitter& splitter = keep ? *keep : local;
  std::vector<std::string> lines;
  for (const std::string& bytes : reads)
    splitter.feed(bytes, [&](std::string&& line) { lines.push_back(std::move(line)); });
  return lines;
}

using namespace std::string_literals;

TEST(LineSplitter, SplitsTrimsAndDropsAsTheHostNeeds) {
  struct Case {
    const char* name;
    std::vector<std::string> reads;
    std::vector<std::string> lines;
  } cases[] = {
      {"two in one read", {"show 1\nhide 2\n"}, {"show 1", "hide 2"}},
      {"one split across reads", {"sh", "ow 1", "2\n"}, {"show 12"}},
      {"CRLF and spaces", {"  hide 3 \r\n"}, {"hide 3"}},
      {"tabs and Unicode spaces", {"\t\xC2\xA0show 4\xE2\x80\xA8\xE3\x80\x80\n"}, {"show 4"}},
      {"lone CR stays inside", {"show 1\rhide 2\n"}, {"show 1\rhide 2"}},
      {"empty and blank lines", {"\n\n \r\n\t\n"}, {}},
      {"invalid UTF-8 dropped", {"show \xFF\n", "show \xC3\n", "hide 2\n"}, {"hide 2"}},
      {"encoded surrogate dropped", {"show \xED\xA0\x80\n"}, {}},
      {"NUL is kept", {"show 1\0\n"s}, {"show 1\0"s}},
      {"final partial line never runs", {"show 1\nhide 2"}, {"show 1"}},
      {"feed split from its line", {"show 1", "\n"}, {"show 1"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(linesOf(c.reads), c.lines) << c.name;
}

TEST(LineSplitter, OverlongLineIsDroppedUpToItsLineFeed) {
  const std::string megabyte(1 << 20, 'x');
  LineSplitter splitter;
  // In pieces: the buffer never holds more than the limit.
  std::vector<std::string> reads;
  for (size_t i = 0; i < megabyte.size(); i += 4096)
    reads.push_back(megabyte.substr(i, 4096));
  reads.push_back("tail\nshow 5\n");
  std::vector<std::string> lines;
  for (const std::string& bytes : reads) {
    splitter.feed(bytes, [&](std::string&& line) { lines.push_back(std::move(line)); });
    EXPECT_LE(splitter.bufferedBytes(), kMaxPendingLineBytes + 4096);
  }
  EXPECT_EQ(lines, std::vector<std::string>{"show 5"});
  EXPECT_EQ(splitter.bufferedBytes(), 0u);
  // In one read, too; a line of exactly the limit still counts.
  EXPECT_EQ(linesOf({megabyte + "\nhide 6\n"}), std::vector<std::string>{"hide 6"});
  const std::string longest = "unknown " + std::string(kMaxPendingLineBytes - 8, 'y');
  EXPECT_EQ(linesOf({longest.substr(0, 1000), longest.substr(1000) + "\n"}),
            std::vector<std::string>{longest});
}

TEST(LineSplitter, HundredThousandCommandsInOneRead) {
  std::string bytes;
  for (int i = 0; i < 100000; ++i)
    bytes += "show " + std::to_string(i) + "\n";
  std::vector<std::string> lines = linesOf({bytes});
  ASSERT_EQ(lines.size(), 100000u);
  EXPECT_EQ(lines.front(), "show 0");
  EXPECT_EQ(lines.back(), "show 99999");
}

TEST(CommandGrammar, WordsAndIds) {
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  struct Case {
    const char* line;
    CommandWord word;
    std::optional<int64_t> id;
  } cases[] = {
      {"show 5", CommandWord::show, 5},
      {"show +4", CommandWord::show, 4},
      {"show -0", CommandWord::show, 0},
      {"hide -12", CommandWord::hide, -12},
      {"show 9223372036854775807", CommandWord::show, kMax},
      {"show -9223372036854775808", CommandWord::show, kMin},
      {"show 9223372036854775808", CommandWord::show, std::nullopt},
      {"show -9223372036854775809", CommandWord::show, std::nullopt},
      {"show", CommandWord::show, std::nullopt},
      {"show x", CommandWord::show, std::nullopt},
      {"show +", CommandWord::show, std::nullopt},
      {"show 1 2", CommandWord::show, std::nullopt},
      {"show  1", CommandWord::show, std::nullopt},
      {"show 1 ", CommandWord::show, std::nullopt},
      {"show 0x10", CommandWord::show, std::nullopt},
      {"show 1.0", CommandWord::show, std::nullopt},
      {"show\t1", CommandWord::unknown, std::nullopt},
      {"SHOW 1", CommandWord::unknown, 1},
      {"randomize now", CommandWord::randomize, std::nullopt},
      {"copy", CommandWord::copy, std::nullopt},
      {"exit 3", CommandWord::exit, 3},
      {"exits", CommandWord::unknown, std::nullopt},
  };
  for (const Case& c : cases) {
    Command command = parseCommand(c.line);
    EXPECT_EQ(command.word, c.word) << c.line;
    EXPECT_EQ(command.id, c.id) << c.line;
  }
}

}  // namespace
}  // namespace tessary::curtain
