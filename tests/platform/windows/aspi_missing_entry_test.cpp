// A WNASPI32.DLL beside the program that lacks SendASPI32Command is no ASPI
// manager: the start reads exactly as for a missing library.
#include <gtest/gtest.h>

#include <string>

#include "drvcmd/aspi/aspi_transport.h"
#include "platform/windows/win32.h"
#include "platform/windows/windows_platform.h"
#include "tests/support/recording_notice.h"

namespace {

TEST(WindowsAspiLoad, LibraryWithoutSendCommandReadsAsAMissingManager) {
  auto system = platform::CreateWindowsPlatform();
  testsupport::RecordingNotice notice;
  drvcmd::AspiTransport transport(drvcmd::ProgramId::kFlashAspi, *system, notice);
  EXPECT_EQ(transport.StartTransport(), drvcmd::kStartAspiLoadError);
  EXPECT_EQ(system->Kernel32().GetLastError(), static_cast<platform::Dword>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(std::string(drvcmd::StartTransportMessage(drvcmd::kStartAspiLoadError)),
            "WNASPI32.DLL Load Error or is not found");
  EXPECT_EQ(::GetModuleHandleA(platform::kAspiLibraryName), nullptr) << "unloaded again";
  transport.StopTransport();
}

}  // namespace
