// The enemy positions of the game: the named places where an enemy group
// spawns, and the enemy kinds each of them allows.
#pragma once

#include <array>
#include <initializer_list>
#include <span>
#include <string_view>

namespace velmora {

/// An enemy kind, 1 to 12.
using EnemyKind = int;

inline constexpr EnemyKind kKindHunters = 1;
inline constexpr EnemyKind kKindChimeras = 2;
inline constexpr EnemyKind kKindTyrant = 3;  ///< the "Helipad (Fast)" form
inline constexpr EnemyKind kKindDogs = 4;
inline constexpr EnemyKind kKindSharks = 5;
inline constexpr EnemyKind kKindZombies = 6;
inline constexpr EnemyKind kKindYawn = 7;
inline constexpr EnemyKind kKindSpiders = 8;
inline constexpr EnemyKind kKindBees = 9;
inline constexpr EnemyKind kKindLisa = 10;
inline constexpr EnemyKind kKindSlowTyrant = 11;  ///< the "Lab (Slow)" form
inline constexpr EnemyKind kKindElderCrimsonHead = 12;

/// A short list of kinds kept in constant data.
class EnemyKindList {
 public:
  constexpr EnemyKindList(std::initializer_list<EnemyKind> kinds) {
    for (EnemyKind kind : kinds) kinds_[size_++] = kind;
  }
  constexpr std::span<const EnemyKind> kinds() const { return {kinds_.data(), size_}; }

 private:
  std::array<EnemyKind, 12> kinds_{};
  size_t size_ = 0;
};

struct EnemyPositionRow {
  std::string_view name;
  EnemyKindList allowed;  ///< ascending
};

/// The number of enemy positions, and of lines in the enemy section of the
/// item list.
inline constexpr int kEnemyPositionCount = 53;

/// The 53 enemy positions in byte-wise order of their names, which is the
/// order of the enemy section of the item list.
std::span<const EnemyPositionRow> EnemyPositionTable();

/// The cheat-sheet name of a kind ("HUNTERS" ... "ELDER CRIMSON HEAD"); empty
/// outside 1..12.
std::string_view EnemyKindName(EnemyKind kind);

}  // namespace velmora
