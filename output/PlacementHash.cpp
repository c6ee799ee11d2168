#include "output/PlacementHash.h"

#include <cstdint>

// xxHash is used header-only, so no library is linked on any platform.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace velmora {
namespace {

constexpr int kNamesShown = 5;
constexpr int kBitsPerName = 6;
// A middle dot (U+00B7) in UTF-8, between blanks.
constexpr std::string_view kSeparator = " \xC2\xB7 ";

}  // namespace

std::string PlacementHash(std::string_view item_list_bytes) {
  const uint64_t hash = XXH3_64bits(item_list_bytes.data(), item_list_bytes.size());
  std::string text;
  for (int i = 0; i < kNamesShown; ++i) {
    const int shift = 64 - kBitsPerName * (i + 1);
    if (i > 0) text += kSeparator;
    text += kPlacementHashNames[(hash >> shift) & (kPlacementHashNames.size() - 1)];
  }
  return text;
}

}  // namespace velmora
