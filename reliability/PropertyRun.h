// The property run: many seeds over every combination of options, each
// generated in memory by the dialog, judged by the verifier, its cheat sheet
// compared with its item list, and a sample generated again by the velmora
// program in a separate process to compare bytes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/GeneratorState.h"
#include "cli/CommandLine.h"

namespace velmora {

/// How a run spreads its seeds, in cases per thousand. Chris's item
/// shuffles take seconds each, so the mix keeps them rare.
struct SeedMix {
  int no_items = 250;       ///< items kept, any character and difficulty
  int doors = 200;          ///< door seeds (Normal, items, no locks)
  int chris_shuffles = 10;  ///< Chris with shuffled items
  int jill_hard = 140;      ///< Jill Hard with shuffled items
  // The rest: Jill Normal with shuffled items.
};

/// One seed of a run.
struct SeedCase {
  uint64_t index = 0;
  CommandLineOptions options;  ///< the seed number among them
};

/// Case `index` of a run: its seed number and options, drawn from a hash of
/// the index and `salt` under `mix`. Options within a kind of seed (locks,
/// enemies with their kind boxes and spawn choices, modifiers) are all drawn
/// independently, so a long run covers every combination of pairs of them.
SeedCase CaseFor(uint64_t index, uint64_t salt, const SeedMix& mix);

/// The velmora arguments that generate the seed of `c`: its settings string.
std::vector<std::string> ArgumentsFor(const SeedCase& c);

/// A short label for the kind of seed, for the run's coverage table.
std::string KindLabel(const CommandLineOptions& options);

/// What the files of a seed generated with `options` break, one line each:
/// the verifier's verdict on the item list for its selection, a lock section
/// as the options say, and a cheat sheet that starts with the version, has
/// the sections of the options and says what the item list says. `state` is
/// the generator state after the generation, whose names and version the
/// cheat sheet shows.
std::vector<std::string> CheckSeedFiles(const CommandLineOptions& options,
                                        const GeneratorState& state, const std::string& item_list,
                                        const std::string& cheat_sheet);

struct SeedOutcome {
  std::vector<std::string> broken;           ///< one line per broken property
  std::map<std::string, std::string> files;  ///< name -> bytes
  std::string log;                           ///< the progress log
};

/// Generates the seed of `c` in memory, on one search thread, and checks
/// it: the dialog shows every option, it writes exactly the item list and
/// cheat sheet of the selection, and CheckSeedFiles finds nothing.
SeedOutcome GenerateAndCheck(const SeedCase& c);

/// Runs `program` with the seed's arguments in a new directory under
/// `scratch` and compares the files it writes and its standard output with
/// `outcome`. Returns the differences, one line each.
std::vector<std::string> CompareWithProcess(const std::string& program, const SeedCase& c,
                                            const SeedOutcome& outcome, const std::string& scratch);

}  // namespace velmora
