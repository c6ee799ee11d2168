#include "output/OutputFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace velmora {

DiskOutputFiles::DiskOutputFiles(std::string directory, FileCalls& calls)
    : directory_(std::move(directory)), calls_(calls) {}

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

  // Creation refuses an existing file, so two writers never share a
  // temporary file.
  int handle = -1;
  if (std::optional<std::string> reason = calls_.Create(temp.string(), handle)) return reason;
  // The data reaches the disk before the rename: a power cut after the
  // rename then finds the whole new file, never an empty one.
  std::optional<std::string> reason = calls_.Write(handle, bytes);
  if (!reason) reason = calls_.Sync(handle);
  std::optional<std::string> close_reason = calls_.Close(handle);
  if (!reason) reason = std::move(close_reason);
  if (!reason) reason = calls_.Rename(temp.string(), target.string());
  if (reason) {
    calls_.Remove(temp.string());
    return reason;
  }
  // The rename itself is in the directory, which is flushed in turn.
  calls_.SyncDirectory(target.parent_path().empty() ? "." : target.parent_path().string());
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
