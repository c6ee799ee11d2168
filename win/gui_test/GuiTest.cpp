// velmora_gui_test.exe: drives the real Velmora.exe through window messages
// as a user's clicks would, and checks its controls, defaults, the enemy
// panel's enabling and a radio group, the disabling on "Generate Seed", the
// final label and the seed files. The dialog's rules themselves are tested
// natively (app/VelmoraDlg_test.cpp).
//
//   velmora_gui_test.exe VELMORA_EXE WORK_DIR [ARTIFACT_DIR]
//
// WORK_DIR receives one folder per start of the program. ARTIFACT_DIR, when
// given, receives the generation's log and time window (for the command-line
// cross-check) and the screenshot handshake: the driver writes
// screenshot-request.txt with the dialog's screen rectangle and waits for
// screenshot-done.txt.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/DialogTemplate.h"

namespace velmora {
namespace {

// --- Facts the dialog must show, written out by hand -----------------------

/// Every option control and the button, as "Generate Seed" disables them:
/// all ids from 1000 to 1036 but the unused 1026 and the version label 1030.
const std::set<int> kAllOptions = [] {
  std::set<int> ids;
  for (int id = 1000; id <= 1036; ++id)
    if (id != 1026 && id != 1030) ids.insert(id);
  return ids;
}();

/// The 20 controls of the enemy panel.
const std::set<int> kPanelIds(std::begin(kEnemyPanelIds), std::end(kEnemyPanelIds));

/// Checked on a fresh start: Jill, Normal, Items, the first choice of each
/// spawn group, Helipad (Fast) and the eight enemy kinds.
const std::set<int> kDefaultChecked = {1000, 1002, 1004, 1020, 1023, 1027, 1031, 1008,
                                       1009, 1010, 1011, 1012, 1013, 1014, 1015};

std::set<int> Minus(std::set<int> a, const std::set<int>& b) {
  for (int id : b) a.erase(id);
  return a;
}
std::set<int> Plus(std::set<int> a, const std::set<int>& b) {
  a.insert(b.begin(), b.end());
  return a;
}
const std::set<int> kDefaultEnabled = Minus(kAllOptions, kPanelIds);

constexpr char kLogEnd[] =
    "Writing to ItemListJillNormal.txt . . .done!\n"
    "Writing to CheatSheetJillNormal.txt . . .done!\n";

constexpr DWORD kFindTimeoutMs = 120000;
constexpr DWORD kGenerationTimeoutMs = 600000;
constexpr DWORD kExitTimeoutMs = 30000;

// --- Reporting, in the test runner's format gui-test.sh reads --------------

struct Report {
  void Begin(const std::string& case_name) {
    name = case_name;
    ok = true;
    std::printf("[ RUN      ] %s\n", name.c_str());
  }
  void Expect(bool holds, const std::string& what) {
    if (!holds) std::printf("    %s\n", what.c_str());
    ok = ok && holds;
  }
  void End() {
    std::printf("%s %s\n", ok ? "[       OK ]" : "[  FAILED  ]", name.c_str());
    std::fflush(stdout);
    (ok ? passed : failed)++;
  }
  std::string name;
  bool ok = true;
  int passed = 0, failed = 0;
};

// --- Talking to the dialog ---------------------------------------------------

std::string CrLfToLf(std::string text) {
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;) text.erase(at, 1);
  return text;
}

LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 10000, &result);
  return static_cast<LRESULT>(result);
}

/// The window's text through WM_GETTEXT, as bytes with "\r\n" as it shows.
std::string Text(HWND window) {
  std::vector<char> text(1 << 16);  // far more than the log ever holds
  DWORD_PTR got = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 10000, &got);
  return std::string(text.data(), std::min<size_t>(got, text.size() - 1));
}

struct Dialog {
  HWND hwnd = nullptr;
  HWND Item(int id) const { return GetDlgItem(hwnd, id); }
  bool Checked(int id) const { return Send(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  bool Visible(int id) const { return (GetWindowLongW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
  std::string Text(int id) const { return velmora::Text(Item(id)); }
  void Click(int id) const { Send(Item(id), BM_CLICK, 0, 0); }
  /// True when the dialog's thread answers a message within two seconds.
  bool Answers() const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
  }
};

bool WaitFor(const std::function<bool()>& done, DWORD timeout_ms) {
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    Sleep(50);
  }
  return true;
}

/// One start of Velmora.exe in a folder of its own; ended when still
/// running at the end of the case.
class Program {
 public:
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() {
    if (!process_.hProcess) return;
    if (Running()) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }

  /// Starts the program in `directory` and finds its dialog; false with
  /// `error` set when either fails.
  bool Start(const std::wstring& exe, const std::wstring& directory, std::string& error) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process_)) {
      error = "cannot start the program (error " + std::to_string(GetLastError()) + ")";
      return false;
    }
    if (!WaitFor([&] { return (dialog.hwnd = FindDialog()) != nullptr; }, kFindTimeoutMs)) {
      error = "no dialog window appeared";
      return false;
    }
    return true;
  }

  bool Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

  /// Expects the program to end by itself within the time-out, with exit
  /// code 0.
  void ExpectCleanExit(Report& report) const {
    DWORD code = 0;
    if (WaitForSingleObject(process_.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0)
      return report.Expect(false, "the program still runs");
    GetExitCodeProcess(process_.hProcess, &code);
    report.Expect(code == 0, "the program ended with code " + std::to_string(code));
  }

  Dialog dialog;

 private:
  /// The program's visible dialog box window, or nullptr.
  HWND FindDialog() const {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"#32770", nullptr)) != nullptr;) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == process_.dwProcessId && IsWindowVisible(w)) return w;
    }
    return nullptr;
  }

  PROCESS_INFORMATION process_{};
};

/// Presses and releases a key as the keyboard would, into the window that
/// has the focus in the dialog's thread.
void PressKey(const Dialog& dialog, WORD key) {
  SetForegroundWindow(dialog.hwnd);
  Sleep(200);
  keybd_event(static_cast<BYTE>(key), 0, 0, 0);
  keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
}

// --- Files -------------------------------------------------------------------

void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out << bytes;
}

/// The names in `directory`, sorted and joined with ", ", or "(none)".
std::string FilesIn(const std::wstring& directory) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory, error))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
  return out.empty() ? "(none)" : out;
}

// --- The cases ---------------------------------------------------------------

/// The class and style bits of each ControlKind, in the enum's order.
constexpr struct {
  const char* class_name;
  DWORD mask, style;
} kKinds[] = {
    {"Static", SS_TYPEMASK | SS_SUNKEN, SS_LEFT},
    {"Static", SS_TYPEMASK | SS_SUNKEN, SS_LEFT | SS_SUNKEN},
    {"Button", BS_TYPEMASK, BS_GROUPBOX},
    {"Button", BS_TYPEMASK, BS_AUTORADIOBUTTON},
    {"Button", BS_TYPEMASK, BS_AUTOCHECKBOX},
    {"Button", BS_TYPEMASK, BS_PUSHBUTTON},
};

/// Dialog-unit to pixel scale of a running dialog, found from its client
/// size: the base units bx, by with MulDiv(409, bx, 4) and MulDiv(473, by, 8)
/// equal to the client width and height.
bool BaseUnits(HWND dialog, int& bx, int& by) {
  RECT client;
  GetClientRect(dialog, &client);
  bx = by = 0;
  for (int u = 1; u < 64; ++u) {
    if (MulDiv(kDialogWidth, u, 4) == client.right) bx = u;
    if (MulDiv(kDialogHeight, u, 8) == client.bottom) by = u;
  }
  return bx && by;
}

/// The freshly started window against the template table: frame, size,
/// and each control's id, kind, text, place, visibility and radio groups.
void WindowMatchesTheTemplate(const std::wstring& exe, const Dialog& dialog, Report& report) {
  // The window's icons cannot be read from another process under Wine
  // (WM_GETICON is not passed between processes): the icon resource is
  // checked, and the screenshot shows the icon in the caption.
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  report.Expect(module && FindResourceW(module, MAKEINTRESOURCEW(kIconResourceId),
                                        MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */),
                "no icon resource 130");
  if (module) FreeLibrary(module);
  report.Expect(Text(dialog.hwnd).empty(), "the dialog has caption text");
  const DWORD style = static_cast<DWORD>(GetWindowLongW(dialog.hwnd, GWL_STYLE));
  const DWORD frame = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_POPUP;
  report.Expect((style & frame) == frame, "no caption, system menu, sizing frame or pop-up");
  report.Expect(GetWindowLongW(dialog.hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW,
                "the window is not shown in the task bar");
  int bx = 0, by = 0;
  report.Expect(BaseUnits(dialog.hwnd, bx, by), "the client area is not 409 by 473 units");

  std::vector<HWND> children;
  for (HWND w = GetWindow(dialog.hwnd, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    children.push_back(w);
  const auto specs = DialogControls();
  report.Expect(children.size() == specs.size(),
                "the window has " + std::to_string(children.size()) + " controls");
  for (size_t i = 0; i < std::min(specs.size(), children.size()); ++i) {
    const ControlSpec& s = specs[i];
    HWND w = children[i];
    const std::string where = "control " + std::to_string(i + 1) + " (" + std::string(s.text) + ")";
    const int id = GetDlgCtrlID(w);
    report.Expect(id == s.id || (s.id == -1 && id == 0xFFFF),
                  where + " has id " + std::to_string(id));
    char cls[64] = {0};
    GetClassNameA(w, cls, 64);
    const DWORD child_style = static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE));
    const auto& kind = kKinds[static_cast<size_t>(s.kind)];
    report.Expect(_stricmp(cls, kind.class_name) == 0 && (child_style & kind.mask) == kind.style,
                  where + " is of another kind");
    report.Expect(((child_style & WS_VISIBLE) == 0) == s.hidden, where + " is (not) hidden");
    if (s.kind == ControlKind::kRadioButton)
      report.Expect(((child_style & WS_GROUP) != 0) == s.group_start, where + ": radio group");
    report.Expect(Text(w) == s.text, where + " shows '" + Text(w) + "'");
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, dialog.hwnd, reinterpret_cast<POINT*>(&r), 2);
    const bool placed = r.left == MulDiv(s.x, bx, 4) && r.top == MulDiv(s.y, by, 8) &&
                        r.right - r.left == MulDiv(s.width, bx, 4) &&
                        r.bottom - r.top == MulDiv(s.height, by, 8);
    report.Expect(placed,
                  where + " lies at pixel " + std::to_string(r.left) + "," + std::to_string(r.top));
  }
  report.End();
}

/// Compares the check and enabled state of every option control with the
/// sets given.
void ExpectOptions(const Dialog& dialog, const std::set<int>& checked, const std::set<int>& enabled,
                   Report& report, const std::string& when) {
  for (int id : kAllOptions) {
    const std::string what = when + ": " + std::to_string(id);
    if (id != kIdGenerateSeed && dialog.Checked(id) != (checked.count(id) > 0))
      report.Expect(false, what + (checked.count(id) ? " is not checked" : " is checked"));
    if (dialog.Enabled(id) != (enabled.count(id) > 0))
      report.Expect(false, what + (enabled.count(id) ? " is disabled" : " is enabled"));
  }
}

/// Asks gui-test.sh for a screenshot of the dialog and waits for it.
void TakeScreenshot(const Dialog& dialog, const std::wstring& artifacts) {
  RECT r;
  GetWindowRect(dialog.hwnd, &r);
  const std::wstring done = artifacts + L"\\screenshot-done.txt";
  DeleteFileW(done.c_str());
  WriteFile(artifacts + L"\\screenshot-request.txt",
            std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top) + "\n");
  if (!WaitFor([&] { return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000))
    std::printf("    (no screenshot was taken)\n");
}

/// Sets up Jill, Normal, Items, Enemies with Tyrant "Many" and "Ammo"
/// removed, so that every option is enabled, presses "Generate Seed" and
/// follows the generation. Leaves the log and the seconds the generation
/// ran in `artifacts`, for gui-test.sh to compare with the command line.
void GenerationDisablesEveryOptionAndShowsTheFinalLabel(Program& program,
                                                        const std::wstring& folder,
                                                        const std::wstring& artifacts,
                                                        Report& report) {
  report.Begin("GenerationDisablesEveryOptionAndShowsTheFinalLabel");
  const Dialog& dialog = program.dialog;
  // The Win32 window's own rules: the defaults, the panel waiting for
  // Enemies, and the radio group that a click on Tyrant "Many" leaves.
  ExpectOptions(dialog, kDefaultChecked, kDefaultEnabled, report, "fresh start");
  dialog.Click(kIdEnemies);
  dialog.Click(kIdTyrantMany);
  dialog.Click(kIdRemoveAmmo);
  const std::set<int> options =
      Plus(Minus(kDefaultChecked, {kIdTyrantOne}), {kIdEnemies, kIdTyrantMany, kIdRemoveAmmo});
  ExpectOptions(dialog, options, kAllOptions, report, "before generating");
  const time_t first_second = std::time(nullptr);
  dialog.Click(kIdGenerateSeed);
  int unanswered = 0, enabled_while_running = 0;
  // The generation has ended when the final label shows, or, should it
  // never show, a few seconds after the log got the writers' last line.
  ULONGLONG log_done_at = 0;
  const bool finished = WaitFor(
      [&] {
        if (!program.Running()) return true;
        if (!dialog.Answers()) ++unanswered;
        if (dialog.Visible(kIdFinalLabel)) return true;
        const std::string log = dialog.Text(kIdStatus);
        if (log_done_at == 0 && CrLfToLf(log).ends_with(kLogEnd)) log_done_at = GetTickCount64();
        if (log_done_at != 0 && GetTickCount64() - log_done_at > 5000) return true;
        // The stages log only once every option is disabled; before that,
        // the options are being disabled one after the other.
        if (!log.empty() && log != kStatusTemplateText)
          for (int id : kAllOptions) enabled_while_running += dialog.Enabled(id);
        return false;
      },
      kGenerationTimeoutMs);
  const time_t last_second = std::time(nullptr);
  report.Expect(program.Running(), "the program ended during the generation");
  if (!program.Running()) return report.End();
  report.Expect(finished, "the generation did not end within the time-out");
  report.Expect(dialog.Visible(kIdFinalLabel), "the final label is not shown");
  report.Expect(unanswered == 0, "the window did not answer " + std::to_string(unanswered) +
                                     " times during the generation");
  report.Expect(enabled_while_running == 0, "options were enabled during the generation");
  ExpectOptions(dialog, options, {}, report, "after generating");
  for (int id : {kIdVersion, kIdStatus, kIdFinalLabel})
    report.Expect(dialog.Enabled(id), std::to_string(id) + " was disabled");

  const std::string shown = dialog.Text(kIdStatus);
  const std::string log = CrLfToLf(shown);
  if (!finished) std::printf("    the log so far:\n%s\n", log.c_str());
  report.Expect(shown.find('\n') == std::string::npos || shown.find("\r\n") != std::string::npos,
                "the log shows bare line feeds");
  report.Expect(log.ends_with(kLogEnd), "the log does not end with the two writer lines");
  report.Expect(FilesIn(folder) == "CheatSheetJillNormal.txt, ItemListJillNormal.txt",
                "the folder holds " + FilesIn(folder));
  report.End();
  if (artifacts.empty()) return;
  WriteFile(artifacts + L"\\dialog-log.txt", log);
  WriteFile(artifacts + L"\\generation-seconds.txt",
            std::to_string(first_second) + " " + std::to_string(last_second) + "\n");
  TakeScreenshot(dialog, artifacts);
}

void ClosingMidGenerationEndsCleanly(Program& program, const std::wstring& directory,
                                     Report& report) {
  const Dialog& dialog = program.dialog;
  dialog.Click(kIdChris);
  dialog.Click(kIdGenerateSeed);
  report.Expect(WaitFor([&] { return !dialog.Enabled(kIdGenerateSeed); }, 30000),
                "the generation did not start");
  Sleep(500);
  report.Expect(dialog.Answers(), "the window does not answer during the generation");
  PostMessageW(dialog.hwnd, WM_CLOSE, 0, 0);
  program.ExpectCleanExit(report);
  // The generation either finished before the close, with its files whole,
  // or was abandoned, leaving no file at all.
  const std::string files = FilesIn(directory);
  report.Expect(files == "(none)" || files == "ItemListChrisNormal.txt" ||
                    files == "CheatSheetChrisNormal.txt, ItemListChrisNormal.txt",
                "the folder holds " + files);
  std::ifstream in((directory + L"\\ItemListChrisNormal.txt").c_str(), std::ios::binary);
  const std::string item_list{std::istreambuf_iterator<char>(in), {}};
  if (in)
    report.Expect(std::count(item_list.begin(), item_list.end(), '\n') == 504 &&
                      item_list.ends_with("\r\n-1\r\n"),
                  "the item list left behind is incomplete");
}

}  // namespace
}  // namespace velmora

int wmain(int argc, wchar_t** argv) {
  using namespace velmora;
  if (argc < 3) {
    std::fprintf(stderr, "usage: velmora_gui_test VELMORA_EXE WORK_DIR [ARTIFACT_DIR]\n");
    return 2;
  }
  const std::wstring exe = argv[1];
  const std::wstring work = argv[2];
  const std::wstring artifacts = argc > 3 ? argv[3] : L"";
  CreateDirectoryW(work.c_str(), nullptr);
  Report report;
  // Starts the program in a new folder of WORK_DIR and begins the case
  // `name`, which a failed start fails.
  const auto start = [&](Program& program, const std::wstring& folder, const std::string& name) {
    report.Begin(name);
    CreateDirectoryW(folder.c_str(), nullptr);
    std::string error;
    const bool started = program.Start(exe, folder, error);
    report.Expect(started, error);
    if (!started) report.End();
    return started;
  };
  {
    const std::wstring folder = work + L"\\generate";
    Program program;
    if (start(program, folder, "WindowMatchesTheTemplate")) {
      WindowMatchesTheTemplate(exe, program.dialog, report);
      GenerationDisablesEveryOptionAndShowsTheFinalLabel(program, folder, artifacts, report);
      report.Begin("EscapeClosesTheDialog");
      PressKey(program.dialog, VK_ESCAPE);
      program.ExpectCleanExit(report);
      report.End();
    }
  }
  {
    const std::wstring folder = work + L"\\enter";
    Program program;
    if (start(program, folder, "EnterClosesTheDialogWithoutWriting")) {
      PressKey(program.dialog, VK_RETURN);
      program.ExpectCleanExit(report);
      report.Expect(FilesIn(folder) == "(none)", "the folder holds " + FilesIn(folder));
      report.End();
    }
  }
  {
    const std::wstring folder = work + L"\\close";
    Program program;
    if (start(program, folder, "ClosingMidGenerationEndsCleanly")) {
      ClosingMidGenerationEndsCleanly(program, folder, report);
      report.End();
    }
  }
  std::printf("gui: %d passed, %d failed\n", report.passed, report.failed);
  return report.failed == 0 ? 0 : 1;
}
