// ScanDrives of the pass-through programs: drive letters D to Z, each opened,
// asked for INQUIRY and closed again.
#include <cstdio>
#include <optional>

#include "drvcmd/drive_scan.h"
#include "drvcmd/generic_commands.h"
#include "drvcmd/inquiry_label.h"

namespace drvcmd {

namespace {

constexpr char kFirstLetter = 'D';
constexpr char kLastLetter = 'Z';
constexpr int kLettersProbed = kLastLetter - kFirstLetter + 1;
constexpr std::size_t kMaxListedDrives = 256;  // the label store

const char* ClassLabel(std::uint8_t peripheral) {
  // The byte as a whole: qualifier bits set mean "not listed" too.
  if (peripheral == kPeripheralCdDvd) return "(C/DVD-ROM)";
  if (peripheral == kPeripheralWriteOnce) return "(CD-R/RW or WORM)";
  return nullptr;
}

// The drive's label, or nothing when it is not listed. Leaves the drive closed.
std::optional<std::string> ProbeLetter(SptiTransport& transport, char letter) {
  if (transport.OpenDrive(letter) != 0) return std::nullopt;
  std::optional<std::string> label;
  if (SendInquiry(transport, DriveAddress{letter, 0, 0}) == kOutcomeGood &&
      transport.DataBuffer().size() >= kInquiryLength) {
    const std::span<const std::uint8_t> inquiry = transport.DataBuffer().first(kInquiryLength);
    if (const char* classLabel = ClassLabel(inquiry[0])) {
      std::string text{letter, ':', ' '};
      AppendField(text, InquiryField(inquiry, kInquiryVendorOffset, kVendorProductLength));
      text += ' ';
      text += classLabel;
      label = std::move(text);
    }
  }
  transport.CloseDrive();
  return label;
}

}  // namespace

void ScanDrives(SptiTransport& transport, DriveTree& tree, ProgressWindow& progress) {
  tree = DriveTree{};
  progress.Create();
  progress.SetRange(0, kLettersProbed);
  progress.SetStep(1);
  for (int n = 0; n < kLettersProbed; ++n) {
    progress.StepIt();
    char text[40];
    std::snprintf(text, sizeof(text), "Now checking device No.%d", n);
    progress.SetText(text);
    const auto label = ProbeLetter(transport, static_cast<char>(kFirstLetter + n));
    if (label && tree.items.size() < kMaxListedDrives) {
      tree.items.push_back(DriveTreeItem{*label, kNoItem, false});
    }
  }
  progress.Destroy();
}

void ScanDrives(SptiTransport& transport, DriveCombo& combo) {
  combo = DriveCombo{};
  for (char letter = kFirstLetter; letter <= kLastLetter; ++letter) {
    const auto label = ProbeLetter(transport, letter);
    if (label && combo.labels.size() < kMaxListedDrives) {
      combo.labels.push_back(*label);
      combo.addresses.push_back(DriveAddress{letter, 0, 0});
    }
  }
  if (!combo.labels.empty()) combo.selected = 0;
}

}  // namespace drvcmd
