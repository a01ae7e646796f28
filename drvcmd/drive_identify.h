// The updaters' supported-drive tables, drive identification and the check of
// the drive selected in the tree.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "drvcmd/aspi/aspi_transport.h"
#include "drvcmd/drive_list.h"
#include "drvcmd/spti/spti_transport.h"

namespace drvcmd {

inline constexpr std::size_t kSupportedRowSize = 28;
using SupportedDriveRow = std::array<char, kSupportedRowSize>;

// The rows of the table the updater holds, in table order.
std::span<const SupportedDriveRow> SupportedDriveTable(ProgramId program);

// The first row whose vendor and product equal INQUIRY bytes 8-31 exactly, or null.
const SupportedDriveRow* FindSupportedDrive(std::span<const SupportedDriveRow> table,
                                            std::span<const std::uint8_t> inquiry);
// The generation a row's tag gives; other tags keep `current`.
int GenerationOf(const SupportedDriveRow& row, int current);

// What identification leaves behind for the update.
struct DriveIdentity {
  int driveGeneration = 0;                         // DriveGeneration
  std::array<std::uint8_t, 32> inquiryIdentity{};  // InquiryIdentity: INQUIRY 8-39
  DriveAddress selected;                           // the selected drive
};

// 0 supported, 1 not in the table, -1 INQUIRY failed.
int IdentifyDrive(Transport& transport, const DriveAddress& address, DriveIdentity& identity);

// 0 go on; non-zero stop. flashspti leaves the drive open on 0.
int CheckSelectedDrive(SptiTransport& transport, DriveSelection& selection,
                       DriveIdentity& identity);
int CheckSelectedDrive(AspiTransport& transport, DriveSelection& selection,
                       DriveIdentity& identity);

}  // namespace drvcmd
