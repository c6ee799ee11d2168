// Set-up shared by the tests of every folder: a dialog on a memory window
// that writes to memory files, and the CR LF lines its files are made of.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "output/OutputFiles.h"

namespace velmora {

constexpr Character kJill = Character::kJill, kChris = Character::kChris;
constexpr Difficulty kNormal = Difficulty::kNormal, kHard = Difficulty::kHard;

/// A dialog on a memory window, initialised as at start-up.
struct DialogFixture {
  DialogFixture() { dlg.OnInitDialog(); }
  MemoryWindow window;
  MemoryOutputFiles files;
  CVelmoraDlg dlg{window, files};
};

/// The same set-up as a test fixture.
class DialogTest : public ::testing::Test, public DialogFixture {};

/// `lines`, each followed by CR LF.
inline std::string Lines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

/// The lines of `bytes`, each without its CR LF. A last line without CR LF
/// and a line holding a stray CR or LF are marked, so that a comparison
/// with the expected lines shows them.
inline std::vector<std::string> SplitCrLf(const std::string& bytes) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < bytes.size();) {
    const size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start) + "<no line end>");
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    if (lines.back().find_first_of("\r\n") != std::string::npos) lines.back() += "<stray line end>";
    start = end + 2;
  }
  return lines;
}

/// How often `part` occurs in `text`, overlaps included.
inline size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

}  // namespace velmora
