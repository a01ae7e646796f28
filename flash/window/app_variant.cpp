// The two updater windows' variants.
#include "flash/window/app_variant.h"

#include "resources/flash/flash_resource_ids.h"
#include "resources/flash/flash_strings.h"

namespace flash {

namespace ids = resources;

const AppVariant& AppVariant::Aspi() {
  static const AppVariant variant{
      .procedure = FlashVariant::Aspi(),
      .dialogs = resources::AspiFlashDialogs(),
      .menus = resources::AspiFlashMenus(),
      .applicationTitle = resources::kAspiApplicationTitle,
      .frameTitle = "FLASHKIT",
      .newDocumentTitle = resources::kAspiDocumentTitle,
      .documentTitleFirst = true,
      .keepsDocumentTitles = true,
      .settingsKey = resources::kAspiSettingsKey,
      .recentFileCount = resources::kAspiRecentFileCount,
      .layout = FormLayoutKind::kDriveListLabelFirst,
      .driveListLabelId = ids::kIdcAspiDriveListLabel,
      .statusLabelId = ids::kIdcAspiStatusLabel,
      .statusBoxId = ids::kIdcAspiStatusBox,
      .fileOpenId = ids::kIdcAspiFileOpen,
      .updateId = ids::kIdcAspiUpdate,
      .exitId = ids::kIdcAspiExit,
      .progressBarId = ids::kIdcAspiProgressBar,
      .progressLabelId = ids::kIdcAspiProgressLabel,
      .aboutTextId = ids::kIdcAspiAboutVersion,
      .aboutFormat = resources::kAspiAboutVersionFormat,
      .versionMajor = resources::kAspiVersionMajor,
      .versionMinor = resources::kAspiVersionMinor,
      .updateOnDoubleClick = false,
      .hasSystemInfo = true,
      .hasMaximizeBox = true,
      .halfWidthFirstFrame = true,
      .refreshStatusAfterLayout = false,
      .registersDocumentType = true,
  };
  return variant;
}

const AppVariant& AppVariant::Spti() {
  static const AppVariant variant{
      .procedure = FlashVariant::Spti(),
      .dialogs = resources::SptiFlashDialogs(),
      .menus = resources::SptiFlashMenus(),
      .applicationTitle = resources::kSptiApplicationTitle,
      .frameTitle = resources::kSptiDocumentString,
      .newDocumentTitle = "",
      .documentTitleFirst = false,
      .keepsDocumentTitles = false,
      .settingsKey = resources::kSptiSettingsKey,
      .recentFileCount = resources::kSptiRecentFileCount,
      .layout = FormLayoutKind::kTreeFirst,
      .driveListLabelId = 0,
      .statusLabelId = ids::kIdcSptiStatusLabel,
      .statusBoxId = ids::kIdcSptiStatusBox,
      .fileOpenId = ids::kIdcSptiFileOpen,
      .updateId = ids::kIdcSptiUpdate,
      .exitId = ids::kIdcSptiExit,
      .progressBarId = ids::kIdcSptiProgressBar,
      .progressLabelId = ids::kIdcSptiProgressLabel,
      .aboutTextId = ids::kIdcSptiAboutText,
      .aboutFormat = resources::kSptiAboutTextFormat,
      .versionMajor = resources::kSptiVersionMajor,
      .versionMinor = resources::kSptiVersionMinor,
      .updateOnDoubleClick = true,
      .hasSystemInfo = false,
      .hasMaximizeBox = false,
      .halfWidthFirstFrame = false,
      .refreshStatusAfterLayout = true,
      .registersDocumentType = false,
  };
  return variant;
}

}  // namespace flash
