#include "cli/SpoilerFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "cli/SettingsString.h"
#include "output/DoorMap.h"
#include "output/OutputFiles.h"
#include "output/SpoilerJson.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class SpoilerFilesTest : public ::testing::Test {
 protected:
  SpoilerFilesTest()
      : dir_(fs::temp_directory_path() /
             ("velmora-spoiler-" +
              std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  ~SpoilerFilesTest() override { fs::remove_all(dir_); }

  // A generation made the way the command line makes it.
  CommandLineOptions Generate(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"velmora"};
    all.insert(all.end(), args.begin(), args.end());
    ParseResult parsed = ParseCommandLine(all);
    EXPECT_TRUE(parsed.options) << parsed.error;
    const CommandLineOptions options = parsed.options.value_or(CommandLineOptions());
    dlg_.OnInitDialog();
    ApplyOptions(options, window_, dlg_);
    dlg_.SetSeedSource([] { return 321u; });
    dlg_.OnBnClickedGenerateSeed();
    return options;
  }

  fs::path dir_;
  MemoryWindow window_;
  MemoryOutputFiles files_;
  CVelmoraDlg dlg_{window_, files_};
};

TEST_F(SpoilerFilesTest, WritesBothFilesWithTheSettingsStringOfTheSeedMade) {
  const std::string json = (dir_ / "spoiler.json").string();
  const std::string map = (dir_ / "map.dot").string();
  const CommandLineOptions options =
      Generate({"--doors", "--enemies", "--spoiler-json", json, "--door-map", map});
  EXPECT_TRUE(WriteSpoilerFiles(options, dlg_).empty());

  // The seed came from the seed source, not the options; the settings
  // string carries it.
  CommandLineOptions made = options;
  made.seed = 321u;
  const std::string settings = EncodeSettings(made);
  const DecodedSettings decoded = DecodeSettings(settings);
  ASSERT_TRUE(decoded.options) << decoded.error;
  EXPECT_EQ(decoded.options->seed, 321u);
  EXPECT_TRUE(decoded.options->doors);

  EXPECT_EQ(ReadFile(json), FormatSpoilerJson(dlg_, settings));
  EXPECT_EQ(ReadFile(map),
            FormatDoorMap(dlg_, Character::kJill, "Jill, seed 321, settings " + settings));
}

TEST_F(SpoilerFilesTest, AFileThatCannotBeWrittenIsNamedAndTheOtherIsStillWritten) {
  const std::string json = (dir_ / "missing" / "spoiler.json").string();
  const std::string map = (dir_ / "map.dot").string();
  const CommandLineOptions options =
      Generate({"--doors", "--spoiler-json", json, "--door-map", map});
  const std::vector<std::string> problems = WriteSpoilerFiles(options, dlg_);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0], "could not write " + json + " (No such file or directory)");
  EXPECT_TRUE(fs::exists(map));
}

TEST(SpoilerFileOptionsTest, DoorMapNeedsDoorsAlsoFromASettingsString) {
  auto parse = [](std::vector<std::string> args) {
    args.insert(args.begin(), "velmora");
    return ParseCommandLine(args);
  };
  const ParseResult without = parse({"--door-map", "m.dot"});
  EXPECT_FALSE(without.options);
  EXPECT_NE(without.error.find("--door-map needs --doors"), std::string::npos) << without.error;

  const ParseResult with = parse({"--doors", "--door-map", "m.dot", "--spoiler-json", "s.json"});
  ASSERT_TRUE(with.options) << with.error;
  EXPECT_EQ(with.options->door_map, "m.dot");
  EXPECT_EQ(with.options->spoiler_json, "s.json");

  CommandLineOptions plain;
  plain.seed = 9;
  const std::string settings = EncodeSettings(plain);
  EXPECT_FALSE(parse({"--settings", settings, "--door-map", "m.dot"}).options);
  const ParseResult spoiler = parse({"--settings", settings, "--spoiler-json", "s.json"});
  ASSERT_TRUE(spoiler.options) << spoiler.error;
  EXPECT_EQ(spoiler.options->spoiler_json, "s.json");
}

}  // namespace
}  // namespace velmora
