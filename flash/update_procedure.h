// The flash-and-verify procedure: drive identity out of drive memory, the
// compatibility checks, the download, the timed wait and the read-back compare.
#pragma once

#include <cstdint>
#include <span>

#include "drvcmd/drive_identify.h"
#include "drvcmd/drive_list.h"
#include "drvcmd/progress_window.h"
#include "drvcmd/transport.h"
#include "flash/firmware_image.h"
#include "flash/flash_variant.h"
#include "flash/updater_ui.h"
#include "platform/clock.h"

namespace flash {

// Where the drive's IdentityBlock may sit in drive memory, in search order.
inline constexpr std::uint32_t kDriveIdentityOffset = 0x1000;
inline constexpr std::uint32_t kOldDriveIdentityOffset = 0x100;
inline constexpr std::uint32_t kFallbackDriveIdentityOffset = 0x2000;
inline constexpr char kNotRecognized[] = "Not recognize   ";  // 16 characters

inline constexpr std::uint32_t kChunkSize = 0x8000;
inline constexpr std::uint32_t kTailDriveOffset = 0x20000;
inline constexpr std::uint32_t kMarkerDistance = 0x1000;  // marker at tail + 0x1000
inline constexpr std::uint8_t kTailMarker[] = {'W', 'I', 'N'};

inline constexpr std::uint32_t kVerifyLength = 0x20000;
inline constexpr std::uint32_t kUnitBytesStart = 0x400;  // drive-specific, not compared
inline constexpr std::uint32_t kUnitBytesEnd = 0x450;
inline constexpr int kVerifyFirstRegion = -1;
inline constexpr int kVerifySecondRegion = -2;
inline constexpr int kVerifyLaterBlock = -3;

inline constexpr int kProgrammingWaitSeconds = 30;
inline constexpr platform::Dword kWaitPollMilliseconds = 50;
inline constexpr platform::Dword kStartPauseMilliseconds = 10;

inline constexpr int kDualImageGeneration = 5;
inline constexpr char kDualImageController[] = "HITACHI H8_3062R";

// Which main image and which tail block of the image this drive receives.
struct ImageLayout {
  std::uint32_t imageBase = 0;
  std::uint32_t tailOffset = 0;
};

ImageLayout SelectImageLayout(int driveGeneration, const ControllerType& controllerType);

// 0 with the drive identity and controller type (IdentityBlock bytes 0-15 and
// 16-31) set; -1 after the sense report. The 32 bytes land at the start of the
// transport's data buffer.
int ReadDriveIdentity(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                      ImageIdentity& driveIdentity, ControllerType& controllerType);

bool ControllerMatches(const FirmwareImage& image, const ControllerType& controllerType);
bool IdentityMatches(const FirmwareImage& image, const ImageIdentity& identity);

// Start, marker, four chunks, tail block. 0, or -1 after the sense report.
int WriteFirmwareImage(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                       FirmwareImage& image, const ImageLayout& layout);

// Reads `length` bytes of drive memory into the data buffer and compares them
// with the image at `imageBase`: 0 equal, -1/-2/-3 the differing region, or
// the failed read's outcome code.
int VerifyFirmwareImage(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                        const FirmwareImage& image, std::uint32_t length, std::uint32_t imageBase);

// The 30-second wait after the download, counting down in the progress window.
void WaitForProgramming(drvcmd::ProgressWindow& progress, UpdaterUi& ui, platform::Clock& timer);

// Everything one update run uses; owned by the Updater.
struct UpdateSession {
  const FlashVariant& variant;
  drvcmd::Transport& transport;  // SptiTransport or AspiTransport, as the variant says
  UpdaterUi& ui;
  platform::Clock& timer;
  FirmwareImage& image;
  drvcmd::DriveIdentity& drive;
  ImageIdentity& driveIdentity;
  ControllerType& driveControllerType;
};

// The Update command, all steps, for either build.
void RunFirmwareUpdate(UpdateSession& session, drvcmd::DriveSelection& selection);

}  // namespace flash
