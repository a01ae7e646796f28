// The state file calls on POSIX systems: flock, stat and access, mkstemp,
// fsync and rename.
#include "emulator/state_file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace emu {

namespace {

constexpr char kTemporaryPattern[] = "XXXXXX";
static_assert(sizeof(kTemporaryPattern) - 1 == kTemporaryRandomLength);
constexpr unsigned kAnyWritePermission = 0222;

bool Fail(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
  return false;
}

std::string SystemError(const std::string& path, const char* what, int code) {
  return path + ": " + what + ": " + std::strerror(code);
}

// Closes a descriptor however the function ends.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

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

StateFileLock::~StateFileLock() {
  if (file_ >= 0) ::close(static_cast<int>(file_));  // closing drops the flock
}

bool StateFileLock::Acquire(const std::string& lockPath, std::string* error) {
  FileDescriptor file(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
  if (file.Get() < 0) {
    return Fail(error, SystemError(lockPath, "cannot open the lock file", errno));
  }
  int locked;
  do {
    locked = ::flock(file.Get(), LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) return Fail(error, SystemError(lockPath, "cannot lock", errno));
  if (file_ >= 0) ::close(static_cast<int>(file_));
  file_ = file.Release();
  return true;
}

bool InspectStateFile(const std::string& path, StateFileStatus* status, std::string* error) {
  *status = StateFileStatus{};
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return true;  // the first write-back creates it
    return Fail(error, SystemError(path, "cannot be read", errno));
  }
  if (!S_ISREG(info.st_mode)) return Fail(error, path + ": cannot be written: not a regular file");
  status->exists = true;
  status->permissions = info.st_mode & 07777;
  // The rename would replace a read-only file as easily as any other: its mode
  // is checked here. Root passes access(), so a file nobody may write is refused
  // by its mode alone.
  if ((status->permissions & kAnyWritePermission) == 0) {
    return Fail(error, path + ": cannot be written: the file is read-only");
  }
  if (::geteuid() != 0 && ::access(path.c_str(), W_OK) != 0) {
    return Fail(error, SystemError(path, "cannot be written", errno));
  }
  return true;
}

bool ReplaceStateFile(const std::string& path, const std::string& text, unsigned permissions,
                      std::string* error) {
  const std::string pattern = path + kTemporaryInfix + kTemporaryPattern;
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  FileDescriptor out(::mkstemp(name.data()));
  if (out.Get() < 0) {
    return Fail(error, SystemError(path, "cannot create a temporary file", errno));
  }
  const std::string temporary = name.data();
  int failure = 0;
  if (::fchmod(out.Get(), static_cast<mode_t>(permissions)) != 0 || !WriteAll(out.Get(), text) ||
      ::fsync(out.Get()) != 0) {
    failure = errno;
  }
  if (::close(out.Release()) != 0 && failure == 0) failure = errno;
  if (failure == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) failure = errno;
  if (failure != 0) {
    ::unlink(temporary.c_str());
    return Fail(error, SystemError(path, "cannot write the state", failure));
  }
  // The rename itself must reach the disk too.
  FileDescriptor folder(::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Get() >= 0) ::fsync(folder.Get());
  return true;
}

}  // namespace emu
