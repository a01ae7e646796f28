// ChangeDriveMode, ShowDriveSpeeds and SetExtractionSpeed with their frame.
#include "pace/speed_sequences.h"

#include <cstdio>
#include <string>

#include "drvcmd/generic_commands.h"
#include "drvcmd/spti/spti_transport.h"
#include "pace/extraction_speed_table.h"

namespace pace {

namespace {

constexpr char kNoSelectionText[] = "Valid Item is not selected.";
constexpr char kDeviceOpenFailedFormat[] = "Device open (%c) is fail.\r\n";
constexpr char kSpindleQuestion[] = "For safety, the spindle is stoped.";
constexpr char kSpindleCaption[] = "Attention";
constexpr char kCancelledText[] = "Operation is canceled.";
constexpr char kCancelledCaption[] = "Cancel";
constexpr char kErrorCaption[] = "Error";
constexpr char kCapabilitiesFailedFormat[] =
    "Failed to get mechanism status & capabilities page. (%02x-%02x-%02x)";
constexpr char kSpeedsNotSupportedText[] = "Commnad success but paramater is not supported.";
constexpr char kSpeedsFormat[] =
    "Current Speed = %dkbytes/s(%dX)\r\nMaximum Speed = %dkbytes/s(%dX)";
constexpr char kNoExtractionSelectedText[] = "Don't select the available drive.";
constexpr char kExtractionFailedFormat[] =
    "Failed to change the CD-DA extraction speed. (%02x-%02x-%02x)";
constexpr char kQuietFailedFormat[] = "Failed to change to quiet mode. (%02x-%02x-%02x)";
constexpr char kPerformanceFailedFormat[] =
    "Failed to change to performance mode. (%02x-%02x-%02x)";

constexpr std::size_t kMessageCapacity = 160;

// What an operation leaves in the status text, and its result.
struct Outcome {
  int result = -1;
  std::string message;
};

template <typename... Values>
std::string Format(const char* format, Values... values) {
  char text[kMessageCapacity] = {};
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

// The failed command's sense triple in the operation's failure text, shown in
// the "Error" box too.
Outcome Failure(SpeedSession& session, const char* format) {
  const drvcmd::SenseTriple triple = drvcmd::SenseTripleFrom(session.transport.LastSense().data());
  Outcome outcome;
  outcome.message = Format(format, triple.senseKeyByte, triple.asc, triple.ascq);
  session.ui.MessageBox(outcome.message, kErrorCaption, drvcmd::kMbOk);
  return outcome;
}

Outcome Success(std::string message) { return {0, std::move(message)}; }

// The common frame: the drive-list selection, the pass-through open and close
// around the operation, and the one message written into the status box.
template <typename Operation>
int RunOnSelectedDrive(SpeedSession& session, bool noSelectionInBox, Operation operation) {
  Outcome outcome;
  const std::optional<int> index = session.ui.SelectedDrive();
  if (!index.has_value() || *index < 0 || static_cast<std::size_t>(*index) >= session.driveCount ||
      static_cast<std::size_t>(*index) >= session.drives.addresses.size()) {
    if (noSelectionInBox) {
      session.ui.MessageBox(kNoSelectionText, std::string(), drvcmd::kMbOk);
    } else {
      outcome.message = kNoSelectionText;
    }
  } else {
    const auto entry = static_cast<std::size_t>(*index);
    drvcmd::DriveAddress address = session.drives.addresses[entry];
    auto* spti = dynamic_cast<drvcmd::SptiTransport*>(&session.transport);
    if (spti == nullptr) {
      outcome = operation(address);
    } else {
      // The letter is the label's first character.
      const std::string& label = session.drives.labels[entry];
      const char letter = label.empty() ? '\0' : label.front();
      if (spti->OpenDrive(letter) != 0) {
        outcome.message = Format(kDeviceOpenFailedFormat, letter);
      } else {
        address.letter = letter;
        outcome = operation(address);
        spti->CloseDrive();
      }
    }
  }
  session.ui.SetStatusText(outcome.message);
  session.ui.RefreshStatusBox();
  return outcome.result;
}

}  // namespace

ModeOperation ModeOperationFor(const PaceVariant& variant, DriveMode mode) {
  switch (mode) {
    case DriveMode::kQuietTemporary:
      return {kModeControlTemporary, kQuietReadSpeed,
              "Drive mode is changed to quiet mode (temporary)", kQuietFailedFormat};
    case DriveMode::kQuietPermanent:
      return {kModeControlPermanent, kQuietReadSpeed,
              "Drive mode is changed to quiet mode (permanent)",
              variant.quietPermanentFailureFormat};
    case DriveMode::kPerformanceTemporary:
      return {kModeControlTemporary, kMaximumReadSpeed,
              "Drive mode is changed to performance mode (temporary)", kPerformanceFailedFormat};
    case DriveMode::kPerformancePermanent:
      break;
  }
  return {kModeControlPermanent, kMaximumReadSpeed, variant.performancePermanentSuccessText,
          kPerformanceFailedFormat};
}

int ChangeDriveMode(SpeedSession& session, DriveMode mode) {
  const ModeOperation operation = ModeOperationFor(session.variant, mode);
  const bool noSelectionInBox = mode == DriveMode::kPerformancePermanent &&
                                session.variant.performancePermanentNoSelectionBox;
  return RunOnSelectedDrive(session, noSelectionInBox, [&](const drvcmd::DriveAddress& drive) {
    // A drive that is ready has a disc spinning: offer to stop it first. A
    // drive that is not ready needs no stop, and that is no failure.
    if (drvcmd::SendTestUnitReady(session.transport, drive) == drvcmd::kOutcomeGood) {
      if (session.ui.MessageBox(kSpindleQuestion, kSpindleCaption, drvcmd::kMbOkCancel) ==
          drvcmd::kIdOk) {
        if (StopSpindle(session.transport, drive, 0, 0, 0) != drvcmd::kOutcomeGood) {
          return Failure(session, operation.failureFormat);
        }
      } else {
        // Cancel skips only the stop; the mode is still changed.
        session.ui.MessageBox(kCancelledText, kCancelledCaption, drvcmd::kMbOk);
      }
    }
    if (SetCdSpeed(session.transport, drive, session.variant, operation.modeControl,
                   operation.readSpeed, 0) != drvcmd::kOutcomeGood) {
      return Failure(session, operation.failureFormat);
    }
    return Success(operation.successText);
  });
}

int ShowDriveSpeeds(SpeedSession& session, ReadSpeeds* speeds) {
  if (speeds != nullptr) *speeds = ReadSpeeds{};
  return RunOnSelectedDrive(session, false, [&](const drvcmd::DriveAddress& drive) {
    if (ReadCapabilitiesPage(session.transport, drive, session.variant, session.reply) !=
        drvcmd::kOutcomeGood) {
      return Failure(session, kCapabilitiesFailedFormat);
    }
    const ReadSpeeds read = SpeedsFromReply(session.variant, session.reply);
    if (speeds != nullptr) *speeds = read;
    if (read.current == 0 || read.maximum == 0) return Success(kSpeedsNotSupportedText);
    return Success(Format(kSpeedsFormat, static_cast<int>(read.current), SpeedInX(read.current),
                          static_cast<int>(read.maximum), SpeedInX(read.maximum)));
  });
}

int SetExtractionSpeed(SpeedSession& session) {
  return RunOnSelectedDrive(session, false, [&](const drvcmd::DriveAddress& drive) {
    const std::optional<int> entry = session.ui.SelectedExtractionSpeed();
    if (!entry.has_value() || *entry < 0) return Outcome{-1, kNoExtractionSelectedText};
    const std::uint16_t speed = ExtractionReadSpeed(*entry);
    if (SetCdSpeed(session.transport, drive, session.variant, kModeControlExtraction, speed, 0) !=
        drvcmd::kOutcomeGood) {
      return Failure(session, kExtractionFailedFormat);
    }
    if (speed == kMaximumReadSpeed) return Success(session.variant.extractionMaximumSuccessText);
    return Success(Format(session.variant.extractionSpeedSuccessFormat, static_cast<int>(speed),
                          SpeedInX(speed)));
  });
}

}  // namespace pace
