// Atomic, locked write-back of drive state.
#include "emulator/state_store.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "emulator/machine_file_parser.h"
#include "platform/file_ops.h"

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
  const platform::FileLock lock(lockPath);
  if (!lock.Held()) return Fail(error, lockPath + ": " + lock.Error());

  // Under the lock: what another program wrote since we loaded is in the file now.
  nlohmann::json root = nlohmann::json::object();
  struct stat info {};
  if (::stat(path_.c_str(), &info) == 0) {
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
  std::string reason;
  if (!platform::ReplaceFileContents(path_, text, &reason)) {
    return Fail(error, path_ + ": cannot write the state: " + reason);
  }
  return true;
}

}  // namespace emu
