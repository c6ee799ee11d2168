// velmora-rooms-doc: writes docs/rooms.md from the door tables. With a path
// it replaces that file; without one it prints the text.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "output/OutputFiles.h"
#include "output/RoomsDoc.h"

int main(int argc, char** argv) {
  using namespace velmora;
  const std::string text = FormatRoomsDoc();
  if (argc < 2) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::cout << text;
    return std::cout ? 0 : 1;
  }
  const std::filesystem::path target(argv[1]);
  DiskOutputFiles files(target.parent_path().string());
  if (std::optional<std::string> reason = files.Write(target.filename().string(), text)) {
    std::cerr << "velmora-rooms-doc: could not write " << target.string() << " (" << *reason
              << ")\n";
    return 1;
  }
  return 0;
}
