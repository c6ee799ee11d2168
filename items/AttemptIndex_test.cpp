#include "items/AttemptIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <tuple>

#include "items/FastItemSearch.h"
#include "items/LiteralAttempt_test.h"
#include "items/Pins.h"

namespace velmora {
namespace {

constexpr const char* kRemake = "; scripts/make-attempt-index.sh makes the index files again";

std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// The next attempt's start is 185 draws on, and its key one more.
TEST(AttemptKeyTest, NumbersTheAttemptStartsAlongTheCycle) {
  for (uint32_t key : {0u, 185u, 123456789u, 0xFFFFFFFFu}) {
    EXPECT_EQ(AttemptKey(AttemptStart(key)), key);
    EXPECT_EQ(AttemptKey(LcgJump::For(185).Apply(AttemptStart(key))), key + 1);
  }
}

// A handmade index of the keys 10 and 20.
TEST(AttemptIndexTest, FirstPassingIsTheNextKeyAtOrAfterTheLoopsFirstWrappingRound) {
  const std::string bytes = AttemptIndex::Serialize(77, {10, 20});
  const auto index = AttemptIndex::Parse(Bytes(bytes), nullptr);
  ASSERT_TRUE(index);
  EXPECT_EQ(index->tables(), 77u);
  EXPECT_EQ(index->size(), 2u);
  EXPECT_EQ(index->FirstPassing(AttemptStart(15)), 6u);
  EXPECT_EQ(index->FirstPassing(AttemptStart(10)), 1u);
  EXPECT_EQ(index->FirstPassing(AttemptStart(20)), 1u);
  EXPECT_EQ(index->FirstPassing(AttemptStart(21)), (uint64_t{1} << 32) - 10);
  EXPECT_EQ(index->FirstPassing(AttemptStart(0)), 11u);
  const std::string one = AttemptIndex::Serialize(0, {5});
  EXPECT_EQ(AttemptIndex::Parse(Bytes(one), nullptr)->FirstPassing(AttemptStart(6)),
            uint64_t{1} << 32);
  const std::string none = AttemptIndex::Serialize(0, {});
  EXPECT_EQ(AttemptIndex::Parse(Bytes(none), nullptr)->FirstPassing(AttemptStart(6)), 0u);
}

TEST(AttemptIndexTest, DamagedFilesDoNotRead) {
  const std::string good = AttemptIndex::Serialize(3, {1, 2, 900});
  std::string problem;
  ASSERT_TRUE(AttemptIndex::Parse(Bytes(good), &problem)) << problem;

  std::string flipped = good;
  flipped.back() ^= 0x01;
  // The last, a list out of order, has a checksum of its own bytes.
  const std::pair<std::string, std::string> damaged[] = {
      {flipped, "the keys do not match their checksum"},
      {good.substr(0, good.size() - 1), "the header counts 3 keys, the file holds 11 bytes of keys"},
      {good.substr(0, 10), "not an attempt index (no header)"},
      {"X" + good.substr(1), "not an attempt index (no header)"},
      {AttemptIndex::Serialize(3, {1, 900, 2}), "the keys are not strictly ascending at key 2"}};
  for (const auto& [bytes, wanted] : damaged) {
    EXPECT_FALSE(AttemptIndex::Parse(Bytes(bytes), &problem));
    EXPECT_EQ(problem, wanted);
  }
  EXPECT_FALSE(AttemptIndex::Parse(Bytes(AttemptIndex::Serialize(3, {4, 4})), &problem));
}

// A dialog with the plain tables of one selection.
class CommittedIndexTest : public testing::TestWithParam<int>, public DialogFixture {
 protected:
  CommittedIndexTest() { FillItemTables(*this, GetParam() >= 2, GetParam() % 2 == 1, false); }
  Character character() const { return GetParam() >= 2 ? kChris : kJill; }
  Difficulty difficulty() const { return GetParam() % 2 == 1 ? kHard : kNormal; }
  std::vector<int> pins() const { return PinnedSlots(character(), difficulty()); }
  // The committed index of the selection, checked against the tables.
  std::optional<AttemptIndex> Committed() {
    std::string problem;
    auto index = AttemptIndex::Parse(EmbeddedAttemptIndexBytes(character(), difficulty()), &problem);
    EXPECT_TRUE(index) << AttemptIndexFileName(character(), difficulty()) << ": " << problem
                       << kRemake;
    if (index) {
      EXPECT_EQ(index->tables(), TablesFingerprint(dlg, pins()))
          << AttemptIndexFileName(character(), difficulty())
          << " was made from other tables than today's" << kRemake;
    }
    return index;
  }
};

std::string SelectionName(int selection) {
  return std::string(selection >= 2 ? "Chris" : "Jill") + (selection % 2 ? "Hard" : "Normal");
}

TEST_P(CommittedIndexTest, MatchesTheTablesAndEveryKeyIsTheFirstPassOfItsRun) {
  const auto index = Committed();
  ASSERT_TRUE(index && index->size() > 0);
  EXPECT_NE(MatchingAttemptIndex(dlg, pins(), character(), difficulty()), nullptr);
  // Other tables (one forbidden area more) are not the index's.
  dlg.m_itemForbiddenAreas[0].push_back(9999);
  EXPECT_EQ(MatchingAttemptIndex(dlg, pins(), character(), difficulty()), nullptr);
  dlg.m_itemForbiddenAreas[0].pop_back();

  // Every key passes the literal deal and check, and the attempt before it
  // fails (judged by the search, which agrees with the literal check attempt
  // by attempt); under the sanitizers a sample of the larger lists is enough.
  const FastItemSearch search(dlg, pins());
  const bool sampled = std::getenv("VELMORA_SANITIZED") != nullptr;
  const uint32_t step = sampled ? std::max<uint32_t>(1, index->size() / 200) : 1;
  for (uint32_t i = 0; i < index->size(); i += step) {
    const uint32_t key = index->key(i);
    ASSERT_TRUE(LiteralAttemptPasses(dlg, AttemptStart(key))) << "key " << key;
    const bool before_is_key = i > 0 && index->key(i - 1) == key - 1;
    if (!before_is_key) {
      ASSERT_FALSE(search.AttemptPasses(AttemptStart(key - 1))) << "before key " << key;
    }
  }
}

// The index holds every passing attempt: over windows of consecutive
// attempts at fixed places of the cycle, the search finds exactly its keys.
TEST_P(CommittedIndexTest, SearchFindsExactlyTheIndexsKeysInSampledWindows) {
  const auto index = Committed();
  ASSERT_TRUE(index);
  const FastItemSearch search(dlg, pins());
  const uint64_t width = std::getenv("VELMORA_SANITIZED") ? uint64_t{1} << 20 : uint64_t{1} << 24;
  for (uint32_t first_key : {0x00000000u, 0x9E3779B9u}) {
    std::vector<uint32_t> found;
    const uint32_t start = AttemptStart(first_key);
    for (uint64_t attempt = search.FindFirstPassing(start, 1, width, 2); attempt != 0;
         attempt = search.FindFirstPassing(start, attempt + 1, width, 2)) {
      found.push_back(first_key + static_cast<uint32_t>(attempt - 1));
    }
    std::vector<uint32_t> listed;
    for (uint32_t i = 0; i < index->size(); ++i) {
      const uint32_t offset = index->key(i) - first_key;
      if (offset < width) listed.push_back(index->key(i));
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(found, listed) << "window from key " << first_key;
  }
}

INSTANTIATE_TEST_SUITE_P(Selections, CommittedIndexTest, testing::Range(0, 4),
                         [](const auto& param_info) { return SelectionName(param_info.param); });

// Whole generations answered by the index and by the search, with and
// without the enemies, which draw before the item loop, leave the same log,
// files, placement and random state.
class IndexedGenerationTest : public testing::TestWithParam<std::tuple<int, bool>> {
 protected:
  struct Outcome {
    std::string log;
    std::map<std::string, std::string> files;
    std::vector<int> placement, visiting;
    uint32_t state;
    uint64_t attempts;
    bool valid;
    bool operator==(const Outcome&) const = default;
  };
  Outcome Generate(uint32_t seed, bool use_index) {
    DialogFixture f;
    const auto [selection, enemies] = GetParam();
    if (selection >= 2) f.window.Click(kIdChris);
    if (selection % 2) f.window.Click(kIdHard);
    if (enemies) {
      f.window.Click(kIdEnemies);
      f.dlg.OnBnClickedEnemies();
    }
    f.dlg.m_useAttemptIndex = use_index;
    f.dlg.m_searchThreads = 2;
    f.dlg.SetSeedSource([seed] { return seed; });
    f.dlg.OnBnClickedGenerateSeed();
    return {f.window.GetControlText(kIdStatus), f.files.files(), f.dlg.m_placement, f.dlg.m_visiting,
            f.dlg.m_random.state(), f.dlg.m_itemAttempts, f.dlg.m_placementValid};
  }
};

TEST_P(IndexedGenerationTest, IndexAndSearchGiveTheSameSeed) {
  // Seeds in order, skipping those whose search would be long, so that the
  // test stays quick; the index answers them all alike.
  const bool sanitized = std::getenv("VELMORA_SANITIZED") != nullptr;
  const int wanted = sanitized ? 6 : 70;
  const uint64_t longest = sanitized ? 100'000 : 1'000'000;
  int compared = 0;
  for (uint32_t seed = 1; compared < wanted; ++seed) {
    const Outcome indexed = Generate(seed, true);
    ASSERT_TRUE(indexed.valid) << "seed " << seed;
    if (indexed.attempts > longest) continue;
    const Outcome searched = Generate(seed, false);
    ASSERT_EQ(indexed.attempts, searched.attempts) << "seed " << seed;
    EXPECT_TRUE(indexed == searched) << "seed " << seed << ": log, files, placement or state differ";
    ++compared;
  }
}

INSTANTIATE_TEST_SUITE_P(Selections, IndexedGenerationTest,
                         testing::Combine(testing::Range(0, 4), testing::Bool()),
                         [](const auto& param_info) {
                           return SelectionName(std::get<0>(param_info.param)) +
                                  (std::get<1>(param_info.param) ? "Enemies" : "");
                         });

}  // namespace
}  // namespace velmora
