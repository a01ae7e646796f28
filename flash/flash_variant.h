// What differs between the two updater builds, in one object per build.
// Chosen once in each executable's main.
#pragma once

#include "drvcmd/program_id.h"

namespace flash {

struct FlashVariant {
  drvcmd::ProgramId program;
  const char* applicationTitle;  // caption of message boxes that name none

  // Loader (file open).
  const char* initialFilePath;     // "UPDATE.HEX" or empty
  bool refreshAfterFileName;       // refresh right after "File Name : ..."
  bool tracksFileOpenUsed;         // sets the file-open-used flag
  const char* summaryHeading;      // first summary piece
  const char* versionFormat;       // "\r\nVersion : %.4s[\r\n]"

  // Update procedure.
  const char* controllerMismatchText;
  const char* identityMismatchText;
  bool startNoticeBeforeWrite;     // "Start update\r\n" before the start command
  const char* startNotice;
  const char* verifyErrorFormat;   // "Verify Error : %d\r\n" / "Verify Error (%d)\r\n"
  bool closingMessageBox;          // success / failure box at the end
  bool rescanAfterUpdate;          // drive list rebuilt after every run

  static const FlashVariant& Aspi();
  static const FlashVariant& Spti();
};

}  // namespace flash
