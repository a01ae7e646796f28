// WindowsAspiManager.
#include "platform/windows/windows_aspi.h"

#include "platform/windows/win32.h"

namespace platform {

namespace {

// The entry points as GetProcAddress gives them, cast to their real types.
template <typename Entry>
Entry EntryPoint(HMODULE module, const char* name) {
  return reinterpret_cast<Entry>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

constexpr Dword kFailedInitSupport = static_cast<Dword>(kSsFailedInit) << 8;

}  // namespace

WindowsAspiManager::~WindowsAspiManager() { Unload(); }

void WindowsAspiManager::Unload() {
  if (module_ != kNullHandle) ::FreeLibrary(reinterpret_cast<HMODULE>(module_));
  module_ = kNullHandle;
  supportInfo_ = nullptr;
  sendCommand_ = nullptr;
}

Handle WindowsAspiManager::LoadLibraryA(const char* name) {
  Unload();
  HMODULE module = ::LoadLibraryA(name);
  if (module == nullptr) return kNullHandle;
  const auto supportInfo = EntryPoint<SupportInfoEntry>(module, kGetSupportInfoEntry);
  const auto sendCommand = EntryPoint<SendCommandEntry>(module, kSendCommandEntry);
  if (supportInfo == nullptr || sendCommand == nullptr) {
    ::FreeLibrary(module);
    ::SetLastError(ERROR_PROC_NOT_FOUND);
    return kNullHandle;
  }
  module_ = reinterpret_cast<Handle>(module);
  supportInfo_ = supportInfo;
  sendCommand_ = sendCommand;
  return module_;
}

Dword WindowsAspiManager::GetASPI32SupportInfo() {
  return supportInfo_ != nullptr ? supportInfo_() : kFailedInitSupport;
}

Dword WindowsAspiManager::SendASPI32Command(void* srb) {
  return sendCommand_ != nullptr ? sendCommand_(srb) : kSsFailedInit;
}

}  // namespace platform
