// POSIX file calls of the state write-back: flock, mkstemp, fsync, rename.
#include "emulator/state_file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace emu {

namespace {

constexpr char kTemporaryInfix[] = ".writing-";
constexpr char kTemporaryPattern[] = "XXXXXX";
constexpr std::size_t kTemporaryRandomLength = sizeof(kTemporaryPattern) - 1;
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

bool IsRandomPart(const std::string& text) {
  if (text.size() != kTemporaryRandomLength) return false;
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0) return false;
  }
  return true;
}

}  // namespace

StateFileLock::~StateFileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing drops the flock
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
  if (fd_ >= 0) ::close(fd_);
  fd_ = file.Release();
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

bool StateFileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

bool ReadStateFile(const std::string& path, std::string* text, std::string* error) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return Fail(error, SystemError(path, "cannot be read", errno));
  }
  if (!S_ISREG(info.st_mode)) return Fail(error, path + ": cannot be read: not a regular file");
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(error, SystemError(path, "cannot be read", errno));
  in.seekg(0, std::ios::end);
  const auto size = in.tellg();
  if (size < 0) return Fail(error, path + ": cannot be read");
  if (static_cast<std::uintmax_t>(size) > kMaxStateFileSize) {
    return Fail(error, path + ": cannot be read: larger than 16 MiB");
  }
  in.seekg(0, std::ios::beg);
  text->assign(static_cast<std::size_t>(size), '\0');
  if (!in.read(text->data(), size)) return Fail(error, path + ": cannot be read");
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

void RemoveStaleTemporaries(const std::string& path) {
  const std::filesystem::path file(path);
  const std::string base = file.filename().string();
  const std::string ours = base + kTemporaryInfix;
  std::error_code code;
  std::filesystem::directory_iterator entries(
      file.has_parent_path() ? file.parent_path() : std::filesystem::path("."), code);
  if (code) return;
  for (const auto& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file(code)) continue;
    bool stale = name.size() == ours.size() + kTemporaryRandomLength &&
                 name.compare(0, ours.size(), ours) == 0 && IsRandomPart(name.substr(ours.size()));
    // Earlier versions named their temporaries "<file>.XXXXXX"; such a name may
    // also be a user's own copy, so only an empty one is taken for ours.
    if (!stale && name.size() == base.size() + 1 + kTemporaryRandomLength &&
        name.compare(0, base.size() + 1, base + ".") == 0 &&
        IsRandomPart(name.substr(base.size() + 1))) {
      stale = entry.file_size(code) == 0 && !code;
    }
    if (stale) std::filesystem::remove(entry.path(), code);
  }
}

}  // namespace emu
