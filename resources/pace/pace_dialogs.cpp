// The speed utilities' dialog templates, in dialog units.
#include "resources/pace/pace_dialogs.h"

#include "resources/pace/pace_resource_ids.h"

namespace resources {
namespace {

using ui::ControlKind;
using ui::ControlTemplate;
using ui::DialogTemplate;

constexpr unsigned kDropDownList = ui::kStyleEditable | ui::kStyleVerticalScroll;
constexpr unsigned kStatusBox =
    ui::kStyleMultiLine | ui::kStyleReadOnly | ui::kStyleBorder | ui::kStyleVerticalScroll;

constexpr char kCaption[] = "Speed Control Utility";
constexpr char kExtractionLabel[] = "Audio Extraction Speed";
constexpr char kExtractionSet[] = "Extraction Speed Set\n(Temporary)";
constexpr char kQuietTemporary[] = "Quiet Mode\n(Temporary)";
constexpr char kQuietPermanent[] = "Quiet Mode\n(Permanent)";
constexpr char kPerformanceTemporary[] = "Performance Mode\n(Temporary)";
constexpr char kPerformancePermanent[] = "Performance Mode\n(Permanent)";
constexpr char kDriveInformation[] = "Drive Information";
constexpr char kExit[] = "Exit";

// The extraction list's entries come with the template, in this order.
constexpr const char* kExtractionEntries[] = {"Maximum Speed", "4X", "8X", "10X", "12X", "16X"};

constexpr ControlTemplate kSptiControls[] = {
    {kIdcSptiSpeedDriveList, ControlKind::kCombo, "", 7, 7, 190, 30, kDropDownList},
    {kIdcSpeedStatusBox, ControlKind::kEdit, "", 7, 28, 190, 29, kStatusBox},
    {kIdcExtractionLabel, ControlKind::kStatic, kExtractionLabel, 7, 65, 73, 8, 0},
    {kIdcExtractionList, ControlKind::kCombo, "", 7, 76, 94, 30, kDropDownList},
    {kIdcExtractionSet, ControlKind::kButton, kExtractionSet, 102, 70, 95, 27, 0},
    {kIdcQuietTemporary, ControlKind::kButton, kQuietTemporary, 7, 97, 95, 27, 0},
    {kIdcQuietPermanent, ControlKind::kButton, kQuietPermanent, 102, 97, 95, 27, 0},
    {kIdcPerformanceTemporary, ControlKind::kButton, kPerformanceTemporary, 7, 122, 95, 27, 0},
    {kIdcPerformancePermanent, ControlKind::kButton, kPerformancePermanent, 102, 122, 95, 27, 0},
    {kIdcDriveInformation, ControlKind::kButton, kDriveInformation, 7, 148, 95, 27, 0},
    {kIdcSpeedExit, ControlKind::kButton, kExit, 102, 148, 95, 27, 0},
};
constexpr DialogTemplate kSptiDialog = {
    kIddSpeedDialog, kCaption, "MS Sans Serif", 8, 204, 182, ui::kDialogSystemMenu, kSptiControls};

constexpr ControlTemplate kAspiControls[] = {
    {kIdcAspiSpeedDriveList, ControlKind::kCombo, "", 7, 7, 143, 30, kDropDownList},
    {kIdcSpeedStatusBox, ControlKind::kEdit, "", 7, 25, 143, 21, kStatusBox},
    {kIdcExtractionLabel, ControlKind::kStatic, kExtractionLabel, 7, 50, 55, 8, 0},
    {kIdcExtractionList, ControlKind::kCombo, "", 7, 63, 71, 30, kDropDownList},
    {kIdcExtractionSet, ControlKind::kButton, kExtractionSet, 79, 58, 72, 20, 0},
    {kIdcQuietTemporary, ControlKind::kButton, kQuietTemporary, 7, 80, 72, 20, 0},
    {kIdcQuietPermanent, ControlKind::kButton, kQuietPermanent, 79, 80, 72, 20, 0},
    {kIdcPerformanceTemporary, ControlKind::kButton, kPerformanceTemporary, 7, 100, 72, 20, 0},
    {kIdcPerformancePermanent, ControlKind::kButton, kPerformancePermanent, 79, 100, 72, 20, 0},
    {kIdcDriveInformation, ControlKind::kButton, kDriveInformation, 7, 120, 72, 20, 0},
    {kIdcSpeedExit, ControlKind::kButton, kExit, 79, 120, 72, 20, 0},
};
constexpr DialogTemplate kAspiDialog = {
    kIddSpeedDialog, kCaption, "Arial Black", 8, 158, 147, ui::kDialogSystemMenu, kAspiControls};

// About box 100.
constexpr char kAboutCaption[] = "About Speed Control Utility";
constexpr ControlTemplate kSptiAboutControls[] = {
    {ui::kIdControlStatic, ControlKind::kIcon, "", 7, 7, 20, 20, 0},
    {ui::kIdControlStatic, ControlKind::kStatic, "Speed Control Utility Version1.00", 40, 10, 139,
     8, 0},
    {ui::kIdControlOk, ControlKind::kButton, "OK", 59, 42, 50, 14, ui::kStyleDefaultButton},
};
constexpr DialogTemplate kSptiAbout = {
    kIddSpeedAboutBox,     kAboutCaption,     "Arial Black", 8, 186, 63,
    ui::kDialogSystemMenu, kSptiAboutControls};

constexpr ControlTemplate kAspiAboutControls[] = {
    {ui::kIdControlStatic, ControlKind::kIcon, "", 7, 7, 20, 20, 0},
    {ui::kIdControlStatic, ControlKind::kStatic, "Speed Control Utility Version 1.00", 40, 10, 155,
     8, 0},
    {ui::kIdControlOk, ControlKind::kButton, "OK", 64, 39, 50, 14, ui::kStyleDefaultButton},
};
constexpr DialogTemplate kAspiAbout = {
    kIddSpeedAboutBox,     kAboutCaption,     "Arial Black", 8, 202, 60,
    ui::kDialogSystemMenu, kAspiAboutControls};

const SpeedDialogTemplates kSpti = {kSptiDialog, kSptiAbout, kIdcSptiSpeedDriveList,
                                    "&About pacespti...", kExtractionEntries};
const SpeedDialogTemplates kAspi = {kAspiDialog, kAspiAbout, kIdcAspiSpeedDriveList,
                                    "&About paceaspi...", kExtractionEntries};

}  // namespace

const SpeedDialogTemplates& SptiSpeedDialogs() { return kSpti; }
const SpeedDialogTemplates& AspiSpeedDialogs() { return kAspi; }

}  // namespace resources
