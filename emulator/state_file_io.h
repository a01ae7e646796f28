// The file-system calls behind the write-back of kept state, in one place: the
// lock file, reading a file whole, the read-only check, the replacement through
// a temporary file, and the clean-up of temporaries a killed run left behind.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace emu {

// Far above any machine or state file (a wholly reprogrammed drive's state is
// about 270 KB), and small enough that parsing stays within a program's memory.
inline constexpr std::uintmax_t kMaxStateFileSize = 16u * 1024u * 1024u;

// An exclusive lock on a lock file, held while the object lives.
class StateFileLock {
 public:
  StateFileLock() = default;
  ~StateFileLock();
  StateFileLock(const StateFileLock&) = delete;
  StateFileLock& operator=(const StateFileLock&) = delete;

  // Creates the lock file when needed and waits for the lock. False with
  // *error naming the lock file and the reason.
  bool Acquire(const std::string& lockPath, std::string* error);

 private:
  std::intptr_t file_ = -1;  // the system's descriptor or handle
};

// What a write-back finds where the state file should be.
struct StateFileStatus {
  bool exists = false;
  unsigned permissions = 0644;  // what the replacement gets
};

// False with *error when the file cannot be inspected, is not a regular file,
// or is read-only. A file without any write permission is read-only for every
// user, root included, though root could write it.
bool InspectStateFile(const std::string& path, StateFileStatus* status, std::string* error);

// Whether a file exists (false also when it cannot be told).
bool StateFileExists(const std::string& path);

// The whole file as text, at most kMaxStateFileSize bytes.
bool ReadStateFile(const std::string& path, std::string* text, std::string* error);

// Writes text to a new temporary file in the same folder, syncs it and renames
// it over path, then syncs the folder. No temporary is left when it fails.
bool ReplaceStateFile(const std::string& path, const std::string& text, unsigned permissions,
                      std::string* error);

// A temporary beside path is named path + kTemporaryInfix + six letters or digits.
inline constexpr char kTemporaryInfix[] = ".writing-";
inline constexpr std::size_t kTemporaryRandomLength = 6;
bool IsTemporaryRandomPart(std::string_view text);

// Removes the temporaries that an earlier write-back of path left when it was
// killed between creating and renaming one. Call with the lock held, so that
// no write-back of ours is using one.
void RemoveStaleTemporaries(const std::string& path);

}  // namespace emu
