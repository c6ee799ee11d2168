#include "output/SpoilerJson.h"

#include <algorithm>
#include <climits>
#include <map>
#include <nlohmann/json.hpp>
#include <utility>

#include "app/ControlIds.h"
#include "app/VelmoraDlg.h"
#include "app/Version.h"
#include "catalogue/AreaNeeds.h"
#include "catalogue/ItemNames.h"
#include "catalogue/LockTypes.h"
#include "doors/DoorTables.h"
#include "doors/LockPositions.h"
#include "enemies/EnemyPositions.h"
#include "items/Spheres.h"
#include "output/CheatSheet.h"
#include "output/ItemList.h"
#include "output/PlacementHash.h"

namespace velmora {
namespace {

// Keys stay in the order they are written, which is the order a reader meets
// them in.
using Json = nlohmann::ordered_json;

constexpr int kNoItem = -1;
constexpr int kNeverEntered = -1;

struct KindBox {
  int id;
  const char* name;
};

// The enemy kind boxes by the names the command line gives them.
constexpr KindBox kKindBoxes[] = {
    {kIdZombies, "zombies"}, {kIdDogs, "dogs"},
    {kIdHunters, "hunters"}, {kIdSpiders, "spiders"},
    {kIdSharks, "sharks"},   {kIdBees, "bees"},
    {kIdChimera, "chimera"}, {kIdElderCrimsonHeads, "elder-crimson-heads"},
};

// The label of a lock position without the separator the cheat sheet prints
// before the lock's name.
std::string LockLabel(std::string_view label) {
  while (!label.empty() && (label.back() == ' ' || label.back() == ':')) label.remove_suffix(1);
  return std::string(label);
}

class SpoilerWriter {
 public:
  SpoilerWriter(const CVelmoraDlg& dialog, const std::string& settings)
      : dlg_(dialog),
        settings_(settings),
        headings_(SlotRoomHeadings(dialog.SelectedCharacter(), dialog.SelectedDifficulty())),
        enemies_(dialog.IsChecked(kIdEnemies)),
        doors_(dialog.IsChecked(kIdDoors)),
        locks_(dialog.IsChecked(kIdLocks)) {}

  Json Write() {
    const std::string item_list = FormatItemList(dlg_, enemies_, doors_, locks_);
    Json out;
    out["version"] = dlg_.m_versionText;
    // "version" is the cheat sheet's text; this names the program that made
    // the file, so that two spoilers can be told apart by their builds.
    out["program"] = Json{{"version", kVersion}, {"commit", kCommit}, {"commit_date", kCommitDate}};
    out["settings"] = settings_;
    out["seed"] = dlg_.seed();
    out["hash"] = PlacementHash(item_list);
    out["options"] = Options();
    out["item_attempts"] = dlg_.m_itemAttempts;
    out["slots"] = Slots();
    out["enemies"] = enemies_ ? Enemies() : Json();
    out["doors"] = doors_ ? Doors() : Json();
    out["locks"] = locks_ ? Locks() : Json();
    out["playthrough"] = Playthrough();
    return out;
  }

 private:
  std::string Name(int id) const {
    if (id >= 0 && static_cast<size_t>(id) < dlg_.m_itemNames.size()) return dlg_.m_itemNames[id];
    if (id == kNoItem) return "Lockpick";
    return "Unknown item " + std::to_string(id);
  }

  Json Item(int id) const { return Json{{"id", id}, {"name", Name(id)}}; }

  std::string Spawn(int one, int many) const {
    return dlg_.IsChecked(one) ? "one" : dlg_.IsChecked(many) ? "many" : "none";
  }

  Json Options() const {
    Json options;
    options["character"] = dlg_.SelectedCharacter() == Character::kChris ? "Chris" : "Jill";
    options["difficulty"] = dlg_.SelectedDifficulty() == Difficulty::kHard ? "Hard" : "Normal";
    options["items"] = dlg_.IsChecked(kIdItems);
    options["enemies"] = enemies_;
    options["doors"] = doors_;
    options["locks"] = locks_;
    if (enemies_) {
      Json panel;
      Json kinds = Json::array();
      for (const KindBox& box : kKindBoxes)
        if (dlg_.IsChecked(box.id)) kinds.push_back(box.name);
      panel["kinds"] = kinds;
      panel["tyrant"] = Spawn(kIdTyrantOne, kIdTyrantMany);
      panel["yawn"] = Spawn(kIdYawnOne, kIdYawnMany);
      panel["lisa"] = Spawn(kIdLisaOne, kIdLisaMany);
      panel["tyrant_type"] = dlg_.IsChecked(kIdTyrantFast)   ? "fast"
                             : dlg_.IsChecked(kIdTyrantSlow) ? "slow"
                                                             : "random";
      options["enemy_panel"] = panel;
    } else {
      options["enemy_panel"] = nullptr;
    }
    options["remove_healing"] = dlg_.IsChecked(kIdRemoveHealing);
    options["remove_ammo"] = dlg_.IsChecked(kIdRemoveAmmo);
    options["remove_ink_ribbons"] = dlg_.IsChecked(kIdRemoveInkRibbons);
    options["remove_defence"] = dlg_.IsChecked(kIdRemoveDefence);
    options["swap_self_defense_gun"] = dlg_.IsChecked(kIdSwapSelfDefenseGun);
    options["armed_fuel_capsule"] = dlg_.IsChecked(kIdArmedCapsule);
    return options;
  }

  int Area(int slot) const {
    return static_cast<size_t>(slot) < dlg_.m_slotArea.size() ? dlg_.m_slotArea[slot] : -1;
  }

  Json Slots() const {
    Json slots = Json::array();
    for (size_t slot = 0; slot < dlg_.m_placement.size(); ++slot) {
      const int s = static_cast<int>(slot);
      Json entry;
      entry["slot"] = s;
      entry["room"] = slot < headings_.size() ? headings_[slot] : "";
      entry["area"] = Area(s);
      entry["original_item"] = Item(s);
      entry["new_item"] = Item(dlg_.m_placement[slot]);
      if (doors_)
        entry["used_in_door_mode"] =
            std::find(dlg_.m_doorModeSlots.begin(), dlg_.m_doorModeSlots.end(), s) !=
            dlg_.m_doorModeSlots.end();
      slots.push_back(std::move(entry));
    }
    return slots;
  }

  Json Enemies() const {
    Json enemies = Json::array();
    for (const auto& [position, kinds] : dlg_.m_enemyPositions) {
      const int kind = kinds.empty() ? -1 : kinds.front();
      enemies.push_back(
          Json{{"position", position}, {"kind", kind}, {"name", std::string(EnemyKindName(kind))}});
    }
    return enemies;
  }

  Json Doors() const {
    std::map<int, std::pair<const std::string*, int>> doors;
    for (const auto& [room, room_doors] : dlg_.m_roomDoors)
      for (const auto& [door, value] : room_doors) doors.emplace(door, std::pair{&room, value});
    Json out = Json::array();
    for (const auto& [door, where] : doors) {
      // A door with value t takes the game passage of door t, which arrives
      // at t's partner; -1 takes no passage.
      const int to = where.second < 0 ? -1 : VanillaPartner(where.second);
      const auto arrival = doors.find(to);
      out.push_back(Json{{"door", door},
                         {"room", *where.first},
                         {"value", where.second},
                         {"leads_to", arrival == doors.end()
                                          ? Json()
                                          : Json{{"room", *arrival->second.first}, {"door", to}}}});
    }
    return out;
  }

  Json Locks() const {
    Json locks = Json::array();
    for (size_t position = 0; position < dlg_.m_lockTypes.size(); ++position) {
      const int type = dlg_.m_lockTypes[position];
      locks.push_back(Json{
          {"position", position},
          {"label", position < kLockPositions.size() ? LockLabel(kLockPositions[position].label)
                                                     : std::string()},
          {"type", type},
          {"name", std::string(LockTypeDisplayName(type))}});
    }
    return locks;
  }

  Json Names(std::span<const int> items) const {
    Json names = Json::array();
    for (int item : items) names.push_back(Name(item));
    return names;
  }

  Json Needs(int area) const {
    const AreaNeeds needs = NeedsOf(dlg_.m_areaRequirements, area);
    Json one_of = Json::array();
    for (const std::span<const int> alternative : needs.alternatives)
      one_of.push_back(Names(alternative));
    return Json{{"all", Names(needs.all)}, {"one_of", one_of}};
  }

  Json Playthrough() const {
    Json playthrough;
    const std::optional<Spheres> spheres = PlaythroughSpheres(dlg_);
    if (!spheres) {
      playthrough["spheres"] = nullptr;
      playthrough["note"] =
          "Door seeds have no playthrough: their items are placed without the progression "
          "rules, which do not follow the rewired doors.";
      return playthrough;
    }
    const bool armed = std::find(dlg_.m_placement.begin(), dlg_.m_placement.end(),
                                 kEmptyFuelCapsule) == dlg_.m_placement.end();
    const std::vector<int> slot_rounds = SlotRounds(dlg_, spheres->rounds);
    Json rounds = Json::array();
    for (size_t round = 0; round < spheres->rounds.size(); ++round) {
      Json items = Json::array();
      for (int found : spheres->rounds[round]) {
        const int item = armed && found == kEmptyFuelCapsule ? kArmedFuelCapsule : found;
        // The places where this round finds the item; copies of it that lie
        // in later rounds' areas are listed under the rounds of their own.
        Json found_at = Json::array();
        for (size_t slot = 0; slot < dlg_.m_placement.size(); ++slot) {
          if (dlg_.m_placement[slot] != item || slot_rounds[slot] != static_cast<int>(round))
            continue;
          const int s = static_cast<int>(slot);
          found_at.push_back(Json{{"slot", s},
                                  {"room", slot < headings_.size() ? headings_[slot] : ""},
                                  {"area", Area(s)},
                                  {"needs", Needs(Area(s))}});
        }
        Json entry = Item(item);
        entry["found_at"] = std::move(found_at);
        items.push_back(std::move(entry));
      }
      rounds.push_back(Json{{"sphere", round}, {"items", std::move(items)}});
    }
    playthrough["spheres"] = std::move(rounds);
    playthrough["all_items_collected"] = spheres->all_collected;
    return playthrough;
  }

  const CVelmoraDlg& dlg_;
  const std::string& settings_;
  const std::vector<std::string> headings_;
  const bool enemies_, doors_, locks_;
};

}  // namespace

std::vector<int> SlotRounds(const GeneratorState& state,
                            const std::vector<std::vector<int>>& item_rounds) {
  std::map<int, int> round_of;
  for (size_t round = 0; round < item_rounds.size(); ++round)
    for (int item : item_rounds[round]) round_of.emplace(item, static_cast<int>(round));

  // The round after which every item of `items` is collected: -1 for none
  // needed, INT_MAX when one of them never is.
  auto last_round = [&](std::span<const int> items) {
    int last = -1;
    for (int item : items) {
      if (item == kNoItem) continue;
      const auto it = round_of.find(item);
      last = std::max(last, it == round_of.end() ? INT_MAX : it->second);
    }
    return last;
  };

  std::vector<int> rounds(state.m_placement.size(), kNeverEntered);
  for (size_t slot = 0; slot < state.m_placement.size() && slot < state.m_slotArea.size(); ++slot) {
    const AreaNeeds needs = NeedsOf(state.m_areaRequirements, state.m_slotArea[slot]);
    int ready = last_round(needs.all);
    if (!needs.alternatives.empty()) {
      int soonest = INT_MAX;
      for (const std::span<const int> alternative : needs.alternatives)
        soonest = std::min(soonest, last_round(alternative));
      ready = std::max(ready, soonest);
    }
    if (ready != INT_MAX) rounds[slot] = ready + 1;
  }
  return rounds;
}

std::optional<Spheres> PlaythroughSpheres(const CVelmoraDlg& dialog) {
  if (dialog.IsChecked(kIdDoors)) return std::nullopt;
  // The armed fuel capsule takes the place of the empty one, which the area
  // rules name: the search counts it as the empty capsule.
  std::vector<int> placement = dialog.m_placement;
  if (std::find(placement.begin(), placement.end(), kEmptyFuelCapsule) == placement.end())
    std::replace(placement.begin(), placement.end(), kArmedFuelCapsule, kEmptyFuelCapsule);
  return CollectSpheres(placement, dialog.m_slotArea, dialog.m_areaRequirements);
}

std::string FormatSpoilerJson(const CVelmoraDlg& dialog, const std::string& settings) {
  return SpoilerWriter(dialog, settings)
             .Write()
             .dump(2, ' ', false, Json::error_handler_t::replace) +
         "\n";
}

}  // namespace velmora
