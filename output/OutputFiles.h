// The seam between the program and the disk: writers produce a file's whole
// bytes and hand them over here, and files are read back whole from here.
#pragma once

#include <cstddef>
#include <limits>
#include <map>
#include <optional>
#include <string>

#include "output/FileCalls.h"

namespace velmora {

class OutputFiles {
 public:
  virtual ~OutputFiles() = default;
  /// Replaces the file `name` with `bytes` as a whole. Returns the reason on
  /// failure; an existing file is then left as it was.
  virtual std::optional<std::string> Write(const std::string& name,
                                           const std::string& bytes) = 0;
};

/// Writes into a directory through a temporary file beside the target that
/// is flushed to the disk and then renamed over it, and flushes the directory
/// after the rename, so that neither a failure nor a power cut leaves a
/// truncated or damaged seed file. A name may be a path below the directory
/// ("dir/name") or an absolute path; one without a file name fails with
/// "no file name".
class DiskOutputFiles : public OutputFiles {
 public:
  explicit DiskOutputFiles(std::string directory, FileCalls& calls = SystemFileCalls());
  std::optional<std::string> Write(const std::string& name,
                                   const std::string& bytes) override;

 private:
  std::string directory_;
  FileCalls& calls_;
};

/// Keeps the files in memory, for tests; can be told to fail a file.
class MemoryOutputFiles : public OutputFiles {
 public:
  std::optional<std::string> Write(const std::string& name,
                                   const std::string& bytes) override;
  /// Makes every later write of `name` fail with `reason`.
  void FailOn(const std::string& name, const std::string& reason) {
    failures_[name] = reason;
  }
  const std::map<std::string, std::string>& files() const { return files_; }

 private:
  std::map<std::string, std::string> files_;
  std::map<std::string, std::string> failures_;
};

/// Reads the file at `path` into `bytes`, at most `max_bytes` of it, so
/// that a reader can tell a file too long for it without reading it all.
/// Returns the reason on failure: "cannot open it" or "cannot read it".
std::optional<std::string> ReadFileBytes(
    const std::string& path, std::string& bytes,
    std::size_t max_bytes = std::numeric_limits<std::size_t>::max());

}  // namespace velmora
