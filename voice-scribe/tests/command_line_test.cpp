// The locale from the command line, and the usage error it gives otherwise.
#include <gtest/gtest.h>

#include <ostream>

#include <sstream>

#include "platform/fake/fake_desktop.h"
#include "voice-scribe/locale_arguments.h"
#include "voice-scribe/voice_scribe.h"

namespace tessary {
namespace {

struct ArgumentCase {
  const char* name;
  std::vector<std::string> arguments;
  std::optional<std::string> locale;  // nothing: the usage error
  friend void PrintTo(const ArgumentCase& c, std::ostream* os) { *os << c.name; }
};

class LocaleArguments : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(LocaleArguments, GiveTheLocaleOrTheUsageError) {
  EXPECT_EQ(parseLocaleIdentifier(GetParam().arguments), GetParam().locale);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LocaleArguments,
    ::testing::Values(
        ArgumentCase{"None", {}, "en-US"},
        ArgumentCase{"OptionWithValue", {"--locale=fr-FR"}, "fr-FR"},
        ArgumentCase{"OptionAndValue", {"--locale", "de-DE"}, "de-DE"},
        ArgumentCase{"ValueTrimmed", {"--locale", " \tja-JP\n"}, "ja-JP"},
        ArgumentCase{"AttachedValueTrimmedOfUnicodeSpace", {"--locale=\u00a0es-ES\u2028"}, "es-ES"},
        ArgumentCase{"InnerSpaceKept", {"--locale=en US"}, "en US"},
        ArgumentCase{"EqualsAlone", {"--locale="}, std::nullopt},
        ArgumentCase{"EqualsAndBlank", {"--locale= \n"}, std::nullopt},
        ArgumentCase{"OptionAlone", {"--locale"}, std::nullopt},
        ArgumentCase{"OptionAndBlank", {"--locale", "  "}, std::nullopt},
        ArgumentCase{"OptionAndEmpty", {"--locale", ""}, std::nullopt},
        ArgumentCase{"IdentifierWithoutOption", {"en-US"}, std::nullopt},
        ArgumentCase{"ThreeArguments", {"--locale", "en-US", "extra"}, std::nullopt},
        ArgumentCase{"AttachedValueThenAnother", {"--locale=en-US", "fr-FR"}, std::nullopt},
        ArgumentCase{"OtherOption", {"--lang", "en-US"}, std::nullopt},
        ArgumentCase{"OptionCaseMatters", {"--LOCALE=en-US"}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VoiceScribeUsage, WritesOneErrorLineAndExits1BeforeAskingAnything) {
  auto desktop = fake::loadSceneOrThrow("{}");
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--locale"}, {"en-US"}, {"--locale=", "x", "y"}}) {
    std::ostringstream out, err;
    ScriptedInput in({"\x01\x02"});
    desktop->clearCalls();
    ProgramContext context{arguments, {}, out, err, desktop->platform(), &in};
    EXPECT_EQ(runVoiceScribe(context), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "{\"error\":\"Usage: voice-scribe --locale <locale-identifier>\"}\n");
    EXPECT_EQ(in.readCount(), 0u);
    EXPECT_TRUE(desktop->calls().empty());
  }
}

}  // namespace
}  // namespace tessary
