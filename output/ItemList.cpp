#include "output/ItemList.h"

#include <stdexcept>

#include "app/ControlIds.h"
#include "app/VelmoraDlg.h"
#include "doors/DoorTables.h"
#include "enemies/EnemyPositions.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

void Line(std::string& out, const std::string& text) {
  out += text;
  out += "\r\n";
}

void Line(std::string& out, int value) { Line(out, std::to_string(value)); }

}  // namespace

std::string ItemListFileName(Character character, Difficulty difficulty) {
  return std::string("ItemList") + (character == Character::kChris ? "Chris" : "Jill") +
         (difficulty == Difficulty::kHard ? "Hard" : "Normal") + ".txt";
}

std::string FormatItemList(const GeneratorState& state, bool enemies, bool doors, bool locks) {
  std::string out;
  for (int item : state.m_placement) Line(out, item);

  Line(out, "ENEMYRANDODATA");
  if (enemies) {
    for (const auto& [position, kinds] : state.m_enemyPositions) Line(out, kinds.at(0));
  } else {
    for (int i = 0; i < kEnemyPositionCount; ++i) Line(out, -1);
  }

  Line(out, "DOORRANDODATA");
  if (doors) {
    std::vector<int> values(kDoorCount, -1);
    std::vector<bool> seen(kDoorCount, false);
    for (const auto& [room, room_doors] : state.m_roomDoors) {
      for (const auto& [door, value] : room_doors) {
        if (door < 0 || door >= kDoorCount || seen[door])
          throw std::logic_error("door table does not hold each door once");
        seen[door] = true;
        values[door] = value;
      }
    }
    for (int value : values) Line(out, value);
  } else {
    for (int i = 0; i < kDoorCount; ++i) Line(out, -1);
  }

  if (locks) {
    Line(out, "LOCKRANDODATA");
    for (int type : state.m_lockTypes) Line(out, type);
  }
  return out;
}

void CVelmoraDlg::WriteSeedFiles() {
  write_failed_ = false;
  if (!WriteItemList()) return;
  if (!WriteCheatSheet()) return;
  ShowControl(kIdFinalLabel, true);
}

bool CVelmoraDlg::WriteItemList() {
  const std::string name = ItemListFileName(SelectedCharacter(), SelectedDifficulty());
  AppendStatus("Writing to " + name + " . . .");
  return WriteFileLogged(
      name, FormatItemList(*this, IsChecked(kIdEnemies), IsChecked(kIdDoors), IsChecked(kIdLocks)));
}

bool CVelmoraDlg::WriteFileLogged(const std::string& name, const std::string& bytes) {
  if (std::optional<std::string> reason = files_->Write(name, bytes)) {
    AppendStatus("FAILED: could not write " + name + " (" + *reason + ")\n");
    write_failed_ = true;
    return false;
  }
  AppendStatus("done!\n");
  return true;
}

}  // namespace velmora
