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

// A Doors seed made as the command line makes it, its seed coming from the
// seed source and not from the options: both files carry the settings
// string of the seed made. A file that cannot be written is named, and the
// other is still written.
TEST(SpoilerFilesTest, BothFilesCarryTheSettingsStringOfTheSeedMade) {
  const ParseResult parsed = ParseCommandLine({"velmora", "--doors", "--enemies", "--spoiler-json",
                                               "out/spoiler.json", "--door-map", "/maps/map.dot"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  MemoryOutputFiles seed_files, spoilers, failing;
  OptionsDialog generation(*parsed.options, seed_files);
  generation.SetSeed(321);
  generation.dialog.OnBnClickedGenerateSeed();
  const CVelmoraDlg& dlg = generation.dialog;
  EXPECT_TRUE(WriteSpoilerFiles(*parsed.options, dlg, spoilers).empty());

  CommandLineOptions made = *parsed.options;
  made.seed = 321u;
  const std::string settings = EncodeSettings(made);
  EXPECT_EQ(spoilers.files(),
            (std::map<std::string, std::string>{
                {"out/spoiler.json", FormatSpoilerJson(dlg, settings)},
                {"/maps/map.dot",
                 FormatDoorMap(dlg, Character::kJill, "Jill, seed 321, settings " + settings)}}));

  failing.FailOn("out/spoiler.json", "disk full");
  EXPECT_EQ(WriteSpoilerFiles(*parsed.options, dlg, failing),
            std::vector<std::string>{"could not write out/spoiler.json (disk full)"});
  EXPECT_EQ(failing.files().count("/maps/map.dot"), 1u);
}

}  // namespace
}  // namespace velmora
