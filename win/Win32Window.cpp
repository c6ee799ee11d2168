#include "win/Win32Window.h"

namespace velmora {

std::wstring AnsiToWide(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                    nullptr, 0);
  std::wstring text(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return text;
}

std::string WideToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n,
                      nullptr, nullptr);
  return bytes;
}

std::string ToWindowsLineBreaks(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

std::string FromWindowsLineBreaks(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  return out;
}

bool Win32Window::IsChecked(int id) const {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Window::SetChecked(int id, bool checked) {
  HWND control = Control(id);
  const auto is_auto_radio = [](HWND w) {
    return (GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
  };
  if (checked && is_auto_radio(control)) {
    // BM_SETCHECK leaves the group's other buttons alone; a click would
    // uncheck them. The group runs from its WS_GROUP control up to the next.
    HWND first = control;
    while (!(GetWindowLongW(first, GWL_STYLE) & WS_GROUP)) {
      HWND previous = GetWindow(first, GW_HWNDPREV);
      if (!previous) break;
      first = previous;
    }
    for (HWND w = first; w; w = GetWindow(w, GW_HWNDNEXT)) {
      if (w != first && (GetWindowLongW(w, GWL_STYLE) & WS_GROUP)) break;
      if (w != control && is_auto_radio(w)) SendMessageW(w, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
  SendMessageW(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Window::EnableControl(int id, bool enabled) { EnableWindow(Control(id), enabled); }

bool Win32Window::IsControlEnabled(int id) const { return IsWindowEnabled(Control(id)); }

void Win32Window::ShowControl(int id, bool visible) {
  ShowWindow(Control(id), visible ? SW_SHOW : SW_HIDE);
}

bool Win32Window::IsControlVisible(int id) const {
  return (GetWindowLongW(Control(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string Win32Window::GetControlText(int id) const {
  auto it = texts_.find(id);
  if (it != texts_.end()) return it->second;
  HWND control = Control(id);
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return FromWindowsLineBreaks(WideToAnsi(text));
}

void Win32Window::SetControlText(int id, const std::string& text) {
  texts_[id] = text;
  SetWindowTextW(Control(id), AnsiToWide(ToWindowsLineBreaks(text)).c_str());
}

}  // namespace velmora
