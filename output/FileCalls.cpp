#include "output/FileCalls.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace velmora {
namespace {

std::string ErrnoText(int err) { return std::strerror(err ? err : EIO); }

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

class OsFileCalls : public FileCalls {
 public:
  std::optional<std::string> Create(const std::string& path, int& handle) override {
#ifdef _WIN32
    handle = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    handle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
    if (handle < 0) return ErrnoText(errno);
    return std::nullopt;
  }

  std::optional<std::string> Write(int handle, const std::string& bytes) override {
    size_t done = 0;
    while (done < bytes.size()) {
      // Chunks of at most 1 GiB, which every platform's write takes.
      const size_t chunk = std::min<size_t>(bytes.size() - done, size_t{1} << 30);
#ifdef _WIN32
      const int n = _write(handle, bytes.data() + done, static_cast<unsigned>(chunk));
#else
      const ssize_t n = ::write(handle, bytes.data() + done, chunk);
      if (n < 0 && errno == EINTR) continue;
#endif
      if (n <= 0) return ErrnoText(n < 0 ? errno : ENOSPC);
      done += static_cast<size_t>(n);
    }
    return std::nullopt;
  }

  std::optional<std::string> Sync(int handle) override {
#ifdef _WIN32
    // _commit flushes the file's buffers with FlushFileBuffers.
    if (_commit(handle) != 0) return ErrnoText(errno);
#else
    if (::fsync(handle) != 0) return ErrnoText(errno);
#endif
    return std::nullopt;
  }

  std::optional<std::string> Close(int handle) override {
#ifdef _WIN32
    if (_close(handle) != 0) return ErrnoText(errno);
#else
    if (::close(handle) != 0) return ErrnoText(errno);
#endif
    return std::nullopt;
  }

  std::optional<std::string> Rename(const std::string& from, const std::string& to) override {
#ifdef _WIN32
    // WRITE_THROUGH returns only once the rename is on the disk, which on
    // Windows also stands for flushing the directory.
    if (!MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return LastErrorText();
#else
    if (std::rename(from.c_str(), to.c_str()) != 0) return ErrnoText(errno);
#endif
    return std::nullopt;
  }

  void SyncDirectory([[maybe_unused]] const std::string& dir) override {
#ifndef _WIN32
    // Some file systems refuse to open or flush a directory; the rename has
    // happened either way, so a refusal is no failure of the write.
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
#endif
  }

  void Remove(const std::string& path) override { std::remove(path.c_str()); }
};

}  // namespace

FileCalls& SystemFileCalls() {
  static OsFileCalls calls;
  return calls;
}

}  // namespace velmora
