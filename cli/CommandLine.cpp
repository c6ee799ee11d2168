#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <sstream>
#include <string_view>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "app/Version.h"
#include "cli/SettingsString.h"

namespace velmora {
namespace {


std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, ',')) parts.push_back(part);
  if (!text.empty() && text.back() == ',') parts.push_back("");
  return parts;
}

std::optional<SpawnChoice> ParseSpawn(const std::string& text) {
  if (text == "one") return SpawnChoice::kOne;
  if (text == "many") return SpawnChoice::kMany;
  if (text == "none") return SpawnChoice::kNone;
  return std::nullopt;
}

// Only a Doors seed has a map of its own to draw.
std::optional<std::string> DoorMapError(const CommandLineOptions& o) {
  if (!o.door_map.empty() && !o.doors)
    return "--door-map needs --doors: without it every door leads where it does in the game";
  return std::nullopt;
}

// Turns CLI11's multi-line messages into one line.
std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

ParseResult ParseArguments(const std::vector<std::string>& args);

}  // namespace

std::string VersionText() {
  return "velmora " + std::string(kVersion) + "\ncommit " + std::string(kCommit) + " (" +
         std::string(kCommitDate) + ")\n" + std::string(kCopyright) +
         "\nFree software under the MIT licence; there is NO warranty.\n";
}

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
  ParseResult result = ParseArguments(args);
  // Messages quote a refused argument as given; a line break in it must not
  // break the message.
  std::replace(result.error.begin(), result.error.end(), '\r', ' ');
  result.error = OneLine(std::move(result.error));
  return result;
}

namespace {

ParseResult ParseArguments(const std::vector<std::string>& args) {
  ParseResult result;
  CLI::App app{"Velmora seed generator: writes an item list and a cheat sheet.", "velmora"};
  app.get_formatter()->column_width(30);
  app.set_version_flag("--version", "", "print the version, the commit and its date");
  app.footer("velmora verify FILE checks an item-list file; velmora verify --help tells more.");

  std::string character = "jill", difficulty = "normal";
  bool no_items = false, items_flag = false;
  std::string seed_text, kinds_text, tyrant_text, yawn_text, lisa_text, tyrant_type_text,
      remove_text;
  CommandLineOptions o;

  app.add_option("--character", character, "jill or chris (default jill)")
      ->check(CLI::IsMember({"jill", "chris"}));
  app.add_option("--difficulty", difficulty, "normal or hard (default normal)")
      ->check(CLI::IsMember({"normal", "hard"}));
  app.add_flag("--items", items_flag, "randomize items (the default)");
  app.add_flag("--no-items", no_items, "keep every item at its place");
  app.add_flag("--enemies", o.enemies, "randomize enemies");
  app.add_flag("--doors", o.doors, "randomize doors (Normal, with items, without locks)");
  app.add_flag("--locks", o.locks, "randomize locks");
  app.add_option("--kinds", kinds_text,
                 "enemy kinds allowed: comma list of zombies, dogs, hunters, spiders, sharks, "
                 "bees, chimera, elder-crimson-heads, or none (default all)");
  app.add_option("--tyrant", tyrant_text, "Tyrant spawns: one, many or none (default one)");
  app.add_option("--yawn", yawn_text, "Yawn spawns: one, many or none (default one)");
  app.add_option("--lisa", lisa_text, "Lisa spawns: one, many or none (default one)");
  app.add_option("--tyrant-type", tyrant_type_text, "fast, slow or random (default fast)");
  app.add_option("--remove", remove_text,
                 "remove from the pool: comma list of healing, ammo, ink, defence");
  app.add_flag("--swap-sdg", o.swap_sdg, "swap all non-key items with the Self-Defense Gun");
  app.add_flag("--armed-capsule", o.armed_capsule, "Fuel Supply Capsule armed on pickup");
  app.add_option("--seed", seed_text, "seed number, 0 to 4294967295 (default: the time)");
  app.add_option("--out", o.out_dir, "output directory (default: the current directory)");
  app.add_option("--spoiler-json", o.spoiler_json, "also write the whole spoiler as JSON to FILE");
  app.add_option("--door-map", o.door_map,
                 "with --doors: also write the rewired map as a Graphviz graph to FILE");
  bool no_attempt_index = false;
  app.add_flag("--no-attempt-index", no_attempt_index,
               "search every attempt instead of looking plain seeds up (same files, slower)");
  std::string settings_text;
  app.add_option("--settings", settings_text,
                 "every option and the seed at once, as a generation prints them");

  app.add_option("--mystery", o.mystery,
                 "draw the options from a weights file (JSON), seeded from the seed");

  std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
  std::reverse(rest.begin(), rest.end());
  try {
    app.parse(rest);
  } catch (const CLI::CallForHelp&) {
    result.help = app.help();
    return result;
  } catch (const CLI::CallForVersion&) {
    result.help = VersionText();
    return result;
  } catch (const CLI::ParseError& e) {
    result.error = OneLine(e.what());
    return result;
  }

  constexpr const char* kGenerationFlags[] = {
      "--character", "--difficulty", "--items", "--no-items", "--enemies", "--doors", "--locks",
      "--kinds", "--tyrant", "--yawn", "--lisa", "--tyrant-type", "--remove", "--swap-sdg",
      "--armed-capsule", "--settings"};
  if (app.count("--mystery")) {
    // The weights file draws every option; only the seed and where the files
    // go may be given beside it.
    for (const char* flag : kGenerationFlags) {
      if (app.count(flag)) {
        result.error = std::string("--mystery cannot go with ") + flag +
                       ": the options are drawn from the weights file";
        return result;
      }
    }
    if (o.mystery.empty()) {
      result.error = "--mystery needs the name of a weights file";
      return result;
    }
  }

  if (app.count("--settings")) {
    // The string holds every option of a generation; only where the files
    // go may be given beside it.
    for (const char* flag : kGenerationFlags) {
      if (app.count(flag) && std::string_view(flag) != "--settings") {
        result.error = std::string("--settings cannot go with ") + flag +
                       ": the settings string holds every option and the seed";
        return result;
      }
    }
    if (app.count("--seed")) {
      result.error =
          "--settings cannot go with --seed: the settings string holds every option and the seed";
      return result;
    }
    DecodedSettings decoded = DecodeSettings(settings_text);
    if (!decoded.options) {
      result.error = "--settings: " + decoded.error;
      return result;
    }
    decoded.options->out_dir = o.out_dir;
    decoded.options->spoiler_json = o.spoiler_json;
    decoded.options->door_map = o.door_map;
    decoded.options->attempt_index = !no_attempt_index;
    if (std::optional<std::string> problem = DoorMapError(*decoded.options)) {
      result.error = *problem;
      return result;
    }
    result.options = std::move(decoded.options);
    return result;
  }

  o.chris = character == "chris";
  o.hard = difficulty == "hard";
  o.attempt_index = !no_attempt_index;
  if (items_flag && no_items) {
    result.error = "--items and --no-items exclude each other";
    return result;
  }
  o.items = !no_items;

  if (!seed_text.empty()) {
    const bool digits = std::all_of(seed_text.begin(), seed_text.end(),
                                    [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || seed_text.size() > 10 || std::stoull(seed_text) > 0xFFFFFFFFull) {
      result.error = "--seed: '" + seed_text + "' is not a number from 0 to 4294967295";
      return result;
    }
    o.seed = static_cast<uint32_t>(std::stoull(seed_text));
  }

  const bool panel_given = !kinds_text.empty() || app.count("--kinds") || !tyrant_text.empty() ||
                           app.count("--tyrant") || app.count("--yawn") || app.count("--lisa") ||
                           app.count("--tyrant-type");
  if (panel_given && !o.enemies) {
    result.error =
        "--kinds, --tyrant, --yawn, --lisa and --tyrant-type need --enemies (the enemy panel "
        "is disabled without it)";
    return result;
  }

  o.kinds.clear();
  for (const EnemyKindBox& kind : kEnemyKindBoxes) o.kinds.push_back(kind.id);
  if (app.count("--kinds")) {
    o.kinds.clear();
    if (kinds_text != "none") {
      for (const std::string& name : SplitList(kinds_text)) {
        const auto* kind = std::find_if(std::begin(kEnemyKindBoxes), std::end(kEnemyKindBoxes),
                                        [&name](const EnemyKindBox& k) { return k.name == name; });
        if (kind == std::end(kEnemyKindBoxes)) {
          result.error = "--kinds: unknown enemy kind '" + name + "'";
          return result;
        }
        if (std::find(o.kinds.begin(), o.kinds.end(), kind->id) == o.kinds.end())
          o.kinds.push_back(kind->id);
      }
    }
  }
  struct SpawnOption {
    const char* flag;
    const std::string* text;
    SpawnChoice* target;
  };
  for (const SpawnOption& s : {SpawnOption{"--tyrant", &tyrant_text, &o.tyrant},
                               SpawnOption{"--yawn", &yawn_text, &o.yawn},
                               SpawnOption{"--lisa", &lisa_text, &o.lisa}}) {
    if (!app.count(s.flag)) continue;
    std::optional<SpawnChoice> choice = ParseSpawn(*s.text);
    if (!choice) {
      result.error = std::string(s.flag) + ": '" + *s.text + "' is not one, many or none";
      return result;
    }
    *s.target = *choice;
  }
  if (app.count("--tyrant-type")) {
    if (tyrant_type_text == "fast") {
      o.tyrant_type = TyrantType::kFast;
    } else if (tyrant_type_text == "slow") {
      o.tyrant_type = TyrantType::kSlow;
    } else if (tyrant_type_text == "random") {
      o.tyrant_type = TyrantType::kRandom;
    } else {
      result.error = "--tyrant-type: '" + tyrant_type_text + "' is not fast, slow or random";
      return result;
    }
  }
  if (app.count("--remove")) {
    for (const std::string& name : SplitList(remove_text)) {
      if (name == "healing") {
        o.remove_healing = true;
      } else if (name == "ammo") {
        o.remove_ammo = true;
      } else if (name == "ink") {
        o.remove_ink = true;
      } else if (name == "defence") {
        o.remove_defence = true;
      } else {
        result.error = "--remove: unknown item group '" + name +
                       "' (healing, ammo, ink or defence)";
        return result;
      }
    }
  }

  if (std::optional<std::string> problem = OptionCombinationError(o)) {
    result.error = *problem;
    return result;
  }
  // A mystery seed draws a map only when it draws Doors.
  if (std::optional<std::string> problem = DoorMapError(o); problem && o.mystery.empty()) {
    result.error = *problem;
    return result;
  }

  result.options = o;
  return result;
}

}  // namespace

std::optional<std::string> OptionCombinationError(const CommandLineOptions& o) {
  if (!o.doors) return std::nullopt;
  if (o.hard) return "--doors cannot go with --difficulty hard: door seeds are always Normal";
  if (!o.items) return "--doors cannot go with --no-items: door seeds always place items";
  if (o.locks) return "--doors cannot go with --locks: door seeds keep the game's locks";
  return std::nullopt;
}

bool ClickOption(int id, MemoryWindow& window, CVelmoraDlg& dialog) {
  if (!window.Click(id)) return false;
  if (id == kIdEnemies) dialog.OnBnClickedEnemies();
  if (id == kIdDoors) dialog.OnBnClickedDoors();
  return true;
}

void ApplyOptions(const CommandLineOptions& o, MemoryWindow& window, CVelmoraDlg& dialog) {
  dialog.m_useAttemptIndex = o.attempt_index;
  // Sets a box to `want` by clicking it when it differs.
  auto set_box = [&](int id, bool want) {
    if (window.IsChecked(id) != want) window.Click(id);
  };
  window.Click(o.chris ? kIdChris : kIdJill);
  window.Click(o.hard ? kIdHard : kIdNormal);
  set_box(kIdItems, o.items);
  set_box(kIdLocks, o.locks);
  if (window.IsChecked(kIdEnemies) != o.enemies) ClickOption(kIdEnemies, window, dialog);
  if (window.IsChecked(kIdDoors) != o.doors) ClickOption(kIdDoors, window, dialog);
  if (o.enemies) {
    for (const EnemyKindBox& kind : kEnemyKindBoxes)
      set_box(kind.id, std::find(o.kinds.begin(), o.kinds.end(), kind.id) != o.kinds.end());
    auto spawn_id = [](SpawnChoice c, int one, int many, int none) {
      return c == SpawnChoice::kOne ? one : c == SpawnChoice::kMany ? many : none;
    };
    window.Click(spawn_id(o.tyrant, kIdTyrantOne, kIdTyrantMany, kIdTyrantNone));
    window.Click(spawn_id(o.yawn, kIdYawnOne, kIdYawnMany, kIdYawnNone));
    window.Click(spawn_id(o.lisa, kIdLisaOne, kIdLisaMany, kIdLisaNone));
    window.Click(o.tyrant_type == TyrantType::kFast   ? kIdTyrantFast
                 : o.tyrant_type == TyrantType::kSlow ? kIdTyrantSlow
                                                      : kIdTyrantRandom);
  }
  set_box(kIdRemoveHealing, o.remove_healing);
  set_box(kIdRemoveAmmo, o.remove_ammo);
  set_box(kIdRemoveInkRibbons, o.remove_ink);
  set_box(kIdRemoveDefence, o.remove_defence);
  set_box(kIdSwapSelfDefenseGun, o.swap_sdg);
  set_box(kIdArmedCapsule, o.armed_capsule);
}

CommandLineOptions ReadOptions(const MemoryWindow& window, uint32_t seed) {
  CommandLineOptions o;
  o.chris = window.IsChecked(kIdChris);
  o.hard = window.IsChecked(kIdHard);
  o.items = window.IsChecked(kIdItems);
  o.enemies = window.IsChecked(kIdEnemies);
  o.doors = window.IsChecked(kIdDoors);
  o.locks = window.IsChecked(kIdLocks);
  for (const EnemyKindBox& kind : kEnemyKindBoxes)
    if (window.IsChecked(kind.id)) o.kinds.push_back(kind.id);
  auto spawn = [&window](int one, int many) {
    return window.IsChecked(one)    ? SpawnChoice::kOne
           : window.IsChecked(many) ? SpawnChoice::kMany
                                    : SpawnChoice::kNone;
  };
  o.tyrant = spawn(kIdTyrantOne, kIdTyrantMany);
  o.yawn = spawn(kIdYawnOne, kIdYawnMany);
  o.lisa = spawn(kIdLisaOne, kIdLisaMany);
  o.tyrant_type = window.IsChecked(kIdTyrantFast)   ? TyrantType::kFast
                  : window.IsChecked(kIdTyrantSlow) ? TyrantType::kSlow
                                                    : TyrantType::kRandom;
  o.remove_healing = window.IsChecked(kIdRemoveHealing);
  o.remove_ammo = window.IsChecked(kIdRemoveAmmo);
  o.remove_ink = window.IsChecked(kIdRemoveInkRibbons);
  o.remove_defence = window.IsChecked(kIdRemoveDefence);
  o.swap_sdg = window.IsChecked(kIdSwapSelfDefenseGun);
  o.armed_capsule = window.IsChecked(kIdArmedCapsule);
  o.seed = seed;
  return o;
}

}  // namespace velmora
