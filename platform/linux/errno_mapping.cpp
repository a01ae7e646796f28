// errno -> Win32 error code, as CreateFileA and DeviceIoControl report them.
#include "platform/linux/errno_mapping.h"

#include <cerrno>

#include "platform/win_errors.h"

namespace platform {

Dword Win32ErrorFromErrno(int error, ErrnoContext context) {
  switch (error) {
    case 0:
      return kErrorSuccess;
    case ENOENT:
      return kErrorFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return kErrorAccessDenied;
    case EBUSY:
      return context == ErrnoContext::kOpen ? kErrorSharingViolation : kErrorBusy;
    case EAGAIN:
      return kErrorBusy;
    case ENOMEDIUM:
      return kErrorNotReady;
    case ENODEV:
    case ENXIO:
      return kErrorDeviceNotConnected;
    case EIO:
      return kErrorIoDevice;
    case ETIMEDOUT:
      return kErrorSemTimeout;
    case ENOMEM:
      return kErrorNotEnoughMemory;
    case EMFILE:
    case ENFILE:
      return kErrorTooManyOpenFiles;
    case EBADF:
      return kErrorInvalidHandle;
    case EINVAL:
    case EFAULT:
    case EOVERFLOW:
      return kErrorInvalidParameter;
    case ENOTTY:
    case ENOSYS:
    case EOPNOTSUPP:
      return kErrorInvalidFunction;
    default:
      return kErrorGenFailure;
  }
}

}  // namespace platform
