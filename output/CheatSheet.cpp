#include "output/CheatSheet.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

#include "app/ControlIds.h"
#include "app/VelmoraDlg.h"
#include "catalogue/AreaNeeds.h"
#include "doors/DoorTables.h"
#include "doors/LockPositions.h"
#include "enemies/EnemyPositions.h"

namespace velmora {
namespace {

enum class When { kAlways, kNormalOnly, kJillNormalOnly };

struct RoomHeading {
  int slot;
  const char* text;
  When when;
};

// The room headings, each written before the line of its slot.
constexpr RoomHeading kRoomHeadings[] = {
    {1, "DINING ROOM", When::kAlways},
    {4, "WEST WING OUTER STAIRWAY", When::kAlways},
    {7, "NORTHERN CORRIDOR", When::kNormalOnly},
    {8, "RESEARCHER'S BEDROOM", When::kAlways},
    {10, "SMALL STOREROOM", When::kAlways},
    {13, "TIGER STATUE ROOM", When::kAlways},
    {15, "BAR", When::kAlways},
    {16, "GREENHOUSE", When::kAlways},
    {17, "GRAVEYARD", When::kAlways},
    {18, "LARGE GALLERY", When::kAlways},
    {19, "ART ROOM", When::kAlways},
    {20, "L CORRIDOR", When::kAlways},
    {22, "LARGE ART ROOM", When::kAlways},
    {23, "MIRROR ROOM", When::kAlways},
    {26, "LIVING ROOM", When::kAlways},
    {28, "OUTSIDE BOILER", When::kAlways},
    {32, "BATHROOM", When::kAlways},
    {33, "COURTYARD STUDY", When::kAlways},
    {36, "EAST WING STOREROOM", When::kAlways},
    {41, "GARDEN SHED", When::kAlways},
    {47, "SECRET PASSAGE", When::kAlways},
    {48, "OUTSIDE BALCONY", When::kAlways},
    {49, "DINING ROOM 2F", When::kNormalOnly},
    {50, "MIRROR CORRIDOR", When::kAlways},
    {53, "ELEVATOR CORRIDOR", When::kAlways},
    {56, "MATERIALS ROOM", When::kAlways},
    {60, "TROPHY ROOM", When::kAlways},
    {64, "LIBRARY", When::kAlways},
    {67, "OUTSIDE PATIO", When::kAlways},
    {70, "PILLAR ROOM", When::kAlways},
    {72, "SMALL DINING ROOM", When::kAlways},
    {75, "ATTIC ENTRY", When::kJillNormalOnly},
    {76, "ATTIC", When::kAlways},
    {78, "C CORRIDOR", When::kAlways},
    {79, "ARMOR ROOM", When::kAlways},
    {80, "SLIDING TRAP ROOM", When::kNormalOnly},
    {81, "RESTING ROOM", When::kAlways},
    {82, "SMALL LIBRARY", When::kAlways},
    {84, "BEDROOM", When::kAlways},
    {88, "DEER ROOM", When::kAlways},
    {89, "FISH TANK ROOM", When::kAlways},
    {93, "KITCHEN", When::kAlways},
    {95, "CONCRETE PASSAGE 2", When::kAlways},
    {99, "CONCRETE PASSAGE 1", When::kAlways},
    {100, "CRYPT", When::kAlways},
    {103, "SMALL HEADSTONE AREA", When::kAlways},
    {107, "CABIN", When::kAlways},
    {108, "MAIN GARDEN", When::kNormalOnly},
    {110, "ZIGZAG PATH", When::kNormalOnly},
    {111, "ENTRANCE PASSAGE", When::kAlways},
    {113, "GENERATOR ROOM", When::kAlways},
    {116, "ENRICO ROOM", When::kAlways},
    {117, "BOULDER PASSAGE 1", When::kAlways},
    {118, "SPIDER ROOM", When::kAlways},
    {119, "STRAIGHT PASSAGE", When::kAlways},
    {121, "BOULDER PASSAGE 2", When::kAlways},
    {122, "UNDERGROUND STATUE ROOM", When::kAlways},
    {123, "GARBAGE COMPACTOR ROOM", When::kAlways},
    {124, "WINDING UNDERGROUND PASSAGE", When::kAlways},
    {126, "UNDERGROUND STORAGE", When::kAlways},
    {129, "LISA'S ROOM", When::kAlways},
    {132, "ENTRY CORRIDOR", When::kAlways},
    {135, "RESIDENCE STOREROOM", When::kAlways},
    {137, "ROOM 001", When::kAlways},
    {139, "ROOM 001 BATHROOM", When::kAlways},
    {140, "REC ROOM", When::kAlways},
    {145, "ROOM 002 BATHROOM", When::kAlways},
    {146, "GALLERY", When::kAlways},
    {150, "PLANT 42 ROOM", When::kAlways},
    {151, "AQUA RING ENTRY", When::kAlways},
    {152, "CONTROL ROOM", When::kNormalOnly},
    {153, "AQUA RING STORAGE", When::kAlways},
    {154, "AQUA RING WATER TANK", When::kAlways},
    {155, "AQUA RING EXIT", When::kNormalOnly},
    {156, "ITEM BOX ROOM", When::kAlways},
    {157, "LABORATORY STAIRWAY", When::kAlways},
    {160, "VISUAL DATA ROOM", When::kAlways},
    {164, "PASS CODE CORRIDOR", When::kAlways},
    {165, "X-RAY ROOM B", When::kAlways},
    {167, "X-RAY ROOM A", When::kAlways},
    {169, "O ROOM", When::kAlways},
    {170, "OPERATING ROOM", When::kAlways},
    {173, "MORGUE", When::kAlways},
    {175, "LABORATORY LOUNGE ROOM", When::kAlways},
    {178, "POWER MAZE A", When::kAlways},
    {179, "POWER MAZE B", When::kAlways},
    {180, "MAIN LABORATORY ENTRANCE", When::kAlways},
    {181, "PASSAGE TO HELIPORT", When::kAlways},
    {184, "CELL", When::kAlways},
};

// Slots whose line Hard leaves out, for both characters.
constexpr int kHardHiddenSlots[] = {
    4,   5,   7,   21,  27,  40,  49,  55,  64,  65,  68,  69,  72,  80,  84,  93,  95,  98,  108,
    109, 110, 113, 119, 126, 132, 134, 138, 141, 144, 152, 155, 158, 160, 162, 170, 172, 173,
};

// Jill's slots whose lines stand elsewhere than at their own place.
constexpr int kJillMovedSlots[] = {0, 37, 75, 76, 85, 94};
// Listed under "RESIDENCE MEDICAL ROOM", in this order.
constexpr int kResidenceMedicalRoomSlots[] = {94, 75, 76, 85};

// Items needed to reach the end of the game in every seed.
constexpr int kEndgameItems[] = {34, 47, 66, 102, 129, 178};
// The item that opens the endgame door when locks keep their places.
constexpr int kPowerAreaKey = 163;
// The lock position of the endgame door.
constexpr int kEndgameLockPosition = 36;
// An area that needs nothing to be entered.
constexpr int kOpenArea = 69;
constexpr int kLockpick = -1;
constexpr int kEmptyCapsule = 178;
constexpr int kArmedCapsule = 185;

template <typename Range>
bool Contains(const Range& range, int value) {
  return std::find(std::begin(range), std::end(range), value) != std::end(range);
}

class CheatSheetWriter {
 public:
  CheatSheetWriter(const GeneratorState& state, const CheatSheetOptions& options)
      : state_(state), options_(options) {}

  std::string Write() {
    Line(state_.m_versionText);
    Line("Room names are taken from docs/rooms.md");
    WriteItemPlacements();
    if (options_.enemies) WriteEnemies();
    if (options_.doors) WriteDoors();
    if (options_.locks) WriteLocks();
    if (!options_.doors) WritePathToVictory();
    return std::move(out_);
  }

  /// Lays out the item placements only and returns the heading each slot's
  /// line stands under.
  std::vector<std::string> SlotRooms() {
    WriteItemPlacements();
    return std::move(slot_rooms_);
  }

 private:
  bool Jill() const { return options_.character == Character::kJill; }
  bool Hard() const { return options_.difficulty == Difficulty::kHard; }

  void Line(const std::string& text) {
    out_ += text;
    out_ += "\r\n";
  }

  bool IsItemId(int id) const {
    return id >= 0 && id < kItemCount && static_cast<size_t>(id) < state_.m_itemNames.size();
  }

  // A requirement list can hold the error marker of a key lookup, which
  // names no item; it is shown by its number.
  std::string Name(int id) const {
    if (IsItemId(id)) return state_.m_itemNames[id];
    return "Unknown item " + std::to_string(id);
  }

  void Heading(const std::string& text) {
    heading_ = text;
    Line(text);
  }

  void ItemLine(int slot) {
    slot_rooms_[slot] = heading_;
    const int item =
        static_cast<size_t>(slot) < state_.m_placement.size() ? state_.m_placement[slot] : slot;
    Line("\t" + Name(slot) + " is replaced with " + Name(item));
  }

  bool HeadingApplies(const RoomHeading& heading) const {
    switch (heading.when) {
      case When::kAlways:
        return true;
      case When::kNormalOnly:
        return !Hard();
      case When::kJillNormalOnly:
        return Jill() && !Hard();
    }
    return false;
  }

  bool IsHidden(int slot) const {
    if (Hard() && Contains(kHardHiddenSlots, slot)) return true;
    if (Hard() && !Jill() && (slot == 75 || slot == 76)) return true;
    return !Hard() && Jill() && slot == 39;
  }

  void WriteItemPlacements() {
    if (!Jill()) Heading("MAIN HALL");
    for (int slot = 0; slot < kSlotCount; ++slot) {
      if (Jill() && slot == 70) ItemLine(37);
      if (Jill() && slot == 84) ItemLine(0);
      if (Jill() && slot == 150) {
        Heading("RESIDENCE MEDICAL ROOM");
        for (int moved : kResidenceMedicalRoomSlots) ItemLine(moved);
      }
      for (const RoomHeading& heading : kRoomHeadings)
        if (heading.slot == slot && HeadingApplies(heading)) Heading(heading.text);

      // A hidden slot is listed under the heading its line would stand under.
      if (!Jill() || !Contains(kJillMovedSlots, slot)) slot_rooms_[slot] = heading_;
      if (IsHidden(slot)) continue;
      if (!Jill()) {
        ItemLine(slot);
      } else if (!Contains(kJillMovedSlots, slot)) {
        if (options_.doors && !Contains(state_.m_doorModeSlots, slot))
          Line("NOT USED IN DOOR RANDOMIZER");
        else
          ItemLine(slot);
      }
    }
  }

  void WriteEnemies() {
    Line("");
    Line("");
    Line("ENEMY RANDO POSITIONS");
    Line("");
    for (const auto& [position, kinds] : state_.m_enemyPositions) {
      const std::string_view kind =
          kinds.empty() ? std::string_view() : EnemyKindName(kinds.front());
      Line(position + ":" + std::string(kind));
    }
  }

  void WriteDoors() {
    Line("DOOR RANDO:");
    Line(
        "Door rando cheat sheet is a work in progress and is currently difficult to "
        "understand, sorry!");
    std::map<int, std::pair<const std::string*, int>> by_door;
    for (const auto& [room, doors] : state_.m_roomDoors)
      for (const auto& [door, value] : doors) by_door.emplace(door, std::pair{&room, value});
    for (int door = 0; door < kDoorCount; ++door) {
      auto it = by_door.find(door);
      if (it == by_door.end()) continue;
      Line(*it->second.first + ":" + std::to_string(door) + ":" +
           std::to_string(it->second.second));
    }
  }

  void WriteLocks() {
    Line("LOCK RANDO:");
    const size_t count = std::min(kLockPositions.size(), options_.lock_type_names.size());
    for (size_t position = 0; position < count; ++position)
      Line(std::string(kLockPositions[position].label) + options_.lock_type_names[position]);
  }

  // The slot that stands for `item` in the walk: the first slot holding it,
  // or for the empty capsule that the armed one replaced, the first slot of
  // the armed capsule.
  std::optional<int> SlotOf(int item) const {
    const size_t slots = std::min(state_.m_placement.size(), state_.m_slotArea.size());
    auto first_slot = [&](int wanted) -> std::optional<int> {
      for (size_t slot = 0; slot < slots; ++slot)
        if (state_.m_placement[slot] == wanted) return static_cast<int>(slot);
      return std::nullopt;
    };
    std::optional<int> slot = first_slot(item);
    if (!slot && item == kEmptyCapsule) slot = first_slot(kArmedCapsule);
    return slot;
  }

  bool Known(int item) const {
    return Contains(current_, item) || Contains(next_, item) || Contains(done_, item);
  }

  void RequirementLines(std::span<const int> items) {
    for (int item : items) {
      if (item == kLockpick) {
        Line("\tLockpick");
        continue;
      }
      Line("\t" + Name(item));
      if (IsItemId(item) && !Known(item)) next_.push_back(item);
    }
  }

  void WritePathToVictory() {
    Line("");
    Line("***Path to Victory***");

    std::vector<int> endgame(std::begin(kEndgameItems), std::end(kEndgameItems));
    if (options_.locks)
      endgame.insert(endgame.end(), options_.endgame_lock_keys.begin(),
                     options_.endgame_lock_keys.end());
    else
      endgame.push_back(kPowerAreaKey);

    Line("Required items to reach endgame:");
    for (int item : endgame) {
      if (item == kLockpick) {
        Line("Lockpick");
      } else {
        Line(Name(item));
        if (IsItemId(item)) current_.push_back(item);
      }
    }

    while (!current_.empty()) {
      const int item = current_.front();
      current_.erase(current_.begin());
      done_.push_back(item);
      VisitItem(item);
      if (current_.empty()) std::swap(current_, next_);
    }
  }

  void VisitItem(int item) {
    Line("");
    Line("Items needed for " + Name(item) + ":");
    const std::optional<int> slot = SlotOf(item);
    if (!slot) {
      Line("\tNot placed in this seed");
      return;
    }
    const int area = state_.m_slotArea[*slot];
    if (area == kOpenArea) {
      Line("\tNothing!");
      return;
    }
    const AreaNeeds needs = NeedsOf(state_.m_areaRequirements, area);
    if (!needs.all.empty()) RequirementLines(needs.all);
    for (size_t k = 0; k < needs.alternatives.size(); ++k) {
      Line("OPTIONAL" + std::to_string(k + 1) + ":");
      RequirementLines(needs.alternatives[k]);
    }
    if (needs.all.empty() && needs.alternatives.empty()) Line("\tNothing!");
  }

  const GeneratorState& state_;
  const CheatSheetOptions& options_;
  std::string out_;
  std::vector<int> current_, next_, done_;
  std::string heading_;
  std::vector<std::string> slot_rooms_ = std::vector<std::string>(kSlotCount);
};

}  // namespace

std::string CheatSheetFileName(Character character, Difficulty difficulty) {
  return std::string("CheatSheet") + (character == Character::kChris ? "Chris" : "Jill") +
         (difficulty == Difficulty::kHard ? "Hard" : "Normal") + ".txt";
}

std::string FormatCheatSheet(const GeneratorState& state, const CheatSheetOptions& options) {
  return CheatSheetWriter(state, options).Write();
}

std::vector<std::string> SlotRoomHeadings(Character character, Difficulty difficulty) {
  const GeneratorState state;
  CheatSheetOptions options;
  options.character = character;
  options.difficulty = difficulty;
  return CheatSheetWriter(state, options).SlotRooms();
}

bool CVelmoraDlg::WriteCheatSheet() {
  CheatSheetOptions options;
  options.character = SelectedCharacter();
  options.difficulty = SelectedDifficulty();
  const std::string name = CheatSheetFileName(options.character, options.difficulty);
  AppendStatus("Writing to " + name + " . . .");

  options.enemies = IsChecked(kIdEnemies);
  options.doors = IsChecked(kIdDoors);
  options.locks = IsChecked(kIdLocks);
  if (options.locks) {
    for (int type : m_lockTypes) options.lock_type_names.push_back(LockTypeName(type));
    // The Path to Victory is written only when doors keep their places.
    if (!options.doors && m_lockTypes.size() > static_cast<size_t>(kEndgameLockPosition)) {
      const int type = m_lockTypes[kEndgameLockPosition];
      if (type != 6 && type != 15) options.endgame_lock_keys = LockTypeKeys(type);
    }
  }
  return WriteFileLogged(name, FormatCheatSheet(*this, options));
}

}  // namespace velmora
