// The character and difficulty a generation is made for; the catalogue's
// tables differ by them.
#pragma once

#include <string>

namespace velmora {

enum class Character { kJill, kChris };
enum class Difficulty { kNormal, kHard };

struct Selection {
  Character character;
  Difficulty difficulty;
};

/// The four selections, in the order of the file names' use.
inline constexpr Selection kSelections[] = {
    {Character::kJill, Difficulty::kNormal},
    {Character::kJill, Difficulty::kHard},
    {Character::kChris, Difficulty::kNormal},
    {Character::kChris, Difficulty::kHard},
};

/// "JillNormal", "JillHard", "ChrisNormal" or "ChrisHard", as the file names
/// spell the selection.
inline std::string SelectionName(Selection s) {
  return std::string(s.character == Character::kChris ? "Chris" : "Jill") +
         (s.difficulty == Difficulty::kHard ? "Hard" : "Normal");
}

}  // namespace velmora
