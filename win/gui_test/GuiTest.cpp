// velmora_gui_test.exe: drives the real Velmora.exe through window messages
// as a user's clicks would, and checks its template, defaults, enable rules,
// the disabling on "Generate Seed", the progress log, the final label and
// the seed files it writes.
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
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/DialogTemplate.h"
#include "win/gui_test/TemplateResource.h"

namespace velmora {
namespace {

// --- Facts the dialog must show, written out by hand -----------------------

/// Every option control and the button, as "Generate Seed" disables them.
constexpr int kOptionIds[] = {
    kIdEnemies,     kIdItems,       kIdDoors,         kIdLocks,
    kIdJill,        kIdChris,       kIdNormal,        kIdHard,
    kIdRemoveHealing, kIdRemoveAmmo, kIdRemoveInkRibbons, kIdRemoveDefence,
    kIdTyrantOne,   kIdTyrantMany,  kIdTyrantNone,    kIdYawnOne,
    kIdYawnMany,    kIdYawnNone,    kIdLisaOne,       kIdLisaMany,
    kIdLisaNone,    kIdTyrantFast,  kIdTyrantSlow,    kIdTyrantRandom,
    kIdSwapSelfDefenseGun, kIdArmedCapsule, kIdGenerateSeed, kIdZombies,
    kIdDogs,        kIdHunters,     kIdSpiders,       kIdSharks,
    kIdBees,        kIdChimera,     kIdElderCrimsonHeads,
};

/// The 20 controls of the enemy panel.
const std::set<int> kPanelIds = {1008, 1009, 1010, 1011, 1012, 1013, 1014, 1015, 1020, 1021,
                                 1022, 1023, 1024, 1025, 1027, 1028, 1029, 1031, 1032, 1033};

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
const std::set<int> kAllOptions(std::begin(kOptionIds), std::end(kOptionIds));
const std::set<int> kDefaultEnabled = Minus(kAllOptions, kPanelIds);

constexpr char kLogEnd[] =
    "Writing to ItemListJillNormal.txt . . .done!\n"
    "Writing to CheatSheetJillNormal.txt . . .done!\n";

constexpr DWORD kFindTimeoutMs = 120000;
constexpr DWORD kGenerationTimeoutMs = 600000;
constexpr DWORD kExitTimeoutMs = 30000;

// --- Reporting ---------------------------------------------------------------

class Report {
 public:
  void Begin(const std::string& name) {
    name_ = name;
    failures_.clear();
    std::printf("[ RUN      ] %s\n", name.c_str());
    std::fflush(stdout);
  }
  void Expect(bool ok, const std::string& what) {
    if (!ok) failures_.push_back(what);
  }
  void End() {
    for (const std::string& f : failures_) std::printf("    %s\n", f.c_str());
    std::printf("%s %s\n", failures_.empty() ? "[       OK ]" : "[  FAILED  ]", name_.c_str());
    std::fflush(stdout);
    (failures_.empty() ? passed_ : failed_)++;
  }
  int passed() const { return passed_; }
  int failed() const { return failed_; }

 private:
  std::string name_;
  std::vector<std::string> failures_;
  int passed_ = 0;
  int failed_ = 0;
};

// --- Talking to the dialog ---------------------------------------------------

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::string CrLfToLf(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  return out;
}

LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 10000, &result);
  return static_cast<LRESULT>(result);
}

/// The window's text through WM_GETTEXT, as bytes with "\r\n" as it shows.
std::string Text(HWND window) {
  const LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::max<LRESULT>(0, got)));
  return Narrow(text);
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

class Program {
 public:
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() {
    if (process_.hProcess) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(process_.hProcess, 99);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
  }

  /// Starts the program in `directory` and finds its dialog.
  bool Start(const std::wstring& exe, const std::wstring& directory, std::string& error) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process_)) {
      error = "cannot start the program (error " + std::to_string(GetLastError()) + ")";
      return false;
    }
    WaitForInputIdle(process_.hProcess, kFindTimeoutMs);
    if (!WaitFor([&] { return (dialog.hwnd = FindDialog()) != nullptr; }, kFindTimeoutMs)) {
      error = "no dialog window appeared";
      return false;
    }
    return true;
  }

  /// True while the program has not ended.
  bool Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

  /// Waits for the program to end; false on a time-out.
  bool WaitForExit(DWORD timeout_ms, DWORD& exit_code) {
    if (WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(process_.hProcess, &exit_code);
    return true;
  }

  Dialog dialog;

 private:
  HWND FindDialog() {
    struct Search {
      DWORD pid;
      HWND found;
    } search{process_.dwProcessId, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
          auto* s = reinterpret_cast<Search*>(p);
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          wchar_t cls[64] = {0};
          GetClassNameW(w, cls, 64);
          if (pid == s->pid && std::wstring(cls) == L"#32770" && IsWindowVisible(w)) {
            s->found = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  PROCESS_INFORMATION process_{};
};

/// Presses and releases a key as the keyboard would, into the window that
/// has the focus in the dialog's thread.
void PressKey(const Dialog& dialog, WORD key) {
  SetForegroundWindow(dialog.hwnd);
  Sleep(200);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

// --- Files -------------------------------------------------------------------

bool ReadFile(const std::wstring& path, std::string& bytes) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::vector<std::wstring> FilesIn(const std::wstring& directory) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((directory + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

std::string Join(const std::vector<std::wstring>& names) {
  std::string out;
  for (const std::wstring& n : names) out += (out.empty() ? "" : ", ") + Narrow(n);
  return out.empty() ? "(none)" : out;
}

/// Splits a file into lines that each must end with CR LF; false when a line
/// does not.
bool SplitCrLf(const std::string& bytes, std::vector<std::string>& lines) {
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) return false;
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return true;
}

bool IsNumberIn(const std::string& text, int low, int high) {
  if (text.empty() || text.size() > 11) return false;
  size_t i = text[0] == '-' ? 1 : 0;
  if (i == text.size() || (text[i] == '0' && text.size() > i + 1)) return false;
  for (size_t k = i; k < text.size(); ++k)
    if (text[k] < '0' || text[k] > '9') return false;
  const long long value = std::stoll(text);
  return value >= low && value <= high;
}

/// Checks an item list of a generation with items and enemies, without
/// doors and locks: 185 item ids, the enemy marker and 53 kinds, the door
/// marker and 264 times -1, nothing more.
void CheckItemList(const std::string& bytes, Report& report) {
  std::vector<std::string> lines;
  report.Expect(SplitCrLf(bytes, lines), "the item list has a line without CR LF");
  report.Expect(lines.size() == 504,
                "the item list has " + std::to_string(lines.size()) + " lines, not 504");
  if (lines.size() != 504) return;
  for (int k = 0; k < 185; ++k)
    report.Expect(IsNumberIn(lines[k], 0, 186), "item line " + std::to_string(k + 1) + " is '" +
                                                    lines[k] + "', not an item id");
  report.Expect(lines[185] == "ENEMYRANDODATA", "line 186 is '" + lines[185] + "'");
  for (int i = 186; i < 239; ++i)
    report.Expect(IsNumberIn(lines[i], 1, 12), "enemy line " + std::to_string(i + 1) + " is '" +
                                                   lines[i] + "', not a kind 1..12");
  report.Expect(lines[239] == "DOORRANDODATA", "line 240 is '" + lines[239] + "'");
  for (int n = 0; n < 264; ++n)
    report.Expect(lines[240 + n] == "-1",
                  "door line " + std::to_string(n) + " is '" + lines[240 + n] + "', not -1");
}

// --- The cases ---------------------------------------------------------------

std::string KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::kStatic: return "static";
    case ControlKind::kSunkenStatic: return "sunken static";
    case ControlKind::kGroupBox: return "group box";
    case ControlKind::kRadioButton: return "radio button";
    case ControlKind::kCheckBox: return "check box";
    case ControlKind::kPushButton: return "push button";
  }
  return "?";
}

/// True when a control's class name and style make it a control of `kind`.
bool IsKind(const std::wstring& class_name, DWORD style, ControlKind kind) {
  const bool button = _wcsicmp(class_name.c_str(), L"Button") == 0;
  const bool is_static = _wcsicmp(class_name.c_str(), L"Static") == 0;
  switch (kind) {
    case ControlKind::kStatic:
      return is_static && (style & SS_TYPEMASK) == SS_LEFT && !(style & SS_SUNKEN);
    case ControlKind::kSunkenStatic:
      return is_static && (style & SS_TYPEMASK) == SS_LEFT && (style & SS_SUNKEN);
    case ControlKind::kGroupBox: return button && (style & BS_TYPEMASK) == BS_GROUPBOX;
    case ControlKind::kRadioButton: return button && (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
    case ControlKind::kCheckBox: return button && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX;
    case ControlKind::kPushButton: return button && (style & BS_TYPEMASK) == BS_PUSHBUTTON;
  }
  return false;
}

std::string Where(const ControlSpec& spec, size_t index) {
  return "control " + std::to_string(index + 1) + " (" +
         (spec.id == -1 ? std::string("\"") + std::string(spec.text) + "\""
                        : std::to_string(spec.id)) +
         ")";
}

void TemplateResourceMatchesTheTable(const std::wstring& exe, Report& report) {
  report.Begin("TemplateResourceMatchesTheTable");
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  report.Expect(module != nullptr, "cannot open the program's resources");
  if (!module) return report.End();
  report.Expect(FindResourceW(module, MAKEINTRESOURCEW(kIconResourceId),
                              MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */) != nullptr,
                "no icon resource 130");
  std::string error;
  auto t = LoadDialogTemplate(module, kDialogTemplateId, error);
  report.Expect(t.has_value(), error);
  if (t) {
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    report.Expect((t->style & frame) == frame, "the dialog lacks pop-up, caption, system menu "
                                               "or sizing frame");
    report.Expect(t->ex_style & WS_EX_APPWINDOW, "the dialog is not shown in the task bar");
    report.Expect(t->width == kDialogWidth && t->height == kDialogHeight,
                  "the dialog is " + std::to_string(t->width) + " by " +
                      std::to_string(t->height) + " units");
    report.Expect(t->caption.empty(), "the dialog has caption text '" + Narrow(t->caption) + "'");
    report.Expect(!t->has_menu, "the dialog has a menu");
    report.Expect(t->font == L"MS Shell Dlg" && t->point_size == 8,
                  "the font is '" + Narrow(t->font) + "' " + std::to_string(t->point_size));
    const auto specs = DialogControls();
    report.Expect(t->items.size() == specs.size(),
                  "the template has " + std::to_string(t->items.size()) + " controls, not " +
                      std::to_string(specs.size()));
    for (size_t i = 0; i < std::min(specs.size(), t->items.size()); ++i) {
      const ControlSpec& s = specs[i];
      const TemplateItem& item = t->items[i];
      const std::string where = Where(s, i);
      const int id = item.id == 0xFFFF ? -1 : item.id;
      report.Expect(id == s.id, where + " has id " + std::to_string(item.id));
      const std::wstring cls = item.class_atom == 0x80   ? L"Button"
                               : item.class_atom == 0x82 ? L"Static"
                                                         : item.class_name;
      report.Expect(IsKind(cls, item.style, s.kind), where + " is not a " + KindName(s.kind));
      report.Expect(Narrow(item.text) == s.text,
                    where + " has text '" + Narrow(item.text) + "'");
      report.Expect(item.x == s.x && item.y == s.y && item.width == s.width &&
                        item.height == s.height,
                    where + " lies at " + std::to_string(item.x) + "," + std::to_string(item.y) +
                        "," + std::to_string(item.width) + "," + std::to_string(item.height));
      report.Expect(((item.style & WS_DISABLED) != 0) == s.disabled,
                    where + (s.disabled ? " is not disabled" : " is disabled"));
      report.Expect(((item.style & WS_VISIBLE) == 0) == s.hidden,
                    where + (s.hidden ? " is not hidden" : " is hidden"));
      if (s.kind == ControlKind::kRadioButton)
        report.Expect(((item.style & WS_GROUP) != 0) == s.group_start,
                      where + (s.group_start ? " does not start" : " starts") + " a group");
    }
  }
  FreeLibrary(module);
  report.End();
}

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

void WindowMatchesTheTemplate(const Dialog& dialog, Report& report) {
  report.Begin("WindowMatchesTheTemplate");
  report.Expect(Text(dialog.hwnd).empty(), "the dialog has caption text");
  const DWORD style = static_cast<DWORD>(GetWindowLongW(dialog.hwnd, GWL_STYLE));
  const DWORD frame = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_POPUP;
  report.Expect((style & frame) == frame, "the window lacks caption, system menu, sizing frame "
                                          "or pop-up style");
  report.Expect(GetWindowLongW(dialog.hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW,
                "the window is not shown in the task bar");
  // The window's icons cannot be read from another process under Wine
  // (WM_GETICON is not passed between processes); the template case checks
  // the icon resource and the screenshot shows the icon in the caption.
  int bx = 0, by = 0;
  report.Expect(BaseUnits(dialog.hwnd, bx, by),
                "the client area is not 409 by 473 dialog units at any base unit");

  std::vector<HWND> children;
  for (HWND w = GetWindow(dialog.hwnd, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    children.push_back(w);
  const auto specs = DialogControls();
  report.Expect(children.size() == specs.size(),
                "the window has " + std::to_string(children.size()) + " controls");
  for (size_t i = 0; i < std::min(specs.size(), children.size()); ++i) {
    const ControlSpec& s = specs[i];
    HWND w = children[i];
    const std::string where = Where(s, i);
    const int id = GetDlgCtrlID(w);
    report.Expect(id == s.id || (s.id == -1 && id == 0xFFFF),
                  where + " has id " + std::to_string(id));
    wchar_t cls[64] = {0};
    GetClassNameW(w, cls, 64);
    report.Expect(IsKind(cls, static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE)), s.kind),
                  where + " is not a " + KindName(s.kind));
    if (s.id != kIdStatus && s.id != kIdVersion)
      report.Expect(Text(w) == s.text, where + " shows '" + Text(w) + "'");
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, dialog.hwnd, reinterpret_cast<POINT*>(&r), 2);
    if (bx && by) {
      const bool placed = r.left == MulDiv(s.x, bx, 4) && r.top == MulDiv(s.y, by, 8) &&
                          r.right - r.left == MulDiv(s.width, bx, 4) &&
                          r.bottom - r.top == MulDiv(s.height, by, 8);
      report.Expect(placed, where + " is placed at pixels " + std::to_string(r.left) + "," +
                                std::to_string(r.top) + " size " +
                                std::to_string(r.right - r.left) + "x" +
                                std::to_string(r.bottom - r.top));
    }
  }
  report.End();
}

/// Compares the check and enabled state of every option control with the
/// sets given.
void ExpectOptions(const Dialog& dialog, const std::set<int>& checked,
                   const std::set<int>& enabled, Report& report, const std::string& when) {
  for (int id : kOptionIds) {
    if (id == kIdGenerateSeed) continue;
    const bool want = checked.count(id) > 0;
    report.Expect(dialog.Checked(id) == want,
                  when + ": " + std::to_string(id) + (want ? " is not checked" : " is checked"));
  }
  for (int id : kOptionIds) {
    const bool want = enabled.count(id) > 0;
    report.Expect(dialog.Enabled(id) == want,
                  when + ": " + std::to_string(id) + (want ? " is disabled" : " is enabled"));
  }
}

void FreshStartDefaults(const Dialog& dialog, Report& report) {
  report.Begin("FreshStartDefaults");
  ExpectOptions(dialog, kDefaultChecked, kDefaultEnabled, report, "fresh start");
  report.Expect(dialog.Text(kIdVersion) == "Version 1.25",
                "1030 shows '" + dialog.Text(kIdVersion) + "'");
  report.Expect(dialog.Text(kIdStatus) == kStatusTemplateText,
                "the log shows '" + dialog.Text(kIdStatus) + "'");
  report.Expect(!dialog.Visible(kIdFinalLabel), "the final label is visible");
  for (int id : {kIdVersion, kIdStatus, kIdGenerateSeed})
    report.Expect(dialog.Visible(id), std::to_string(id) + " is hidden");
  report.End();
}

void EnemiesEnablesExactlyThePanel(const Dialog& dialog, Report& report) {
  report.Begin("EnemiesEnablesExactlyThePanel");
  dialog.Click(kIdEnemies);
  ExpectOptions(dialog, Plus(kDefaultChecked, {kIdEnemies}), kAllOptions, report,
                "Enemies checked");
  // A panel choice made while enabled stays when the panel is disabled.
  dialog.Click(kIdYawnNone);
  dialog.Click(kIdBees);
  const std::set<int> panel_changed =
      Plus(Minus(kDefaultChecked, {kIdYawnOne, kIdBees}), {kIdYawnNone});
  dialog.Click(kIdEnemies);
  ExpectOptions(dialog, panel_changed, kDefaultEnabled, report, "Enemies unchecked");
  dialog.Click(kIdEnemies);
  ExpectOptions(dialog, Plus(panel_changed, {kIdEnemies}), kAllOptions, report,
                "Enemies checked again");
  // Back to the defaults for the cases that follow.
  dialog.Click(kIdYawnOne);
  dialog.Click(kIdBees);
  dialog.Click(kIdEnemies);
  ExpectOptions(dialog, kDefaultChecked, kDefaultEnabled, report, "restored");
  report.End();
}

void DoorsForcesNormalWithItemsAndNoLocks(const Dialog& dialog, Report& report) {
  report.Begin("DoorsForcesNormalWithItemsAndNoLocks");
  dialog.Click(kIdHard);
  dialog.Click(kIdLocks);
  dialog.Click(kIdItems);
  const std::set<int> before = Plus(Minus(kDefaultChecked, {kIdNormal, kIdItems}),
                                    {kIdHard, kIdLocks});
  ExpectOptions(dialog, before, kDefaultEnabled, report, "Hard, Locks, no Items");
  dialog.Click(kIdDoors);
  const std::set<int> forced = Plus(kDefaultChecked, {kIdDoors});
  ExpectOptions(dialog, forced, Minus(kDefaultEnabled, {kIdHard, kIdItems, kIdLocks}), report,
                "Doors checked");
  dialog.Click(kIdDoors);
  ExpectOptions(dialog, kDefaultChecked, kDefaultEnabled, report, "Doors unchecked");
  report.End();
}

struct Generation {
  time_t first_second = 0;
  time_t last_second = 0;
  std::string log;
};

/// Sets up Jill, Normal, Items, Enemies with Tyrant "Many" and "Ammo"
/// removed, so that every option is enabled, presses "Generate Seed" and
/// follows the generation.
Generation GenerationDisablesEveryOptionAndShowsTheFinalLabel(Program& program,
                                                              Report& report) {
  report.Begin("GenerationDisablesEveryOptionAndShowsTheFinalLabel");
  const Dialog& dialog = program.dialog;
  dialog.Click(kIdEnemies);
  dialog.Click(kIdTyrantMany);
  dialog.Click(kIdRemoveAmmo);
  const std::set<int> options = Plus(Minus(kDefaultChecked, {kIdTyrantOne}),
                                     {kIdEnemies, kIdTyrantMany, kIdRemoveAmmo});
  ExpectOptions(dialog, options, kAllOptions, report, "before generating");

  Generation g;
  g.first_second = std::time(nullptr);
  dialog.Click(kIdGenerateSeed);
  int unanswered = 0, enabled_while_running = 0;
  const std::string log_end = kLogEnd;
  const auto log_complete = [&] {
    const std::string log = CrLfToLf(dialog.Text(kIdStatus));
    return log.size() >= log_end.size() &&
           log.compare(log.size() - log_end.size(), log_end.size(), log_end) == 0;
  };
  // The generation has ended when the final label shows, or, should it
  // never show, a few seconds after the log got the writers' last line.
  ULONGLONG log_done_at = 0;
  const bool finished = WaitFor(
      [&] {
        if (!program.Running()) return true;
        if (!dialog.Answers()) ++unanswered;
        if (dialog.Visible(kIdFinalLabel)) return true;
        if (log_done_at == 0 && log_complete()) log_done_at = GetTickCount64();
        if (log_done_at != 0 && GetTickCount64() - log_done_at > 5000) return true;
        if (!dialog.Enabled(kIdGenerateSeed))
          for (int id : kOptionIds) enabled_while_running += dialog.Enabled(id);
        return false;
      },
      kGenerationTimeoutMs);
  g.last_second = std::time(nullptr);
  DWORD code = 0;
  if (program.WaitForExit(0, code)) {
    report.Expect(false, "the program ended during the generation, exit code " +
                             std::to_string(code));
    report.End();
    return g;
  }
  report.Expect(finished, "the generation did not end within the time-out");
  report.Expect(dialog.Visible(kIdFinalLabel), "the final label is not shown");
  report.Expect(unanswered == 0, "the window did not answer " + std::to_string(unanswered) +
                                     " times during the generation");
  report.Expect(enabled_while_running == 0, "options were enabled during the generation");
  ExpectOptions(dialog, options, {}, report, "after generating");
  report.Expect(dialog.Text(kIdFinalLabel) == kFinalLabelText,
                "the final label shows '" + dialog.Text(kIdFinalLabel) + "'");
  for (int id : {kIdVersion, kIdStatus, kIdFinalLabel})
    report.Expect(dialog.Enabled(id), std::to_string(id) + " was disabled");

  const std::string shown = dialog.Text(kIdStatus);
  g.log = CrLfToLf(shown);
  if (!finished) std::printf("    the log so far:\n%s\n", g.log.c_str());
  report.Expect(shown.find('\n') == std::string::npos || shown.find("\r\n") != std::string::npos,
                "the log shows bare line feeds");
  report.Expect(g.log.size() >= log_end.size() &&
                    g.log.compare(g.log.size() - log_end.size(), log_end.size(), log_end) == 0,
                "the log does not end with the two writer lines");
  size_t at = 0;
  for (const char* step :
       {"Randomizing Enemies . . .", "Randomizing Items. . .", "done after ", " attempts!\n",
        "Applying modifiers . . .done!\n", "Writing to ItemListJillNormal.txt . . .done!\n"}) {
    const size_t found = g.log.find(step, at);
    report.Expect(found != std::string::npos,
                  std::string("the log lacks, in its place, '") + step + "'");
    if (found != std::string::npos) at = found;
  }
  report.End();
  return g;
}

void SeedFilesAreComplete(const std::wstring& directory, Report& report) {
  report.Begin("SeedFilesAreComplete");
  const std::vector<std::wstring> files = FilesIn(directory);
  report.Expect(files == std::vector<std::wstring>{L"CheatSheetJillNormal.txt",
                                                   L"ItemListJillNormal.txt"},
                "the folder holds " + Join(files));
  std::string item_list, cheat_sheet;
  report.Expect(ReadFile(directory + L"\\ItemListJillNormal.txt", item_list),
                "no ItemListJillNormal.txt");
  CheckItemList(item_list, report);
  report.Expect(ReadFile(directory + L"\\CheatSheetJillNormal.txt", cheat_sheet),
                "no CheatSheetJillNormal.txt");
  std::vector<std::string> lines;
  report.Expect(SplitCrLf(cheat_sheet, lines), "the cheat sheet has a line without CR LF");
  // Enemies were randomized, doors and locks were not.
  report.Expect(std::find(lines.begin(), lines.end(), "ENEMY RANDO POSITIONS") != lines.end(),
                "the cheat sheet lacks its enemy section");
  report.Expect(std::find(lines.begin(), lines.end(), "DOOR RANDO:") == lines.end(),
                "the cheat sheet has a door section");
  report.Expect(cheat_sheet.find("***Path to Victory***") != std::string::npos,
                "the cheat sheet lacks the Path to Victory");
  report.End();
}

void SecondGenerateDoesNothing(const Dialog& dialog, const std::wstring& directory,
                               Report& report) {
  report.Begin("SecondGenerateDoesNothing");
  const std::string log = dialog.Text(kIdStatus);
  std::string before, after;
  ReadFile(directory + L"\\ItemListJillNormal.txt", before);
  dialog.Click(kIdGenerateSeed);
  Sleep(2000);
  ReadFile(directory + L"\\ItemListJillNormal.txt", after);
  report.Expect(dialog.Text(kIdStatus) == log, "the log changed");
  report.Expect(before == after, "the item list changed");
  report.Expect(!dialog.Enabled(kIdGenerateSeed), "Generate Seed is enabled");
  report.End();
}

void KeyClosesTheDialog(Program& program, WORD key, const std::string& name,
                        Report& report) {
  report.Begin(name);
  PressKey(program.dialog, key);
  DWORD code = 0;
  const bool ended = program.WaitForExit(kExitTimeoutMs, code);
  report.Expect(ended, "the program still runs");
  report.Expect(!ended || code == 0, "the program ended with code " + std::to_string(code));
  report.End();
}

void ClosingMidGenerationEndsCleanly(Program& program, const std::wstring& directory,
                                     Report& report) {
  report.Begin("ClosingMidGenerationEndsCleanly");
  const Dialog& dialog = program.dialog;
  dialog.Click(kIdChris);
  dialog.Click(kIdGenerateSeed);
  report.Expect(WaitFor([&] { return !dialog.Enabled(kIdGenerateSeed); }, 30000),
                "the generation did not start");
  Sleep(500);
  report.Expect(dialog.Answers(), "the window does not answer during the generation");
  PostMessageW(dialog.hwnd, WM_CLOSE, 0, 0);
  DWORD code = 0;
  const bool ended = program.WaitForExit(kExitTimeoutMs, code);
  report.Expect(ended, "the program still runs");
  report.Expect(!ended || code == 0, "the program ended with code " + std::to_string(code));
  // The generation either finished before the close, with both files whole,
  // or was abandoned, leaving no file at all.
  const std::vector<std::wstring> files = FilesIn(directory);
  const bool none = files.empty();
  const bool both = files == std::vector<std::wstring>{L"CheatSheetChrisNormal.txt",
                                                       L"ItemListChrisNormal.txt"};
  report.Expect(none || both || files == std::vector<std::wstring>{L"ItemListChrisNormal.txt"},
                "the folder holds " + Join(files));
  std::string item_list;
  if (ReadFile(directory + L"\\ItemListChrisNormal.txt", item_list)) {
    std::vector<std::string> lines;
    report.Expect(SplitCrLf(item_list, lines) && lines.size() == 504,
                  "the item list left behind is incomplete");
  }
  std::printf("    (the folder holds %s)\n", Join(files).c_str());
  report.End();
}

void TakeScreenshot(const Dialog& dialog, const std::wstring& artifacts) {
  RECT r;
  GetWindowRect(dialog.hwnd, &r);
  const std::wstring done = artifacts + L"\\screenshot-done.txt";
  DeleteFileW(done.c_str());
  std::ostringstream rect;
  rect << r.left << " " << r.top << " " << (r.right - r.left) << " " << (r.bottom - r.top)
       << "\n";
  WriteFile(artifacts + L"\\screenshot-request.txt", rect.str());
  if (!WaitFor([&] { return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; },
               60000))
    std::printf("    (no screenshot was taken)\n");
}

std::wstring Subfolder(const std::wstring& parent, const wchar_t* name) {
  const std::wstring path = parent + L"\\" + name;
  CreateDirectoryW(path.c_str(), nullptr);
  return path;
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

  TemplateResourceMatchesTheTable(exe, report);

  {
    const std::wstring folder = Subfolder(work, L"generate");
    Program program;
    std::string error;
    if (!program.Start(exe, folder, error)) {
      report.Begin("StartTheProgram");
      report.Expect(false, error);
      report.End();
    } else {
      const Dialog& dialog = program.dialog;
      WindowMatchesTheTemplate(dialog, report);
      FreshStartDefaults(dialog, report);
      EnemiesEnablesExactlyThePanel(dialog, report);
      DoorsForcesNormalWithItemsAndNoLocks(dialog, report);
      const Generation g = GenerationDisablesEveryOptionAndShowsTheFinalLabel(program, report);
      SeedFilesAreComplete(folder, report);
      if (!artifacts.empty()) {
        WriteFile(artifacts + L"\\dialog-log.txt", g.log);
        std::ostringstream window;
        window << g.first_second << " " << g.last_second << "\n";
        WriteFile(artifacts + L"\\generation-seconds.txt", window.str());
        TakeScreenshot(dialog, artifacts);
      }
      SecondGenerateDoesNothing(dialog, folder, report);
      KeyClosesTheDialog(program, VK_ESCAPE, "EscapeClosesTheDialog", report);
    }
  }
  {
    const std::wstring folder = Subfolder(work, L"enter");
    Program program;
    std::string error;
    report.Begin("EnterClosesTheDialogWithoutWriting");
    const bool started = program.Start(exe, folder, error);
    report.Expect(started, error);
    if (started) {
      PressKey(program.dialog, VK_RETURN);
      DWORD code = 0;
      report.Expect(program.WaitForExit(kExitTimeoutMs, code), "the program still runs");
      report.Expect(FilesIn(folder).empty(), "the folder holds " + Join(FilesIn(folder)));
    }
    report.End();
  }
  {
    const std::wstring folder = Subfolder(work, L"close");
    Program program;
    std::string error;
    if (program.Start(exe, folder, error)) {
      ClosingMidGenerationEndsCleanly(program, folder, report);
    } else {
      report.Begin("ClosingMidGenerationEndsCleanly");
      report.Expect(false, error);
      report.End();
    }
  }

  std::printf("gui: %d passed, %d failed\n", report.passed(), report.failed());
  return report.failed() == 0 ? 0 : 1;
}
