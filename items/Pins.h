// The slots that every item deal returns to their own item, so that those
// items stay where the unshuffled game has them.
#pragma once

#include <vector>

#include "catalogue/Selection.h"

namespace velmora {

/// Pinned in every deal: "Bee Specimen", "Lure w/out hook", "Shaft",
/// "Dog Collar", "Broken Flamethrower", "Insecticide Spray".
inline constexpr int kAlwaysPinnedSlots[] = {90, 91, 114, 48, 123, 147};

/// Pinned on Hard, for either character.
inline constexpr int kHardPinnedSlots[] = {
    4,   5,   7,   21,  27,  40,  49,  55,  64,  65,  68,  69,  72,
    80,  84,  93,  95,  98,  108, 109, 110, 113, 119, 126, 132, 134,
    138, 141, 144, 152, 155, 158, 160, 162, 170, 172, 173,
};

/// Pinned for Chris on Hard.
inline constexpr int kChrisHardPinnedSlots[] = {75, 76};

/// Pinned for Jill on either difficulty.
inline constexpr int kJillPinnedSlots[] = {26, 27};

/// Pinned for Jill on Normal only.
inline constexpr int kJillNormalPinnedSlot = 39;

/// Every pin of a deal for the selection, in the order the deal applies them.
/// A slot can occur twice (27 on Jill Hard); the second pin changes nothing.
std::vector<int> PinnedSlots(Character character, Difficulty difficulty);

}  // namespace velmora
