// The kernel and process services on Windows, through the real calls: event
// kinds and waits, zeroed global memory, the system's message texts, and a
// started program's end seen through the system's handles or through events
// of another kernel.
#include "platform/windows/windows_kernel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win_errors.h"
#include "platform/windows/windows_processes.h"

namespace platform {
namespace {

TEST(WindowsKernel, AutoResetEventIsTakenByTheFirstWaitManualResetStays) {
  WindowsKernel kernel;
  const Handle automatic = kernel.CreateEventA(kFalse, kTrue);
  const Handle manual = kernel.CreateEventA(kTrue, kTrue);
  ASSERT_NE(automatic, kNullHandle);
  ASSERT_NE(manual, kNullHandle);
  EXPECT_EQ(kernel.WaitForSingleObject(automatic, 0), kWaitObject0);
  EXPECT_EQ(kernel.WaitForSingleObject(automatic, 0), kWaitTimeout);
  EXPECT_EQ(kernel.WaitForSingleObject(manual, 0), kWaitObject0);
  EXPECT_EQ(kernel.WaitForSingleObject(manual, 0), kWaitObject0);
  EXPECT_NE(kernel.CloseHandle(automatic), kFalse);
  EXPECT_NE(kernel.CloseHandle(manual), kFalse);
  EXPECT_EQ(kernel.WaitForSingleObject(automatic, 0), kWaitFailed);
}

TEST(WindowsKernel, GlobalMemoryIsZeroedAndFreed) {
  WindowsKernel kernel;
  constexpr std::size_t kSize = 0x50000;
  const Handle memory = kernel.GlobalAlloc(kGmemFixed | kGmemZeroInit, kSize);
  ASSERT_NE(memory, kNullHandle);
  auto* bytes = static_cast<unsigned char*>(kernel.GlobalLock(memory));
  ASSERT_NE(bytes, nullptr);
  static const unsigned char kZeros[kSize] = {};
  EXPECT_EQ(std::memcmp(bytes, kZeros, kSize), 0);
  kernel.GlobalUnlock(memory);
  EXPECT_EQ(kernel.GlobalFree(memory), kNullHandle);
}

TEST(WindowsKernel, SystemTextsComeFromTheSystemAndUnknownCodesFail) {
  WindowsKernel kernel;
  char text[128] = {};
  const Dword length = kernel.FormatMessageA(kFormatMessageFromSystem, nullptr, kErrorFileNotFound,
                                             0, text, sizeof(text));
  ASSERT_GT(length, 0u);
  EXPECT_EQ(std::string(text).size(), length);
  EXPECT_EQ(
      kernel.FormatMessageA(kFormatMessageFromSystem, nullptr, 0x2FFFFu, 0, text, sizeof(text)),
      0u);
  EXPECT_EQ(kernel.GetLastError(), kErrorMrMidNotFound);
}

TEST(WindowsProcesses, AProgramsEndIsSeenOnTheSystemsHandles) {
  WindowsKernel kernel;
  WindowsProcessService processes;
  StartupInfoA startup;
  processes.GetStartupInfoA(&startup);
  ProcessInformation started;
  char command[] = "cmd.exe /c exit 3";
  ASSERT_NE(processes.CreateProcessA(nullptr, command, nullptr, nullptr, kFalse, 0, nullptr,
                                     nullptr, &startup, &started),
            kFalse);
  EXPECT_NE(started.dwProcessId, 0u);
  EXPECT_EQ(kernel.WaitForSingleObject(started.hProcess, kInfinite), kWaitObject0);
  kernel.CloseHandle(started.hThread);
  kernel.CloseHandle(started.hProcess);
}

TEST(WindowsProcesses, AnotherKernelSeesTheEndOnItsOwnEvents) {
  WindowsKernel other;  // stands for an emulated machine's kernel
  WindowsProcessService processes(other);
  StartupInfoA startup;
  ProcessInformation started;
  char command[] = "cmd.exe /c exit 0";
  ASSERT_NE(processes.CreateProcessA(nullptr, command, nullptr, nullptr, kFalse, 0, nullptr,
                                     nullptr, &startup, &started),
            kFalse);
  EXPECT_EQ(other.WaitForSingleObject(started.hProcess, kInfinite), kWaitObject0);
  EXPECT_EQ(other.WaitForSingleObject(started.hThread, 0), kWaitObject0);
  other.CloseHandle(started.hThread);
  other.CloseHandle(started.hProcess);
}

TEST(WindowsProcesses, AMissingProgramIsTheSystemsFileNotFound) {
  WindowsKernel kernel;
  WindowsProcessService processes;
  StartupInfoA startup;
  ProcessInformation started;
  char command[] = "zoneaspi.EXE";
  EXPECT_EQ(processes.CreateProcessA(nullptr, command, nullptr, nullptr, kFalse,
                                     kCreateDefaultErrorMode, nullptr, nullptr, &startup, &started),
            kFalse);
  EXPECT_EQ(kernel.GetLastError(), kErrorFileNotFound);
}

}  // namespace
}  // namespace platform
