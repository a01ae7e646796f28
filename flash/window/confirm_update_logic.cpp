// The update confirmation's texts.
#include "flash/window/confirm_update_logic.h"

#include "resources/flash/flash_resource_ids.h"
#include "resources/flash/flash_strings.h"
#include "ui/host/latin1_text.h"
#include "ui/host/window_host.h"

namespace flash {
namespace {

constexpr std::size_t kVendorProductLength = 24;
constexpr std::size_t kRevisionLength = 4;
static_assert(kVendorProductLength + kRevisionLength <= kFirmwareIdentitySize);

// printf's "%.Ns" of bytes that need not end in a zero.
std::string Prefix(const std::uint8_t* bytes, std::size_t maxLength) {
  std::string text;
  for (std::size_t i = 0; i < maxLength && bytes[i] != 0; ++i)
    text.push_back(static_cast<char>(bytes[i]));
  return text;
}

}  // namespace

std::string FormatFirmwareIdentity(const FirmwareIdentity& identity) {
  return Prefix(identity.data(), kVendorProductLength) + " " +
         Prefix(identity.data() + kVendorProductLength, kRevisionLength);
}

void ConfirmUpdateLogic::OnInitDialog(ui::WindowHost& host) {
  host.SetItemText(resources::kIdcConfirmMessage, resources::kConfirmMessage);
  // Identity bytes come from drives and images: one byte, one character, as
  // the drive tree shows them (never decoded as UTF-8).
  host.SetItemText(resources::kIdcConfirmOldFirmware,
                   ui::Latin1ToUtf8(FormatFirmwareIdentity(oldIdentity_)));
  host.SetItemText(resources::kIdcConfirmNewFirmware,
                   ui::Latin1ToUtf8(FormatFirmwareIdentity(newIdentity_)));
  host.FocusItem(ui::kIdOk);
}

}  // namespace flash
