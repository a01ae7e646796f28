// The file-exception causes a firmware file load can end with: their numbers,
// their texts, and how the platform's errno values map onto them.
#pragma once

#include <string>

namespace flash {

// The cause numbers of the application framework's file exception.
enum class FileExceptionCause : int {
  kGeneric = 1,
  kFileNotFound = 2,
  kBadPath = 3,
  kTooManyOpenFiles = 4,
  kAccessDenied = 5,
  kInvalidFile = 6,
  kRemoveCurrentDir = 7,
  kDirectoryFull = 8,
  kBadSeek = 9,
  kHardIo = 10,
  kSharingViolation = 11,
  kLockViolation = 12,
  kDiskFull = 13,
  kEndOfFile = 14,
};

// The text shown for a cause, e.g. "File not found".
const char* FileExceptionCauseText(FileExceptionCause cause);

// "\r\nFile Exception Error %x : <cause text>", the cause in lower-case hex.
std::string FileExceptionMessage(FileExceptionCause cause);

// The cause for an errno value left by opening or reading a file. Values with
// no closer match are generic errors.
FileExceptionCause FileExceptionCauseFromErrno(int errorNumber);

}  // namespace flash
