// The dialog template as data: every control with its id, kind, text,
// layout and initial state. The in-memory window builds its controls from
// it, and the Windows resource script describes the same controls.
#pragma once

#include <span>
#include <string_view>

namespace velmora {

enum class ControlKind {
  kStatic,
  kSunkenStatic,
  kGroupBox,
  kRadioButton,
  kCheckBox,
  kPushButton,
};

struct ControlSpec {
  int id;  ///< -1 for an unnumbered label or group box
  ControlKind kind;
  std::string_view text;
  int x, y, width, height;  ///< dialog units
  bool disabled;            ///< initially disabled
  bool hidden;              ///< initially hidden
  bool group_start;         ///< first button of a radio group
};

/// Every control of the dialog template, in template order.
std::span<const ControlSpec> DialogControls();

/// The template's control with this id, or nullptr.
const ControlSpec* FindControl(int id);

inline constexpr int kDialogWidth = 409;
inline constexpr int kDialogHeight = 473;
inline constexpr std::string_view kFinalLabelText =
    "All done! You can close this window. Launch the game and on the main "
    "menu launch Ostrevant.exe";
inline constexpr std::string_view kStatusTemplateText =
    "Choose your seed settings and then press the Generate Seed button.";

}  // namespace velmora
