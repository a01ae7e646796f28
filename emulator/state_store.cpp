// Atomic, locked write-back of drive state.
#include "emulator/state_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "emulator/machine_file_parser.h"

namespace emu {

namespace {

// Far above any machine or state file (a wholly reprogrammed drive's state is
// about 270 KB), and small enough that parsing stays within a program's memory.
constexpr std::uintmax_t kMaxFileSize = 16u * 1024u * 1024u;

bool Fail(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
  return false;
}

std::string SystemError(const std::string& path, const char* what) {
  return path + ": " + what + ": " + std::strerror(errno);
}

// Closes a descriptor (and so drops its flock) however the function ends.
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

bool StateStore::ReadWholeFile(const std::string& path, std::string* text, std::string* error) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return Fail(error, path + ": cannot be read: " + std::strerror(errno));
  }
  if (!S_ISREG(info.st_mode)) return Fail(error, path + ": cannot be read: not a regular file");
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(error, path + ": cannot be read: " + std::strerror(errno));
  in.seekg(0, std::ios::end);
  const auto size = in.tellg();
  if (size < 0) return Fail(error, path + ": cannot be read");
  if (static_cast<std::uintmax_t>(size) > kMaxFileSize) {
    return Fail(error, path + ": cannot be read: larger than 16 MiB");
  }
  in.seekg(0, std::ios::beg);
  text->assign(static_cast<std::size_t>(size), '\0');
  if (!in.read(text->data(), size)) return Fail(error, path + ": cannot be read");
  return true;
}

bool StateStore::LoadStates(const std::string& path, nlohmann::json* states, std::string* error) {
  *states = nlohmann::json::object();
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) return true;
  std::string text;
  nlohmann::json root;
  if (!ReadWholeFile(path, &text, error) || !ParseJsonText(text, path, &root, error)) return false;
  if (!root.is_object()) return Fail(error, path + ": expected a JSON object at the top");
  if (!root.contains("driveStates")) return true;
  if (!root.at("driveStates").is_object()) {
    return Fail(error, path + ": driveStates: expected an object");
  }
  *states = root.at("driveStates");
  return true;
}

bool StateStore::Save(const std::string& key, const nlohmann::json& state,
                      std::string* error) const {
  const std::string lockPath = path_ + ".lock";
  FileDescriptor lockFile(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
  if (lockFile.Get() < 0) return Fail(error, SystemError(lockPath, "cannot open the lock file"));
  int locked;
  do {
    locked = ::flock(lockFile.Get(), LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) return Fail(error, SystemError(lockPath, "cannot lock"));

  // Under the lock: what another program wrote since we loaded is in the file now.
  nlohmann::json root = nlohmann::json::object();
  struct stat info {};
  mode_t mode = 0644;
  if (::stat(path_.c_str(), &info) == 0) {
    mode = info.st_mode & 07777;  // the replacement keeps the file's permissions
    std::string text;
    if (!ReadWholeFile(path_, &text, error) || !ParseJsonText(text, path_, &root, error)) {
      return false;  // never replace a file we cannot understand
    }
    if (!root.is_object()) return Fail(error, path_ + ": expected a JSON object at the top");
  } else if (errno != ENOENT) {
    return Fail(error, SystemError(path_, "cannot be read"));
  }
  auto& states = root["driveStates"];
  if (!states.is_object()) states = nlohmann::json::object();
  states[key] = state;

  std::string text;
  try {
    text = root.dump(2) + "\n";
  } catch (const nlohmann::json::exception& e) {
    return Fail(error, path_ + ": cannot write the state: " + e.what());
  }
  std::string temporary = path_ + ".XXXXXX";
  std::vector<char> name(temporary.begin(), temporary.end());
  name.push_back('\0');
  FileDescriptor out(::mkstemp(name.data()));
  if (out.Get() < 0) return Fail(error, SystemError(path_, "cannot create a temporary file"));
  temporary = name.data();
  const bool written =
      ::fchmod(out.Get(), mode) == 0 && WriteAll(out.Get(), text) && ::fsync(out.Get()) == 0;
  const bool closed = ::close(out.Release()) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), path_.c_str()) != 0) {
    const std::string message = SystemError(path_, "cannot write the state");
    ::unlink(temporary.c_str());
    return Fail(error, message);
  }
  // The rename itself must reach the disk too.
  FileDescriptor folder(::open(Folder(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Get() >= 0) ::fsync(folder.Get());
  return true;
}

}  // namespace emu
