// Identification of the selected drive against the supported-drive table, and
// the updaters' check of the tree selection.
#include "drvcmd/drive_identify.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "drvcmd/generic_commands.h"
#include "drvcmd/inquiry_label.h"

namespace drvcmd {

namespace {

constexpr std::size_t kRowTagOffset = 25;
constexpr std::size_t kRowDigitOffset = 26;
constexpr int kShiftedDigitOffset = 0x20;  // "S" tags: the digit's code minus 20h

constexpr char kNoDriveSelectedText[] = "You did not select an available drive.";
constexpr char kNotSupportedText[] = "This drive is not supported by this program";

// flashaspi tree texts: "ID=%01x : ..." with "None" at 7-10 for a silent target.
constexpr char kTargetPrefix[] = "ID=";
constexpr std::size_t kTargetDigitOffset = 3;
constexpr std::size_t kNoneOffset = 7;
constexpr char kNoneText[] = "None";

int ReportIdentifyResult(Notice& notice, int result, bool unsupportedStops) {
  if (result == 1) {
    ShowMessage(notice, kNotSupportedText);
    return unsupportedStops ? 1 : 0;
  }
  if (result != 0) {
    ShowMessage(notice, kNoDriveSelectedText);
    return -1;
  }
  return 0;
}

// "None" at characters 7-10; a text too short to hold it is not marked.
bool MarksSilentTarget(const std::string& text) {
  return text.size() >= kNoneOffset &&
         text.compare(kNoneOffset, std::strlen(kNoneText), kNoneText) == 0;
}

// The adapter number at the start of an adapter item's text ("%02x : ...").
bool ParseAdapterNumber(const std::string& text, std::uint8_t& adapter) {
  unsigned value = 0;
  if (std::sscanf(text.c_str(), "%02x", &value) != 1 || value > 0xFF) return false;
  adapter = static_cast<std::uint8_t>(value);
  return true;
}

}  // namespace

const SupportedDriveRow* FindSupportedDrive(std::span<const SupportedDriveRow> table,
                                            std::span<const std::uint8_t> inquiry) {
  if (inquiry.size() < kInquiryVendorOffset + kVendorProductLength) return nullptr;
  const std::uint8_t* vendor = inquiry.data() + kInquiryVendorOffset;
  for (const SupportedDriveRow& row : table) {
    if (std::memcmp(vendor, row.data(), kVendorProductLength) == 0) return &row;
  }
  return nullptr;
}

int GenerationOf(const SupportedDriveRow& row, int current) {
  const char tag = row[kRowTagOffset];
  const char digit = row[kRowDigitOffset];
  if (tag == 'G') return digit - '0';
  if (tag == 'S') return digit - kShiftedDigitOffset;
  return current;
}

int IdentifyDrive(Transport& transport, const DriveAddress& address, DriveIdentity& identity) {
  if (transport.Program() == ProgramId::kFlashAspi) identity.inquiryIdentity = {};
  if (SendInquiry(transport, address) != kOutcomeGood ||
      transport.DataBuffer().size() < kInquiryLength) {
    return -1;
  }
  const auto inquiry = transport.DataBuffer().first(kInquiryLength);
  const SupportedDriveRow* row =
      FindSupportedDrive(SupportedDriveTable(transport.Program()), inquiry);
  if (row == nullptr) return 1;
  identity.driveGeneration = GenerationOf(*row, identity.driveGeneration);
  std::memcpy(identity.inquiryIdentity.data(), inquiry.data() + kInquiryVendorOffset,
              identity.inquiryIdentity.size());
  return 0;
}

int CheckSelectedDrive(SptiTransport& transport, DriveSelection& selection,
                       DriveIdentity& identity) {
  selection.TakeFieldValues();
  const std::optional<std::string> text = selection.SelectedText();
  if (!text || text->empty()) {
    ShowMessage(transport.UserNotice(), kNoDriveSelectedText);
    return -1;
  }
  const char letter = text->front();
  int result = -1;
  if (transport.OpenDrive(letter) == 0) {
    identity.selected = DriveAddress{letter, 0, 0};
    result = IdentifyDrive(transport, identity.selected, identity);
    // Only an identified drive stays open for the update.
    if (result != 0) transport.CloseDrive();
  }
  return ReportIdentifyResult(transport.UserNotice(), result, true);
}

int CheckSelectedDrive(AspiTransport& transport, DriveSelection& selection,
                       DriveIdentity& identity) {
  selection.TakeFieldValues();
  const std::optional<std::string> text = selection.SelectedText();
  const std::optional<std::string> parent = selection.SelectedParentText();
  std::uint8_t adapter = 0;
  const bool usable = text && text->starts_with(kTargetPrefix) && !MarksSilentTarget(*text) &&
                      text->size() > kTargetDigitOffset &&
                      std::isdigit(static_cast<unsigned char>((*text)[kTargetDigitOffset])) &&
                      parent && ParseAdapterNumber(*parent, adapter);
  if (!usable) {
    ShowMessage(transport.UserNotice(), kNoDriveSelectedText);
    return -1;
  }
  const auto target = static_cast<std::uint8_t>((*text)[kTargetDigitOffset] - '0');
  identity.selected = DriveAddress{0, adapter, target};
  // Here an unsupported drive is only a warning: the update goes on.
  return ReportIdentifyResult(transport.UserNotice(),
                              IdentifyDrive(transport, identity.selected, identity), false);
}

}  // namespace drvcmd
