// The core's parser of command lines and its registry of the commands a module supplies.
#include <gtest/gtest.h>

#include "host/core/commands.h"

namespace vaq {
namespace {

const ArgumentRules kRules{
    .ValueOptions = {"--lang", "--out"}, .FlagOptions = {"--check"}, .MinPositional = 1, .MaxPositional = 2};

TEST(ParseArguments, SplitsPositionalValuesAndFlags) {
  const Arguments args =
      ParseArguments({"a.rux", "--lang", "de-DE", "--out=x", "--check", "--", "--b"}, kRules);
  EXPECT_EQ(args.Positional, (std::vector<std::string>{"a.rux", "--b"}));
  EXPECT_EQ(args.Value("--lang"), "de-DE");
  EXPECT_EQ(args.Value("--out"), "x");
  EXPECT_EQ(args.Value("--missing", "fallback"), "fallback");
  EXPECT_TRUE(args.Has("--check"));
}

TEST(ParseArguments, RejectsWhatTheRulesDoNotAllow) {
  EXPECT_THROW(ParseArguments({"a", "--unknown"}, kRules), UsageError);
  EXPECT_THROW(ParseArguments({"a", "--lang"}, kRules), UsageError) << "value missing";
  EXPECT_THROW(ParseArguments({"a", "--check=1"}, kRules), UsageError) << "a flag takes no value";
  EXPECT_THROW(ParseArguments({}, kRules), UsageError);
  EXPECT_THROW(ParseArguments({"a", "b", "c"}, kRules), UsageError);
}

}  // namespace
}  // namespace vaq
