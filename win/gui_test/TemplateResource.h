// Reads a dialog template (DLGTEMPLATEEX) as stored in an executable's
// resources, so the GUI test can check the template itself, not only the
// window built from it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace velmora {

struct TemplateItem {
  DWORD style = 0;
  DWORD ex_style = 0;
  int x = 0, y = 0, width = 0, height = 0;
  int id = 0;
  /// Predefined class atom (0x80 button, 0x82 static, ...) or 0 for a name.
  int class_atom = 0;
  std::wstring class_name;
  std::wstring text;
};

struct DialogTemplateResource {
  DWORD style = 0;
  DWORD ex_style = 0;
  int x = 0, y = 0, width = 0, height = 0;
  bool has_menu = false;
  bool has_class = false;
  std::wstring caption;
  int point_size = 0;
  std::wstring font;
  std::vector<TemplateItem> items;
};

/// Parses the extended dialog template `id` of `module`; nullopt with
/// `error` set when it is missing or not an extended template.
std::optional<DialogTemplateResource> LoadDialogTemplate(HMODULE module, int id,
                                                         std::string& error);

}  // namespace velmora
