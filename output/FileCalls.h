// The operating system's file calls that a durable replacement of a file
// needs, behind an interface so that tests can watch their order and make any
// of them fail.
#pragma once

#include <optional>
#include <string>

namespace velmora {

class FileCalls {
 public:
  virtual ~FileCalls() = default;
  /// Creates `path`, which must not exist yet, and opens it for writing into
  /// `handle`. Returns the reason on failure.
  virtual std::optional<std::string> Create(const std::string& path, int& handle) = 0;
  /// Writes all of `bytes` to the open file. Returns the reason on failure.
  virtual std::optional<std::string> Write(int handle, const std::string& bytes) = 0;
  /// Flushes the open file's data to the disk (fsync, FlushFileBuffers).
  /// Returns the reason on failure.
  virtual std::optional<std::string> Sync(int handle) = 0;
  /// Closes the open file. Returns the reason on failure.
  virtual std::optional<std::string> Close(int handle) = 0;
  /// Renames `from` over `to`, replacing a file there. Returns the reason on
  /// failure.
  virtual std::optional<std::string> Rename(const std::string& from, const std::string& to) = 0;
  /// Flushes the directory `dir`, so that a rename in it outlives a power
  /// cut. Best effort: where a platform cannot, this does nothing.
  virtual void SyncDirectory(const std::string& dir) = 0;
  /// Removes the file `path`, if it is there.
  virtual void Remove(const std::string& path) = 0;
};

/// The calls of the system the program runs on.
FileCalls& SystemFileCalls();

}  // namespace velmora
