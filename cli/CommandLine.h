// The command line: parses the options and sets them on the dialog the way a
// user's clicks would.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ControlIds.h"

namespace velmora {

/// The enemy kinds as --kinds names them, with their boxes, in the panel's
/// order (the settings string's bits, highest first).
struct EnemyKindBox {
  std::string_view name;
  int id;
};
inline constexpr EnemyKindBox kEnemyKindBoxes[] = {
    {"zombies", kIdZombies}, {"dogs", kIdDogs},   {"hunters", kIdHunters},
    {"spiders", kIdSpiders}, {"sharks", kIdSharks}, {"bees", kIdBees},
    {"chimera", kIdChimera}, {"elder-crimson-heads", kIdElderCrimsonHeads},
};

class MemoryWindow;
class CVelmoraDlg;

enum class SpawnChoice { kOne, kMany, kNone };
enum class TyrantType { kFast, kSlow, kRandom };

struct CommandLineOptions {
  bool chris = false;
  bool hard = false;
  bool items = true;
  bool enemies = false;
  bool doors = false;
  bool locks = false;
  /// Enemy kinds allowed, by control id; all eight by default.
  std::vector<int> kinds;
  SpawnChoice tyrant = SpawnChoice::kOne;
  SpawnChoice yawn = SpawnChoice::kOne;
  SpawnChoice lisa = SpawnChoice::kOne;
  TyrantType tyrant_type = TyrantType::kFast;
  bool remove_healing = false;
  bool remove_ammo = false;
  bool remove_ink = false;
  bool remove_defence = false;
  bool swap_sdg = false;
  bool armed_capsule = false;
  std::optional<uint32_t> seed;
  std::string out_dir;
  /// Where to write the JSON spoiler and, with Doors, the door map; empty
  /// for none. Paths of their own, not under `out_dir`.
  std::string spoiler_json;
  std::string door_map;
  /// A weights file to draw the options from (`--mystery`); empty for none.
  /// The options above then hold their defaults until drawn.
  std::string mystery;
  /// False to search every plain seed instead of looking it up in the
  /// attempt index: the same files, only slower.
  bool attempt_index = true;
};

struct ParseResult {
  /// Set when the arguments are valid.
  std::optional<CommandLineOptions> options;
  /// Set when the program should print this and exit 0 (for --help and
  /// --version).
  std::optional<std::string> help;
  /// A one-line message naming the problem otherwise.
  std::string error;
};

/// What --version prints: the program's version, then the commit it was
/// built from and that commit's date, then its licence.
std::string VersionText();

/// Parses argv (argv[0] is the program name). Never throws.
ParseResult ParseCommandLine(const std::vector<std::string>& args);

/// The problem with a combination of options that the dialog cannot show
/// (Doors with Hard, without Items or with Locks), or nothing.
std::optional<std::string> OptionCombinationError(const CommandLineOptions& options);

/// A user's click on control `id`, with the handler the click runs ("Enemies"
/// and "Doors" have one). A click on a disabled control does nothing and
/// returns false.
bool ClickOption(int id, MemoryWindow& window, CVelmoraDlg& dialog);

/// Sets the options on a dialog whose OnInitDialog has run, by clicking its
/// controls as a user would, running the handlers a click runs.
void ApplyOptions(const CommandLineOptions& options, MemoryWindow& window, CVelmoraDlg& dialog);

/// The options a window's controls show, as the command line would hold
/// them, with `seed`: what ApplyOptions set, read back.
CommandLineOptions ReadOptions(const MemoryWindow& window, uint32_t seed);

}  // namespace velmora
