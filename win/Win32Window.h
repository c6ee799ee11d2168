// The dialog's real controls behind the DialogWindow seam: check states with
// BM_GETCHECK and BM_SETCHECK, EnableWindow, ShowWindow and the controls'
// texts. Every call must come from the thread that owns the dialog.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "app/DialogWindow.h"

namespace velmora {

class Win32Window : public DialogWindow {
 public:
  /// Works on the controls of `dialog` once Attach has been called.
  Win32Window() = default;
  void Attach(HWND dialog) { dialog_ = dialog; }

  bool IsChecked(int id) const override;
  void SetChecked(int id, bool checked) override;
  void EnableControl(int id, bool enabled) override;
  bool IsControlEnabled(int id) const override;
  void ShowControl(int id, bool visible) override;
  bool IsControlVisible(int id) const override;
  /// The bytes last set with SetControlText, so that the generator reads
  /// back exactly what it wrote; a control whose text was never set gives its
  /// window text.
  std::string GetControlText(int id) const override;
  /// Shows `text` (bytes in the ANSI code page) with each "\n" turned into
  /// the "\r\n" that Windows controls draw as a line break.
  void SetControlText(int id, const std::string& text) override;

 private:
  HWND Control(int id) const { return GetDlgItem(dialog_, id); }

  HWND dialog_ = nullptr;
  std::map<int, std::string> texts_;
};

/// Bytes in the ANSI code page to UTF-16, and back.
std::wstring AnsiToWide(const std::string& bytes);
std::string WideToAnsi(const std::wstring& text);
/// "\n" to "\r\n" (a "\r\n" already there stays as it is), and back.
std::string ToWindowsLineBreaks(const std::string& text);
std::string FromWindowsLineBreaks(const std::string& text);

}  // namespace velmora
