#include "items/AttemptIndex.h"

#include <cstring>
#include <iterator>

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace velmora {

// Made at build time from the index files beside this one; empty when a file
// was missing.
extern const unsigned char kAttemptIndexJillNormal[];
extern const std::size_t kAttemptIndexJillNormalSize;
extern const unsigned char kAttemptIndexJillHard[];
extern const std::size_t kAttemptIndexJillHardSize;
extern const unsigned char kAttemptIndexChrisNormal[];
extern const std::size_t kAttemptIndexChrisNormalSize;
extern const unsigned char kAttemptIndexChrisHard[];
extern const std::size_t kAttemptIndexChrisHardSize;

namespace {

constexpr char kMagic[8] = {'V', 'M', 'A', 'I', 'D', 'X', '0', '1'};
constexpr size_t kHeaderSize = sizeof(kMagic) + 8 + 4 + 8;

uint32_t Load32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint64_t Load64(const uint8_t* p) { return Load32(p) | uint64_t{Load32(p + 4)} << 32; }

void Store32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void Store64(std::string& out, uint64_t v) {
  Store32(out, static_cast<uint32_t>(v));
  Store32(out, static_cast<uint32_t>(v >> 32));
}

}  // namespace

uint32_t AttemptKey(uint32_t state) { return LcgDistance(0, state) * kInverseOfDealDraws; }

uint32_t AttemptStart(uint32_t key) {
  return LcgJump::For(uint64_t{kSlotCount} * key).Apply(0);
}

uint64_t TablesFingerprint(const GeneratorState& state, const std::vector<int>& pins) {
  // Every table as a run of little-endian numbers, each list led by its
  // length, so that no two different tables give the same bytes.
  std::string bytes;
  auto put = [&bytes](int64_t v) { Store32(bytes, static_cast<uint32_t>(v)); };
  auto put_list = [&](const std::vector<int>& list) {
    put(static_cast<int64_t>(list.size()));
    for (int v : list) put(v);
  };
  put_list(state.m_slotArea);
  put_list(pins);
  for (const auto& [item, areas] : state.m_itemForbiddenAreas) {
    if (areas.empty()) continue;
    put(item);
    put_list(areas);
  }
  put(-1);
  for (const auto& [area, lists] : state.m_areaRequirements) {
    for (const auto& [index, items] : lists) {
      if (items.empty()) continue;
      put(area);
      put(index);
      put_list(items);
    }
  }
  return XXH64(bytes.data(), bytes.size(), 0);
}

uint64_t KeysChecksum(std::span<const uint8_t> key_bytes) {
  return XXH64(key_bytes.data(), key_bytes.size(), 0);
}

std::optional<AttemptIndex> AttemptIndex::Parse(std::span<const uint8_t> bytes,
                                                std::string* problem) {
  auto fail = [problem](std::string why) -> std::optional<AttemptIndex> {
    if (problem) *problem = std::move(why);
    return std::nullopt;
  };
  if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof(kMagic)) != 0)
    return fail("not an attempt index (no header)");
  AttemptIndex index;
  const uint8_t* p = bytes.data() + sizeof(kMagic);
  index.tables_ = Load64(p);
  index.count_ = Load32(p + 8);
  index.checksum_ = Load64(p + 12);
  index.keys_ = bytes.data() + kHeaderSize;
  if (bytes.size() - kHeaderSize != uint64_t{4} * index.count_)
    return fail("the header counts " + std::to_string(index.count_) + " keys, the file holds " +
                std::to_string(bytes.size() - kHeaderSize) + " bytes of keys");
  if (KeysChecksum(bytes.subspan(kHeaderSize)) != index.checksum_)
    return fail("the keys do not match their checksum");
  for (uint32_t i = 1; i < index.count_; ++i)
    if (index.key(i - 1) >= index.key(i))
      return fail("the keys are not strictly ascending at key " + std::to_string(i));
  return index;
}

std::string AttemptIndex::Serialize(uint64_t tables, const std::vector<uint32_t>& keys) {
  std::string key_bytes;
  for (uint32_t key : keys) Store32(key_bytes, key);
  std::string out(kMagic, sizeof(kMagic));
  Store64(out, tables);
  Store32(out, static_cast<uint32_t>(keys.size()));
  Store64(out, KeysChecksum({reinterpret_cast<const uint8_t*>(key_bytes.data()), key_bytes.size()}));
  return out + key_bytes;
}

uint32_t AttemptIndex::key(uint32_t i) const { return Load32(keys_ + uint64_t{4} * i); }

uint64_t AttemptIndex::FirstPassing(uint32_t loop_start) const {
  if (count_ == 0) return 0;
  const uint32_t first_key = AttemptKey(loop_start);
  // The first key at or after the loop's first one; past the last key the
  // loop wraps round to the cycle's first passing key.
  uint32_t low = 0, high = count_;
  while (low < high) {
    const uint32_t mid = low + (high - low) / 2;
    if (key(mid) < first_key)
      low = mid + 1;
    else
      high = mid;
  }
  const uint32_t found = key(low == count_ ? 0 : low);
  return uint64_t{static_cast<uint32_t>(found - first_key)} + 1;
}

std::string AttemptIndexFileName(Character character, Difficulty difficulty) {
  return SelectionName({character, difficulty}) + ".idx";
}

std::span<const uint8_t> EmbeddedAttemptIndexBytes(Character character, Difficulty difficulty) {
  const unsigned char* data = nullptr;
  size_t size = 0;
  if (character == Character::kJill) {
    data = difficulty == Difficulty::kNormal ? kAttemptIndexJillNormal : kAttemptIndexJillHard;
    size = difficulty == Difficulty::kNormal ? kAttemptIndexJillNormalSize
                                             : kAttemptIndexJillHardSize;
  } else {
    data = difficulty == Difficulty::kNormal ? kAttemptIndexChrisNormal : kAttemptIndexChrisHard;
    size = difficulty == Difficulty::kNormal ? kAttemptIndexChrisNormalSize
                                             : kAttemptIndexChrisHardSize;
  }
  return {data, size};
}

const AttemptIndex* MatchingAttemptIndex(const GeneratorState& state, const std::vector<int>& pins,
                                         Character character, Difficulty difficulty) {
  // Read and checked once per program; an index that does not read is never
  // used, and the tests say how to make it again.
  static const std::optional<AttemptIndex> kIndexes[4] = {
      AttemptIndex::Parse(EmbeddedAttemptIndexBytes(Character::kJill, Difficulty::kNormal), nullptr),
      AttemptIndex::Parse(EmbeddedAttemptIndexBytes(Character::kJill, Difficulty::kHard), nullptr),
      AttemptIndex::Parse(EmbeddedAttemptIndexBytes(Character::kChris, Difficulty::kNormal), nullptr),
      AttemptIndex::Parse(EmbeddedAttemptIndexBytes(Character::kChris, Difficulty::kHard), nullptr),
  };
  const auto& index = kIndexes[(character == Character::kChris ? 2 : 0) +
                               (difficulty == Difficulty::kHard ? 1 : 0)];
  if (!index || index->size() == 0) return nullptr;
  if (index->tables() != TablesFingerprint(state, pins)) return nullptr;
  return &*index;
}

}  // namespace velmora
