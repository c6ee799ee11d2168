#include "cli/SpoilerFiles.h"

#include "app/VelmoraDlg.h"
#include "cli/SettingsString.h"
#include "output/DoorMap.h"
#include "output/OutputFiles.h"
#include "output/SpoilerJson.h"

namespace velmora {

std::string DoorMapTitle(Character character, uint32_t seed, const std::string& settings) {
  return std::string(character == Character::kChris ? "Chris" : "Jill") + ", seed " +
         std::to_string(seed) + ", settings " + settings;
}

std::vector<std::string> WriteSpoilerFiles(const CommandLineOptions& options,
                                           const CVelmoraDlg& dialog, OutputFiles& files) {
  CommandLineOptions made = options;
  made.seed = dialog.seed();
  const std::string settings = EncodeSettings(made);

  std::vector<std::string> problems;
  auto write = [&](const std::string& path, const std::string& bytes) {
    if (std::optional<std::string> reason = files.Write(path, bytes))
      problems.push_back("could not write " + path + " (" + *reason + ")");
  };
  if (!options.spoiler_json.empty())
    write(options.spoiler_json, FormatSpoilerJson(dialog, settings));
  if (!options.door_map.empty()) {
    const Character character = dialog.SelectedCharacter();
    write(options.door_map,
          FormatDoorMap(dialog, character, DoorMapTitle(character, dialog.seed(), settings)));
  }
  return problems;
}

}  // namespace velmora
