// The system's texts for the Win32 codes our services report.
#include "platform/system_messages.h"

#include <array>
#include <cstring>
#include <utility>

#include "platform/win_errors.h"

namespace platform {

namespace {

constexpr std::array<std::pair<Dword, std::string_view>, 24> kMessages = {{
    {kErrorSuccess, "The operation completed successfully.\r\n"},
    {kErrorInvalidFunction, "Incorrect function.\r\n"},
    {kErrorFileNotFound, "The system cannot find the file specified.\r\n"},
    {kErrorPathNotFound, "The system cannot find the path specified.\r\n"},
    {kErrorTooManyOpenFiles, "The system cannot open the file.\r\n"},
    {kErrorAccessDenied, "Access is denied.\r\n"},
    {kErrorInvalidHandle, "The handle is invalid.\r\n"},
    {kErrorNotEnoughMemory, "Not enough storage is available to process this command.\r\n"},
    {kErrorBadEnvironment, "The environment is incorrect.\r\n"},
    {kErrorBadFormat, "An attempt was made to load a program with an incorrect format.\r\n"},
    {kErrorOutOfMemory, "Not enough storage is available to complete this operation.\r\n"},
    {kErrorNotReady, "The device is not ready.\r\n"},
    {kErrorCrc, "Data error (cyclic redundancy check).\r\n"},
    {kErrorGenFailure, "A device attached to the system is not functioning.\r\n"},
    {kErrorSharingViolation,
     "The process cannot access the file because it is being used by another process.\r\n"},
    {kErrorNotSupported, "The request is not supported.\r\n"},
    {kErrorInvalidParameter, "The parameter is incorrect.\r\n"},
    {kErrorSemTimeout, "The semaphore timeout period has expired.\r\n"},
    {kErrorInsufficientBuffer, "The data area passed to a system call is too small.\r\n"},
    {kErrorModNotFound, "The specified module could not be found.\r\n"},
    {kErrorBusy, "The requested resource is in use.\r\n"},
    {kErrorDirectory, "The directory name is invalid.\r\n"},
    {kErrorIoDevice, "The request could not be performed because of an I/O device error.\r\n"},
    {kErrorDeviceNotConnected, "The device is not connected.\r\n"},
}};

}  // namespace

std::optional<std::string_view> SystemMessageText(Dword code) {
  for (const auto& [messageCode, text] : kMessages) {
    if (messageCode == code) return text;
  }
  return std::nullopt;
}

Dword FormatSystemMessage(Dword messageId, char* buffer, Dword size, Dword* lastError) {
  const auto text = SystemMessageText(messageId);
  if (!text) {
    *lastError = kErrorMrMidNotFound;
    return 0;
  }
  if (buffer == nullptr || size <= text->size()) {
    *lastError = kErrorInsufficientBuffer;
    return 0;
  }
  std::memcpy(buffer, text->data(), text->size());
  buffer[text->size()] = '\0';
  return static_cast<Dword>(text->size());
}

}  // namespace platform
