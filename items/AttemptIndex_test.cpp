#include "items/AttemptIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "items/FastItemSearch.h"
#include "items/LiteralAttempt_test.h"
#include "items/Pins.h"

namespace velmora {
namespace {

constexpr const char* kRemake = "; scripts/make-attempt-index.sh makes the index files again";

std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

TEST(AttemptKeyTest, NumbersTheAttemptStartsAlongTheCycleFromStateZero) {
  EXPECT_EQ(uint32_t{185} * kInverseOfDealDraws, 1u);
  for (uint32_t key : {0u, 1u, 2u, 185u, 123456789u, 0x80000000u, 0xFFFFFFFFu}) {
    EXPECT_EQ(AttemptKey(AttemptStart(key)), key);
  }
  // The next attempt's start is 185 draws on, and its key one more.
  CrtRandom r;
  r.set_state(AttemptStart(41));
  r.Skip(185);
  EXPECT_EQ(AttemptKey(r.state()), 42u);
  EXPECT_EQ(AttemptKey(LcgJump::For(185).Apply(AttemptStart(0xFFFFFFFFu))), 0u);
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
  EXPECT_FALSE(AttemptIndex::Parse(Bytes(flipped), &problem));
  EXPECT_EQ(problem, "the keys do not match their checksum");

  EXPECT_FALSE(AttemptIndex::Parse(Bytes(good.substr(0, good.size() - 1)), &problem));
  EXPECT_EQ(problem, "the header counts 3 keys, the file holds 11 bytes of keys");
  EXPECT_FALSE(AttemptIndex::Parse(Bytes(good.substr(0, 10)), &problem));
  EXPECT_EQ(problem, "not an attempt index (no header)");
  EXPECT_FALSE(AttemptIndex::Parse(Bytes("X" + good.substr(1)), &problem));
  EXPECT_EQ(problem, "not an attempt index (no header)");

  // A list out of order, with a checksum of its own bytes.
  EXPECT_FALSE(AttemptIndex::Parse(Bytes(AttemptIndex::Serialize(3, {1, 900, 2})), &problem));
  EXPECT_EQ(problem, "the keys are not strictly ascending at key 2");
  EXPECT_FALSE(AttemptIndex::Parse(Bytes(AttemptIndex::Serialize(3, {4, 4})), &problem));
}

// A dialog with the plain tables of one selection.
class CommittedIndexTest : public testing::TestWithParam<int>, public DialogFixture {
 protected:
  CommittedIndexTest() { FillItemTables(*this, chris(), hard(), false); }
  bool chris() const { return GetParam() >= 2; }
  bool hard() const { return GetParam() % 2 == 1; }
  Character character() const { return chris() ? kChris : kJill; }
  Difficulty difficulty() const { return hard() ? kHard : kNormal; }
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

std::string SelectionName(const testing::TestParamInfo<int>& info) {
  return std::string(info.param >= 2 ? "Chris" : "Jill") + (info.param % 2 ? "Hard" : "Normal");
}

TEST_P(CommittedIndexTest, MatchesTheTablesAndEveryKeyIsTheFirstPassOfItsRun) {
  const auto index = Committed();
  ASSERT_TRUE(index && index->size() > 0);
  EXPECT_EQ(MatchingAttemptIndex(dlg, pins(), character(), difficulty()) != nullptr,
            index->tables() == TablesFingerprint(dlg, pins()));
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

INSTANTIATE_TEST_SUITE_P(Selections, CommittedIndexTest, testing::Range(0, 4), SelectionName);

// Whole generations answered by the index and by the search, with and
// without the stages that draw before the item loop (enemies) or act after
// it (the modifiers), leave the same log, files, placement and random state.
struct Generation {
  int selection;
  bool enemies;
  bool modifiers;
};

class IndexedGenerationTest : public testing::TestWithParam<Generation> {
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
    MemoryWindow& window = f.window;
    CVelmoraDlg& dlg = f.dlg;
    const Generation& g = GetParam();
    if (g.selection >= 2) window.Click(kIdChris);
    if (g.selection % 2) window.Click(kIdHard);
    if (g.enemies) {
      window.Click(kIdEnemies);
      dlg.OnBnClickedEnemies();
    }
    if (g.modifiers) {
      for (int id : {kIdRemoveHealing, kIdRemoveAmmo, kIdRemoveInkRibbons, kIdRemoveDefence,
                     kIdSwapSelfDefenseGun, kIdArmedCapsule})
        window.Click(id);
    }
    dlg.m_useAttemptIndex = use_index;
    dlg.m_searchThreads = 2;
    dlg.SetSeedSource([seed] { return seed; });
    dlg.OnBnClickedGenerateSeed();
    return {window.GetControlText(kIdStatus), f.files.files(), dlg.m_placement, dlg.m_visiting,
            dlg.m_random.state(), dlg.m_itemAttempts, dlg.m_placementValid};
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
    EXPECT_EQ(indexed.log, searched.log) << "seed " << seed;
    EXPECT_TRUE(indexed == searched) << "seed " << seed << ": files, placement or state differ";
    ++compared;
  }
}

std::string GenerationName(const testing::TestParamInfo<Generation>& info) {
  const Generation& g = info.param;
  return std::string(g.selection >= 2 ? "Chris" : "Jill") + (g.selection % 2 ? "Hard" : "Normal") +
         (g.enemies ? "Enemies" : "") + (g.modifiers ? "Modifiers" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Selections, IndexedGenerationTest,
    testing::Values(Generation{0, false, false}, Generation{0, true, false},
                    Generation{0, true, true}, Generation{1, false, false},
                    Generation{1, true, false}, Generation{1, false, true},
                    Generation{2, false, false}, Generation{2, true, false},
                    Generation{2, true, true}, Generation{3, false, false},
                    Generation{3, true, false}, Generation{3, false, true}),
    GenerationName);

}  // namespace
}  // namespace velmora
