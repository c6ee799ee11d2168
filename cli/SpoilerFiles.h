// The files a player can ask for beside the seed files: the JSON spoiler and
// the door map. Each goes to a path of its own.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace velmora {

class CVelmoraDlg;

/// Replaces the file at `path` (a file name, or a directory and a file name)
/// with `bytes`, the way the seed files are written. Returns the reason on
/// failure.
std::optional<std::string> WriteFileAtPath(const std::string& path, const std::string& bytes);

/// Writes the spoiler and the door map that `options` ask for, of the
/// generation `dialog` has just made with them. Returns one message for each
/// file that could not be written.
std::vector<std::string> WriteSpoilerFiles(const CommandLineOptions& options,
                                           const CVelmoraDlg& dialog);

}  // namespace velmora
