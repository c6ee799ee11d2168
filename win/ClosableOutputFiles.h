// Seed files that stop being written once the window closes. A generation
// that the user abandons by closing the window leaves the disk as it was, or
// with complete files only: Close waits for a write in progress to finish.
#pragma once

#include <mutex>
#include <optional>
#include <string>

#include "output/OutputFiles.h"

namespace velmora {

class ClosableOutputFiles : public OutputFiles {
 public:
  explicit ClosableOutputFiles(OutputFiles& target) : target_(&target) {}

  /// Writes through to the target unless Close has been called.
  std::optional<std::string> Write(const std::string& name, const std::string& bytes) override;
  /// Returns once no write is in progress; every later write fails.
  void Close();

 private:
  OutputFiles* target_;
  std::mutex mutex_;
  bool closed_ = false;
};

}  // namespace velmora
