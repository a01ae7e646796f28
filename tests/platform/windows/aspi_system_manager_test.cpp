// With no WNASPI32.DLL beside the program the system's own is loaded, if it
// has one. Wine has one that finds no host adapter: the start ends in the
// no-adapter result. Windows itself has none: the load error.
#include <gtest/gtest.h>

#include "drvcmd/aspi/aspi_transport.h"
#include "platform/windows/win32.h"
#include "platform/windows/windows_platform.h"
#include "tests/support/recording_notice.h"

namespace {

bool RunsUnderWine() {
  HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST(WindowsAspiLoad, TheSystemsOwnManagerOrNone) {
  auto system = platform::CreateWindowsPlatform();
  testsupport::RecordingNotice notice;
  drvcmd::AspiTransport transport(drvcmd::ProgramId::kPaceAspi, *system, notice);
  const int started = transport.StartTransport();
  if (RunsUnderWine()) {
    EXPECT_EQ(started, drvcmd::kStartNoAdapters);
    EXPECT_EQ(system->Aspi().GetASPI32SupportInfo() & 0xFF, 0u) << "no host adapter";
  } else {
    EXPECT_EQ(started, drvcmd::kStartAspiLoadError);
    EXPECT_EQ(system->Kernel32().GetLastError(), static_cast<platform::Dword>(ERROR_MOD_NOT_FOUND));
  }
  transport.StopTransport();
}

}  // namespace
