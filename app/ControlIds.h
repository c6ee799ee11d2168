// Control ids of the seed generator's dialog template (template 102).
#pragma once

namespace velmora {

inline constexpr int kDialogTemplateId = 102;
inline constexpr int kIconResourceId = 130;

inline constexpr int kIdJill = 1000;
inline constexpr int kIdChris = 1001;
inline constexpr int kIdNormal = 1002;
inline constexpr int kIdHard = 1003;
inline constexpr int kIdItems = 1004;
inline constexpr int kIdEnemies = 1005;
inline constexpr int kIdDoors = 1006;
inline constexpr int kIdLocks = 1007;

inline constexpr int kIdZombies = 1008;
inline constexpr int kIdDogs = 1009;
inline constexpr int kIdHunters = 1010;
inline constexpr int kIdSpiders = 1011;
inline constexpr int kIdSharks = 1012;
inline constexpr int kIdBees = 1013;
inline constexpr int kIdChimera = 1014;
inline constexpr int kIdElderCrimsonHeads = 1015;

inline constexpr int kIdRemoveHealing = 1016;
inline constexpr int kIdRemoveAmmo = 1017;
inline constexpr int kIdRemoveInkRibbons = 1018;
inline constexpr int kIdRemoveDefence = 1019;

inline constexpr int kIdTyrantOne = 1020;
inline constexpr int kIdTyrantMany = 1021;
inline constexpr int kIdTyrantNone = 1022;
inline constexpr int kIdYawnOne = 1023;
inline constexpr int kIdYawnMany = 1024;
inline constexpr int kIdYawnNone = 1025;
inline constexpr int kIdLisaOne = 1027;
inline constexpr int kIdLisaMany = 1028;
inline constexpr int kIdLisaNone = 1029;

inline constexpr int kIdVersion = 1030;
inline constexpr int kIdTyrantFast = 1031;
inline constexpr int kIdTyrantSlow = 1032;
inline constexpr int kIdTyrantRandom = 1033;

inline constexpr int kIdSwapSelfDefenseGun = 1034;
inline constexpr int kIdArmedCapsule = 1035;
inline constexpr int kIdGenerateSeed = 1036;
inline constexpr int kIdStatus = 1037;
inline constexpr int kIdFinalLabel = 1038;

/// The 20 controls of the enemy panel, in the order the "Enemies" box
/// enables or disables them.
inline constexpr int kEnemyPanelIds[] = {
    kIdTyrantOne,  kIdTyrantMany,  kIdTyrantNone,   kIdYawnOne,
    kIdYawnMany,   kIdYawnNone,    kIdLisaOne,      kIdLisaMany,
    kIdLisaNone,   kIdTyrantFast,  kIdTyrantSlow,   kIdTyrantRandom,
    kIdZombies,    kIdDogs,        kIdHunters,      kIdSpiders,
    kIdSharks,     kIdBees,        kIdChimera,      kIdElderCrimsonHeads,
};

}  // namespace velmora
