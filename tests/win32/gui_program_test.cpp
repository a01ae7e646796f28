// A program built with dvdutil_windows_gui_program: no console, its manifest
// brings the common controls 6, and it carries its version information.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/host_calls.h"
#include "ui/win32/win32_api.h"

namespace {

constexpr char kProbe[] = DVDUTIL_GUI_PROBE;
// PE layout: the header's offset at 0x3C; after the "PE\0\0" signature the
// 20-byte file header, then the optional header with Subsystem at 68.
constexpr std::size_t kPeOffsetField = 0x3C;
constexpr std::size_t kSignatureSize = 4;
constexpr std::size_t kFileHeaderSize = 20;
constexpr std::size_t kSubsystemOffset = 68;
constexpr std::uint16_t kSubsystemWindowsGui = 2;

std::uint32_t Le(const std::vector<char>& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
  }
  return value;
}

TEST(GuiProgram, RunsInTheWindowsSubsystem) {
  std::ifstream file(kProbe, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
  ASSERT_GT(bytes.size(), kPeOffsetField + 4);
  const std::size_t pe = Le(bytes, kPeOffsetField, 4);
  ASSERT_EQ(Le(bytes, pe, 4), 0x00004550u);  // "PE\0\0"
  EXPECT_EQ(Le(bytes, pe + kSignatureSize + kFileHeaderSize + kSubsystemOffset, 2),
            kSubsystemWindowsGui);
}

TEST(GuiProgram, RunsWithTheCommonControls6) {
  EXPECT_EQ(testsupport::RunTool(kProbe, "").exitCode, 6);
}

TEST(GuiProgram, CarriesItsManifestAndVersion) {
  HMODULE module = LoadLibraryExA(kProbe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(found, nullptr);
  const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
  const std::string manifest(data, SizeofResource(module, found));
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  EXPECT_NE(manifest.find("supportedOS"), std::string::npos);
  FreeLibrary(module);

  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(kProbe, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(kProbe, 0, size, info.data()));
  char* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904b0\\OriginalFilename",
                             reinterpret_cast<void**>(&value), &length));
  EXPECT_STREQ(value, "gui_program_probe.exe");
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904b0\\FileDescription",
                             reinterpret_cast<void**>(&value), &length));
  EXPECT_STREQ(value, "Probe of the windowed-program build");
}

}  // namespace
