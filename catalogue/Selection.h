// The character and difficulty a generation is made for; the catalogue's
// tables differ by them.
#pragma once

namespace velmora {

enum class Character { kJill, kChris };
enum class Difficulty { kNormal, kHard };

}  // namespace velmora
