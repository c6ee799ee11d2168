#include "catalogue/AreaTables.h"

#include <algorithm>
#include <initializer_list>
#include <span>

#include "app/ControlIds.h"
#include "app/VelmoraDlg.h"

namespace velmora {
namespace {

/// A list of at most N values, written in a table as a braced list. A row
/// that outgrows N does not compile.
template <typename T, int N>
struct SmallList {
  constexpr SmallList() = default;
  constexpr SmallList(std::initializer_list<T> list) {
    for (const T& value : list) values[size++] = value;
  }
  constexpr const T* begin() const { return values; }
  constexpr const T* end() const { return values + size; }

  T values[N] = {};
  int size = 0;
};

/// The numbers first..last, both included; a single number converts to a
/// span of one.
struct Span {
  constexpr Span() = default;
  constexpr Span(int number) : first(number), last(number) {}  // NOLINT: implicit by design
  constexpr Span(int from, int to) : first(from), last(to) {}
  int first = 0;
  int last = -1;
};

constexpr Span Range(int first, int last) { return Span(first, last); }

/// The numbers of a row's spans in the order written.
template <int N>
std::vector<int> Expand(const SmallList<Span, N>& spans) {
  std::vector<int> numbers;
  for (const Span& span : spans)
    for (int n = span.first; n <= span.last; ++n) numbers.push_back(n);
  return numbers;
}

/// For whom a row of a table holds.
enum Holds { kBoth, kJillOnly, kChrisOnly };

bool HoldsFor(Holds holds, Character character) {
  return holds == kBoth || (holds == kJillOnly) == (character == Character::kJill);
}

struct AreaSlotsRow {
  int area;
  SmallList<Span, 10> slots;
};

// Jill's slots by plain area. Areas 0, 1, 24 and 35 hold no slot.
// clang-format off
constexpr AreaSlotsRow kJillPlainSlotAreas[] = {
    {2,   {1, 2, Range(4, 6), 17, 19, Range(49, 52)}},
    {3,   {3}},
    {4,   {15, 37, Range(67, 69)}},
    {5,   {100}},
    {6,   {101, 102}},
    {7,   {0, 20, 21, 32, 36, 78, Range(81, 83), 93}},
    {8,   {Range(22, 25), Range(64, 66)}},
    {9,   {Range(7, 9), 18, Range(38, 40), 70, 71, 73, 79, 84, Range(86, 88)}},
    {10,  {47, Range(53, 63), 80, Range(95, 99)}},
    {11,  {Range(10, 12), Range(28, 31)}},
    {12,  {Range(89, 91)}},
    {13,  {92}},
    {14,  {16}},
    {15,  {13}},
    {16,  {14}},
    {17,  {77}},
    {18,  {Range(33, 35)}},
    {19,  {Range(41, 43), Range(107, 109)}},
    {20,  {Range(103, 105)}},
    {21,  {106}},
    {22,  {110, Range(132, 136), Range(140, 145), 151}},
    {23,  {Range(137, 139)}},
    {25,  {75, 76, 85, 94, 146, 147, 149}},
    {26,  {148}},
    {27,  {Range(44, 46), 150}},
    {28,  {Range(152, 155)}},
    {29,  {111, Range(113, 116)}},
    {30,  {112, Range(117, 122)}},
    {31,  {Range(123, 128)}},
    {32,  {Range(129, 131)}},
    {33,  {Range(156, 172)}},
    {34,  {Range(173, 179)}},
    {36,  {48}},
    {37,  {26, 27}},
    {38,  {72, 74}},
    {39,  {Range(180, 183)}},
    {40,  {184}},
};

// Jill's slots by lock-mode area.
constexpr AreaSlotsRow kJillLockModeSlotAreas[] = {
    {69,  {1, 2, Range(4, 6), 17, 19, Range(49, 52)}},
    {70,  {3}},
    {71,  {100}},
    {72,  {101, 102}},
    {73,  {Range(156, 172)}},
    {74,  {Range(22, 25)}},
    {75,  {15}},
    {77,  {Range(10, 12)}},
    {78,  {Range(60, 63)}},
    {79,  {7}},
    {80,  {13}},
    {81,  {14}},
    {82,  {16}},
    {83,  {8, 9}},
    {84,  {Range(64, 66)}},
    {85,  {37, Range(67, 69)}},
    {86,  {48}},
    {87,  {36, 81}},
    {88,  {Range(28, 31)}},
    {89,  {Range(33, 35)}},
    {90,  {18}},
    {91,  {84, Range(86, 88)}},
    {92,  {Range(89, 91)}},
    {93,  {92}},
    {94,  {70, 71, 73}},
    {95,  {72, 74}},
    {96,  {79}},
    {97,  {77}},
    {98,  {93}},
    {99,  {47, Range(95, 99)}},
    {100, {Range(53, 59)}},
    {101, {Range(41, 43), Range(107, 109)}},
    {102, {Range(103, 105)}},
    {103, {106}},
    {104, {110, Range(132, 136), Range(140, 145), 151}},
    {105, {Range(137, 139)}},
    {106, {75, 76, 85, 94, Range(146, 149)}},
    {108, {Range(44, 46), 150}},
    {109, {Range(152, 155)}},
    {110, {111, Range(113, 116)}},
    {111, {112, Range(117, 122)}},
    {112, {Range(123, 131)}},
    {114, {173, 174}},
    {115, {Range(175, 179)}},
    {116, {26, 27}},
    {117, {Range(38, 40)}},
    {118, {80}},
    {119, {20, 21, 32}},
    {121, {0, 78, 82, 83}},
    {123, {Range(180, 183)}},
    {124, {184}},
};
// clang-format on

/// A slot whose area is not the same for Jill and Chris.
struct CharacterSlotAreaRow {
  int slot;
  int plain_jill, plain_chris;
  int lock_jill, lock_chris;
};

// clang-format off
constexpr CharacterSlotAreaRow kCharacterSlotAreas[] = {
    // slot  plain Jill / Chris  lock mode Jill / Chris
    {0,      7,  2,              121, 69},   // "Lighter" / "Jill's Handgun"
    {37,     4,  7,              85,  87},   // "Grenade Launcher" / "Old Key"
    {72,     38, 9,              95,  94},   // "Handgun Magazine (Cupboard)"
    {74,     38, 9,              95,  94},   // "Music, mid-pages"
    {75,     25, 9,              106, 94},   // "Bottle #2" / "Flash Grenade"
    {76,     25, 17,             106, 97},   // "Bottle #3" / "Shotgun Shells"
    {85,     25, 9,              106, 91},   // "Bottle #4" / "Old Key"
    {94,     25, 7,              106, 98},   // "Bottle #1" / "Old Key"
};
// clang-format on

struct ForbiddenAreasRow {
  int item;
  Holds holds;
  SmallList<Span, 8> areas;
};

// Plain numbering. Chris's list for item 32 names area 12 twice, first and last.
// clang-format off
constexpr ForbiddenAreasRow kPlainForbiddenAreas[] = {
    {0,   kJillOnly,  {Range(38, 40)}},                 // "Lighter"
    {2,   kBoth,      {15, 39, 40}},                    // "Blue Gemstone"
    {3,   kBoth,      {17, 39, 40}},                    // "Shield Key"
    {9,   kChrisOnly, {11, 12, 36, 39, 40}},            // "Old Key"
    {14,  kBoth,      {40}},                            // "MO Disk"
    {15,  kBoth,      {3, 39, 40}},                     // "Missing Music"
    {16,  kBoth,      {6, 39, 40}},                     // "Mask w/out Eyes"
    {18,  kBoth,      {6, 39, 40}},                     // "Mask w/out Mouth"
    {24,  kBoth,      {18, 39, 40}},                    // "Jewelry Box with Emblem Key"
    {28,  kBoth,      {14, 39, 40}},                    // "Herbicide"
    {32,  kChrisOnly, {11, 12, 36, 39, 40, 12}},        // "Old Key"
    {34,  kBoth,      {33, 34, 39, 40}},                // "Metal Object"
    {37,  kChrisOnly, {11, 36, 39, 40}},                // "Old Key"
    {47,  kBoth,      {33, 34, 39, 40}},                // "Last Book Volume 1 - Medal of Eagle"
    {48,  kBoth,      {3, 4, 9, Range(12, 17), 39, 40}}, // "Dog Collar"
    {51,  kBoth,      {5, 6, 39, 40}},                  // "Golden Arrow / Arrowhead"
    {59,  kBoth,      {Range(29, 32), 39, 40}},         // "Battery"
    {61,  kBoth,      {18, 39, 40}},                    // "Red Gemstone"
    {62,  kBoth,      {16, 39, 40}},                    // "Yellow Gemstone"
    {66,  kBoth,      {33, 34, 39, 40}},                // "Last Book Volume 2 - Medal of Wolf"
    {74,  kBoth,      {3, 39, 40}},                     // "Music, mid-pages"
    {77,  kBoth,      {6, 39, 40}},                     // "Mask w/out Nose"
    {79,  kBoth,      {6, 39, 40}},                     // "Jewelry Box with Mask w/out All"
    {82,  kBoth,      {36, 39, 40}},                    // "Dog Whistle"
    {85,  kChrisOnly, {11, 12, 36, 39, 40}},            // "Old Key"
    {89,  kBoth,      {13, 39, 40}},                    // "Fishhook"
    {90,  kBoth,      {13, 39, 40}},                    // "Bee Specimen"
    {91,  kBoth,      {13, 39, 40}},                    // "Lure w/out hook"
    {92,  kBoth,      {20, 21, 39, 40}},                // "Wind Crest"
    {94,  kChrisOnly, {11, 12, 36, 39, 40}},            // "Old Key"
    {100, kBoth,      {Range(7, 32), Range(36, 40)}},   // "Book of Curses / Sword Key"
    {102, kBoth,      {33, 34, 39, 40}},                // "Stone and Metal Object"
    {103, kBoth,      {21, 39, 40}},                    // "Moon Crest"
    {104, kBoth,      {21, 39, 40}},                    // "Star Crest"
    {105, kBoth,      {21, 39, 40}},                    // "Sun Crest"
    {107, kBoth,      {Range(22, 32), 39, 40}},         // "Square Crank"
    {114, kBoth,      {31, 32, 39, 40}},                // "Shaft"
    {116, kBoth,      {30, 39, 40}},                    // "Hexagon Crank"
    {122, kBoth,      {31, 32, 39, 40}},                // "Cylinder"
    {123, kBoth,      {32, 39, 40}},                    // "Broken Flamethrower"
    {129, kBoth,      {33, 34, 39, 40}},                // "Jewelry Box 3 / Stone Ring"
    {139, kBoth,      {28, 39, 40}},                    // "Control Room Key"
    {142, kBoth,      {27, 39, 40}},                    // "Unprinted Book"
    {145, kBoth,      {23, 39, 40}},                    // "Key for Room 001"
    {147, kBoth,      {26, 39, 40}},                    // "Insecticide Spray"
    {148, kBoth,      {27, 39, 40}},                    // "Key for Room 003"
    {150, kBoth,      {8, 10, 39, 40}},                 // "Helmet Key"
    {154, kBoth,      {Range(25, 27), 39, 40}},         // "Gallery Key"
    {159, kBoth,      {40}},                            // "MO Disk"
    {161, kBoth,      {40}},                            // "MO Disk"
    {163, kBoth,      {34, 39, 40}},                    // "Key for the Power Area"
    {183, kBoth,      {Range(0, 32), Range(35, 38), 40}}, // "Fuse Unit"
};
// clang-format on

struct RequirementRow {
  int area;
  Holds holds;
  SmallList<int, 12> required;                        // index 0: all needed
  SmallList<SmallList<int, 2>, 2> alternatives = {};  // indices 1, 2: one needed
};

// Plain numbering. Areas 39 and 40 are built from area 34 below.
// clang-format off
constexpr RequirementRow kPlainAreaRequirements[] = {
    {3,  kBoth,      {48, 15, 74}},
    {4,  kBoth,      {48}},
    {5,  kBoth,      {51}},
    {6,  kBoth,      {51, 16, 18, 77, 79}},
    {7,  kBoth,      {100}},
    {8,  kBoth,      {150}},
    {9,  kBoth,      {100, 48}},
    {10, kBoth,      {100, 150}},
    {11, kJillOnly,  {100}},
    {11, kChrisOnly, {100, 9, 32, 37, 85, 94}},
    {12, kJillOnly,  {100, 48}},
    {12, kChrisOnly, {100, 48, 9, 32, 37, 85, 94}},
    {13, kJillOnly,  {100, 48, 89, 90, 91}},
    {13, kChrisOnly, {100, 48, 89, 90, 91, 9, 32, 37, 85, 94}},
    {14, kBoth,      {100, 48, 28}},
    {15, kBoth,      {100, 48, 2}},
    {16, kBoth,      {100, 48, 62}},
    {17, kBoth,      {100, 48, 3}},
    {18, kBoth,      {100, 24, 61}},
    {19, kBoth,      {100},                          {{102}, {34, 129}}},
    {20, kBoth,      {100, 92},                      {{102}, {34, 129}}},
    {21, kBoth,      {100, 103, 104, 105},           {{102}, {34, 129}}},
    {22, kBoth,      {100, 107},                     {{102}, {34, 129}}},
    {23, kBoth,      {100, 107, 145},                {{102}, {34, 129}}},
    {25, kBoth,      {100, 107, 154},                {{102}, {34, 129}}},
    {26, kBoth,      {100, 107, 154, 147},           {{102}, {34, 129}}},
    {27, kBoth,      {100, 107, 154, 148, 142, 48},  {{102}, {34, 129}}},
    {28, kBoth,      {100, 107, 139},                {{102}, {34, 129}}},
    {29, kBoth,      {100, 107, 59},                 {{102}, {34, 129}}},
    {30, kBoth,      {100, 107, 59, 116},            {{102}, {34, 129}}},
    {31, kBoth,      {100, 107, 59, 114, 122},       {{102}, {34, 129}}},
    {32, kBoth,      {100, 107, 59, 114, 122, 123},  {{102}, {34, 129}}},
    {33, kJillOnly,  {102, 34, 129, 66, 47}},
    {33, kChrisOnly, {102, 34, 129, 66, 47, 61, 24}},
    {34, kBoth,      {102, 34, 129, 66, 47, 163}},
    {36, kJillOnly,  {100, 82}},
    {36, kChrisOnly, {100, 82, 9, 32, 37, 85, 94}},
    {37, kBoth,      {100, 11}},
    {38, kBoth,      {100, 48, 0}},
};
// clang-format on

/// Area 39 needs what area 34 needs and the empty fuel capsule; area 40 needs
/// what area 39 needs and the three MO disks.
constexpr int kArea34 = 34, kArea39 = 39, kArea40 = 40;
constexpr int kArea39Extra[] = {178};
constexpr int kArea40Extra[] = {14, 159, 161};

constexpr int kFirstLockModeArea = 69, kLastLockModeArea = 124;
/// The lock-mode areas where the "Fuse Unit" may lie.
constexpr int kFuseUnitLockModeAreas[] = {73, 115, 123};

}  // namespace

std::vector<int> SlotAreas(Character character, bool lock_mode) {
  std::vector<int> areas(kSlotCount, -1);
  const std::span<const AreaSlotsRow> jill_rows =
      lock_mode ? std::span<const AreaSlotsRow>(kJillLockModeSlotAreas) : kJillPlainSlotAreas;
  for (const AreaSlotsRow& row : jill_rows)
    for (int slot : Expand(row.slots)) areas[slot] = row.area;
  if (character == Character::kChris)
    for (const CharacterSlotAreaRow& row : kCharacterSlotAreas)
      areas[row.slot] = lock_mode ? row.lock_chris : row.plain_chris;
  return areas;
}

std::map<int, std::vector<int>> PlainForbiddenAreas(Character character) {
  std::map<int, std::vector<int>> forbidden;
  for (const ForbiddenAreasRow& row : kPlainForbiddenAreas)
    if (HoldsFor(row.holds, character)) forbidden[row.item] = Expand(row.areas);
  return forbidden;
}

AreaRequirements PlainAreaRequirements(Character character) {
  AreaRequirements requirements;
  for (const RequirementRow& row : kPlainAreaRequirements) {
    if (!HoldsFor(row.holds, character)) continue;
    std::map<int, std::vector<int>>& by_index = requirements[row.area];
    by_index[0].assign(row.required.begin(), row.required.end());
    int index = 1;
    for (const SmallList<int, 2>& alternative : row.alternatives)
      by_index[index++].assign(alternative.begin(), alternative.end());
  }
  requirements[kArea39] = requirements[kArea34];
  requirements[kArea39][0].insert(requirements[kArea39][0].end(), std::begin(kArea39Extra),
                                  std::end(kArea39Extra));
  requirements[kArea40] = requirements[kArea39];
  requirements[kArea40][0].insert(requirements[kArea40][0].end(), std::begin(kArea40Extra),
                                  std::end(kArea40Extra));
  return requirements;
}

std::vector<int> LockModeFuseForbiddenAreas() {
  std::vector<int> areas;
  for (int area = kFirstLockModeArea; area <= kLastLockModeArea; ++area)
    if (std::find(std::begin(kFuseUnitLockModeAreas), std::end(kFuseUnitLockModeAreas), area) ==
        std::end(kFuseUnitLockModeAreas))
      areas.push_back(area);
  return areas;
}

void CVelmoraDlg::FillSlotAreas() {
  for (int area : SlotAreas(SelectedCharacter(), IsChecked(kIdLocks))) m_slotArea.push_back(area);
}

void CVelmoraDlg::FillPlainAreaTables() {
  for (auto& [item, areas] : PlainForbiddenAreas(SelectedCharacter()))
    m_itemForbiddenAreas[item] = std::move(areas);
  for (auto& [area, by_index] : PlainAreaRequirements(SelectedCharacter()))
    m_areaRequirements[area] = std::move(by_index);
}

}  // namespace velmora
