// A window kept in memory: every control of the dialog template with its
// text, check, enabled and visible state. The command line and the tests run
// the dialog on it.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "app/DialogWindow.h"

namespace velmora {

class MemoryWindow : public DialogWindow {
 public:
  /// Called after the text of a control changed, with the control's id and
  /// its old and new text.
  using TextListener =
      std::function<void(int id, const std::string& before, const std::string& after)>;

  MemoryWindow();

  bool IsChecked(int id) const override;
  void SetChecked(int id, bool checked) override;
  void EnableControl(int id, bool enabled) override;
  bool IsControlEnabled(int id) const override;
  void ShowControl(int id, bool visible) override;
  bool IsControlVisible(int id) const override;
  std::string GetControlText(int id) const override;
  void SetControlText(int id, const std::string& text) override;

  /// A user's click on a check box or radio button: toggles a check box,
  /// selects a radio button. Clicks on disabled controls do nothing and
  /// return false.
  bool Click(int id);

  void SetTextListener(TextListener listener) { listener_ = std::move(listener); }

 private:
  struct Control {
    std::string text;
    bool checked = false;
    bool enabled = true;
    bool visible = true;
  };
  Control& At(int id);
  const Control& At(int id) const;

  std::map<int, Control> controls_;
  TextListener listener_;
};

}  // namespace velmora
