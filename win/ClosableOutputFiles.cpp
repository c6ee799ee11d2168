#include "win/ClosableOutputFiles.h"

namespace velmora {

std::optional<std::string> ClosableOutputFiles::Write(const std::string& name,
                                                      const std::string& bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (closed_) return "the window was closed before the file was written";
  return target_->Write(name, bytes);
}

void ClosableOutputFiles::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  closed_ = true;
}

}  // namespace velmora
