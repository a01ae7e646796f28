// The ASPI manager on Windows: WNASPI32.DLL loaded by name, its two entry
// points by name, unloaded when the service ends.
#pragma once

#include "platform/aspi.h"
#include "platform/kernel.h"

namespace platform {

inline constexpr char kGetSupportInfoEntry[] = "GetASPI32SupportInfo";
inline constexpr char kSendCommandEntry[] = "SendASPI32Command";

class WindowsAspiManager : public AspiManager {
 public:
  WindowsAspiManager() = default;
  ~WindowsAspiManager() override;  // FreeLibrary
  WindowsAspiManager(const WindowsAspiManager&) = delete;
  WindowsAspiManager& operator=(const WindowsAspiManager&) = delete;

  // A library without both entry points is no manager: it is unloaded again,
  // the result is null and the last error ERROR_PROC_NOT_FOUND, as for a
  // library that is not there at all.
  Handle LoadLibraryA(const char* name) override;
  // Before a manager is loaded: SS_FAILED_INIT with no adapters.
  Dword GetASPI32SupportInfo() override;
  // Before a manager is loaded: SS_FAILED_INIT, the block untouched.
  Dword SendASPI32Command(void* srb) override;

 private:
  using SupportInfoEntry = Dword(__cdecl*)();
  using SendCommandEntry = Dword(__cdecl*)(void*);

  void Unload();

  Handle module_ = kNullHandle;
  SupportInfoEntry supportInfo_ = nullptr;
  SendCommandEntry sendCommand_ = nullptr;
};

}  // namespace platform
