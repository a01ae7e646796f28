// The two file operations a shared file's writers need to never lose each
// other's changes: an exclusive lock on a lock file, and replacing a file's
// contents atomically (a temporary file beside it, flushed to the disk, then
// renamed over it).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// An exclusive lock on `path` (created when missing), held until destroyed.
// Blocks while another process holds it.
class FileLock {
 public:
  explicit FileLock(const std::string& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool Held() const { return held_; }
  // "cannot open the lock file: <reason>" or "cannot lock: <reason>" when not held.
  const std::string& Error() const { return error_; }

 private:
  std::intptr_t file_ = -1;  // the system's descriptor or handle
  bool held_ = false;
  std::string error_;
};

// Replaces path's contents with text, keeping the file's permissions (new
// files: readable by everyone, writable by the owner). Either the old or the
// whole new contents are there afterwards, whatever happens. False with the
// reason when not replaced; no temporary file is left behind.
bool ReplaceFileContents(const std::string& path, const std::string& text, std::string* reason);

}  // namespace platform
