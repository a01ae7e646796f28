// The updaters' menus, toolbar buttons, accelerators and command strings.
#include "resources/flash/flash_menus.h"

#include <cstring>

#include "resources/flash/flash_resource_ids.h"
#include "resources/flash/toolbar_images.h"

namespace resources {
namespace {

constexpr MenuItemTemplate kAspiMenuBar[] = {
    {"&File", "&Open...\tCtrl+O", kIdFileOpen, kMenuPlain},
    {"&File", nullptr, 0, kMenuSeparator},
    {"&File", "Recent File", kIdFileMruFirst, kMenuRecentFiles},
    {"&File", nullptr, 0, kMenuSeparator},
    {"&File", "E&xit", kIdAppExit, kMenuPlain},
    {"Tool", "F/W File Search ", kIdAspiFirmwareFileSearch, kMenuAlwaysDisabled},
    {"&View", "&Toolbar", kIdViewToolbar, kMenuCheckable},
    {"&Help", "System Info", kIdAspiSystemInfo, kMenuPlain},
    {"&Help", "&About FLASHKIT...", kIdAppAbout, kMenuPlain},
};

constexpr MenuItemTemplate kSptiMenuBar[] = {
    {"&File", "&Open...\tCtrl+O", kIdFileOpen, kMenuPlain},
    {"&File", nullptr, 0, kMenuSeparator},
    {"&File", "Recent File", kIdFileMruFirst, kMenuRecentFiles},
    {"&File", nullptr, 0, kMenuSeparator},
    {"&File", "E&xit", kIdAppExit, kMenuPlain},
    {"&View", "&Toolbar", kIdViewToolbar, kMenuCheckable},
    {"&Help", "&About flashspti...", kIdAppAbout, kMenuPlain},
};

constexpr ToolbarButtonTemplate kAspiToolbar[] = {
    {kIdFileOpen, kToolbarImageOpen, false},
    {kIdAspiToolbarMiddle, kToolbarImageSearch, true},
    {kIdAppAbout, kToolbarImageAbout, false},
};

constexpr ToolbarButtonTemplate kSptiToolbar[] = {
    {kIdFileOpen, kToolbarImageOpen, false},
    {kIdSptiToolbarMiddle, kToolbarImageSearch, true},
    {kIdAppAbout, kToolbarImageAbout, false},
};

// Only Ctrl+O and Ctrl+N have handlers; the stock editing keys do nothing.
constexpr AcceleratorTemplate kAccelerators[] = {
    {"Ctrl+O", kIdFileOpen},
    {"Ctrl+N", kIdFileNew},
};

constexpr CommandString kStrings[] = {
    {kIdFileNew, "Create a new document\nNew"},
    {kIdFileOpen, "Open an existing document\nOpen"},
    {kIdAppAbout, "Display program information, version number and copyright\nAbout"},
    {kIdAppExit, "Quit the application; prompts to save documents\nExit"},
    {kIdViewToolbar, "Show or hide the toolbar\nToggle ToolBar"},
};

const FlashMenus kAspiMenus = {kAspiMenuBar, kAspiToolbar, kAccelerators, kStrings};
const FlashMenus kSptiMenus = {kSptiMenuBar, kSptiToolbar, kAccelerators, kStrings};

}  // namespace

const FlashMenus& AspiFlashMenus() { return kAspiMenus; }
const FlashMenus& SptiFlashMenus() { return kSptiMenus; }

const char* CommandTooltip(const FlashMenus& menus, int command) {
  for (const CommandString& entry : menus.strings) {
    if (entry.command != command) continue;
    const char* newline = std::strchr(entry.text, '\n');
    return newline != nullptr ? newline + 1 : "";
  }
  return "";
}

}  // namespace resources
