// Checks of one generated seed, made from its two files and the options it
// was generated with, apart from the code that generated it: the files'
// form, the placement's pins and forbidden areas, a fixed-point search that
// collects every item, the enemy kinds the options allow, a two-way connected
// door map, lock deals that obey the rules, and a cheat sheet that says what
// the item list says. The verifier of `velmora verify` and the spoiler's
// fixed-point search give their own verdicts besides.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/GeneratorState.h"
#include "cli/CommandLine.h"

namespace velmora {

/// Splits `bytes` into lines that each end in CR LF, the last one included;
/// nothing when a line ends otherwise or holds a stray CR or LF.
std::optional<std::vector<std::string>> SplitCrLfLines(const std::string& bytes);

/// The slots that a fixed-point search cannot open: starting with no item,
/// open every slot whose area's requirements are met by the items collected
/// so far and collect the item it holds, until nothing changes. An area is
/// met when each entry of its index-0 list is -1 or collected and, if it has
/// alternatives (indices 1, 2, ... up to the first missing or empty one),
/// every entry of one of them is. Empty when every slot opens.
std::vector<int> SlotsLeftClosed(const std::vector<int>& placement,
                                 const std::vector<int>& slot_area,
                                 const AreaRequirements& requirements);

/// The broken enemy properties of an enemy section, one line each.
std::vector<std::string> CheckEnemySection(const CommandLineOptions& options,
                                           const std::vector<int>& enemies);

/// The broken door properties of a door section: with doors on, every
/// connection leads both ways and every placed room can be reached from
/// "Main Hall"; with doors off, every value is -1.
std::vector<std::string> CheckDoorSection(const CommandLineOptions& options,
                                          const std::vector<int>& doors);

/// One generated seed: its options, its files, the placement before the pool
/// modifiers changed it (the final one when none ran) and the generator
/// state after the generation, whose tables (slot areas, forbidden areas,
/// area requirements, item names) the checks read.
struct GeneratedSeed {
  CommandLineOptions options;
  std::string item_list;
  std::string cheat_sheet;
  std::vector<int> placement_before_modifiers;
  const GeneratorState* state = nullptr;
};

/// Every property the seed breaks, one line each; empty when it keeps them
/// all.
std::vector<std::string> CheckSeed(const GeneratedSeed& seed);

}  // namespace velmora
