#include "verify/SeedSense.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "catalogue/AreaNeeds.h"
#include "catalogue/AreaTables.h"
#include "catalogue/ItemNames.h"
#include "catalogue/LockTypes.h"
#include "doors/DoorTables.h"
#include "doors/LockPositions.h"
#include "doors/LockRequirements.h"
#include "doors/LockShuffle.h"
#include "doors/LockStage.h"
#include "enemies/EnemyPositions.h"
#include "items/Pins.h"
#include "items/Spheres.h"

namespace velmora {
namespace {

std::optional<ItemListProblem> At(int line, std::string message) {
  return ItemListProblem{line, std::move(message)};
}

int ItemLine(int slot) { return kFirstItemLine + slot; }
int EnemyLine(int position) { return kFirstEnemyLine + position; }
int DoorLine(int door) { return kFirstDoorLine + door; }
int LockLine(int position) { return kFirstLockLine + position; }

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string List(std::span<const int> values) {
  std::string text;
  for (int value : values) text += (text.empty() ? "" : ", ") + std::to_string(value);
  return text;
}

// --- Options ---

std::optional<ItemListProblem> CheckCombination(const ItemListContents& list,
                                                Difficulty difficulty) {
  if (!list.doors_randomized()) return std::nullopt;
  if (difficulty == Difficulty::kHard)
    return At(kFirstDoorLine,
              "door values in a Hard item list; door seeds are always Normal, so expected 264 "
              "lines of -1");
  if (list.has_lock_section)
    return At(kLockMarkerLine,
              "a lock section in a seed with door values; door seeds keep the game's locks");
  return std::nullopt;
}

// --- Enemies ---

std::optional<ItemListProblem> CheckEnemies(const ItemListContents& list) {
  if (!list.enemies_randomized()) return std::nullopt;
  const auto table = EnemyPositionTable();
  for (size_t i = 0; i < table.size() && i < list.enemies.size(); ++i) {
    const std::span<const EnemyKind> allowed = table[i].allowed.kinds();
    auto allows = [&allowed](EnemyKind kind) {
      return std::find(allowed.begin(), allowed.end(), kind) != allowed.end();
    };
    const int kind = list.enemies[i];
    // The slow Tyrant stands wherever a Tyrant may.
    if (allows(kind) || (kind == kKindSlowTyrant && allows(kKindTyrant))) continue;
    std::string names;
    for (EnemyKind k : allowed) names += (names.empty() ? "" : ", ") + std::string(EnemyKindName(k));
    if (allows(kKindTyrant)) names += ", " + std::string(EnemyKindName(kKindSlowTyrant));
    return At(EnemyLine(static_cast<int>(i)),
              "enemy kind " + std::to_string(kind) + " (" + std::string(EnemyKindName(kind)) +
                  ") may not stand at " + Quoted(table[i].name) + "; expected one of " + names);
  }
  return std::nullopt;
}

// --- Doors ---

std::string_view RoomOf(int door) { return kDoorTable[door].room; }

std::string DoorText(int door) {
  return "door " + std::to_string(door) + " (" + Quoted(RoomOf(door)) + ")";
}

/// The rooms the door pass places or starts from: every room whose doors it
/// rewires.
std::set<std::string_view> PlacedRooms() {
  std::set<std::string_view> rooms(std::begin(kStartRooms), std::end(kStartRooms));
  rooms.insert(std::begin(kMultiDoorRooms), std::end(kMultiDoorRooms));
  rooms.insert(std::begin(kTeaRoomAndNorthernCorridor), std::end(kTeaRoomAndNorthernCorridor));
  rooms.insert(std::begin(kSingleDoorRooms), std::end(kSingleDoorRooms));
  return rooms;
}

/// Door -> the value it keeps in every seed for `character`.
std::map<int, int> FixedDoorValues(Character character) {
  std::map<int, int> fixed;
  for (const FixedDoor& door : kFixedDoors) {
    if (!door.value) continue;
    if (door.play == FixedDoorPlay::kOutOfPlayForChris && character != Character::kChris) continue;
    fixed[door.door] = *door.value;
  }
  return fixed;
}

std::optional<ItemListProblem> CheckDoors(const ItemListContents& list, Character character) {
  if (!list.doors_randomized()) return std::nullopt;
  const std::vector<int>& value = list.doors;
  const std::set<std::string_view> placed_rooms = PlacedRooms();
  const std::map<int, int> fixed = FixedDoorValues(character);

  // Doors that keep their value: the fixed ones and those of rooms the pass
  // never places, which lead back to themselves.
  std::vector<bool> rewired(kDoorCount, false);
  for (int door = 0; door < kDoorCount; ++door) {
    if (const auto it = fixed.find(door); it != fixed.end()) {
      if (value[door] != it->second)
        return At(DoorLine(door), DoorText(door) + " holds " + std::to_string(value[door]) +
                                      "; it keeps " + std::to_string(it->second) +
                                      " in every seed");
    } else if (!placed_rooms.contains(RoomOf(door))) {
      if (value[door] != VanillaPartner(door))
        return At(DoorLine(door),
                  DoorText(door) + " holds " + std::to_string(value[door]) +
                      "; its room is never rewired, so expected its partner " +
                      std::to_string(VanillaPartner(door)) + " (the door leads back to itself)");
    } else {
      rewired[door] = true;
    }
  }

  // A rewired door a with value v leads to b = partner(v); b must be another
  // rewired door whose value leads back: partner(a).
  for (int a = 0; a < kDoorCount; ++a) {
    if (!rewired[a]) continue;
    const int b = VanillaPartner(value[a]);
    if (b < 0)
      return At(DoorLine(a), DoorText(a) + " holds " + std::to_string(value[a]) +
                                 ", which leads nowhere; expected the partner of the door it "
                                 "is joined to");
    if (b == a)
      return At(DoorLine(a), DoorText(a) + " holds " + std::to_string(value[a]) +
                                 " and so leads back to itself; a rewired door leads to "
                                 "another door");
    if (!rewired[b])
      return At(DoorLine(a), DoorText(a) + " holds " + std::to_string(value[a]) +
                                 " and so leads to " + DoorText(b) +
                                 ", which is not rewired; expected a rewired door");
    if (value[b] != VanillaPartner(a))
      return At(DoorLine(a), DoorText(a) + " leads to " + DoorText(b) + ", but door " +
                                 std::to_string(b) + " holds " + std::to_string(value[b]) +
                                 "; expected " + std::to_string(VanillaPartner(a)) +
                                 " so that it leads back");
  }

  std::set<std::string_view> reached = {"Main Hall"};
  std::vector<std::string_view> queue = {"Main Hall"};
  while (!queue.empty()) {
    const std::string_view room = queue.back();
    queue.pop_back();
    for (int door = 0; door < kDoorCount; ++door) {
      if (RoomOf(door) != room) continue;
      const int arrival = VanillaPartner(value[door]);
      if (arrival >= 0 && reached.insert(RoomOf(arrival)).second) queue.push_back(RoomOf(arrival));
    }
  }
  for (int door = 0; door < kDoorCount; ++door) {
    if (rewired[door] && !reached.contains(RoomOf(door)))
      return At(DoorLine(door), Quoted(RoomOf(door)) +
                                    " cannot be reached from \"Main Hall\"; expected every "
                                    "placed room to be");
  }
  return std::nullopt;
}

// --- Locks ---

/// What each lock rule forbids, and the position whose line names it.
struct LockRuleText {
  int position;
  std::string_view text;
};
constexpr LockRuleText kLockRuleTexts[] = {
    {1, "positions 1 and 6 are both reversed (7 or 9)"},
    {1, "positions 1 to 4 are all one-way (6 or 8) while position 13 is reversed (7 or 9)"},
    {3, "positions 3 and 13 are both reversed (7 or 9)"},
    {30, "position 30 holds neither 6 nor 15"},
    {26, "position 26 holds neither 6 nor 15 while position 8 holds neither 7 nor 15"},
    {15, "position 15 holds 7, 8 or 15 while neither position 10 nor 28 holds 7 or 15"},
    {15, "position 15 holds a lock that neither position 10 nor 28 shares, and neither of them "
         "holds 7 or 15"},
    {10, "position 10 holds 7, 8 or 15 while neither position 22 nor 28 holds 7 or 15"},
    {10, "position 10 holds a lock that neither position 22 nor 28 shares, and neither of them "
         "holds 7 or 15"},
};

/// The type a lock is dealt as: a reversed door counts as the door.
int DealtAs(int type) { return type == 7 ? 6 : type == 9 ? 8 : type; }

std::optional<ItemListProblem> CheckLocks(const ItemListContents& list, Character character,
                                          Difficulty difficulty) {
  if (!list.has_lock_section) return std::nullopt;
  const std::vector<int>& types = list.locks;

  for (int p = 0; p < kLockPositionCount; ++p) {
    if ((types[p] == 7 || types[p] == 9) && !IsReversibleLockPosition(p))
      return At(LockLine(p), "lock position " + std::to_string(p) + " holds " +
                                 std::to_string(types[p]) + " (" +
                                 std::string(LockTypeDisplayName(types[p])) +
                                 "), but its door cannot be turned around; expected " +
                                 std::to_string(DealtAs(types[p])));
  }
  std::array<int, 16> wanted{}, seen{};
  for (int type : kUnshuffledLockTypes) ++wanted[type];
  for (int p = 0; p < kLockPositionCount; ++p) {
    const int type = DealtAs(types[p]);
    if (++seen[type] > wanted[type])
      return At(LockLine(p), "lock type " + std::to_string(types[p]) + " (" +
                                 std::string(LockTypeDisplayName(types[p])) + ") appears " +
                                 std::to_string(seen[type]) + " times by here; the game's " +
                                 "deal has " + std::to_string(wanted[type]) + " of it");
  }
  // With 38 positions, no type above its count means every count is met.

  const LockDeal deal = ToLockDeal(types);
  for (int rule : BrokenLockRules(deal)) {
    const LockRuleText& broken = kLockRuleTexts[rule - 1];
    return At(LockLine(broken.position),
              "the deal breaks lock rule " + std::to_string(rule) + ": " + std::string(broken.text));
  }

  const LogSink discard = [](std::string_view) {};
  LockGates gates = BuildLockGates(deal, character, discard);
  const AreaRequirements requirements = DeriveLockRequirements(deal, gates, character, discard);
  const std::vector<int> stuck = UnreachablePinnedItems(requirements, SlotAreas(character, true),
                                                        PinnedSlots(character, difficulty));
  if (!stuck.empty())
    return At(kLockMarkerLine, "the deal leaves pinned item " + std::to_string(stuck.front()) +
                                   " out of reach even with every other item; expected every " +
                                   "pinned item to be reachable");
  return std::nullopt;
}

// --- Items ---

class ItemRules {
 public:
  ItemRules(Character character, Difficulty difficulty)
      : names_(ItemNames(character, difficulty)) {}

  std::string Text(int id) const {
    const std::string name =
        id >= 0 && static_cast<size_t>(id) < names_.size() ? names_[id] : std::string("?");
    return "item " + std::to_string(id) + " (" + Quoted(name) + ")";
  }

  /// Whether a pool modifier can take `id` out of the placement.
  bool Removable(int id) const { return InAnyGroup(names_[id]); }

  /// Whether `found` can stand where the placement put `id`: the item
  /// itself, or what a pool modifier makes of it.
  bool Becomes(int id, int found) const {
    if (found == id) return true;
    if (id == kEmptyFuelCapsule && found == kArmedFuelCapsule) return true;
    if (!Removable(id)) return false;
    return found == kSelfDefenseGun ||
           std::find(kFillerItems.begin(), kFillerItems.end(), found) != kFillerItems.end();
  }

  /// Whether a pool modifier can put `id` into any number of slots.
  static bool MadeByModifiers(int id) {
    return id == kSelfDefenseGun ||
           std::find(kFillerItems.begin(), kFillerItems.end(), id) != kFillerItems.end();
  }

 private:
  template <typename Group>
  static bool In(const Group& group, const std::string& name) {
    return std::find(group.begin(), group.end(), name) != group.end();
  }
  static bool InAnyGroup(const std::string& name) {
    return In(kHealingItemNames, name) || In(kAmmunitionNames, name) ||
           In(kInkRibbonNames, name) || In(kDefenceItemNames, name) ||
           In(kFurtherSwapItemNames, name);
  }

  std::vector<std::string> names_;
};

/// The tables the file implies: plain, or those of its lock deal.
struct AreaTables {
  std::vector<int> slot_area;
  std::map<int, std::vector<int>> forbidden;
  AreaRequirements requirements;
};

AreaTables TablesFor(const ItemListContents& list, Character character) {
  AreaTables tables;
  tables.slot_area = SlotAreas(character, list.has_lock_section);
  if (!list.has_lock_section) {
    tables.forbidden = PlainForbiddenAreas(character);
    tables.requirements = PlainAreaRequirements(character);
    return tables;
  }
  tables.forbidden[kFuseUnit] = LockModeFuseForbiddenAreas();
  const LogSink discard = [](std::string_view) {};
  const LockDeal deal = ToLockDeal(list.locks);
  LockGates gates = BuildLockGates(deal, character, discard);
  tables.requirements = DeriveLockRequirements(deal, gates, character, discard);
  return tables;
}

std::string NeedsText(int area, const AreaRequirements& requirements) {
  const AreaNeeds lists = NeedsOf(requirements, area);
  std::string text = "area " + std::to_string(area) + ", which needs ";
  std::string needs;
  if (!lists.all.empty()) needs = List(lists.all);
  std::string alternatives;
  for (const std::span<const int> alternative : lists.alternatives)
    alternatives += (alternatives.empty() ? "" : " or ") + ("{" + List(alternative) + "}");
  if (!alternatives.empty())
    needs += (needs.empty() ? "" : " and ") + ("one of " + alternatives);
  return text + (needs.empty() ? "nothing" : needs);
}

std::optional<ItemListProblem> CheckItems(const ItemListContents& list, Character character,
                                          Difficulty difficulty, SeedSense& sense) {
  const std::vector<int>& items = list.items;
  const ItemRules rules(character, difficulty);
  const int slots = static_cast<int>(items.size());

  if (list.doors_randomized()) {
    sense.placement = PlacementKind::kDoorMode;
    return std::nullopt;
  }
  for (int slot = 0; slot < slots; ++slot) {
    if (items[slot] == kDoorModeShotgun)
      return At(ItemLine(slot), rules.Text(kDoorModeShotgun) +
                                    " is handed out only in door seeds; expected an item of the "
                                    "game at slot " + std::to_string(slot));
  }

  // A permutation, apart from what the pool modifiers change. The armed
  // capsule stands for the empty one.
  std::vector<int> first_slot(kItemCount, -1);
  for (int slot = 0; slot < slots; ++slot) {
    const int id = items[slot] == kArmedFuelCapsule ? kEmptyFuelCapsule : items[slot];
    if (first_slot[id] >= 0 && !ItemRules::MadeByModifiers(id))
      return At(ItemLine(slot), rules.Text(items[slot]) + " lies at slot " +
                                    std::to_string(slot) + " and already at slot " +
                                    std::to_string(first_slot[id]) + " (line " +
                                    std::to_string(ItemLine(first_slot[id])) +
                                    "); expected each item in one slot");
    if (first_slot[id] < 0) first_slot[id] = slot;
  }
  for (int id = 0; id < kSlotCount; ++id) {
    if (first_slot[id] < 0 && !rules.Removable(id))
      return At(0, rules.Text(id) + " lies in no slot; expected every item that no pool "
                                    "modifier removes in one of lines 1 to 185");
  }

  for (int slot : PinnedSlots(character, difficulty)) {
    if (!rules.Becomes(slot, items[slot]))
      return At(ItemLine(slot), "slot " + std::to_string(slot) + " is pinned and holds " +
                                    rules.Text(items[slot]) + "; expected its own " +
                                    rules.Text(slot));
  }

  const AreaTables tables = TablesFor(list, character);
  for (int slot = 0; slot < slots; ++slot) {
    const int id = items[slot] == kArmedFuelCapsule ? kEmptyFuelCapsule : items[slot];
    const auto forbidden = tables.forbidden.find(id);
    const int area = tables.slot_area[slot];
    if (forbidden != tables.forbidden.end() &&
        std::find(forbidden->second.begin(), forbidden->second.end(), area) != forbidden->second.end())
      return At(ItemLine(slot), rules.Text(items[slot]) + " lies at slot " +
                                    std::to_string(slot) + " in area " + std::to_string(area) +
                                    ", where it may never lie");
  }

  bool kept = true;
  for (int slot = 0; slot < slots && kept; ++slot) kept = rules.Becomes(slot, items[slot]);
  if (kept) {
    sense.placement = PlacementKind::kKept;
    return std::nullopt;
  }
  sense.placement = PlacementKind::kShuffled;

  std::vector<int> placement(items);
  for (int& id : placement)
    if (id == kArmedFuelCapsule) id = kEmptyFuelCapsule;
  const Spheres spheres = CollectSpheres(placement, tables.slot_area, tables.requirements);
  sense.spheres = static_cast<int>(spheres.rounds.size());
  std::set<int> collected;
  for (const std::vector<int>& round : spheres.rounds) collected.insert(round.begin(), round.end());

  const std::set<int> areas_with_slots(tables.slot_area.begin(), tables.slot_area.end());
  std::map<int, int> needed_by;  // item -> the first area with slots that names it
  for (const auto& [area, lists] : tables.requirements) {
    if (!areas_with_slots.contains(area)) continue;
    for (const auto& [index, ids] : lists)
      for (int id : ids)
        if (id >= 0 && id < kSlotCount) needed_by.emplace(id, area);
  }
  for (const auto& [id, area] : needed_by) {
    if (collected.contains(id)) continue;
    if (first_slot[id] < 0)
      return At(0, rules.Text(id) + ", which area " + std::to_string(area) +
                       " needs, lies in no slot");
    const int slot = first_slot[id];
    return At(ItemLine(slot),
              rules.Text(id) + " at slot " + std::to_string(slot) + " cannot be reached: it lies in " +
                  NeedsText(tables.slot_area[slot], tables.requirements) + "; " +
                  std::to_string(spheres.rounds.size()) + " spheres collect " +
                  std::to_string(collected.size()) + " items and stop");
  }
  return std::nullopt;
}

}  // namespace

SeedSense CheckSeedSense(const ItemListContents& list, Character character, Difficulty difficulty) {
  SeedSense sense;
  if (list.items.size() != static_cast<size_t>(kSlotCount) || list.enemies.size() != 53 ||
      list.doors.size() != static_cast<size_t>(kDoorCount) ||
      (list.has_lock_section && list.locks.size() != static_cast<size_t>(kLockPositionCount))) {
    sense.problem = ItemListProblem{0, "the sections do not have 185, 53, 264 and 38 lines"};
    return sense;
  }
  sense.problem = CheckCombination(list, difficulty);
  if (!sense.problem) sense.problem = CheckEnemies(list);
  if (!sense.problem) sense.problem = CheckDoors(list, character);
  if (!sense.problem) sense.problem = CheckLocks(list, character, difficulty);
  if (!sense.problem) sense.problem = CheckItems(list, character, difficulty, sense);
  return sense;
}

}  // namespace velmora
