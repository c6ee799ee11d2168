// The Windows window of CVelmoraDlg: dialog template 102 on screen, its
// messages routed to the dialog's handlers, and the generation run on a
// worker thread whose every control access is carried out on this thread,
// so the window keeps painting and answering while a long seed is dealt.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/VelmoraDlg.h"
#include "output/OutputFiles.h"
#include "win/ClosableOutputFiles.h"
#include "win/UiThreadWindow.h"
#include "win/Win32Window.h"

namespace velmora {

class DialogHost {
 public:
  /// Loads the application icon; the window is made by DoModal.
  explicit DialogHost(HINSTANCE instance);
  /// Waits for a finished generation's thread. Must not be reached while a
  /// generation still runs (see GenerationRunning).
  ~DialogHost();
  DialogHost(const DialogHost&) = delete;
  DialogHost& operator=(const DialogHost&) = delete;

  /// Shows the dialog and returns once it has been closed.
  void DoModal();
  /// True while the generation thread has not finished. After DoModal this
  /// means the user closed the window mid-generation: no seed file will be
  /// written any more, and the thread can only be abandoned.
  bool GenerationRunning() const { return running_; }

 private:
  static constexpr UINT kGenerationFinished = WM_APP + 2;

  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  BOOL OnInitDialog();
  /// Draws the icon while the window is minimized; true when it painted.
  bool OnPaint();
  void OnBnClickedGenerateSeed();
  void OnGenerationFinished();
  void Close(int result);

  HINSTANCE instance_;
  HWND dialog_ = nullptr;
  HICON m_hIcon;
  Win32Window window_;
  UiThreadWindow ui_window_;
  DiskOutputFiles disk_;
  ClosableOutputFiles files_;
  CVelmoraDlg dlg_;
  std::thread worker_;
  bool generation_started_ = false;
  std::atomic<bool> running_{false};
  std::string failure_;  // written by the worker before it posts kGenerationFinished
};

}  // namespace velmora
