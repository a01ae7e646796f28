// What differs between the two updater windows, in one object per build:
// control ids, texts, templates, menus and window behaviour.
#pragma once

#include "flash/flash_variant.h"
#include "resources/flash/flash_dialogs.h"
#include "resources/flash/flash_menus.h"

namespace flash {

// How the main form stacks its controls.
enum class FormLayoutKind {
  kDriveListLabelFirst,  // "Drive List" label, tree, "Status" label, box, buttons
  kTreeFirst,            // tree, "Status" label, box, buttons
};

struct AppVariant {
  const FlashVariant& procedure;
  const resources::FlashDialogTemplates& dialogs;
  const resources::FlashMenus& menus;

  // Titles and settings.
  const char* applicationTitle;
  const char* frameTitle;
  const char* newDocumentTitle;  // empty: the document title stays empty
  bool documentTitleFirst;       // caption "<doc> - <frame>" instead of "<frame> - <doc>"
  bool keepsDocumentTitles;      // opened documents lend their file name to the caption
  const char* settingsKey;
  int recentFileCount;

  // Main form controls.
  FormLayoutKind layout;
  int driveListLabelId;  // kDriveListLabelFirst only
  int statusLabelId;
  int statusBoxId;
  int fileOpenId;
  int updateId;
  int exitId;

  // Dialog controls.
  int progressBarId;
  int progressLabelId;
  int aboutTextId;
  const char* aboutFormat;
  int versionMajor;
  int versionMinor;

  // Behaviour.
  bool updateOnDoubleClick;       // after File Open was used once
  bool hasSystemInfo;             // Help > System Info
  bool hasMaximizeBox;            // the frame can be maximized (it has no sizing border either way)
  bool halfWidthFirstFrame;       // first frame CX/2 by CY before the initial update
  bool refreshStatusAfterLayout;  // status box refreshed at every initial update
  bool registersDocumentType;     // document type and HEX association with the desktop

  static const AppVariant& Aspi();
  static const AppVariant& Spti();
};

}  // namespace flash
