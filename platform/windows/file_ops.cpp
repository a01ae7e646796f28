// FileLock and ReplaceFileContents on Windows: LockFileEx on the lock file, a
// temporary file flushed with FlushFileBuffers and moved over the file with
// MoveFileExA(MOVEFILE_REPLACE_EXISTING).
#include "platform/file_ops.h"

#include <algorithm>
#include <atomic>
#include <string>

#include "platform/windows/win32.h"

namespace platform {

namespace {

// The system's text for the last error, without its line end.
std::string Reason() {
  const DWORD code = ::GetLastError();
  char text[256] = {};
  DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, sizeof(text), nullptr);
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                        text[length - 1] == ' ' || text[length - 1] == '.')) {
    --length;
  }
  return length > 0 ? std::string(text, length) : "error " + std::to_string(code);
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

// A name beside path that no other writer uses at the same time.
std::string TemporaryName(const std::string& path, unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  return path + "." + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++) +
         "-" + std::to_string(attempt) + ".tmp";
}

constexpr unsigned kTemporaryAttempts = 100;

}  // namespace

FileLock::FileLock(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error_ = "cannot open the lock file: " + Reason();
    return;
  }
  file_ = reinterpret_cast<std::intptr_t>(file);
  OVERLAPPED whole{};
  if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
    error_ = "cannot lock: " + Reason();
    return;
  }
  held_ = true;
}

FileLock::~FileLock() {
  if (file_ == -1) return;
  HANDLE file = reinterpret_cast<HANDLE>(file_);
  if (held_) {
    OVERLAPPED whole{};
    ::UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
  }
  ::CloseHandle(file);
}

bool ReplaceFileContents(const std::string& path, const std::string& text, std::string* reason) {
  std::string temporary;
  HANDLE out = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; attempt < kTemporaryAttempts && out == INVALID_HANDLE_VALUE;
       ++attempt) {
    temporary = TemporaryName(path, attempt);
    out = ::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (out == INVALID_HANDLE_VALUE) {
    *reason = "cannot create a temporary file: " + Reason();
    return false;
  }
  bool done = WriteAll(out, text) && ::FlushFileBuffers(out);
  if (!done) *reason = Reason();
  ::CloseHandle(out);
  if (done && !::MoveFileExA(temporary.c_str(), path.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    done = false;
    *reason = Reason();
  }
  if (!done) ::DeleteFileA(temporary.c_str());
  return done;
}

}  // namespace platform
