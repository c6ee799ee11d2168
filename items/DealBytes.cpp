// The deal one attempt at a time with the pool in a byte array: the item
// loop's own way, and the kernel every processor runs.
#include <cstring>

#include "app/Random.h"
#include "items/DealKernels.h"

namespace velmora {

int DealBytes(uint32_t state, const SlotMask* early, int* placement) {
  uint8_t pool[kSlotCount];
  for (int item = 0; item < kSlotCount; ++item) pool[item] = static_cast<uint8_t>(item);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    state = state * CrtRandom::kMultiplier + CrtRandom::kIncrement;
    const uint32_t size = static_cast<uint32_t>(kSlotCount - slot);
    const uint32_t index = kReciprocals.Mod((state >> 16) & 0x7FFF, size);
    const int item = pool[index];
    std::memmove(pool + index, pool + index + 1, size - index - 1);
    placement[slot] = item;
    if ((early[item][slot >> 6] >> (slot & 63)) & 1) return -(slot + 1);
  }
  return kSlotCount;
}

}  // namespace velmora
