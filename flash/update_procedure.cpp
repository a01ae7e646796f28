// RunFirmwareUpdate and its steps, shared by both updater builds; every
// difference between the builds comes from the FlashVariant.
#include "flash/update_procedure.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "drvcmd/aspi/aspi_transport.h"
#include "drvcmd/drive_clock.h"
#include "drvcmd/generic_commands.h"
#include "drvcmd/spti/spti_transport.h"
#include "flash/firmware_commands.h"

namespace flash {

namespace {

constexpr char kNoImageText[] = "This file is not available\r\n";
constexpr char kCautionCaption[] = "Caution !";
constexpr char kVerifyOkText[] = "Verify OK\r\n";
constexpr char kEndUpdateText[] = "End update\r\n";
constexpr char kSuccessText[] = "Congratulations ! Update is completed successfully.\r\n";
constexpr char kSuccessCaption[] = "Congratulations !";
constexpr char kFailureText[] = "Sorry ! Update is failed.\r\n";
constexpr char kFailureCaption[] = "Update is failed.";
constexpr char kRemainingTimeFormat[] = "Remaining time to complete about %d sec";
// Our own text: another program holds the drive, so no download may start.
constexpr char kDriveBusyText[] = "The drive is in use by another program.";

constexpr std::uint32_t kMillisecondsPerSecond = 1000;

std::string FormatNumber(const char* format, int value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

bool HasIdentitySignature(std::span<const std::uint8_t> block) {
  return std::memcmp(block.data(), kIdentitySignature, kIdentitySignatureSize) == 0;
}

void TakeIdentityBlock(std::span<const std::uint8_t> block, ImageIdentity& identity,
                       ControllerType& controllerType) {
  std::copy_n(block.begin(), kImageIdentitySize, identity.begin());
  std::copy_n(block.begin() + kControllerTypeOffset, kControllerTypeSize, controllerType.begin());
}

template <std::size_t N>
bool EqualsText(const std::array<std::uint8_t, N>& field, const char (&text)[N + 1]) {
  return std::memcmp(field.data(), text, N) == 0;
}

bool SameBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace

ImageLayout SelectImageLayout(int driveGeneration, const ControllerType& controllerType) {
  if (driveGeneration != kDualImageGeneration) return {0x00000, 0x20000};
  if (EqualsText(controllerType, kDualImageController)) return {0x20000, 0x41000};
  return {0x00000, 0x40000};
}

int ReadDriveIdentity(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                      ImageIdentity& driveIdentity, ControllerType& controllerType) {
  if (transport.DataBuffer().size() < kIdentityBlockSize) return drvcmd::kOutcomeFailure;
  const std::span<std::uint8_t> block = transport.DataBuffer().first(kIdentityBlockSize);

  int outcome = SendReadBuffer(transport, drive, kDriveIdentityOffset, block);
  if (outcome == drvcmd::kOutcomeGood && HasIdentitySignature(block)) {
    TakeIdentityBlock(block, driveIdentity, controllerType);
    return 0;
  }
  if (outcome == drvcmd::kOutcomeGood) {
    outcome = SendReadBuffer(transport, drive, kOldDriveIdentityOffset, block);
    // An older firmware layout that no image fits: the controller check refuses it.
    if (outcome == drvcmd::kOutcomeGood && HasIdentitySignature(block)) {
      std::memcpy(driveIdentity.data(), kNotRecognized, kImageIdentitySize);
      std::memcpy(controllerType.data(), kNotRecognized, kControllerTypeSize);
      return 0;
    }
  }
  if (outcome == drvcmd::kOutcomeGood) {
    outcome = SendReadBuffer(transport, drive, kFallbackDriveIdentityOffset, block);
    if (outcome == drvcmd::kOutcomeGood) {
      TakeIdentityBlock(block, driveIdentity, controllerType);
      return 0;
    }
  }
  drvcmd::ReportSense(transport, drive);
  return -1;
}

bool ControllerMatches(const FirmwareImage& image, const ControllerType& controllerType) {
  // "Not recognize   " marks a drive no image may be written to, whatever the image says.
  if (EqualsText(controllerType, kNotRecognized)) return false;
  return controllerType == image.controllerType1 || controllerType == image.controllerType2;
}

bool IdentityMatches(const FirmwareImage& image, const ImageIdentity& identity) {
  return identity == image.imageIdentity;
}

int WriteFirmwareImage(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                       FirmwareImage& image, const ImageLayout& layout) {
  const std::size_t markerOffset = layout.tailOffset + kMarkerDistance;
  if (layout.imageBase + kMainImageSize > image.bytes.size() ||
      layout.tailOffset + kTailBlockSize > image.bytes.size() ||
      markerOffset + sizeof kTailMarker > image.bytes.size()) {
    return -1;
  }

  if (SendWriteBufferStart(transport, drive) != drvcmd::kOutcomeGood) {
    drvcmd::ReportSense(transport, drive);
    return -1;
  }
  // The drive finds the marker in the 16 bytes that follow the tail block.
  std::copy(std::begin(kTailMarker), std::end(kTailMarker), image.bytes.begin() + markerOffset);

  for (std::uint32_t driveOffset = 0; driveOffset < kMainImageSize; driveOffset += kChunkSize) {
    const auto chunk = image.bytes.subspan(layout.imageBase + driveOffset, kChunkSize);
    if (SendWriteBufferData(transport, drive, driveOffset, chunk) != drvcmd::kOutcomeGood) {
      drvcmd::ReportSense(transport, drive);
      return -1;
    }
  }
  const auto tail = image.bytes.subspan(layout.tailOffset, kTailBlockSize);
  if (SendWriteBufferData(transport, drive, kTailDriveOffset, tail) != drvcmd::kOutcomeGood) {
    drvcmd::ReportSense(transport, drive);
    return -1;
  }
  return 0;
}

int VerifyFirmwareImage(drvcmd::Transport& transport, const drvcmd::DriveAddress& drive,
                        const FirmwareImage& image, std::uint32_t length, std::uint32_t imageBase) {
  const std::span<std::uint8_t> dataBuffer = transport.DataBuffer();
  if (length < kChunkSize || length % kChunkSize != 0 || length > dataBuffer.size() ||
      std::size_t{imageBase} + length > image.bytes.size()) {
    return drvcmd::kOutcomeFailure;
  }
  const std::span<std::uint8_t> readBack = dataBuffer.first(length);
  for (std::uint32_t driveOffset = 0; driveOffset < length; driveOffset += kChunkSize) {
    const int outcome =
        SendReadBuffer(transport, drive, driveOffset, readBack.subspan(driveOffset, kChunkSize));
    if (outcome != drvcmd::kOutcomeGood) return outcome;
  }

  const std::span<const std::uint8_t> expected = image.bytes.subspan(imageBase, length);
  if (!SameBytes(readBack.first(kUnitBytesStart), expected.first(kUnitBytesStart))) {
    return kVerifyFirstRegion;
  }
  // Bytes 0x400-0x44F are the drive's own and differ from unit to unit.
  const std::size_t secondLength = kChunkSize - kUnitBytesEnd;
  if (!SameBytes(readBack.subspan(kUnitBytesEnd, secondLength),
                 expected.subspan(kUnitBytesEnd, secondLength))) {
    return kVerifySecondRegion;
  }
  for (std::uint32_t block = kChunkSize; block < length; block += kChunkSize) {
    if (!SameBytes(readBack.subspan(block, kChunkSize), expected.subspan(block, kChunkSize))) {
      return kVerifyLaterBlock;
    }
  }
  return 0;
}

void WaitForProgramming(drvcmd::ProgressWindow& progress, UpdaterUi& ui, platform::Clock& timer) {
  progress.Create();
  progress.SetRange(0, kProgrammingWaitSeconds);
  progress.SetStep(1);

  drvcmd::DriveClock clock(timer);
  clock.StartClock();
  int lastShown = 0;
  for (;;) {
    const platform::Dword elapsedSeconds =
        (clock.ReadClock() - clock.StartTime()) / kMillisecondsPerSecond;
    if (elapsedSeconds >= static_cast<platform::Dword>(kProgrammingWaitSeconds)) break;
    const int elapsed = static_cast<int>(elapsedSeconds);
    if (elapsed > lastShown) {
      for (int step = lastShown; step < elapsed; ++step) progress.StepIt();
      progress.SetText(FormatNumber(kRemainingTimeFormat, kProgrammingWaitSeconds - elapsed));
      lastShown = elapsed;
    }
    // Keep the windows painted and give the processor away between reads.
    ui.PumpEvents();
    timer.Sleep(kWaitPollMilliseconds);
  }
  clock.StopClock();
  progress.Destroy();
}

namespace {

void AnnounceStart(UpdateSession& session) {
  session.ui.AppendStatusText(session.variant.startNotice);
  session.ui.RefreshStatusBox();
  session.timer.Sleep(kStartPauseMilliseconds);
}

// Steps 3 to 14, once the selection check has passed (and, on pass-through,
// the drive is open and locked).
void UpdateSelectedDrive(UpdateSession& session) {
  drvcmd::Transport& transport = session.transport;
  const drvcmd::DriveAddress drive = session.drive.selected;
  UpdaterUi& ui = session.ui;
  const FlashVariant& variant = session.variant;

  if (ReadDriveIdentity(transport, drive, session.driveIdentity, session.driveControllerType) !=
      0) {
    return;
  }
  if (!ControllerMatches(session.image, session.driveControllerType)) {
    ui.MessageBox(variant.controllerMismatchText, kCautionCaption, drvcmd::kMbOkCancel);
    return;
  }
  if (!IdentityMatches(session.image, session.driveIdentity)) {
    ui.MessageBox(variant.identityMismatchText, kCautionCaption, drvcmd::kMbOkCancel);
    return;
  }

  const ImageLayout layout =
      SelectImageLayout(session.drive.driveGeneration, session.driveControllerType);
  // Without a template the confirmation shows the identity an earlier run found.
  FindInquiryTemplate(session.image, layout.imageBase);
  if (ui.ConfirmUpdate(session.drive.inquiryIdentity, session.image.newFirmwareIdentity) !=
      drvcmd::kIdOk) {
    return;
  }

  if (variant.startNoticeBeforeWrite) AnnounceStart(session);
  if (WriteFirmwareImage(transport, drive, session.image, layout) != 0) return;
  if (!variant.startNoticeBeforeWrite) AnnounceStart(session);

  // A download the drive did not accept must not be followed by the wait and
  // read-back as if programming had started. A drive's refusal is reported
  // with its sense; a pass-through call that failed has shown the system's
  // text already, and the drive has no sense to add to it.
  const int finished = SendWriteBufferFinish(transport, drive);
  if (finished != drvcmd::kOutcomeGood) {
    const bool systemErrorShown =
        finished == drvcmd::kOutcomeFailure && !drvcmd::UsesAspi(transport.Program());
    if (!systemErrorShown) drvcmd::ReportSense(transport, drive);
    return;
  }

  WaitForProgramming(ui.UpdateProgress(), ui, session.timer);

  const int result =
      VerifyFirmwareImage(transport, drive, session.image, kVerifyLength, layout.imageBase);
  ui.AppendStatusText(result == 0 ? std::string(kVerifyOkText)
                                  : FormatNumber(variant.verifyErrorFormat, result));
  ui.AppendStatusText(kEndUpdateText);
  ui.RefreshStatusBox();

  if (variant.closingMessageBox) {
    if (result == 0) {
      ui.MessageBox(kSuccessText, kSuccessCaption, drvcmd::kMbOk);
    } else {
      ui.MessageBox(kFailureText, kFailureCaption, drvcmd::kMbOk | drvcmd::kMbIconHand);
    }
  }
}

}  // namespace

void RunFirmwareUpdate(UpdateSession& session, drvcmd::DriveSelection& selection) {
  if (IdentifyImage(session.image) == 0) {
    session.ui.AppendStatusText(kNoImageText);
    session.ui.RefreshStatusBox();
    return;
  }

  if (auto* aspi = dynamic_cast<drvcmd::AspiTransport*>(&session.transport)) {
    // A drive missing from the table has been warned about and is still updated.
    if (drvcmd::CheckSelectedDrive(*aspi, selection, session.drive) != 0) return;
    UpdateSelectedDrive(session);
    return;
  }

  auto* spti = dynamic_cast<drvcmd::SptiTransport*>(&session.transport);
  if (spti == nullptr) return;
  if (drvcmd::CheckSelectedDrive(*spti, selection, session.drive) == 0) {
    // Nothing else may probe the drive while its firmware is replaced.
    if (spti->LockOpenDrive() == 0) {
      UpdateSelectedDrive(session);
    } else {
      drvcmd::ShowMessage(session.ui, kDriveBusyText);
    }
  }
  // Whatever step ended the run, the drive the check opened is closed again.
  if (spti->DriveIsOpen()) spti->CloseDrive();
}

}  // namespace flash
