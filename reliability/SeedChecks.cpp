#include "reliability/SeedChecks.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string_view>

#include "app/ControlIds.h"
#include "catalogue/ItemNames.h"
#include "catalogue/LockTypes.h"
#include "doors/DoorTables.h"
#include "doors/LockShuffle.h"
#include "enemies/EnemyPositions.h"
#include "items/Pins.h"
#include "items/Spheres.h"
#include "verify/ItemListReader.h"
#include "verify/Verify.h"

namespace velmora {
namespace {

constexpr int kDoors = 264;
constexpr int kEnemyPositions = 53;
constexpr int kLockPositions = 38;

bool Contains(const std::vector<int>& list, int value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

template <size_t N>
bool InGroup(const std::array<std::string_view, N>& group, const std::string& name) {
  return std::find(group.begin(), group.end(), name) != group.end();
}

// A number as the item list writes it: optional "-", no leading zeros.
std::string Join(const std::vector<int>& values) {
  std::string text;
  for (int v : values) text += (text.empty() ? "" : " ") + std::to_string(v);
  return text;
}

// The enemy kind a kind box allows.
int KindOfBox(int box) {
  switch (box) {
    case kIdHunters: return kKindHunters;
    case kIdChimera: return kKindChimeras;
    case kIdDogs: return kKindDogs;
    case kIdSharks: return kKindSharks;
    case kIdZombies: return kKindZombies;
    case kIdSpiders: return kKindSpiders;
    case kIdBees: return kKindBees;
    case kIdElderCrimsonHeads: return kKindElderCrimsonHead;
  }
  return 0;
}

constexpr int kOrdinaryKinds[] = {kKindHunters, kKindChimeras, kKindDogs,   kKindSharks,
                                  kKindZombies, kKindSpiders,  kKindBees,   kKindElderCrimsonHead};

std::vector<std::string> CheckPlacementSection(const GeneratedSeed& seed,
                                               const std::vector<int>& final_items) {
  std::vector<std::string> broken;
  const CommandLineOptions& o = seed.options;
  const GeneratorState& state = *seed.state;
  const std::vector<int>& before = seed.placement_before_modifiers;
  if (before.size() != static_cast<size_t>(kSlotCount)) {
    broken.push_back("the placement before the modifiers has " + std::to_string(before.size()) +
                     " entries");
    return broken;
  }
  for (int item : final_items)
    if (item < 0 || item >= kItemCount) broken.push_back("item id " + std::to_string(item));

  if (!o.items) {
    for (int slot = 0; slot < kSlotCount; ++slot)
      if (before[slot] != slot) {
        broken.push_back("without items slot " + std::to_string(slot) + " holds " +
                         std::to_string(before[slot]));
        break;
      }
  } else if (!o.doors) {
    std::vector<int> sorted = before;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < kSlotCount; ++i)
      if (sorted[i] != i) {
        broken.push_back("the shuffled placement is not a permutation of 0..184");
        return broken;
      }
    for (int slot : PinnedSlots(o.chris ? Character::kChris : Character::kJill,
                                 o.hard ? Difficulty::kHard : Difficulty::kNormal))
      if (before[slot] != slot)
        broken.push_back("pinned slot " + std::to_string(slot) + " holds " +
                         std::to_string(before[slot]));
    for (int slot = 0; slot < kSlotCount; ++slot) {
      const auto forbidden = state.m_itemForbiddenAreas.find(before[slot]);
      if (forbidden != state.m_itemForbiddenAreas.end() &&
          Contains(forbidden->second, state.m_slotArea.at(slot)))
        broken.push_back("item " + std::to_string(before[slot]) + " in forbidden area " +
                         std::to_string(state.m_slotArea.at(slot)) + " (slot " +
                         std::to_string(slot) + ")");
    }
    const std::vector<int> closed =
        SlotsLeftClosed(before, state.m_slotArea, state.m_areaRequirements);
    if (!closed.empty())
      broken.push_back("the fixed-point search cannot open slots " + Join(closed));
    // The spoiler's search, written apart from this one, must agree.
    if (CollectSpheres(before, state.m_slotArea, state.m_areaRequirements).all_collected !=
        closed.empty())
      broken.push_back("the two fixed-point searches disagree");
  }

  // The modifiers only ever put a filler, the Self Defense Gun or the armed
  // capsule in place of an item, and leave nothing of a removed group.
  const std::set<int> replacements = {kFillerItems.begin(), kFillerItems.end()};
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const int was = before[slot], now = final_items[slot];
    if (was == now) continue;
    const bool allowed = (replacements.count(now) &&
                          (o.remove_healing || o.remove_ammo || o.remove_ink || o.remove_defence)) ||
                         (now == kSelfDefenseGun && o.swap_sdg) ||
                         (now == kArmedFuelCapsule && o.armed_capsule && was == kEmptyFuelCapsule);
    if (!allowed)
      broken.push_back("slot " + std::to_string(slot) + " changed from " + std::to_string(was) +
                       " to " + std::to_string(now) + " by the modifiers");
  }
  // The swap keeps the items that open an area; nothing else stays.
  std::set<int> needed;
  for (const auto& [area, lists] : state.m_areaRequirements)
    for (const auto& [index, items] : lists) needed.insert(items.begin(), items.end());
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const int item = final_items[slot];
    if (item < 0 || item >= static_cast<int>(state.m_itemNames.size())) continue;
    const std::string& name = state.m_itemNames[item];
    const bool healing = InGroup(kHealingItemNames, name), ammo = InGroup(kAmmunitionNames, name),
               ink = InGroup(kInkRibbonNames, name), defence = InGroup(kDefenceItemNames, name),
               further = InGroup(kFurtherSwapItemNames, name);
    if ((o.remove_healing && healing) || (o.remove_ammo && ammo) || (o.remove_ink && ink) ||
        (o.remove_defence && defence) ||
        (o.swap_sdg && (healing || ammo || ink || defence || further) && !needed.count(item)) ||
        (o.armed_capsule && item == kEmptyFuelCapsule))
      broken.push_back("slot " + std::to_string(slot) + " still holds \"" + name +
                       "\" after the modifiers");
  }
  // What the modifiers leave must still be collectable in full, the armed
  // capsule doing the empty one's work.
  if (o.items && !o.doors && broken.empty() && before != final_items) {
    std::vector<int> playable = final_items;
    std::replace(playable.begin(), playable.end(), kArmedFuelCapsule, kEmptyFuelCapsule);
    const std::vector<int> closed =
        SlotsLeftClosed(playable, state.m_slotArea, state.m_areaRequirements);
    if (!closed.empty())
      broken.push_back("after the modifiers the fixed-point search cannot open slots " +
                       Join(closed));
  }
  return broken;
}

std::vector<std::string> CheckLockSection(const CommandLineOptions& o,
                                          const ItemListContents& list) {
  const std::optional<std::vector<int>> locks =
      list.has_lock_section ? std::optional(list.locks) : std::nullopt;
  std::vector<std::string> broken;
  if (!o.locks) {
    if (locks) broken.push_back("a lock section without locks");
    return broken;
  }
  if (!locks) return {"no lock section with locks"};
  for (int type : *locks)
    if (type < 0 || type > 15) broken.push_back("lock type " + std::to_string(type));
  if (!broken.empty()) return broken;
  if (const std::vector<int> rules = BrokenLockRules(ToLockDeal(*locks)); !rules.empty())
    broken.push_back("the lock deal breaks rules " + Join(rules));
  return broken;
}

size_t IndexOf(const std::vector<std::string>& lines, std::string_view line) {
  return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

std::vector<std::string> CheckCheatSheet(const GeneratedSeed& seed,
                                         const ItemListContents& list) {
  const CommandLineOptions& o = seed.options;
  const GeneratorState& state = *seed.state;
  const std::optional<std::vector<std::string>> split = SplitCrLfLines(seed.cheat_sheet);
  if (!split) return {"the cheat sheet has a line that does not end in CR LF"};
  const std::vector<std::string>& lines = *split;
  std::vector<std::string> broken;
  if (lines.size() < 3 || lines[0] != state.m_versionText ||
      !lines[1].starts_with("Room names are taken from "))
    return {"the cheat sheet does not start with the version and credit lines"};

  const size_t enemies = IndexOf(lines, "ENEMY RANDO POSITIONS");
  const size_t doors = IndexOf(lines, "DOOR RANDO:");
  const size_t locks = IndexOf(lines, "LOCK RANDO:");
  const size_t path = IndexOf(lines, "***Path to Victory***");
  auto section = [&](const char* name, size_t at, bool wanted) {
    if ((at < lines.size()) != wanted)
      broken.push_back(std::string("cheat sheet section ") + name +
                       (wanted ? " missing" : " unexpected"));
  };
  section("ENEMY RANDO POSITIONS", enemies, o.enemies);
  section("DOOR RANDO:", doors, o.doors);
  section("LOCK RANDO:", locks, o.locks);
  section("***Path to Victory***", path, !o.doors);
  if (!broken.empty()) return broken;

  // Every item line names a slot's own item and the item the list puts there.
  std::set<std::string> expected;
  for (int slot = 0; slot < kSlotCount; ++slot)
    expected.insert("\t" + state.m_itemNames.at(slot) + " is replaced with " +
                    state.m_itemNames.at(list.items[slot]));
  int item_lines = 0;
  for (const std::string& line : lines) {
    if (line == "NOT USED IN DOOR RANDOMIZER") {
      if (o.chris || !o.doors) broken.push_back("\"NOT USED IN DOOR RANDOMIZER\" out of door mode");
      ++item_lines;
    } else if (line.find(" is replaced with ") != std::string::npos) {
      if (!expected.count(line)) broken.push_back("cheat sheet line not in the item list: " + line);
      ++item_lines;
    }
  }
  // Hard hides 37 slots, and for Chris 75 and 76 besides; Jill on Normal
  // hides slot 39.
  const int shown = kSlotCount - (o.hard ? 37 : 0) - (o.hard && o.chris ? 2 : 0) -
                    (!o.hard && !o.chris ? 1 : 0);
  if (item_lines != shown)
    broken.push_back("the cheat sheet has " + std::to_string(item_lines) + " item lines, not " +
                     std::to_string(shown));

  if (o.enemies) {
    const auto table = EnemyPositionTable();
    if (enemies + 2 + kEnemyPositions > lines.size() || !lines[enemies + 1].empty()) {
      broken.push_back("the enemy section of the cheat sheet is cut short");
    } else {
      for (int i = 0; i < kEnemyPositions; ++i) {
        const std::string want =
            std::string(table[i].name) + ":" + std::string(EnemyKindName(list.enemies[i]));
        if (lines[enemies + 2 + i] != want)
          broken.push_back("cheat sheet enemy line " + lines[enemies + 2 + i] + ", list says " +
                           want);
      }
    }
  }
  if (o.doors) {
    if (doors + 2 + kDoors > lines.size()) {
      broken.push_back("the door section of the cheat sheet is cut short");
    } else {
      for (int n = 0; n < kDoors; ++n) {
        const std::string want = std::string(kDoorTable[n].room) + ":" + std::to_string(n) +
                                 ":" + std::to_string(list.doors[n]);
        if (lines[doors + 2 + n] != want)
          broken.push_back("cheat sheet door line " + lines[doors + 2 + n] + ", list says " + want);
      }
    }
  }
  if (o.locks && list.has_lock_section) {
    if (locks + 1 + kLockPositions > lines.size()) {
      broken.push_back("the lock section of the cheat sheet is cut short");
    } else {
      for (int j = 0; j < kLockPositions; ++j) {
        const std::string& line = lines[locks + 1 + j];
        if (!line.ends_with(": " + std::string(LockTypeDisplayName(list.locks[j]))))
          broken.push_back("cheat sheet lock line " + line + ", list says type " +
                           std::to_string(list.locks[j]));
      }
    }
  }
  return broken;
}

}  // namespace

std::optional<std::vector<std::string>> SplitCrLfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) return std::nullopt;
    std::string line = bytes.substr(start, end - start);
    if (line.find_first_of("\r\n") != std::string::npos) return std::nullopt;
    lines.push_back(std::move(line));
    start = end + 2;
  }
  return lines;
}

std::vector<int> SlotsLeftClosed(const std::vector<int>& placement,
                                 const std::vector<int>& slot_area,
                                 const AreaRequirements& requirements) {
  std::set<int> collected;
  auto have_all = [&collected](const std::vector<int>& items) {
    return std::all_of(items.begin(), items.end(),
                       [&collected](int item) { return item == -1 || collected.count(item); });
  };
  auto area_met = [&](int area) {
    const auto lists = requirements.find(area);
    if (lists == requirements.end()) return true;
    if (const auto all = lists->second.find(0); all != lists->second.end() && !have_all(all->second))
      return false;
    bool any_alternative = false;
    for (int k = 1;; ++k) {
      const auto alternative = lists->second.find(k);
      if (alternative == lists->second.end() || alternative->second.empty()) break;
      any_alternative = true;
      if (have_all(alternative->second)) return true;
    }
    return !any_alternative;
  };
  std::vector<bool> open(placement.size(), false);
  for (bool changed = true; changed;) {
    changed = false;
    for (size_t slot = 0; slot < placement.size(); ++slot) {
      if (open[slot] || slot >= slot_area.size() || !area_met(slot_area[slot])) continue;
      open[slot] = true;
      collected.insert(placement[slot]);
      changed = true;
    }
  }
  std::vector<int> closed;
  for (size_t slot = 0; slot < placement.size(); ++slot)
    if (!open[slot]) closed.push_back(static_cast<int>(slot));
  return closed;
}

std::vector<std::string> CheckEnemySection(const CommandLineOptions& o,
                                           const std::vector<int>& enemies) {
  std::vector<std::string> broken;
  if (enemies.size() != static_cast<size_t>(kEnemyPositions)) return {"enemy section size"};
  if (!o.enemies) {
    for (int kind : enemies)
      if (kind != -1) return {"an enemy kind without enemies"};
    return broken;
  }
  const auto table = EnemyPositionTable();
  std::set<int> checked;
  for (int box : o.kinds) checked.insert(KindOfBox(box));
  auto many = [&o](int kind) {
    return (kind == kKindTyrant && o.tyrant == SpawnChoice::kMany) ||
           (kind == kKindYawn && o.yawn == SpawnChoice::kMany) ||
           (kind == kKindLisa && o.lisa == SpawnChoice::kMany);
  };
  std::map<int, int> count;
  for (int i = 0; i < kEnemyPositions; ++i) {
    const int kind = enemies[i];
    const auto allowed = table[i].allowed.kinds();
    auto allows = [&allowed](int k) { return std::find(allowed.begin(), allowed.end(), k) != allowed.end(); };
    ++count[kind];
    const std::string where = std::string(table[i].name) + " has kind " + std::to_string(kind);
    if (!(allows(kind) || (kind == kKindSlowTyrant && allows(kKindTyrant)))) {
      broken.push_back(where + ", which it does not allow");
      continue;
    }
    // An unchecked ordinary kind stays only where nothing else could be left.
    const bool ordinary = std::find(std::begin(kOrdinaryKinds), std::end(kOrdinaryKinds), kind) !=
                          std::end(kOrdinaryKinds);
    if (ordinary && !checked.count(kind)) {
      for (int other : allowed)
        if (other != kind && (checked.count(other) || many(other))) {
          broken.push_back(where + ", unchecked, while it allows " + std::to_string(other));
          break;
        }
    }
  }
  auto spawns = [&](const char* name, SpawnChoice choice, int placed) {
    const bool fine = choice == SpawnChoice::kNone  ? placed == 0
                      : choice == SpawnChoice::kOne ? placed == 1
                                                    : placed >= 1;
    if (!fine) broken.push_back(std::string(name) + " placed " + std::to_string(placed) + " times");
  };
  spawns("Tyrant", o.tyrant, count[kKindTyrant] + count[kKindSlowTyrant]);
  spawns("Yawn", o.yawn, count[kKindYawn]);
  spawns("Lisa", o.lisa, count[kKindLisa]);
  if (o.tyrant_type == TyrantType::kFast && count[kKindSlowTyrant] != 0)
    broken.push_back("a slow Tyrant with the fast type");
  if (o.tyrant_type == TyrantType::kSlow && count[kKindTyrant] != 0)
    broken.push_back("a fast Tyrant with the slow type");
  return broken;
}

std::vector<std::string> CheckDoorSection(const CommandLineOptions& o,
                                          const std::vector<int>& doors) {
  if (doors.size() != static_cast<size_t>(kDoors)) return {"door section size"};
  if (!o.doors) {
    for (int value : doors)
      if (value != -1) return {"a door value without doors"};
    return {};
  }
  std::vector<std::string> broken;
  std::set<int> fixed;
  for (const FixedDoor& door : kFixedDoors)
    if (door.value) fixed.insert(door.door);
  auto partner = [](int door) { return door < 0 || door >= kDoors ? -1 : kDoorTable[door].partner; };
  auto two_way = [&](int door) { return door >= 0 && partner(partner(door)) == door; };
  for (int s = 0; s < kDoors; ++s) {
    const int v = doors[s];
    if (v < -1 || v >= kDoors) {
      broken.push_back("door " + std::to_string(s) + " has value " + std::to_string(v));
      continue;
    }
    // Door s leads along the passage of door v to door b = partner(v); the
    // way back from b must lead to s.
    if (v == -1 || fixed.count(s) || !two_way(s) || !two_way(v)) continue;
    const int b = partner(v);
    if (doors[b] != partner(s))
      broken.push_back("door " + std::to_string(s) + " leads to door " + std::to_string(b) +
                       ", which leads back along " + std::to_string(doors[b]) + ", not " +
                       std::to_string(partner(s)));
  }

  std::set<std::string_view> reached = {"Main Hall"};
  std::vector<std::string_view> queue = {"Main Hall"};
  while (!queue.empty()) {
    const std::string_view room = queue.back();
    queue.pop_back();
    for (int s = 0; s < kDoors; ++s) {
      if (kDoorTable[s].room != room) continue;
      const int arrival = partner(doors[s]);
      if (arrival < 0) continue;
      if (reached.insert(kDoorTable[arrival].room).second) queue.push_back(kDoorTable[arrival].room);
    }
  }
  std::vector<std::string_view> placed(std::begin(kMultiDoorRooms), std::end(kMultiDoorRooms));
  placed.insert(placed.end(), std::begin(kSingleDoorRooms), std::end(kSingleDoorRooms));
  placed.insert(placed.end(), std::begin(kTeaRoomAndNorthernCorridor),
                std::end(kTeaRoomAndNorthernCorridor));
  placed.insert(placed.end(), std::begin(kStartRooms), std::end(kStartRooms));
  for (std::string_view room : placed)
    if (!reached.count(room))
      broken.push_back("room \"" + std::string(room) + "\" cannot be reached from the Main Hall");
  return broken;
}

std::vector<std::string> CheckSeed(const GeneratedSeed& seed) {
  // The verifier's reader reads the file's form, and the verifier, which
  // judges the file alone with the game's tables, must find it sound.
  const ItemListReadResult read = ReadItemList(seed.item_list);
  if (!read.contents)
    return {"the item list does not read: " +
            (read.problem ? read.problem->message : std::string("no reason"))};
  const ItemListContents& list = *read.contents;
  if (list.has_lock_section != seed.options.locks)
    return {"the item list has " + std::to_string(list.has_lock_section ? 543 : 504) + " lines"};

  std::vector<std::string> broken = CheckPlacementSection(seed, list.items);
  auto add = [&broken](std::vector<std::string> more) {
    broken.insert(broken.end(), more.begin(), more.end());
  };
  const VerifyResult verdict =
      VerifyItemList(seed.item_list, seed.options.chris ? Character::kChris : Character::kJill,
                     seed.options.hard ? Difficulty::kHard : Difficulty::kNormal);
  if (verdict.status != kVerifySound)
    broken.push_back("the verifier finds the seed unsound: line " +
                     std::to_string(verdict.problem ? verdict.problem->line : 0) + ": " +
                     (verdict.problem ? verdict.problem->message : std::string()));
  add(CheckEnemySection(seed.options, list.enemies));
  add(CheckDoorSection(seed.options, list.doors));
  add(CheckLockSection(seed.options, list));
  add(CheckCheatSheet(seed, list));
  return broken;
}

}  // namespace velmora
