#include "win/DialogHost.h"

#include <exception>

#include "app/ControlIds.h"
#include "win/resource.h"

namespace velmora {

DialogHost::DialogHost(HINSTANCE instance)
    : instance_(instance),
      m_hIcon(LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME))),
      ui_window_(window_),
      disk_(""),
      files_(disk_),
      dlg_(ui_window_, files_) {
  // The generation disables every option before it reads the first one;
  // until then the whole window takes no input, so no click can slip in
  // between the press of "Generate Seed" and the disabling.
  ui_window_.SetFirstReadHook([this] {
    EnableWindow(dialog_, TRUE);
    SetFocus(dialog_);
  });
}

DialogHost::~DialogHost() {
  if (worker_.joinable()) worker_.join();
}

void DialogHost::DoModal() {
  DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_VELMORA_DIALOG), nullptr, DialogProc,
                  reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogHost::DialogProc(HWND dialog, UINT message, WPARAM wparam,
                                        LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    auto* host = reinterpret_cast<DialogHost*>(lparam);
    host->dialog_ = dialog;
    return host->OnInitDialog();
  }
  auto* host = reinterpret_cast<DialogHost*>(GetWindowLongPtrW(dialog, DWLP_USER));
  return host ? host->HandleMessage(message, wparam, lparam) : FALSE;
}

INT_PTR DialogHost::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case UiThreadWindow::kCallMessage:
      UiThreadWindow::RunCall(lparam);
      return TRUE;
    case kGenerationFinished:
      OnGenerationFinished();
      return TRUE;
    case WM_PAINT:
      return OnPaint();
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(m_hIcon);
    case WM_CLOSE:
      Close(IDCANCEL);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wparam) != BN_CLICKED) return FALSE;
      switch (LOWORD(wparam)) {
        case IDOK:
        case IDCANCEL:
          // Enter and Escape end the dialog, as a dialog's default
          // handling of OK and Cancel does.
          Close(LOWORD(wparam));
          return TRUE;
        case kIdGenerateSeed:
          OnBnClickedGenerateSeed();
          return TRUE;
        case kIdEnemies:
          dlg_.OnBnClickedEnemies();
          return TRUE;
        case kIdDoors:
          dlg_.OnBnClickedDoors();
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

BOOL DialogHost::OnInitDialog() {
  window_.Attach(dialog_);
  ui_window_.Attach(dialog_);
  SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  dlg_.OnInitDialog();
  return TRUE;
}

bool DialogHost::OnPaint() {
  if (!IsIconic(dialog_)) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(dialog_, &paint);
  SendMessageW(dialog_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(dialog_, &client);
  const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, m_hIcon);
  EndPaint(dialog_, &paint);
  return true;
}

void DialogHost::OnBnClickedGenerateSeed() {
  // One start of the program makes one seed: a click that reaches the
  // disabled button (a message sent to it, say) starts nothing.
  if (generation_started_) return;
  generation_started_ = true;
  running_ = true;
  EnableWindow(dialog_, FALSE);
  worker_ = std::thread([this] {
    try {
      dlg_.OnBnClickedGenerateSeed();
    } catch (const std::exception& e) {
      failure_ = e.what();
    } catch (...) {
      failure_ = "unknown error";
    }
    running_ = false;
    PostMessageW(dialog_, kGenerationFinished, 0, 0);
  });
}

void DialogHost::OnGenerationFinished() {
  if (worker_.joinable()) worker_.join();
  EnableWindow(dialog_, TRUE);
  SetFocus(dialog_);
  // A generator fault ends the generation without its files and final
  // label; the log says why instead of the program vanishing.
  if (!failure_.empty()) dlg_.AppendStatus("\nGeneration failed: " + failure_ + "\n");
}

void DialogHost::Close(int result) {
  if (running_) {
    // Abandon the generation: ask it to stop at its next check, let a file
    // write in progress complete, then refuse every later one, and stop the
    // worker at its next control access.
    dlg_.RequestCancel();
    files_.Close();
    ui_window_.Detach();
  }
  EndDialog(dialog_, result);
}

}  // namespace velmora
