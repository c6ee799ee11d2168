#include "win/UiThreadWindow.h"

namespace velmora {
namespace {

struct Call {
  const std::function<void()>* body;
  bool done = false;
};

[[noreturn]] void ParkForever() {
  for (;;) Sleep(INFINITE);
}

}  // namespace

UiThreadWindow::UiThreadWindow(DialogWindow& target)
    : target_(&target), ui_thread_(GetCurrentThreadId()) {}

void UiThreadWindow::RunCall(LPARAM lparam) {
  Call* call = reinterpret_cast<Call*>(lparam);
  (*call->body)();
  call->done = true;
}

void UiThreadWindow::OnUiThread(const std::function<void()>& body) const {
  if (GetCurrentThreadId() == ui_thread_) {
    body();
    return;
  }
  if (detached_) ParkForever();
  Call call{&body};
  SendMessageW(dialog_, kCallMessage, 0, reinterpret_cast<LPARAM>(&call));
  // A dialog destroyed meanwhile answers nothing: the call did not run, and
  // going on with a made-up answer could write a wrong seed.
  if (!call.done) ParkForever();
}

bool UiThreadWindow::IsChecked(int id) const {
  bool checked = false;
  const bool from_worker = GetCurrentThreadId() != ui_thread_;
  OnUiThread([&] {
    if (from_worker && !first_read_done_ && first_read_hook_) {
      first_read_done_ = true;
      first_read_hook_();
    }
    checked = target_->IsChecked(id);
  });
  return checked;
}

void UiThreadWindow::SetChecked(int id, bool checked) {
  OnUiThread([&] { target_->SetChecked(id, checked); });
}

void UiThreadWindow::EnableControl(int id, bool enabled) {
  OnUiThread([&] { target_->EnableControl(id, enabled); });
}

bool UiThreadWindow::IsControlEnabled(int id) const {
  bool enabled = false;
  OnUiThread([&] { enabled = target_->IsControlEnabled(id); });
  return enabled;
}

void UiThreadWindow::ShowControl(int id, bool visible) {
  OnUiThread([&] { target_->ShowControl(id, visible); });
}

bool UiThreadWindow::IsControlVisible(int id) const {
  bool visible = false;
  OnUiThread([&] { visible = target_->IsControlVisible(id); });
  return visible;
}

std::string UiThreadWindow::GetControlText(int id) const {
  std::string text;
  OnUiThread([&] { text = target_->GetControlText(id); });
  return text;
}

void UiThreadWindow::SetControlText(int id, const std::string& text) {
  OnUiThread([&] { target_->SetControlText(id, text); });
}

}  // namespace velmora
