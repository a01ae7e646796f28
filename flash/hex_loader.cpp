// The File Open command: dialog, parse, copy into the image in effect, summary.
#include "flash/hex_loader.h"

#include <algorithm>
#include <cstdio>

#include "flash/load_summary.h"

namespace flash {

namespace {

void EndCommand(FirmwareImage& image, const FlashVariant& variant, UpdaterUi& ui) {
  ui.RefreshStatusBox();
  if (variant.tracksFileOpenUsed) image.fileOpenUsed = true;
}

HexLoadResult FileExceptionResult(FileExceptionCause cause) {
  HexLoadResult result;
  result.end = HexLoadEnd::kFileException;
  result.cause = cause;
  return result;
}

}  // namespace

std::string LoadFailureText(const HexLoadResult& result) {
  switch (result.end) {
    case HexLoadEnd::kNormalEnd:
      return std::string();
    case HexLoadEnd::kBadStartCharacter:
      return kStartCharacterMissingText;
    case HexLoadEnd::kBadRecord: {
      char text[48];
      std::snprintf(text, sizeof text, "\r\nBad record at line %d.", result.lineNumber);
      return text;
    }
    case HexLoadEnd::kFileException:
      return FileExceptionMessage(result.cause);
  }
  return FileExceptionMessage(FileExceptionCause::kGeneric);
}

LoadOutcome LoadFirmwareFile(FirmwareImage& image, const FlashVariant& variant, UpdaterUi& ui) {
  const OpenFileRequest request{kOpenFileTitle, kOpenFileInitialFolder, image.filePath,
                                kOpenFileFilterDescription};
  const std::optional<std::string> chosen = ui.ChooseOpenFile(request);
  LoadOutcome outcome;
  if (!chosen) {
    if (variant.tracksFileOpenUsed) image.fileOpenUsed = true;
    outcome.cancelled = true;
    return outcome;
  }

  const std::string& path = *chosen;
  // The kept path is offered by the next dialog, which holds no more than this.
  const bool pathFits = path.size() <= kMaxFilePathLength;
  if (pathFits) image.filePath = path;
  ui.SetStatusText(kFileNamePrefix + path);
  if (variant.refreshAfterFileName) ui.RefreshStatusBox();

  if (!pathFits) {
    outcome.result = FileExceptionResult(FileExceptionCause::kBadPath);
  } else if (image.bytes.size() < kImageSize || image.working.size() < kLoadedImageSize) {
    // The buffers are bound at start-up; without them there is nowhere to load to.
    outcome.result = FileExceptionResult(FileExceptionCause::kGeneric);
  } else {
    outcome.result = ParseHexFile(path, image.working);
  }

  if (outcome.result.end == HexLoadEnd::kNormalEnd) {
    std::copy_n(image.working.begin(), kLoadedImageSize, image.bytes.begin());
    ui.AppendStatusText(kLoadSuccessText);
    for (const std::string& piece : LoadSummaryPieces(image.bytes, variant)) {
      ui.AppendStatusText(piece);
    }
  } else {
    ui.AppendStatusText(LoadFailureText(outcome.result));
  }
  EndCommand(image, variant, ui);
  return outcome;
}

}  // namespace flash
