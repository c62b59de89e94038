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

TEST(VaqCommands, RegisterReplaceFindAndUnregister) {
  const std::size_t before = VaqCommands().size();
  RegisterVaqCommand({"t-one", "t-one FILE", "first", {}, [](const Arguments&) { return 1; }});
  RegisterVaqCommand({"t-two", "t-two", "second", {}, [](const Arguments&) { return 2; }});
  RegisterVaqCommand({"t-one", "t-one FILE", "replaced", {}, [](const Arguments&) { return 3; }});
  ASSERT_EQ(VaqCommands().size(), before + 2) << "a command of the same name replaces the old one";
  EXPECT_EQ(VaqCommands()[before].Name, "t-one") << "registration order is kept";

  const TVaqCommand* one = FindVaqCommand("t-one");
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->Run(Arguments{}), 3);
  EXPECT_EQ(FindVaqCommand("t-three"), nullptr);

  EXPECT_TRUE(UnregisterVaqCommand("t-one"));
  EXPECT_FALSE(UnregisterVaqCommand("t-one"));
  EXPECT_EQ(FindVaqCommand("t-one"), nullptr);
  EXPECT_NE(FindVaqCommand("t-two"), nullptr);
  EXPECT_TRUE(UnregisterVaqCommand("t-two"));
  EXPECT_EQ(VaqCommands().size(), before);
}

}  // namespace
}  // namespace vaq
