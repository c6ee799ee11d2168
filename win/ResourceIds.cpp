// The resource script and the generator name the same controls: every id of
// resource.h must equal its constant in app/ControlIds.h.
#include "app/ControlIds.h"
#include "win/resource.h"

namespace velmora {

static_assert(IDD_VELMORA_DIALOG == kDialogTemplateId);
static_assert(IDR_MAINFRAME == kIconResourceId);
static_assert(IDC_JILL == kIdJill && IDC_CHRIS == kIdChris);
static_assert(IDC_NORMAL == kIdNormal && IDC_HARD == kIdHard);
static_assert(IDC_ITEMS == kIdItems && IDC_ENEMIES == kIdEnemies && IDC_DOORS == kIdDoors &&
              IDC_LOCKS == kIdLocks);
static_assert(IDC_ZOMBIES == kIdZombies && IDC_DOGS == kIdDogs && IDC_HUNTERS == kIdHunters &&
              IDC_SPIDERS == kIdSpiders && IDC_SHARKS == kIdSharks && IDC_BEES == kIdBees &&
              IDC_CHIMERA == kIdChimera && IDC_ELDER_CRIMSON_HEADS == kIdElderCrimsonHeads);
static_assert(IDC_REMOVE_HEALING == kIdRemoveHealing && IDC_REMOVE_AMMO == kIdRemoveAmmo &&
              IDC_REMOVE_INK_RIBBONS == kIdRemoveInkRibbons &&
              IDC_REMOVE_DEFENCE == kIdRemoveDefence);
static_assert(IDC_TYRANT_ONE == kIdTyrantOne && IDC_TYRANT_MANY == kIdTyrantMany &&
              IDC_TYRANT_NONE == kIdTyrantNone);
static_assert(IDC_YAWN_ONE == kIdYawnOne && IDC_YAWN_MANY == kIdYawnMany &&
              IDC_YAWN_NONE == kIdYawnNone);
static_assert(IDC_LISA_ONE == kIdLisaOne && IDC_LISA_MANY == kIdLisaMany &&
              IDC_LISA_NONE == kIdLisaNone);
static_assert(IDC_VERSION == kIdVersion);
static_assert(IDC_TYRANT_FAST == kIdTyrantFast && IDC_TYRANT_SLOW == kIdTyrantSlow &&
              IDC_TYRANT_RANDOM == kIdTyrantRandom);
static_assert(IDC_SWAP_SELF_DEFENSE_GUN == kIdSwapSelfDefenseGun &&
              IDC_ARMED_CAPSULE == kIdArmedCapsule);
static_assert(IDC_GENERATE_SEED == kIdGenerateSeed && IDC_STATUS == kIdStatus &&
              IDC_FINAL_LABEL == kIdFinalLabel);

}  // namespace velmora
