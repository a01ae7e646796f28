// FileLock and ReplaceFileContents on POSIX systems: flock, mkstemp, fsync, rename.
#include "platform/file_ops.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace platform {

namespace {

std::string Reason() { return std::strerror(errno); }

bool WriteAll(int fd, const std::string& text) {
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<std::size_t>(n);
  }
  return true;
}

std::string Folder(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

FileLock::FileLock(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    error_ = "cannot open the lock file: " + Reason();
    return;
  }
  file_ = fd;
  int locked;
  do {
    locked = ::flock(fd, LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) {
    error_ = "cannot lock: " + Reason();
    return;
  }
  held_ = true;
}

FileLock::~FileLock() {
  if (file_ >= 0) ::close(static_cast<int>(file_));  // drops the flock
}

bool ReplaceFileContents(const std::string& path, const std::string& text, std::string* reason) {
  struct stat info {};
  const mode_t mode = ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
  std::string temporary = path + ".XXXXXX";
  std::vector<char> name(temporary.begin(), temporary.end());
  name.push_back('\0');
  const int out = ::mkstemp(name.data());
  if (out < 0) {
    *reason = "cannot create a temporary file: " + Reason();
    return false;
  }
  temporary = name.data();
  bool done = ::fchmod(out, mode) == 0 && WriteAll(out, text) && ::fsync(out) == 0;
  if (!done) *reason = Reason();
  if (::close(out) != 0 && done) {
    done = false;
    *reason = Reason();
  }
  if (done && ::rename(temporary.c_str(), path.c_str()) != 0) {
    done = false;
    *reason = Reason();
  }
  if (!done) {
    ::unlink(temporary.c_str());
    return false;
  }
  // The rename itself must reach the disk too.
  const int folder = ::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

}  // namespace platform
