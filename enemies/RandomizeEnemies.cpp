// The enemy pass: one kind for every enemy position, under the kind boxes
// and the spawn options of the enemy panel.
#include <algorithm>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/VelmoraDlg.h"
#include "enemies/EnemyPositions.h"

namespace velmora {
namespace {

/// Marks a special kind that is placed nowhere.
constexpr const char* kNoPosition = "NONE";

struct OrdinaryKind {
  EnemyKind kind;
  int box;
};

// The order in which unchecked ordinary kinds leave a list. A list never
// loses its last kind, so this order decides which kind stays when all of a
// list's ordinary kinds are switched off.
constexpr OrdinaryKind kRemovalOrder[] = {
    {kKindElderCrimsonHead, kIdElderCrimsonHeads},
    {kKindHunters, kIdHunters},
    {kKindChimeras, kIdChimera},
    {kKindBees, kIdBees},
    {kKindSpiders, kIdSpiders},
    {kKindDogs, kIdDogs},
    {kKindSharks, kIdSharks},
    {kKindZombies, kIdZombies},
};

bool Holds(const std::vector<int>& kinds, EnemyKind kind) {
  return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

void Remove(std::vector<int>& kinds, EnemyKind kind) {
  auto it = std::find(kinds.begin(), kinds.end(), kind);
  if (it != kinds.end()) kinds.erase(it);
}

}  // namespace

void CVelmoraDlg::RandomizeEnemies() {
  AppendStatus("Randomizing Enemies . . .");

  std::vector<std::string> tyrant_candidates, yawn_candidates, lisa_candidates;
  for (const auto& [position, kinds] : m_enemyPositions) {
    if (Holds(kinds, kKindTyrant)) tyrant_candidates.push_back(position);
    if (Holds(kinds, kKindYawn)) yawn_candidates.push_back(position);
    if (Holds(kinds, kKindLisa)) lisa_candidates.push_back(position);
  }

  // The three special kinds always go to three different positions; the
  // choice is made even for a kind that is then switched off.
  const int tyrant_count = static_cast<int>(tyrant_candidates.size());
  const int yawn_count = static_cast<int>(yawn_candidates.size());
  const int lisa_count = static_cast<int>(lisa_candidates.size());
  int t = m_random.Draw(tyrant_count);
  int y = m_random.Draw(yawn_count);
  int l = m_random.Draw(lisa_count);
  while (tyrant_candidates[t] == yawn_candidates[y] || tyrant_candidates[t] == lisa_candidates[l] ||
         yawn_candidates[y] == lisa_candidates[l]) {
    t = m_random.Draw(tyrant_count);
    y = m_random.Draw(yawn_count);
    l = m_random.Draw(lisa_count);
  }
  std::string tyrant_position = tyrant_candidates[t];
  std::string yawn_position = yawn_candidates[y];
  std::string lisa_position = lisa_candidates[l];
  if (IsChecked(kIdTyrantNone)) tyrant_position = kNoPosition;
  if (IsChecked(kIdYawnNone)) yawn_position = kNoPosition;
  if (IsChecked(kIdLisaNone)) lisa_position = kNoPosition;

  // "One" and "None" take a special kind out of every list; "Many" leaves it
  // where the table allows it.
  for (auto& [position, kinds] : m_enemyPositions) {
    if (!IsChecked(kIdYawnMany)) Remove(kinds, kKindYawn);
    if (!IsChecked(kIdTyrantMany)) Remove(kinds, kKindTyrant);
    if (!IsChecked(kIdLisaMany)) Remove(kinds, kKindLisa);
    for (const OrdinaryKind& ordinary : kRemovalOrder) {
      if (!IsChecked(ordinary.box) && kinds.size() > 1) Remove(kinds, ordinary.kind);
    }
  }

  // Every Tyrant placed takes the form the Tyrant type asks for; "Random"
  // tosses a coin for each one.
  auto tyrant_form = [this]() -> EnemyKind {
    if (IsChecked(kIdTyrantSlow)) return kKindSlowTyrant;
    if (IsChecked(kIdTyrantRandom)) return m_random.Draw(2) == 0 ? kKindTyrant : kKindSlowTyrant;
    return kKindTyrant;
  };

  for (auto& [position, kinds] : m_enemyPositions) {
    EnemyKind kind;
    if (position == tyrant_position) {
      kind = tyrant_form();
    } else if (position == yawn_position) {
      kind = kKindYawn;
    } else if (position == lisa_position) {
      kind = kKindLisa;
    } else {
      kind = kinds[m_random.Draw(static_cast<int>(kinds.size()))];
      if (kind == kKindTyrant) kind = tyrant_form();
    }
    kinds.assign(1, kind);
  }

  AppendStatus("done!\n");
}

}  // namespace velmora
