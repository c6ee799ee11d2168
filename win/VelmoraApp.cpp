// Velmora.exe: the seed generator's Windows program, one modal dialog.
#include <windows.h>
#include <commctrl.h>

#include "win/DialogHost.h"

namespace velmora {

class CVelmoraApp {
 public:
  /// Runs the dialog and returns false once it has closed, so that the
  /// program ends with its dialog.
  BOOL InitInstance(HINSTANCE instance);
};

BOOL CVelmoraApp::InitInstance(HINSTANCE instance) {
  INITCOMMONCONTROLSEX controls;
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);

  DialogHost dialog(instance);
  dialog.DoModal();
  // Closed mid-generation: the generation was asked to stop, no file write is
  // in progress and none will start (DialogHost::Close). A search stops at
  // its next block of attempts; a worker that does not end within a second
  // (one waiting on the closed window) is ended with the process, without
  // running any code that might wait for it.
  for (int waited = 0; dialog.GenerationRunning() && waited < 50; ++waited) Sleep(20);
  if (dialog.GenerationRunning()) TerminateProcess(GetCurrentProcess(), 0);
  return FALSE;
}

CVelmoraApp theApp;

}  // namespace velmora

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  velmora::theApp.InitInstance(instance);
  return 0;
}
