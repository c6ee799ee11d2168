#include "doors/LockShuffle.h"

#include <initializer_list>

#include "app/VelmoraDlg.h"

namespace velmora {
namespace {

bool In(int type, std::initializer_list<int> types) {
  for (int t : types)
    if (t == type) return true;
  return false;
}

}  // namespace

LockDeal ToLockDeal(const std::vector<int>& types) {
  LockDeal deal{};
  for (int p = 0; p < kLockPositionCount && p < static_cast<int>(types.size()); ++p)
    deal[p] = types[p];
  return deal;
}

std::vector<int> BrokenLockRules(const LockDeal& L) {
  std::vector<int> broken;
  auto check = [&broken](int rule, bool rejects) {
    if (rejects) broken.push_back(rule);
  };
  // A position whose lock must be passable from the far side needs a partner
  // position that is open from there, or one that shares its key.
  const bool pos15_helped = In(L[10], {7, 15}) || In(L[28], {7, 15});
  const bool pos10_helped = In(L[22], {7, 15}) || In(L[28], {7, 15});

  check(1, In(L[1], {7, 9}) && In(L[6], {7, 9}));
  check(2, In(L[1], {6, 8}) && In(L[2], {6, 8}) && In(L[3], {6, 8}) && In(L[4], {6, 8}) &&
               In(L[13], {7, 9}));
  check(3, In(L[3], {7, 9}) && In(L[13], {7, 9}));
  check(4, !In(L[30], {6, 15}));
  check(5, !In(L[26], {6, 15}) && !In(L[8], {7, 15}));
  check(6, In(L[15], {7, 8, 15}) && !pos15_helped);
  check(7, !In(L[15], {7, 8, 15}) && !pos15_helped && L[15] != L[28] && L[15] != L[10]);
  check(8, In(L[10], {7, 8, 15}) && !pos10_helped);
  check(9, !In(L[10], {7, 8, 15}) && !pos10_helped && L[10] != L[22] && L[10] != L[28]);
  return broken;
}

void CVelmoraDlg::ShuffleLocks() {
  m_lockTypes.clear();
  std::vector<int> pool;
  for (int p = 0; p < kLockPositionCount; ++p) pool.push_back(p);
  while (!pool.empty()) {
    const int index = m_random.Draw(static_cast<int>(pool.size()));
    const auto it = m_lockPool.find(pool[index]);
    m_lockTypes.push_back(it == m_lockPool.end() ? 0 : it->second);
    pool.erase(pool.begin() + index);
  }
  // Turning a door around is decided position by position, with one coin
  // toss per turnable door.
  for (int p = 0; p <= 26; ++p) {
    if (IsReversibleLockPosition(p) && In(m_lockTypes[p], {6, 8}))
      m_lockTypes[p] += m_random.Draw(2);
  }
}

bool CVelmoraDlg::LocksAreValid() { return BrokenLockRules(ToLockDeal(m_lockTypes)).empty(); }

}  // namespace velmora
