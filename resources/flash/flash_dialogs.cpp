// The updaters' dialog templates, in dialog units.
#include "resources/flash/flash_dialogs.h"

#include "resources/flash/flash_resource_ids.h"

namespace resources {
namespace {

using ui::ControlKind;
using ui::ControlTemplate;
using ui::DialogTemplate;

constexpr unsigned kStatusBoxAspi =
    ui::kStyleMultiLine | ui::kStyleReadOnly | ui::kStyleVerticalScroll | ui::kStyleBorder;
constexpr unsigned kStatusBoxSpti =
    ui::kStyleMultiLine | ui::kStyleVerticalScroll | ui::kStyleBorder;
constexpr unsigned kSunkenText = ui::kStyleSunken;

// "MS P Gothic" in full-width letters, as the progress templates name it.
constexpr char kProgressFont[] =
    "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF";

// Main form 101. Positions are replaced by the view's layout; heights count.
constexpr ControlTemplate kAspiMainControls[] = {
    {kIdcAspiDriveListLabel, ControlKind::kStatic, "Drive List", 7, 7, 186, 8, 0},
    {kIdcDriveTree, ControlKind::kTree, "", 7, 18, 186, 60, ui::kStyleBorder},
    {kIdcAspiStatusLabel, ControlKind::kStatic, "Status", 7, 82, 186, 8, 0},
    {kIdcAspiStatusBox, ControlKind::kEdit, "", 7, 93, 186, 60, kStatusBoxAspi},
    {kIdcAspiFileOpen, ControlKind::kButton, "File Open", 7, 158, 62, 14, 0},
    {kIdcAspiUpdate, ControlKind::kButton, "Update", 69, 158, 62, 14, 0},
    {kIdcAspiExit, ControlKind::kButton, "Exit", 131, 158, 62, 14, 0},
};
constexpr DialogTemplate kAspiMainForm = {kIddMainForm, "", "MS Sans Serif",  8, 200,
                                          178,          0,  kAspiMainControls};

constexpr ControlTemplate kSptiMainControls[] = {
    {kIdcDriveTree, ControlKind::kTree, "", 7, 7, 186, 60, ui::kStyleBorder},
    {kIdcSptiStatusLabel, ControlKind::kStatic, "Status", 7, 71, 186, 10, 0},
    {kIdcSptiStatusBox, ControlKind::kEdit, "", 7, 84, 186, 70, kStatusBoxSpti},
    {kIdcSptiFileOpen, ControlKind::kButton, "File Open", 7, 158, 62, 16, 0},
    {kIdcSptiUpdate, ControlKind::kButton, "Update", 69, 158, 62, 16, 0},
    {kIdcSptiExit, ControlKind::kButton, "Exit", 131, 158, 62, 16, 0},
};
constexpr DialogTemplate kSptiMainForm = {kIddMainForm, "", "Arial Black",    10, 200,
                                          180,          0,  kSptiMainControls};

// About box 100.
constexpr ControlTemplate kAspiAboutControls[] = {
    {ui::kIdControlStatic, ControlKind::kIcon, "", 11, 17, 20, 20, 0},
    {kIdcAspiAboutVersion, ControlKind::kEdit, "", 40, 18, 130, 14, ui::kStyleReadOnly},
    {ui::kIdControlOk, ControlKind::kButton, "OK", 178, 7, 50, 14, ui::kStyleDefaultButton},
};
constexpr DialogTemplate kAspiAboutBox = {
    kIddAboutBox, "About FLASHKIT for Win32", "MS Sans Serif",   8, 235,
    55,           ui::kDialogSystemMenu,      kAspiAboutControls};

constexpr ControlTemplate kSptiAboutControls[] = {
    {ui::kIdControlStatic, ControlKind::kIcon, "", 11, 17, 20, 20, 0},
    {kIdcSptiAboutText, ControlKind::kStatic, "", 40, 10, 160, 24, 0},
    {ui::kIdControlOk, ControlKind::kButton, "OK", 208, 7, 50, 14, ui::kStyleDefaultButton},
};
constexpr DialogTemplate kSptiAboutBox = {
    kIddAboutBox, "About flashspti",     "MS Sans Serif",   8, 265,
    55,           ui::kDialogSystemMenu, kSptiAboutControls};

// Update progress 130: the label above the bar.
constexpr ControlTemplate kAspiProgressControls[] = {
    {kIdcAspiProgressLabel, ControlKind::kStatic, "Remaining time to complete about 30 sec", 7, 7,
     173, 10, 0},
    {kIdcAspiProgressBar, ControlKind::kProgress, "", 7, 23, 173, 14, 0},
};
constexpr DialogTemplate kAspiProgress = {
    kIddUpdateProgress,   "Update progressing...", kProgressFont, 9, 187, 47, 0,
    kAspiProgressControls};

constexpr ControlTemplate kSptiProgressControls[] = {
    {kIdcSptiProgressLabel, ControlKind::kStatic, "Static", 7, 7, 173, 10, 0},
    {kIdcSptiProgressBar, ControlKind::kProgress, "", 7, 25, 173, 14, 0},
};
constexpr DialogTemplate kSptiProgress = {
    kIddUpdateProgress,    "Now processing....", kProgressFont, 9, 187, 51,
    ui::kDialogSystemMenu, kSptiProgressControls};

// Update confirmation 131.
constexpr ControlTemplate kAspiConfirmControls[] = {
    {kIdcConfirmMessage, ControlKind::kStatic, "", 7, 7, 173, 12, 0},
    {ui::kIdControlStatic, ControlKind::kStatic, "From", 7, 23, 40, 10, 0},
    {kIdcConfirmOldFirmware, ControlKind::kStatic, "", 7, 34, 173, 12, kSunkenText},
    {ui::kIdControlStatic, ControlKind::kStatic, "To", 7, 50, 40, 10, 0},
    {kIdcConfirmNewFirmware, ControlKind::kStatic, "", 7, 61, 173, 12, kSunkenText},
    {ui::kIdControlOk, ControlKind::kButton, "OK", 30, 84, 50, 14, ui::kStyleDefaultButton},
    {ui::kIdControlCancel, ControlKind::kButton, "Cancel", 107, 84, 50, 14, 0},
};
constexpr DialogTemplate kAspiConfirm = {
    kIddConfirmUpdate,   "Confirmation of update", "Arial Black", 8, 187, 106, 0,
    kAspiConfirmControls};

constexpr ControlTemplate kSptiConfirmControls[] = {
    {kIdcConfirmMessage, ControlKind::kStatic, "", 10, 10, 192, 14, 0},
    {ui::kIdControlStatic, ControlKind::kStatic, "From", 10, 30, 40, 10, 0},
    {kIdcConfirmOldFirmware, ControlKind::kStatic, "", 10, 42, 192, 14, kSunkenText},
    {ui::kIdControlStatic, ControlKind::kStatic, "To", 10, 62, 40, 10, 0},
    {kIdcConfirmNewFirmware, ControlKind::kStatic, "", 10, 74, 192, 14, kSunkenText},
    {ui::kIdControlOk, ControlKind::kButton, "OK", 40, 102, 55, 16, ui::kStyleDefaultButton},
    {ui::kIdControlCancel, ControlKind::kButton, "Cancel", 117, 102, 55, 16, 0},
};
constexpr DialogTemplate kSptiConfirm = {
    kIddConfirmUpdate,     "Confirmation of update", "Arial Black", 8, 212, 129,
    ui::kDialogSystemMenu, kSptiConfirmControls};

const FlashDialogTemplates kAspiDialogs = {kAspiMainForm, kAspiAboutBox, kAspiProgress,
                                           kAspiConfirm};
const FlashDialogTemplates kSptiDialogs = {kSptiMainForm, kSptiAboutBox, kSptiProgress,
                                           kSptiConfirm};

}  // namespace

const FlashDialogTemplates& AspiFlashDialogs() { return kAspiDialogs; }
const FlashDialogTemplates& SptiFlashDialogs() { return kSptiDialogs; }

}  // namespace resources
