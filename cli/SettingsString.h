// The settings string: every option of the dialog and the seed number in one
// short printable string, so that a seed can be passed on and made again.
//
// Form: a format version character, twelve payload characters and a check
// character, all from Crockford's base 32 alphabet (0-9 and A-Z without I,
// L, O and U). Decoding ignores case and reads I and L as 1 and O as 0.
// Payload of version 1, 60 bits, highest first:
//   1 bit   reserved, 0
//   6 bits  Chris, Hard, Items, Enemies, Doors, Locks
//   6 bits  remove healing, ammo, ink ribbons, defence; swap for the Self
//           Defense Gun; armed fuel capsule
//   8 bits  enemy kinds allowed: zombies, dogs, hunters, spiders, sharks,
//           bees, chimera, elder crimson heads
//   7 bits  ((Tyrant * 3 + Yawn) * 3 + Lisa) * 3 + Tyrant type, each spawn
//           choice 0 one, 1 many, 2 none, the type 0 fast, 1 slow, 2 random
//   32 bits the seed number
// Without Enemies the enemy panel has no effect, so its fields are written
// as the defaults (all kinds, one of each, fast) and must read so.
// The check character is the sum of the thirteen characters before it, each
// multiplied by a power of a generator of the field with 32 elements; it
// catches every single changed character and every swap of two.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/CommandLine.h"

namespace velmora {

/// The format version this program writes; the first character.
inline constexpr int kSettingsVersion = 1;
/// Characters of a settings string of version 1.
inline constexpr size_t kSettingsLength = 14;

/// The settings string of `options`, whose `seed` must be set. Enemy panel
/// fields are written as their defaults when `enemies` is off; `out_dir` is
/// not part of it.
std::string EncodeSettings(const CommandLineOptions& options);

struct DecodedSettings {
  /// Set when the string is valid; `seed` is always set then.
  std::optional<CommandLineOptions> options;
  /// A one-line message naming the problem otherwise.
  std::string error;
};

/// Reads a settings string. Refuses a string of the wrong length, with a
/// character outside the alphabet, of an unknown version, with a wrong check
/// character, with a reserved bit or an out-of-range field set, with enemy
/// panel fields other than the defaults while Enemies is off, or with a
/// combination the command line refuses (Doors with Hard, without Items or
/// with Locks).
DecodedSettings DecodeSettings(std::string_view text);

}  // namespace velmora
