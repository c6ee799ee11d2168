#include "win/gui_test/TemplateResource.h"

#include <cstring>

namespace velmora {
namespace {

// Reads the template's words front to back; a read past the end sets
// `overrun` and yields zeros.
class Reader {
 public:
  Reader(const BYTE* data, size_t size) : data_(data), size_(size) {}

  WORD Word() { return Take<WORD>(); }
  DWORD Dword() { return Take<DWORD>(); }
  short Short() { return Take<short>(); }
  BYTE Byte() { return Take<BYTE>(); }

  std::wstring String() {
    std::wstring text;
    for (WORD c = Word(); c != 0 && !overrun; c = Word()) text += static_cast<wchar_t>(c);
    return text;
  }

  /// A "string or ordinal" field: 0 none, 0xFFFF then an ordinal, else a
  /// string. Returns the ordinal or 0.
  int StringOrOrdinal(std::wstring& text, bool& present) {
    const WORD first = Word();
    present = first != 0;
    if (first == 0) return 0;
    if (first == 0xFFFF) return Word();
    text = static_cast<wchar_t>(first) + String();
    return 0;
  }

  void AlignDword() { offset_ = (offset_ + 3) & ~size_t{3}; }
  void Skip(size_t n) { offset_ += n; }

  bool overrun = false;

 private:
  template <class T>
  T Take() {
    T value{};
    if (offset_ + sizeof(T) > size_) {
      overrun = true;
      offset_ = size_;
      return value;
    }
    std::memcpy(&value, data_ + offset_, sizeof(T));
    offset_ += sizeof(T);
    return value;
  }

  const BYTE* data_;
  size_t size_;
  size_t offset_ = 0;
};

}  // namespace

std::optional<DialogTemplateResource> LoadDialogTemplate(HMODULE module, int id,
                                                         std::string& error) {
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
  if (!info) {
    error = "no dialog resource " + std::to_string(id);
    return std::nullopt;
  }
  HGLOBAL loaded = LoadResource(module, info);
  const auto* data = static_cast<const BYTE*>(LockResource(loaded));
  const size_t size = SizeofResource(module, info);
  if (!data || size == 0) {
    error = "dialog resource " + std::to_string(id) + " is empty";
    return std::nullopt;
  }

  Reader in(data, size);
  DialogTemplateResource t;
  const WORD version = in.Word();
  const WORD signature = in.Word();
  if (version != 1 || signature != 0xFFFF) {
    error = "dialog resource " + std::to_string(id) + " is not an extended template";
    return std::nullopt;
  }
  in.Dword();  // help id
  t.ex_style = in.Dword();
  t.style = in.Dword();
  const WORD count = in.Word();
  t.x = in.Short();
  t.y = in.Short();
  t.width = in.Short();
  t.height = in.Short();
  std::wstring ignored;
  in.StringOrOrdinal(ignored, t.has_menu);
  in.StringOrOrdinal(ignored, t.has_class);
  t.caption = in.String();
  if (t.style & (DS_SETFONT | DS_FIXEDSYS)) {
    t.point_size = in.Word();
    in.Word();  // weight
    in.Byte();  // italic
    in.Byte();  // character set
    t.font = in.String();
  }
  for (WORD i = 0; i < count && !in.overrun; ++i) {
    in.AlignDword();
    TemplateItem item;
    in.Dword();  // help id
    item.ex_style = in.Dword();
    item.style = in.Dword();
    item.x = in.Short();
    item.y = in.Short();
    item.width = in.Short();
    item.height = in.Short();
    item.id = static_cast<int>(in.Dword());
    bool present = false;
    item.class_atom = in.StringOrOrdinal(item.class_name, present);
    std::wstring text;
    const int text_ordinal = in.StringOrOrdinal(text, present);
    item.text = text_ordinal ? L"#" + std::to_wstring(text_ordinal) : text;
    in.Skip(in.Word());  // creation data
    t.items.push_back(std::move(item));
  }
  if (in.overrun) {
    error = "dialog resource " + std::to_string(id) + " ends early";
    return std::nullopt;
  }
  return t;
}

}  // namespace velmora
