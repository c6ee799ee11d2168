#include "catalogue/LockTypes.h"

#include <string>

#include "app/ControlIds.h"
#include "app/VelmoraDlg.h"

namespace velmora {
namespace {

bool IsLockType(int type) { return type >= 0 && type < static_cast<int>(kLockTypeTable.size()); }

}  // namespace

std::string_view LockTypeDisplayName(int type) {
  return IsLockType(type) ? kLockTypeTable[type].name : "ERROR ERROR ERROR";
}

std::vector<int> LockKeys(int type, Character character, const LogSink& log) {
  if (IsLockType(type)) {
    const LockTypeRow& row = kLockTypeTable[type];
    const LockKeyList& keys = character == Character::kJill ? row.jill_keys : row.chris_keys;
    if (keys.present) return {keys.items.begin(), keys.items.begin() + keys.size};
  }
  log(kNoKeysErrorLine);
  return {kNoKeysMarker};
}

std::string CVelmoraDlg::LockTypeName(int type) { return std::string(LockTypeDisplayName(type)); }

std::vector<int> CVelmoraDlg::LockTypeKeys(int type) {
  // The Jill column only while "Jill" is checked; anything else reads as Chris.
  const Character character = IsChecked(kIdJill) ? Character::kJill : Character::kChris;
  return LockKeys(type, character, [this](std::string_view text) { AppendStatus(std::string(text)); });
}

}  // namespace velmora
