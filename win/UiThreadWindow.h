// A DialogWindow for a generation that runs off the user-interface thread:
// every call is carried out on the thread that owns the dialog, by a
// SendMessage of kCallMessage to the dialog, so the real controls are only
// ever touched by their own thread and the worker sees each result before it
// goes on. Calls made on the dialog's own thread go straight through.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "app/DialogWindow.h"

namespace velmora {

class UiThreadWindow : public DialogWindow {
 public:
  /// The message the dialog procedure must answer with RunCall(lParam).
  static constexpr UINT kCallMessage = WM_APP + 1;

  /// Forwards to `target`; must be constructed on the dialog's thread.
  explicit UiThreadWindow(DialogWindow& target);
  void Attach(HWND dialog) { dialog_ = dialog; }

  /// Runs a call that a worker sent with kCallMessage.
  static void RunCall(LPARAM call);

  /// The dialog is going away: from now on a call from another thread never
  /// returns, so a generation still running cannot act on a window that no
  /// longer answers.
  void Detach() { detached_ = true; }

  /// Called on the dialog's thread before the first check state a worker
  /// asks for.
  void SetFirstReadHook(std::function<void()> hook) { first_read_hook_ = std::move(hook); }

  bool IsChecked(int id) const override;
  void SetChecked(int id, bool checked) override;
  void EnableControl(int id, bool enabled) override;
  bool IsControlEnabled(int id) const override;
  void ShowControl(int id, bool visible) override;
  bool IsControlVisible(int id) const override;
  std::string GetControlText(int id) const override;
  void SetControlText(int id, const std::string& text) override;

 private:
  /// Runs `call` on the dialog's thread and waits for it.
  void OnUiThread(const std::function<void()>& call) const;

  DialogWindow* target_;
  HWND dialog_ = nullptr;
  DWORD ui_thread_;
  std::atomic<bool> detached_{false};
  std::function<void()> first_read_hook_;
  mutable bool first_read_done_ = false;  // touched on the dialog's thread only
};

}  // namespace velmora
