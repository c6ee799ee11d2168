// The pool modifiers: the "Remove from pool" boxes, the Self-Defense Gun swap
// and the armed fuel capsule rewrite the finished placement in place.
#include <set>
#include <string>

#include "app/ControlIds.h"
#include "app/VelmoraDlg.h"
#include "catalogue/ItemNames.h"

namespace velmora {
namespace {

template <typename Group>
bool InGroup(const Group& group, const std::string& name) {
  for (const auto& member : group)
    if (name == member) return true;
  return false;
}

bool IsSwapItem(const std::string& name) {
  return InGroup(kHealingItemNames, name) || InGroup(kAmmunitionNames, name) ||
         InGroup(kInkRibbonNames, name) || InGroup(kDefenceItemNames, name) ||
         InGroup(kFurtherSwapItemNames, name);
}

// Items that some area holding slots needs in order to be entered. The swap
// keeps them, so that turning them into the Self Defense Gun cannot make the
// progression the item stage checked impossible ("Broken Shotgun" opens
// plain area 37).
std::set<int> ItemsNeededByAreasWithSlots(const GeneratorState& state) {
  const std::set<int> areas_with_slots(state.m_slotArea.begin(), state.m_slotArea.end());
  std::set<int> needed;
  for (const auto& [area, lists] : state.m_areaRequirements) {
    if (!areas_with_slots.contains(area)) continue;
    for (const auto& [index, items] : lists) needed.insert(items.begin(), items.end());
  }
  return needed;
}

}  // namespace

void CVelmoraDlg::ApplyPoolModifiers() {
  const bool remove_healing = IsChecked(kIdRemoveHealing);
  const bool remove_ammo = IsChecked(kIdRemoveAmmo);
  const bool remove_ink = IsChecked(kIdRemoveInkRibbons);
  const bool remove_defence = IsChecked(kIdRemoveDefence);
  const bool swap = IsChecked(kIdSwapSelfDefenseGun);
  const bool armed_capsule = IsChecked(kIdArmedCapsule);
  const bool any =
      remove_healing || remove_ammo || remove_ink || remove_defence || swap || armed_capsule;
  if (!any) return;

  AppendStatus("Applying modifiers . . .");
  const std::set<int> kept_by_swap = swap ? ItemsNeededByAreasWithSlots(*this) : std::set<int>{};
  auto name_of = [this](int item) -> const std::string& { return m_itemNames.at(item); };
  auto filler = [this] { return kFillerItems[m_random.Draw(4)]; };

  for (int& item : m_placement) {
    if (remove_healing && InGroup(kHealingItemNames, name_of(item))) item = filler();
    if (remove_ink && InGroup(kInkRibbonNames, name_of(item))) item = filler();
    if (remove_ammo && InGroup(kAmmunitionNames, name_of(item))) item = filler();
    if (remove_defence && InGroup(kDefenceItemNames, name_of(item))) item = filler();
    if (swap && IsSwapItem(name_of(item)) && !kept_by_swap.contains(item)) item = kSelfDefenseGun;
    if (armed_capsule && name_of(item) == "Fuel Supply Capsule (Empty)") item = kArmedFuelCapsule;
  }
  AppendStatus("done!\n");
}

}  // namespace velmora
