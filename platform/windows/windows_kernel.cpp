// WindowsKernel.
#include "platform/windows/windows_kernel.h"

#include <cstddef>

#include "platform/windows/win32.h"

namespace platform {

// The version record goes to the system as it stands.
static_assert(sizeof(OsVersionInfoA) == sizeof(OSVERSIONINFOA));
static_assert(offsetof(OsVersionInfoA, dwMajorVersion) == offsetof(OSVERSIONINFOA, dwMajorVersion));
static_assert(offsetof(OsVersionInfoA, dwMinorVersion) == offsetof(OSVERSIONINFOA, dwMinorVersion));
static_assert(offsetof(OsVersionInfoA, dwBuildNumber) == offsetof(OSVERSIONINFOA, dwBuildNumber));
static_assert(offsetof(OsVersionInfoA, dwPlatformId) == offsetof(OSVERSIONINFOA, dwPlatformId));
static_assert(offsetof(OsVersionInfoA, szCSDVersion) == offsetof(OSVERSIONINFOA, szCSDVersion));
static_assert(kInfinite == INFINITE && kWaitObject0 == WAIT_OBJECT_0 &&
              kWaitTimeout == WAIT_TIMEOUT && kWaitFailed == WAIT_FAILED);
static_assert(kGmemZeroInit == GMEM_ZEROINIT && kGmemFixed == GMEM_FIXED);
static_assert(kFormatMessageFromSystem == FORMAT_MESSAGE_FROM_SYSTEM);
static_assert(kVerPlatformWin32Windows == VER_PLATFORM_WIN32_WINDOWS &&
              kVerPlatformWin32Nt == VER_PLATFORM_WIN32_NT);

Dword WindowsKernel::GetLastError() { return ::GetLastError(); }

void WindowsKernel::SetLastError(Dword code) { ::SetLastError(code); }

Handle WindowsKernel::CreateEventA(Bool manualReset, Bool initialState) {
  return FromSystemHandle(::CreateEventA(nullptr, manualReset, initialState, nullptr));
}

Bool WindowsKernel::SetEvent(Handle event) { return ::SetEvent(ToSystemHandle(event)); }

Dword WindowsKernel::WaitForSingleObject(Handle event, Dword milliseconds) {
  return ::WaitForSingleObject(ToSystemHandle(event), milliseconds);
}

Bool WindowsKernel::CloseHandle(Handle event) { return ::CloseHandle(ToSystemHandle(event)); }

Handle WindowsKernel::GlobalAlloc(Uint flags, std::size_t bytes) {
  return FromSystemHandle(::GlobalAlloc(flags, bytes));
}

void* WindowsKernel::GlobalLock(Handle memory) { return ::GlobalLock(ToSystemHandle(memory)); }

Bool WindowsKernel::GlobalUnlock(Handle memory) { return ::GlobalUnlock(ToSystemHandle(memory)); }

Handle WindowsKernel::GlobalFree(Handle memory) {
  return FromSystemHandle(::GlobalFree(ToSystemHandle(memory)));
}

Dword WindowsKernel::FormatMessageA(Dword flags, const void* source, Dword messageId,
                                    Dword languageId, char* buffer, Dword size) {
  // The texts are read as they are: none of ours carries inserts to fill.
  return ::FormatMessageA(flags | FORMAT_MESSAGE_IGNORE_INSERTS, source, messageId, languageId,
                          buffer, size, nullptr);
}

void WindowsKernel::GetSystemInfo(SystemInfo* info) {
  SYSTEM_INFO system{};
  ::GetSystemInfo(&system);
  info->wProcessorArchitecture = system.wProcessorArchitecture;
  info->wReserved = system.wReserved;
  info->dwPageSize = system.dwPageSize;
  info->dwNumberOfProcessors = system.dwNumberOfProcessors;
  info->dwProcessorType = system.dwProcessorType;
  info->wProcessorLevel = system.wProcessorLevel;
  info->wProcessorRevision = system.wProcessorRevision;
}

Bool WindowsKernel::GetVersionExA(OsVersionInfoA* info) {
  // GetVersionExA is deprecated, not gone; the manifest makes it tell the truth.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(info));
#pragma GCC diagnostic pop
}

}  // namespace platform
