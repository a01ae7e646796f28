// Process start, shaped like GetStartupInfoA and CreateProcessA. A started
// process is represented by two kernel handles (process and main thread) that
// the Kernel service waits on and closes; both become signalled when the
// process has ended.
#pragma once

#include "platform/win_types.h"

namespace platform {

struct SecurityAttributes {
  Dword nLength = sizeof(SecurityAttributes);
  void* lpSecurityDescriptor = nullptr;
  Bool bInheritHandle = kFalse;
};

struct StartupInfoA {
  Dword cb = sizeof(StartupInfoA);
  char* lpReserved = nullptr;
  char* lpDesktop = nullptr;
  char* lpTitle = nullptr;
  Dword dwX = 0;
  Dword dwY = 0;
  Dword dwXSize = 0;
  Dword dwYSize = 0;
  Dword dwXCountChars = 0;
  Dword dwYCountChars = 0;
  Dword dwFillAttribute = 0;
  Dword dwFlags = 0;
  Word wShowWindow = 0;
  Word cbReserved2 = 0;
  Byte* lpReserved2 = nullptr;
  Handle hStdInput = kNullHandle;
  Handle hStdOutput = kNullHandle;
  Handle hStdError = kNullHandle;
};

struct ProcessInformation {
  Handle hProcess = kNullHandle;
  Handle hThread = kNullHandle;
  Dword dwProcessId = 0;
  Dword dwThreadId = 0;
};

// CreateProcessA creation flags.
inline constexpr Dword kCreateDefaultErrorMode = 0x04000000u;

class ProcessService {
 public:
  virtual ~ProcessService() = default;

  // The start-up settings this program itself was started with.
  virtual void GetStartupInfoA(StartupInfoA* info) = 0;

  // With no application name the first word of `commandLine` names the
  // program (quoted when it holds blanks); the rest are its arguments. A null
  // environment or current directory passes the caller's own. FALSE with the
  // last error set when the process was not created.
  virtual Bool CreateProcessA(const char* applicationName, char* commandLine,
                              SecurityAttributes* processAttributes,
                              SecurityAttributes* threadAttributes, Bool inheritHandles,
                              Dword creationFlags, void* environment, const char* currentDirectory,
                              StartupInfoA* startupInfo,
                              ProcessInformation* processInformation) = 0;
};

}  // namespace platform
