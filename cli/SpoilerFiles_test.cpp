#include "cli/SpoilerFiles.h"

#include <gtest/gtest.h>

#include <map>

#include "cli/OptionsDialog.h"
#include "cli/SettingsString.h"
#include "output/DoorMap.h"
#include "output/OutputFiles.h"
#include "output/SpoilerJson.h"

namespace velmora {
namespace {

CommandLineOptions ParsedOptions(const std::vector<std::string>& args) {
  const ParseResult parsed = ParseCommandLine(args);
  EXPECT_TRUE(parsed.options) << parsed.error;
  return parsed.options.value_or(CommandLineOptions());
}

// A Doors seed made as the command line makes it, its seed coming from the
// seed source and not from the options.
class SpoilerFilesTest : public ::testing::Test {
 protected:
  SpoilerFilesTest() {
    generation_.SetSeed(321);
    generation_.dialog.OnBnClickedGenerateSeed();
  }
  const CommandLineOptions options_ = ParsedOptions({"velmora", "--doors", "--enemies",
      "--spoiler-json", "out/spoiler.json", "--door-map", "/maps/map.dot"});
  MemoryOutputFiles seed_files_, spoilers_;
  OptionsDialog generation_{options_, seed_files_};
};

TEST_F(SpoilerFilesTest, BothFilesCarryTheSettingsStringOfTheSeedMade) {
  EXPECT_TRUE(WriteSpoilerFiles(options_, generation_.dialog, spoilers_).empty());
  CommandLineOptions made = options_;
  made.seed = 321u;
  const std::string settings = EncodeSettings(made);
  const CVelmoraDlg& dlg = generation_.dialog;
  EXPECT_EQ(spoilers_.files(),
            (std::map<std::string, std::string>{
                {"out/spoiler.json", FormatSpoilerJson(dlg, settings)},
                {"/maps/map.dot",
                 FormatDoorMap(dlg, Character::kJill, "Jill, seed 321, settings " + settings)}}));
}

TEST_F(SpoilerFilesTest, AFileThatCannotBeWrittenIsNamedAndTheOtherIsStillWritten) {
  spoilers_.FailOn("out/spoiler.json", "disk full");
  EXPECT_EQ(WriteSpoilerFiles(options_, generation_.dialog, spoilers_),
            std::vector<std::string>{"could not write out/spoiler.json (disk full)"});
  EXPECT_EQ(spoilers_.files().count("/maps/map.dot"), 1u);
}

}  // namespace
}  // namespace velmora
