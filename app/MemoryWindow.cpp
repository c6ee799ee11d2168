#include "app/MemoryWindow.h"

#include <stdexcept>

#include "app/DialogTemplate.h"

namespace velmora {

MemoryWindow::MemoryWindow() {
  for (const ControlSpec& spec : DialogControls()) {
    if (spec.id == -1) continue;
    Control& c = controls_[spec.id];
    c.text = std::string(spec.text);
    c.enabled = !spec.disabled;
    c.visible = !spec.hidden;
  }
}

MemoryWindow::Control& MemoryWindow::At(int id) {
  auto it = controls_.find(id);
  if (it == controls_.end())
    throw std::out_of_range("no control with id " + std::to_string(id));
  return it->second;
}

const MemoryWindow::Control& MemoryWindow::At(int id) const {
  return const_cast<MemoryWindow*>(this)->At(id);
}

bool MemoryWindow::IsChecked(int id) const { return At(id).checked; }

void MemoryWindow::SetChecked(int id, bool checked) {
  const ControlSpec* spec = FindControl(id);
  if (checked && spec && spec->kind == ControlKind::kRadioButton) {
    // Uncheck the other buttons of the group: the radio buttons that follow
    // the group's first button in template order up to the next group.
    auto all = DialogControls();
    size_t start = 0;
    for (size_t i = 0; i < all.size(); ++i) {
      if (all[i].id == id) {
        start = i;
        while (start > 0 && !all[start].group_start) --start;
        break;
      }
    }
    for (size_t i = start; i < all.size(); ++i) {
      if (i > start && (all[i].group_start || all[i].kind != ControlKind::kRadioButton))
        break;
      At(all[i].id).checked = false;
    }
  }
  At(id).checked = checked;
}

void MemoryWindow::EnableControl(int id, bool enabled) { At(id).enabled = enabled; }
bool MemoryWindow::IsControlEnabled(int id) const { return At(id).enabled; }
void MemoryWindow::ShowControl(int id, bool visible) { At(id).visible = visible; }
bool MemoryWindow::IsControlVisible(int id) const { return At(id).visible; }
std::string MemoryWindow::GetControlText(int id) const { return At(id).text; }

void MemoryWindow::SetControlText(int id, const std::string& text) {
  Control& c = At(id);
  std::string before = std::move(c.text);
  c.text = text;
  if (listener_) listener_(id, before, c.text);
}

bool MemoryWindow::Click(int id) {
  Control& c = At(id);
  if (!c.enabled) return false;
  const ControlSpec* spec = FindControl(id);
  if (spec && spec->kind == ControlKind::kRadioButton)
    SetChecked(id, true);
  else
    c.checked = !c.checked;
  return true;
}

}  // namespace velmora
