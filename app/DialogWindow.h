// The seam between the generator and a window. The generator needs of a
// window only check states, enabling, showing a control and the text of a
// control (the progress log and the final label). The in-memory window, the
// Windows dialog and test doubles implement it.
#pragma once

#include <string>

namespace velmora {

class DialogWindow {
 public:
  virtual ~DialogWindow() = default;

  /// True when the check box or radio button `id` is checked.
  virtual bool IsChecked(int id) const = 0;
  /// Sets the check of `id`. Checking a radio button unchecks the others of
  /// its group, as an automatic radio button does.
  virtual void SetChecked(int id, bool checked) = 0;
  virtual void EnableControl(int id, bool enabled) = 0;
  virtual bool IsControlEnabled(int id) const = 0;
  virtual void ShowControl(int id, bool visible) = 0;
  virtual bool IsControlVisible(int id) const = 0;
  /// The control's text as bytes.
  virtual std::string GetControlText(int id) const = 0;
  virtual void SetControlText(int id, const std::string& text) = 0;
};

}  // namespace velmora
