#include "reliability/PropertyRun.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string_view>

#include "app/DialogFixture_test.h"
#include "catalogue/LockTypes.h"
#include "cli/OptionsDialog.h"
#include "cli/SettingsString.h"
#include "doors/DoorTables.h"
#include "doors/LockPositions.h"
#include "enemies/EnemyPositions.h"
#include "verify/Verify.h"

namespace velmora {
namespace {

uint64_t SplitMix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::string bytes;
  return ReadFileBytes(path.string(), bytes) ? std::string() : bytes;
}

size_t IndexOf(const std::vector<std::string>& lines, std::string_view line) {
  return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

std::vector<std::string> CheckCheatSheet(const CommandLineOptions& o, const GeneratorState& state,
                                         const ItemListContents& list,
                                         const std::string& cheat_sheet) {
  const std::vector<std::string> lines = SplitCrLf(cheat_sheet);
  if (Lines(lines) != cheat_sheet) return {"the cheat sheet has a line that does not end in CR LF"};
  if (lines.size() < 3 || lines[0] != state.m_versionText ||
      !lines[1].starts_with("Room names are taken from "))
    return {"the cheat sheet does not start with the version and credit lines"};

  std::vector<std::string> broken;
  for (const auto& [name, wanted] : {std::pair{"ENEMY RANDO POSITIONS", o.enemies},
                                     {"DOOR RANDO:", o.doors}, {"LOCK RANDO:", o.locks},
                                     {"***Path to Victory***", !o.doors}})
    if ((IndexOf(lines, name) < lines.size()) != wanted)
      broken.push_back("cheat sheet section " + std::string(name) +
                       (wanted ? " missing" : " unexpected"));
  if (!broken.empty()) return broken;

  // Every item line names a slot's own item and the item the list puts there.
  std::set<std::string> expected;
  for (int slot = 0; slot < kSlotCount; ++slot)
    expected.insert("\t" + state.m_itemNames.at(slot) + " is replaced with " +
                    state.m_itemNames.at(list.items[slot]));
  // Jill's door seeds show a line of their own for the slot the game never uses.
  int item_lines = 0;
  for (const std::string& line : lines) {
    const bool unused = line == "NOT USED IN DOOR RANDOMIZER";
    if (!unused && line.find(" is replaced with ") == std::string::npos) continue;
    ++item_lines;
    if (unused ? o.chris || !o.doors : !expected.count(line))
      broken.push_back("cheat sheet item line not in the item list: " + line);
  }
  // Hard hides 37 slots, and for Chris 75 and 76 besides; Jill on Normal
  // hides slot 39.
  const int shown =
      kSlotCount - (o.hard ? 37 : 0) - (o.hard && o.chris ? 2 : 0) - (!o.hard && !o.chris ? 1 : 0);
  if (item_lines != shown)
    broken.push_back("the cheat sheet has " + std::to_string(item_lines) + " item lines, not " +
                     std::to_string(shown));

  // The line of each enemy position, door and lock position, after the
  // section's heading (and a blank line for enemies and doors).
  // Lock lines are matched by their end, the part the item list decides.
  auto compare = [&](std::string_view what, std::string_view heading, int count, auto want_line) {
    const size_t first = IndexOf(lines, heading) + (what == "lock" ? 1 : 2);
    for (int i = 0; i < count; ++i) {
      const std::string got = first + i < lines.size() ? lines[first + i] : "(past the end)";
      const std::string want = want_line(i);
      if (what == "lock" ? !got.ends_with(want) : got != want)
        broken.push_back("cheat sheet " + std::string(what) + " line " + got + ", list says " +
                         want);
    }
  };
  if (o.enemies)
    compare("enemy", "ENEMY RANDO POSITIONS", kEnemyPositionCount, [&](int i) {
      return std::string(EnemyPositionTable()[i].name) + ":" +
             std::string(EnemyKindName(list.enemies[i]));
    });
  if (o.doors)
    compare("door", "DOOR RANDO:", kDoorCount, [&](int n) {
      return std::string(kDoorTable[n].room) + ":" + std::to_string(n) + ":" +
             std::to_string(list.doors[n]);
    });
  if (o.locks)
    compare("lock", "LOCK RANDO:", kLockPositionCount,
            [&](int j) { return ": " + std::string(LockTypeDisplayName(list.locks[j])); });
  return broken;
}

// A line when `window` does not show `options` after ApplyOptions (read back
// with ReadOptions): a click on a control the dialog had disabled is lost,
// and the seed would be generated with other options than asked.
std::vector<std::string> OptionsNotShown(const CommandLineOptions& o, const MemoryWindow& window) {
  // The settings string holds every option the dialog shows, and nothing else.
  const std::string shown = EncodeSettings(ReadOptions(window, o.seed.value_or(0)));
  if (shown == EncodeSettings(o)) return {};
  return {"the dialog shows " + shown + ", not " + EncodeSettings(o)};
}

}  // namespace

SeedCase CaseFor(uint64_t index, uint64_t salt, const SeedMix& mix) {
  // Independent draws from one hash of the case.
  uint64_t state = SplitMix(index) ^ SplitMix(salt + 0x5EED);
  auto below = [&state](uint64_t n) { return (state = SplitMix(state)) % n; };
  auto one_in = [&below](uint64_t n) { return below(n) == 0; };
  SeedCase c;
  c.index = index;
  CommandLineOptions& o = c.options;
  o.seed = static_cast<uint32_t>(below(uint64_t{1} << 32));

  const int kind = static_cast<int>(below(1000));
  if (kind < mix.no_items) {
    o.items = false;
    o.chris = one_in(2);
    o.hard = one_in(2);
    o.locks = one_in(3);
  } else if (kind < mix.no_items + mix.doors) {
    o.doors = true;
    o.chris = one_in(2);
  } else if (kind < mix.no_items + mix.doors + mix.chris_shuffles) {
    o.chris = true;
    o.hard = one_in(2);
    o.locks = one_in(3);
  } else {
    o.hard = kind < mix.no_items + mix.doors + mix.chris_shuffles + mix.jill_hard;
    o.locks = one_in(3);
  }

  o.enemies = one_in(2);
  std::vector<int> kinds;
  const bool no_kinds = one_in(16);
  for (int id = kIdZombies; id <= kIdElderCrimsonHeads; ++id)
    if (!no_kinds && !one_in(4)) kinds.push_back(id);
  if (o.enemies) {
    o.kinds = kinds;
    const SpawnChoice spawns[] = {SpawnChoice::kOne, SpawnChoice::kMany, SpawnChoice::kNone};
    o.tyrant = spawns[below(3)];
    o.yawn = spawns[below(3)];
    o.lisa = spawns[below(3)];
    const TyrantType types[] = {TyrantType::kFast, TyrantType::kSlow, TyrantType::kRandom};
    o.tyrant_type = types[below(3)];
  }
  for (bool CommandLineOptions::*modifier :
       {&CommandLineOptions::remove_healing, &CommandLineOptions::remove_ammo,
        &CommandLineOptions::remove_ink, &CommandLineOptions::remove_defence,
        &CommandLineOptions::swap_sdg, &CommandLineOptions::armed_capsule})
    o.*modifier = one_in(5);
  return c;
}

std::vector<std::string> ArgumentsFor(const SeedCase& c) {
  return {"--settings", EncodeSettings(c.options)};
}

std::string KindLabel(const CommandLineOptions& o) {
  std::string label = std::string(o.chris ? "Chris" : "Jill") + (o.hard ? " Hard" : " Normal");
  label += o.doors ? ", doors" : o.items ? ", items" : ", no items";
  if (o.locks) label += ", locks";
  return label;
}

std::vector<std::string> CheckSeedFiles(const CommandLineOptions& o, const GeneratorState& state,
                                        const std::string& item_list,
                                        const std::string& cheat_sheet) {
  const VerifyResult verdict =
      VerifyItemList(item_list, o.chris ? Character::kChris : Character::kJill,
                     o.hard ? Difficulty::kHard : Difficulty::kNormal);
  if (verdict.status != kVerifySound)
    return {"the verifier finds the item list unsound: line " +
            std::to_string(verdict.problem->line) + ": " + verdict.problem->message};
  const ItemListContents list = *ReadItemList(item_list).contents;
  if (list.has_lock_section != o.locks)
    return {std::string("the item list has ") + (o.locks ? "no" : "a") + " lock section"};
  return CheckCheatSheet(o, state, list, cheat_sheet);
}

SeedOutcome GenerateAndCheck(const SeedCase& c) {
  const CommandLineOptions& o = c.options;
  MemoryOutputFiles files;
  OptionsDialog generation(o, files);
  generation.dialog.m_searchThreads = 1;
  SeedOutcome outcome;
  outcome.broken = OptionsNotShown(o, generation.window);
  generation.dialog.OnBnClickedGenerateSeed();
  outcome.files = files.files();
  outcome.log = generation.window.GetControlText(kIdStatus);
  if (generation.dialog.write_failed()) outcome.broken.push_back("a write failed in memory");
  const std::string selection =
      std::string(o.chris ? "Chris" : "Jill") + (o.hard ? "Hard" : "Normal") + ".txt";
  const auto item_list = outcome.files.find("ItemList" + selection);
  const auto cheat_sheet = outcome.files.find("CheatSheet" + selection);
  if (outcome.files.size() != 2 || item_list == outcome.files.end() ||
      cheat_sheet == outcome.files.end()) {
    outcome.broken.push_back("the generation wrote " + std::to_string(outcome.files.size()) +
                             " files, not the two of its selection");
    return outcome;
  }
  for (std::string& line :
       CheckSeedFiles(o, generation.dialog, item_list->second, cheat_sheet->second))
    outcome.broken.push_back(std::move(line));
  return outcome;
}

std::vector<std::string> CompareWithProcess(const std::string& program, const SeedCase& c,
                                            const SeedOutcome& outcome,
                                            const std::string& scratch) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(scratch) / ("case" + std::to_string(c.index));
  fs::remove_all(dir);
  fs::create_directories(dir);
  // Every word single-quoted for the shell; the log goes to a file, standard error nowhere.
  auto quoted = [](const std::string& word) {
    std::string text = "'";
    for (const char ch : word) text += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return text + "'";
  };
  std::string command = quoted(program);
  for (const std::string& arg : ArgumentsFor(c)) command += " " + quoted(arg);
  const std::string log_path = (dir / "stdout").string();
  command += " --out " + quoted(dir.string()) + " >" + quoted(log_path) + " 2>/dev/null";
  const int status = std::system(command.c_str());
  std::vector<std::string> differences;
  if (status == -1) return {"could not run " + program};
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    differences.push_back("the separate process ended with status " + std::to_string(status));

  std::map<std::string, std::string> written;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir))
    if (entry.path().filename() != "stdout")
      written[entry.path().filename().string()] = ReadFile(entry.path());
  if (written != outcome.files)
    differences.push_back("the separate process wrote " + std::to_string(written.size()) +
                          " files, not the same as in memory");
  if (ReadFile(log_path) != outcome.log)
    differences.push_back("the separate process logged something else");
  fs::remove_all(dir);
  return differences;
}

}  // namespace velmora
