#include "cli/SettingsString.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "app/ControlIds.h"

namespace velmora {
namespace {

constexpr std::string_view kAlphabet = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
constexpr int kPayloadCharacters = 12;
constexpr int kPayloadBits = 5 * kPayloadCharacters;


// Field positions: the lowest bit of each field within the payload.
constexpr int kSeedShift = 0;
constexpr int kSpawnShift = 32;
constexpr int kSpawnBits = 7;
constexpr int kSpawnCodes = 3 * 3 * 3 * 3;
constexpr int kKindShift = kSpawnShift + kSpawnBits;
constexpr int kModifierShift = kKindShift + 8;
constexpr int kModeShift = kModifierShift + 6;
constexpr int kReservedShift = kModeShift + 6;
static_assert(kReservedShift == kPayloadBits - 1);

/// The value of a character, or -1 when it is not one. Case does not matter;
/// I and L read as 1 and O as 0, since they are easily taken for them.
int CharacterValue(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (c == 'I' || c == 'L') c = '1';
  if (c == 'O') c = '0';
  const size_t at = kAlphabet.find(c);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

/// Multiplies by the generator x of GF(32) built on x^5 + x^2 + 1.
int TimesGenerator(int value) {
  value <<= 1;
  if (value & 32) value ^= 0x25;
  return value;
}

/// The check value of `values`: the sum of value i times x^(n - i), where n
/// is the number of values. Every power is a different element other than 1,
/// so changing one value, or swapping two different values, or swapping a
/// value with the check character itself always changes the result.
int CheckValue(const std::vector<int>& values) {
  int check = 0;
  for (int value : values) check = TimesGenerator(check ^ value);
  return check;
}

int SpawnIndex(SpawnChoice choice) {
  return choice == SpawnChoice::kOne ? 0 : choice == SpawnChoice::kMany ? 1 : 2;
}
SpawnChoice SpawnFromIndex(int index) {
  return index == 0 ? SpawnChoice::kOne : index == 1 ? SpawnChoice::kMany : SpawnChoice::kNone;
}
int TypeIndex(TyrantType type) {
  return type == TyrantType::kFast ? 0 : type == TyrantType::kSlow ? 1 : 2;
}
TyrantType TypeFromIndex(int index) {
  return index == 0 ? TyrantType::kFast : index == 1 ? TyrantType::kSlow : TyrantType::kRandom;
}

/// The enemy panel fields as they count: the defaults while Enemies is off.
struct PanelFields {
  int kinds;
  int spawns;
};

PanelFields PanelOf(const CommandLineOptions& o) {
  if (!o.enemies) return {(1 << std::size(kEnemyKindBoxes)) - 1, 0};
  int kinds = 0;
  for (size_t bit = 0; bit < std::size(kEnemyKindBoxes); ++bit)
    if (std::find(o.kinds.begin(), o.kinds.end(), kEnemyKindBoxes[bit].id) != o.kinds.end())
      kinds |= 1 << (std::size(kEnemyKindBoxes) - 1 - bit);
  const int spawns =
      ((SpawnIndex(o.tyrant) * 3 + SpawnIndex(o.yawn)) * 3 + SpawnIndex(o.lisa)) * 3 +
      TypeIndex(o.tyrant_type);
  return {kinds, spawns};
}

// The six-bit fields of option boxes, first box in the top bit.
using Flags = std::array<bool CommandLineOptions::*, 6>;
constexpr Flags kModeFlags = {&CommandLineOptions::chris,   &CommandLineOptions::hard,
                              &CommandLineOptions::items,   &CommandLineOptions::enemies,
                              &CommandLineOptions::doors,   &CommandLineOptions::locks};
constexpr Flags kModifierFlags = {&CommandLineOptions::remove_healing,
                                  &CommandLineOptions::remove_ammo,
                                  &CommandLineOptions::remove_ink,
                                  &CommandLineOptions::remove_defence,
                                  &CommandLineOptions::swap_sdg,
                                  &CommandLineOptions::armed_capsule};

uint64_t Bits(const CommandLineOptions& o, const Flags& flags) {
  uint64_t bits = 0;
  for (bool CommandLineOptions::*flag : flags) bits = (bits << 1) | (o.*flag ? 1 : 0);
  return bits;
}

void SetFlags(CommandLineOptions& o, const Flags& flags, uint64_t field) {
  for (size_t i = 0; i < flags.size(); ++i) o.*flags[i] = (field >> (flags.size() - 1 - i)) & 1;
}

bool Bit(uint64_t field, int bit_from_top, int width) {
  return (field >> (width - 1 - bit_from_top)) & 1;
}

}  // namespace

std::string EncodeSettings(const CommandLineOptions& o) {
  const PanelFields panel = PanelOf(o);
  const uint64_t payload =
      (Bits(o, kModeFlags) << kModeShift) | (Bits(o, kModifierFlags) << kModifierShift) |
      (static_cast<uint64_t>(panel.kinds) << kKindShift) |
      (static_cast<uint64_t>(panel.spawns) << kSpawnShift) |
      (static_cast<uint64_t>(o.seed.value_or(0)) << kSeedShift);

  std::vector<int> values = {kSettingsVersion};
  for (int i = kPayloadCharacters - 1; i >= 0; --i)
    values.push_back(static_cast<int>((payload >> (5 * i)) & 31));
  values.push_back(CheckValue(values));

  std::string text;
  for (int value : values) text += kAlphabet[value];
  return text;
}

DecodedSettings DecodeSettings(std::string_view text) {
  DecodedSettings result;
  // Control characters are shown as \xNN, so the message stays one line.
  auto printable = [](std::string_view part) {
    std::string shown;
    for (const char c : part) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte == 0x7F) {
        shown += "\\x";
        shown += "0123456789ABCDEF"[byte >> 4];
        shown += "0123456789ABCDEF"[byte & 15];
      } else {
        shown += c;
      }
    }
    return shown;
  };
  const std::string quoted = "'" + printable(text) + "'";
  auto fail = [&](const std::string& problem) {
    result.error = quoted + " is not a valid settings string: " + problem;
    return result;
  };
  if (text.empty()) return fail("it is empty");

  // A later version may differ in everything after the version character.
  const int version = CharacterValue(text[0]);
  if (version != kSettingsVersion)
    return fail("unknown format version '" + printable(text.substr(0, 1)) +
                "' (this program reads " + std::to_string(kSettingsVersion) + ")");
  if (text.size() != kSettingsLength)
    return fail("it has " + std::to_string(text.size()) + " characters, not " +
                std::to_string(kSettingsLength));

  std::vector<int> values;
  for (size_t i = 0; i < text.size(); ++i) {
    const int value = CharacterValue(text[i]);
    if (value < 0)
      return fail("character " + std::to_string(i + 1) + " ('" + printable(text.substr(i, 1)) +
                  "') is not one of 0-9 and A-Z without U");
    values.push_back(value);
  }
  const int check = values.back();
  values.pop_back();
  if (CheckValue(values) != check)
    return fail("its check character does not match (a character is mistyped)");

  uint64_t payload = 0;
  for (size_t i = 1; i < values.size(); ++i) payload = (payload << 5) | values[i];
  auto field = [payload](int shift, int width) {
    return static_cast<int>((payload >> shift) & ((uint64_t{1} << width) - 1));
  };
  if (field(kReservedShift, 1) != 0) return fail("a reserved bit is set");
  const int spawns = field(kSpawnShift, kSpawnBits);
  if (spawns >= kSpawnCodes) return fail("its enemy spawn field is out of range");

  CommandLineOptions o;
  SetFlags(o, kModeFlags, field(kModeShift, 6));
  SetFlags(o, kModifierFlags, field(kModifierShift, 6));
  const int kinds = field(kKindShift, 8);
  o.kinds.clear();
  for (size_t bit = 0; bit < std::size(kEnemyKindBoxes); ++bit)
    if (Bit(kinds, static_cast<int>(bit), 8)) o.kinds.push_back(kEnemyKindBoxes[bit].id);
  o.tyrant_type = TypeFromIndex(spawns % 3);
  o.lisa = SpawnFromIndex(spawns / 3 % 3);
  o.yawn = SpawnFromIndex(spawns / 9 % 3);
  o.tyrant = SpawnFromIndex(spawns / 27);
  o.seed = static_cast<uint32_t>(payload >> kSeedShift);

  const PanelFields canonical = PanelOf(o);
  if (!o.enemies && (kinds != canonical.kinds || spawns != canonical.spawns))
    return fail("it sets enemy options while Enemies is off");
  if (std::optional<std::string> problem = OptionCombinationError(o)) return fail(*problem);

  result.options = o;
  return result;
}

}  // namespace velmora
