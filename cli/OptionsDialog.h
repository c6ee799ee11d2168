// The dialog on an in-memory window, set to a command line's options: how the
// command line, the statistics, the page and the tests make a generation.
#pragma once

#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "cli/CommandLine.h"

namespace velmora {

class OutputFiles;

struct OptionsDialog {
  /// Initialises the dialog, clicks `options` into it and, when they name a
  /// seed, makes that the seed of every generation. The files are written
  /// through `files`, which must outlive this.
  OptionsDialog(const CommandLineOptions& options, OutputFiles& files);
  OptionsDialog(const OptionsDialog&) = delete;
  OptionsDialog& operator=(const OptionsDialog&) = delete;

  /// Makes `seed` the seed of every generation.
  void SetSeed(uint32_t seed);

  MemoryWindow window;
  CVelmoraDlg dialog;
};

}  // namespace velmora
