#include "output/OutputFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmora {
namespace {

std::string ErrnoText(int err) { return std::strerror(err); }

#ifdef _WIN32
std::string LastErrorText() {
  DWORD code = GetLastError();
  char buffer[512] = {0};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.'))
    text.pop_back();
  return text.empty() ? "error " + std::to_string(code) : text;
}
#endif

}  // namespace

DiskOutputFiles::DiskOutputFiles(std::string directory)
    : directory_(std::move(directory)) {}

std::optional<std::string> DiskOutputFiles::Write(const std::string& name,
                                                  const std::string& bytes) {
  namespace fs = std::filesystem;
  const fs::path dir = directory_.empty() ? fs::path(".") : fs::path(directory_);
  // A name may hold directories of its own, or be an absolute path, which
  // then stands for itself.
  const fs::path target = dir / name;
  if (!target.has_filename()) return "no file name";
  // A seed file the user made read-only is kept as it is. A rename would
  // replace it regardless of its mode on POSIX systems, and so does
  // MoveFileEx under Wine; this check holds on every platform.
  std::error_code ec;
  const fs::file_status status = fs::status(target, ec);
  if (!ec && fs::exists(status) &&
      (status.permissions() & (fs::perms::owner_write | fs::perms::group_write |
                               fs::perms::others_write)) == fs::perms::none)
    return "the file is read-only";
  std::random_device entropy;
  const fs::path temp =
      target.parent_path() /
      ("." + target.filename().string() + "." + std::to_string(entropy() % 1000000) + ".tmp");

  // "x" refuses to reuse an existing file, so two writers never share a
  // temporary file.
  std::FILE* f = std::fopen(temp.string().c_str(), "wbx");
  if (!f) return ErrnoText(errno);
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  int err = ok ? 0 : errno;
  if (std::fflush(f) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (std::fclose(f) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    std::remove(temp.string().c_str());
    return ErrnoText(err ? err : EIO);
  }
#ifdef _WIN32
  if (!MoveFileExA(temp.string().c_str(), target.string().c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    std::string reason = LastErrorText();
    std::remove(temp.string().c_str());
    return reason;
  }
#else
  if (std::rename(temp.string().c_str(), target.string().c_str()) != 0) {
    int rename_err = errno;
    std::remove(temp.string().c_str());
    return ErrnoText(rename_err);
  }
#endif
  return std::nullopt;
}

std::optional<std::string> MemoryOutputFiles::Write(const std::string& name,
                                                    const std::string& bytes) {
  auto failure = failures_.find(name);
  if (failure != failures_.end()) return failure->second;
  files_[name] = bytes;
  return std::nullopt;
}

std::optional<std::string> ReadFileBytes(const std::string& path, std::string& bytes,
                                         std::size_t max_bytes) {
  bytes.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot open it";
  char chunk[1 << 16];
  while (bytes.size() < max_bytes) {
    const std::size_t want = std::min(sizeof chunk, max_bytes - bytes.size());
    in.read(chunk, static_cast<std::streamsize>(want));
    bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (in.eof()) break;
    if (!in) return "cannot read it";
  }
  return std::nullopt;
}

}  // namespace velmora
