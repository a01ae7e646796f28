// The state file calls on Windows: LockFileEx on the lock file, the read-only
// attribute, and a temporary file flushed with FlushFileBuffers and moved over
// the file with MoveFileExA(MOVEFILE_REPLACE_EXISTING).
#include <algorithm>
#include <atomic>
#include <random>

#include "emulator/state_file_io.h"
#include "platform/windows/win32.h"

namespace emu {

namespace {

constexpr unsigned kTemporaryAttempts = 100;
constexpr char kRandomLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool Fail(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
  return false;
}

// The system's text for an error code, without its line end.
std::string Reason(DWORD code) {
  char text[256] = {};
  DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, sizeof(text), nullptr);
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                        text[length - 1] == ' ' || text[length - 1] == '.')) {
    --length;
  }
  return length > 0 ? std::string(text, length) : "error " + std::to_string(code);
}

std::string SystemError(const std::string& path, const char* what, DWORD code) {
  return path + ": " + what + ": " + Reason(code);
}

bool WriteAll(HANDLE file, const std::string& text) {
  std::size_t written = 0;
  while (written < text.size()) {
    const std::size_t chunk = std::min<std::size_t>(text.size() - written, 1u << 20);
    DWORD n = 0;
    if (!::WriteFile(file, text.data() + written, static_cast<DWORD>(chunk), &n, nullptr) ||
        n == 0) {
      return false;
    }
    written += n;
  }
  return true;
}

// path + kTemporaryInfix + six random letters or digits, as mkstemp makes them.
std::string TemporaryName(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  std::minstd_rand random(::GetCurrentProcessId() * 7919u + counter++ + ::GetTickCount());
  std::uniform_int_distribution<std::size_t> pick(0, sizeof(kRandomLetters) - 2);
  std::string name = path + kTemporaryInfix;
  for (std::size_t i = 0; i < kTemporaryRandomLength; ++i) name += kRandomLetters[pick(random)];
  return name;
}

// Unlocks and closes a held lock file.
void ReleaseLock(std::intptr_t* held) {
  if (*held == -1) return;
  HANDLE file = reinterpret_cast<HANDLE>(*held);
  OVERLAPPED whole{};
  ::UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
  ::CloseHandle(file);
  *held = -1;
}

}  // namespace

StateFileLock::~StateFileLock() { ReleaseLock(&file_); }

bool StateFileLock::Acquire(const std::string& lockPath, std::string* error) {
  HANDLE file = ::CreateFileA(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return Fail(error, SystemError(lockPath, "cannot open the lock file", ::GetLastError()));
  }
  OVERLAPPED whole{};
  if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
    const DWORD code = ::GetLastError();
    ::CloseHandle(file);
    return Fail(error, SystemError(lockPath, "cannot lock", code));
  }
  ReleaseLock(&file_);
  file_ = reinterpret_cast<std::intptr_t>(file);
  return true;
}

bool InspectStateFile(const std::string& path, StateFileStatus* status, std::string* error) {
  *status = StateFileStatus{};
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = ::GetLastError();
    if (code == ERROR_FILE_NOT_FOUND) return true;  // the first write-back creates it
    return Fail(error, SystemError(path, "cannot be read", code));
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return Fail(error, path + ": cannot be written: not a regular file");
  }
  status->exists = true;
  // MoveFileExA refuses to replace a read-only file anyway; say so plainly.
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return Fail(error, path + ": cannot be written: the file is read-only");
  }
  return true;
}

bool ReplaceStateFile(const std::string& path, const std::string& text, unsigned /*permissions*/,
                      std::string* error) {
  std::string temporary;
  HANDLE out = INVALID_HANDLE_VALUE;
  DWORD code = ERROR_SUCCESS;
  for (unsigned attempt = 0; attempt < kTemporaryAttempts && out == INVALID_HANDLE_VALUE;
       ++attempt) {
    temporary = TemporaryName(path);
    out = ::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
      code = ::GetLastError();
      if (code != ERROR_FILE_EXISTS) break;
    }
  }
  if (out == INVALID_HANDLE_VALUE) {
    return Fail(error, SystemError(path, "cannot create a temporary file", code));
  }
  bool done = WriteAll(out, text) && ::FlushFileBuffers(out);
  if (!done) code = ::GetLastError();
  ::CloseHandle(out);
  if (done && !::MoveFileExA(temporary.c_str(), path.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    done = false;
    code = ::GetLastError();
  }
  if (!done) {
    ::DeleteFileA(temporary.c_str());
    return Fail(error, SystemError(path, "cannot write the state", code));
  }
  return true;
}

}  // namespace emu
