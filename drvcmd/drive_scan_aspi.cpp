// ScanDrives of the ASPI programs: every host adapter and its targets, and the
// adapter labels of the updater's tree.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "drvcmd/drive_scan.h"
#include "drvcmd/generic_commands.h"
#include "drvcmd/inquiry_label.h"

namespace drvcmd {

namespace {

constexpr char kNoInterfaceText[] = "No ATAPI I/F found.";
constexpr char kNoAdapterItem[] = "No I/F adapter";
constexpr char kAtapiIdentifier[] = "ESDI_506";
constexpr std::size_t kAtapiIdentifierLength = 8;
constexpr char kTavreonVendor[] = "TAVREON ";

// Label stores: 16 adapters; the updater's tree holds 256 items, the speed
// utility's combo 255 labels. Adapters and targets past these are not listed.
constexpr std::size_t kMaxListedAdapters = kMaxHaIdentifierSlots;
constexpr std::size_t kMaxTreeItems = 256;
constexpr std::size_t kMaxComboLabels = 255;

constexpr std::uint8_t kTargetsOnAtapi = 2;
constexpr std::uint8_t kTargetsOnScsi = 7;
constexpr std::size_t kLabelTextOffset = 5;  // after "%02x : "
constexpr char kAtapiLabelText[] = "ATAPI";

std::string TargetPrefix(std::uint8_t target) {
  char text[16];
  std::snprintf(text, sizeof(text), "ID=%01x : ", target);
  return text;
}

std::span<const std::uint8_t> Inquiry(AspiTransport& transport) {
  if (transport.DataBuffer().size() < kInquiryLength) return {};
  return transport.DataBuffer().first(kInquiryLength);
}

std::size_t ListedAdapters(const AspiTransport& transport) {
  return std::min<std::size_t>(transport.AdapterCount(), kMaxListedAdapters);
}

}  // namespace

int LabelAdapters(AspiTransport& transport, std::vector<std::string>& labels) {
  labels.clear();
  if (transport.AdapterCount() == 0) return -1;
  const std::size_t count = ListedAdapters(transport);
  for (std::size_t i = 0; i < count; ++i) {
    const platform::SrbHaInquiry& record = transport.AdapterRecord(static_cast<int>(i));
    char text[32];
    if (std::memcmp(record.HA_Identifier, kAtapiIdentifier, kAtapiIdentifierLength) == 0) {
      std::snprintf(text, sizeof(text), "%02x : ATAPI Interface", static_cast<unsigned>(i));
      labels.emplace_back(text);
    } else {
      std::snprintf(text, sizeof(text), "%02x : ", static_cast<unsigned>(i));
      std::string label = text;
      AppendField(label, record.HA_Identifier);
      labels.push_back(std::move(label));
    }
  }
  return static_cast<int>(count);
}

void ScanDrives(AspiTransport& transport, DriveTree& tree) {
  tree = DriveTree{};
  if (transport.AdapterCount() == 0) {
    ShowMessage(transport.UserNotice(), kNoInterfaceText);
    tree.items.insert(tree.items.begin(), DriveTreeItem{kNoAdapterItem, kNoItem, false});
    return;
  }
  std::vector<std::string> labels;
  LabelAdapters(transport, labels);

  int remembered = kNoItem;
  for (std::size_t i = 0; i < labels.size() && tree.items.size() < kMaxTreeItems; ++i) {
    const int adapterItem = static_cast<int>(tree.items.size());
    tree.items.push_back(DriveTreeItem{labels[i], kNoItem, true});
    const bool atapi =
        labels[i].compare(kLabelTextOffset, std::strlen(kAtapiLabelText), kAtapiLabelText) == 0;
    const std::uint8_t targets = atapi ? kTargetsOnAtapi : kTargetsOnScsi;
    for (std::uint8_t t = 0; t < targets && tree.items.size() < kMaxTreeItems; ++t) {
      const DriveAddress address{0, static_cast<std::uint8_t>(i), t};
      std::string label = TargetPrefix(t);
      const bool answered =
          SendInquiry(transport, address) == kOutcomeGood && !Inquiry(transport).empty();
      if (answered) {
        const auto inquiry = Inquiry(transport);
        AppendField(label,
                    InquiryField(inquiry, kInquiryVendorOffset, kVendorProductRevisionLength));
        if (std::memcmp(inquiry.data() + kInquiryVendorOffset, kTavreonVendor, kVendorLength) ==
            0) {
          remembered = static_cast<int>(tree.items.size());
        }
      } else {
        label += "None";
      }
      tree.items.push_back(DriveTreeItem{std::move(label), adapterItem, false});
    }
  }
  tree.selected = remembered;
}

void ScanDrives(AspiTransport& transport, DriveCombo& combo) {
  combo = DriveCombo{};
  if (transport.AdapterCount() == 0) {
    ShowMessage(transport.UserNotice(), kNoInterfaceText);
    combo.labels.emplace_back(kNoAdapterItem);
    combo.addresses.push_back(DriveAddress{});
    return;
  }
  const std::size_t adapters = ListedAdapters(transport);
  for (std::size_t i = 0; i < adapters; ++i) {
    for (std::uint8_t t = 0; t < kTargetsOnScsi; ++t) {
      const DriveAddress address{0, static_cast<std::uint8_t>(i), t};
      if (SendInquiry(transport, address) != kOutcomeGood) continue;
      const auto inquiry = Inquiry(transport);
      if (inquiry.empty() || inquiry[0] != kPeripheralCdDvd) continue;
      if (combo.labels.size() >= kMaxComboLabels) break;
      std::string label = TargetPrefix(t);
      AppendField(label, InquiryField(inquiry, kInquiryVendorOffset, kVendorProductLength));
      label += ' ';
      const auto& slot = transport.HaIdentifierSlot(static_cast<int>(i));
      AppendField(label, std::span<const std::uint8_t>(slot).first(kHaIdentifierSize));
      combo.labels.push_back(std::move(label));
      combo.addresses.push_back(address);
    }
  }
  if (!combo.labels.empty()) combo.selected = 0;
}

}  // namespace drvcmd
