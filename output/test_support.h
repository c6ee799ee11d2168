// Helpers shared by the output tests: CR LF lines, counting, and a whole
// generation run through the dialog's controls as a user would.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "output/OutputFiles.h"

namespace velmora {

constexpr Character kJill = Character::kJill, kChris = Character::kChris;
constexpr Difficulty kNormal = Difficulty::kNormal, kHard = Difficulty::kHard;

// Joins lines, each ending CR LF.
inline std::string Lines(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

// The lines of `bytes`; a last line without CR LF is marked as such.
inline std::vector<std::string> SplitCrLf(const std::string& bytes) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < bytes.size();) {
    const size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start) + "<no line end>");
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

inline size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

struct Generation {
  Character character = kJill;
  Difficulty difficulty = kNormal;
  bool items = true, enemies = false, doors = false, locks = false;
  bool remove_healing = false, armed_capsule = false;
  uint32_t seed = 1;
};

// A dialog that generated a seed with the options of `g`, clicked as a user
// would click them.
struct GeneratedSeed {
  explicit GeneratedSeed(const Generation& g) : dlg(window, files) {
    dlg.OnInitDialog();
    window.Click(g.character == kChris ? kIdChris : kIdJill);
    window.Click(g.difficulty == kHard ? kIdHard : kIdNormal);
    if (!g.items) window.Click(kIdItems);
    if (g.enemies) {
      window.Click(kIdEnemies);
      dlg.OnBnClickedEnemies();
    }
    if (g.doors) {
      window.Click(kIdDoors);
      dlg.OnBnClickedDoors();
    }
    if (g.locks) window.Click(kIdLocks);
    if (g.remove_healing) window.Click(kIdRemoveHealing);
    if (g.armed_capsule) window.Click(kIdArmedCapsule);
    dlg.SetSeedSource([seed = g.seed] { return seed; });
    dlg.OnBnClickedGenerateSeed();
  }
  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg;
};

}  // namespace velmora
