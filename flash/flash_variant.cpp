#include "flash/flash_variant.h"

namespace flash {

namespace {
constexpr char kFileTypeMismatch[] = "This file is not available.\r\nFile type is mismatched.\r\n";
}  // namespace

const FlashVariant& FlashVariant::Aspi() {
  static const FlashVariant variant{
      .program = drvcmd::ProgramId::kFlashAspi,
      .applicationTitle = "flashaspi",
      .initialFilePath = "UPDATE.HEX",
      .refreshAfterFileName = false,
      .tracksFileOpenUsed = false,
      .summaryHeading = "\r\nFile information\r\nFirmware Type : ",
      .versionFormat = "\r\nVersion : %.4s",
      .controllerMismatchText = "This file is not available.\r\nCPU type is mismatched.\r\n",
      .identityMismatchText = kFileTypeMismatch,
      .startNoticeBeforeWrite = false,
      .startNotice = "\r\nStart update\r\n",
      .verifyErrorFormat = "Verify Error (%d)\r\n",
      .closingMessageBox = false,
      .rescanAfterUpdate = true,
  };
  return variant;
}

const FlashVariant& FlashVariant::Spti() {
  static const FlashVariant variant{
      .program = drvcmd::ProgramId::kFlashSpti,
      .applicationTitle = "flashspti",
      .initialFilePath = "",
      .refreshAfterFileName = true,
      .tracksFileOpenUsed = true,
      .summaryHeading = "\r\nFirmware File Type : ",
      .versionFormat = "\r\nVersion : %.4s\r\n",
      .controllerMismatchText = kFileTypeMismatch,
      .identityMismatchText = kFileTypeMismatch,
      .startNoticeBeforeWrite = true,
      .startNotice = "Start update\r\n",
      .verifyErrorFormat = "Verify Error : %d\r\n",
      .closingMessageBox = true,
      .rescanAfterUpdate = false,
  };
  return variant;
}

}  // namespace flash
