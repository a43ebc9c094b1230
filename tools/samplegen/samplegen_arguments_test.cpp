#include "tools/samplegen/samplegen_arguments.h"

#include <gtest/gtest.h>

namespace quarn {
namespace {

std::string Problem(const std::vector<std::string>& args) {
  SamplegenRequest request;
  return ReadSamplegenArguments(args, &request);
}

TEST(SamplegenArgumentsTest, EveryOptionReachesTheGameOptions) {
  SamplegenRequest request;
  ASSERT_EQ("",
            ReadSamplegenArguments(
                {"game", "out dir", "--img-entries", "6000", "--img-megabytes",
                 "1024", "--ide-files", "20", "--ide-definitions", "6000",
                 "--seed", "4294967295", "--no-backup"},
                &request));
  EXPECT_EQ(SamplegenRequest::Kind::kGame, request.kind);
  EXPECT_EQ("out dir", request.dir);
  EXPECT_EQ(6000, request.options.img_entries);
  EXPECT_EQ(uint64_t{1} << 30, request.options.img_bytes);
  EXPECT_EQ(20, request.options.ide_files);
  EXPECT_EQ(6000, request.options.ide_definitions);
  EXPECT_EQ(4294967295u, request.options.seed);
  EXPECT_FALSE(request.options.backups);

  ASSERT_EQ("", ReadSamplegenArguments({"mod", "m"}, &request));
  EXPECT_EQ(SamplegenRequest::Kind::kMod, request.kind);
  EXPECT_EQ(SampleGameOptions().img_entries, request.options.img_entries);
  EXPECT_TRUE(request.options.backups);

  ASSERT_EQ("", ReadSamplegenArguments({"catalogue", "setup"}, &request));
  EXPECT_EQ(SamplegenRequest::Kind::kCatalogue, request.kind);

  ASSERT_EQ("", ReadSamplegenArguments({"--help"}, &request));
  EXPECT_EQ(SamplegenRequest::Kind::kHelp, request.kind);
}

TEST(SamplegenArgumentsTest, UsageErrorsSayWhatIsWrong) {
  EXPECT_EQ("a kind (game, mod or catalogue) and a folder are needed",
            Problem({}));
  EXPECT_EQ("a kind (game, mod or catalogue) and a folder are needed",
            Problem({"game"}));
  EXPECT_EQ("unknown kind games (game, mod or catalogue)",
            Problem({"games", "d"}));
  EXPECT_EQ("the folder must not be empty", Problem({"game", ""}));
  EXPECT_EQ("unknown option --size", Problem({"game", "d", "--size", "3"}));
  EXPECT_EQ("unexpected argument extra", Problem({"game", "d", "extra"}));
  EXPECT_EQ("--seed needs a number", Problem({"game", "d", "--seed"}));
  EXPECT_EQ("--seed needs a whole number from 0 to 4294967295, not '-1'",
            Problem({"game", "d", "--seed", "-1"}));
  EXPECT_EQ(
      "--img-entries needs a whole number from 0 to 4294967295, not '1e3'",
      Problem({"game", "d", "--img-entries", "1e3"}));
  EXPECT_EQ(
      "--seed needs a whole number from 0 to 4294967295, not '4294967296'",
      Problem({"game", "d", "--seed", "4294967296"}));
  // Values that parse but that the generator cannot honour.
  EXPECT_EQ("the archive must stay below 2 GiB",
            Problem({"game", "d", "--img-megabytes", "2048"}));
  EXPECT_EQ("the archive can hold 0 to 30000 entries",
            Problem({"mod", "d", "--img-entries", "4294967295"}));
  EXPECT_EQ("the game needs 1 to 200 IDE files",
            Problem({"game", "d", "--ide-files", "0"}));
}

}  // namespace
}  // namespace quarn
