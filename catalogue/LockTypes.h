// The sixteen lock types that can keep a lockable door shut, their display
// names and the key items each one takes.
//
// Types 6 and 7 are the one-way door and its reversed form, 8 and 9 the mixed
// one-way / lockpick / Old Key lock and its reversed form, 15 an open door.
// Those of them that no key opens (6, 7, 15) have no key list.
#pragma once

#include <array>
#include <functional>
#include <string_view>
#include <vector>

#include "catalogue/Selection.h"

namespace velmora {

/// Receives one progress-log line, exactly as the caller would append it.
using LogSink = std::function<void(std::string_view text)>;

/// A key list of at most five items; `present` is false for lock types that
/// no key opens.
struct LockKeyList {
  bool present = false;
  int size = 0;
  std::array<int, 5> items{};
};

/// A key list holding `ids` in the order given.
template <typename... Ids>
constexpr LockKeyList Keys(Ids... ids) {
  return {true, static_cast<int>(sizeof...(ids)), {ids...}};
}
inline constexpr LockKeyList kNoKeys{};

struct LockTypeRow {
  std::string_view name;
  LockKeyList jill_keys;
  LockKeyList chris_keys;
};

/// Indexed by lock type. Key entries are item ids; -1 stands for no item
/// (Jill's lockpick).
inline constexpr std::array<LockTypeRow, 16> kLockTypeTable = {{
    {"Armor Key", Keys(48), Keys(48)},
    {"Control Room Key", Keys(139), Keys(139)},
    {"Spencer Key", Keys(24, 61), Keys(24, 61)},
    {"Gallery Key", Keys(154), Keys(154)},
    {"Helmet Key", Keys(150), Keys(150)},
    {"Old Key / Lockpick", Keys(-1), Keys(9, 32, 37, 85, 94)},
    {"One-way Door", kNoKeys, kNoKeys},
    {"One-way Door - Reversed", kNoKeys, kNoKeys},
    {"One-way Door / Lockpick / Old Key mix", Keys(-1), Keys(9, 32, 37, 85, 94)},
    {"One-way Door / Lockpick / Old Key mix Reversed", Keys(-1), Keys(9, 32, 37, 85, 94)},
    {"Power Area Key", Keys(163), Keys(163)},
    {"Room 001 Key", Keys(145), Keys(145)},
    {"Room 003 Key", Keys(148), Keys(148)},
    {"Shield Key", Keys(3), Keys(3)},
    {"Sword Key", Keys(100), Keys(100)},
    {"Unlocked", kNoKeys, kNoKeys},
}};

/// The key list handed out for a lock type without keys: a marker that is no
/// item, so that whatever needs it can never be obtained.
inline constexpr int kNoKeysMarker = -99;
/// The log line for a key request on a lock type without keys; it carries no
/// line break of its own.
inline constexpr std::string_view kNoKeysErrorLine =
    "-99 ERROR, TELL QUORRAN AND RELAUNCH SEED GENERATOR";

/// The display name of `type`; "ERROR ERROR ERROR" outside 0..15.
std::string_view LockTypeDisplayName(int type);

/// The key items of `type` for `character`, in table order. For a type
/// without keys (6, 7, 15 or outside 0..15) sends kNoKeysErrorLine to `log`
/// once and returns {kNoKeysMarker}.
std::vector<int> LockKeys(int type, Character character, const LogSink& log);

}  // namespace velmora
