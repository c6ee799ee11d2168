#include "cli/OptionsDialog.h"

namespace velmora {

OptionsDialog::OptionsDialog(const CommandLineOptions& options, OutputFiles& files)
    : dialog(window, files) {
  dialog.OnInitDialog();
  ApplyOptions(options, window, dialog);
  if (options.seed) SetSeed(*options.seed);
}

void OptionsDialog::SetSeed(uint32_t seed) {
  dialog.SetSeedSource([seed] { return seed; });
}

}  // namespace velmora
