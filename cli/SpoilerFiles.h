// The files a player can ask for beside the seed files: the JSON spoiler and
// the door map. Each goes to a path of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/Selection.h"
#include "cli/CommandLine.h"

namespace velmora {

class CVelmoraDlg;
class OutputFiles;

/// The title of a door map: "Chris, seed 5, settings ...".
std::string DoorMapTitle(Character character, uint32_t seed, const std::string& settings);

/// Writes the spoiler and the door map that `options` ask for, of the
/// generation `dialog` has just made with them, through `files` under the
/// paths the options give. Returns one message for each file that could not
/// be written.
std::vector<std::string> WriteSpoilerFiles(const CommandLineOptions& options,
                                           const CVelmoraDlg& dialog, OutputFiles& files);

}  // namespace velmora
