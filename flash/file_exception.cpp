// File-exception cause texts and the errno mapping.
#include "flash/file_exception.h"

#include <cerrno>
#include <cstdio>

namespace flash {

const char* FileExceptionCauseText(FileExceptionCause cause) {
  switch (cause) {
    case FileExceptionCause::kGeneric:
      return "Generic error occurred";
    case FileExceptionCause::kFileNotFound:
      return "File not found";
    case FileExceptionCause::kBadPath:
      return "Bad file path is specified";
    case FileExceptionCause::kTooManyOpenFiles:
      return "Too many open files";
    case FileExceptionCause::kAccessDenied:
      return "File access denied";
    case FileExceptionCause::kInvalidFile:
      return "Invalid file handle is specified";
    case FileExceptionCause::kRemoveCurrentDir:
      return "Removed current directory";
    case FileExceptionCause::kDirectoryFull:
      return "Directory full";
    case FileExceptionCause::kBadSeek:
      return "Bad seek(file pointer)";
    case FileExceptionCause::kHardIo:
      return "Hardware I/O error";
    case FileExceptionCause::kSharingViolation:
      return "File sharing violation";
    case FileExceptionCause::kLockViolation:
      return "File lock violation";
    case FileExceptionCause::kDiskFull:
      return "Disk full";
    case FileExceptionCause::kEndOfFile:
      return "Reach to end of file";
  }
  return "Generic error occurred";
}

std::string FileExceptionMessage(FileExceptionCause cause) {
  char number[16];
  std::snprintf(number, sizeof number, "%x", static_cast<unsigned>(cause));
  return std::string("\r\nFile Exception Error ") + number + " : " + FileExceptionCauseText(cause);
}

FileExceptionCause FileExceptionCauseFromErrno(int errorNumber) {
  switch (errorNumber) {
    case ENOENT:
      return FileExceptionCause::kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
      return FileExceptionCause::kBadPath;
    case EMFILE:
    case ENFILE:
      return FileExceptionCause::kTooManyOpenFiles;
    // Opening a folder for reading is refused as an access on Windows too.
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return FileExceptionCause::kAccessDenied;
    case EBADF:
      return FileExceptionCause::kInvalidFile;
    case ESPIPE:
      return FileExceptionCause::kBadSeek;
    case EIO:
    case ENXIO:
      return FileExceptionCause::kHardIo;
    case EBUSY:
    case ETXTBSY:
      return FileExceptionCause::kSharingViolation;
    case ENOLCK:
    case EDEADLK:
      return FileExceptionCause::kLockViolation;
    case ENOSPC:
#ifdef EDQUOT  // not every C library knows disk quotas
    case EDQUOT:
#endif
    case EFBIG:
      return FileExceptionCause::kDiskFull;
    default:
      return FileExceptionCause::kGeneric;
  }
}

}  // namespace flash
