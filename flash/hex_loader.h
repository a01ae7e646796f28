// LoadFirmwareFile: the updaters' File Open command. Asks for a HEX file,
// parses it into the working image and, on a normal end, makes it the image
// in effect; reports the outcome in the status text.
#pragma once

#include <string>

#include "flash/firmware_image.h"
#include "flash/flash_variant.h"
#include "flash/hex_parser.h"
#include "flash/updater_ui.h"

namespace flash {

inline constexpr char kOpenFileTitle[] = "Select the Update Hex File";
inline constexpr char kOpenFileInitialFolder[] = ".\\";
inline constexpr char kOpenFileFilterDescription[] = "Hex File(.HEX)";

inline constexpr char kFileNamePrefix[] = "File Name : ";
inline constexpr char kLoadSuccessText[] = "\r\nF/W file load success.";
inline constexpr char kStartCharacterMissingText[] = "\r\nStart Charactor is not fouund.";

struct LoadOutcome {
  bool cancelled = false;  // the user cancelled the file dialog: nothing else happened
  HexLoadResult result;
};

// The whole command. The updater ignores the outcome; the tool and tests use it.
// A chosen path longer than kMaxFilePathLength is refused as a bad path and not kept.
LoadOutcome LoadFirmwareFile(FirmwareImage& image, const FlashVariant& variant, UpdaterUi& ui);

// The status text appended for a load that did not end normally
// (empty for a normal end).
std::string LoadFailureText(const HexLoadResult& result);

}  // namespace flash
