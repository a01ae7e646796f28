// zonespti's dialog templates, in dialog units.
#include "resources/zone/zone_dialogs.h"

#include "resources/zone/zone_resource_ids.h"

namespace resources {
namespace {

using ui::ControlKind;
using ui::ControlTemplate;
using ui::DialogTemplate;

constexpr unsigned kStatusBox =
    ui::kStyleMultiLine | ui::kStyleReadOnly | ui::kStyleBorder | ui::kStyleVerticalScroll;
constexpr unsigned kOff = ui::kStyleDisabled;

constexpr ControlTemplate kRegionControls[] = {
    {kIdcZoneIcon, ControlKind::kIcon, "", 6, 7, 21, 23, ui::kStyleSunken},
    {kIdcZoneTitle, ControlKind::kStatic, "DVD-ROM Region Utility for Windows2000", 32, 14, 158, 12,
     ui::kStyleCentered | ui::kStyleSunken},
    {kIdcZoneDriveList, ControlKind::kCombo, "", 6, 37, 184, 86, ui::kStyleEditable},
    {kIdcRegionGroup, ControlKind::kGroup, "DVD-ROM Regional Code", 6, 55, 184, 113, 0},
    {kIdcRegionChoice1, ControlKind::kRadio, "Region 1 (USA, Canada)", 18, 68, 89, 10, kOff},
    {kIdcRegionChoice2, ControlKind::kRadio, "Region 2 (West Europe, Japan, South Africa)", 18, 80,
     153, 10, kOff},
    {kIdcRegionChoice3, ControlKind::kRadio, "Region 3 (East South Asia)", 18, 92, 99, 10, kOff},
    {kIdcRegionChoice4, ControlKind::kRadio, "Region 4 (Australlia, South America)", 18, 104, 127,
     10, kOff},
    {kIdcRegionChoice5, ControlKind::kRadio, "Region 5 (Russian, East Europe, Africa)", 18, 116,
     135, 10, kOff},
    {kIdcRegionChoice6, ControlKind::kRadio, "Region 6 (China)", 18, 128, 67, 10, kOff},
    {kIdcChangesLeft, ControlKind::kStatic, "Regional code can can be changed 5 times", 17, 145,
     163, 14, 0},
    {kIdcDiscGroup, ControlKind::kGroup, "Disc Regional Code", 6, 170, 184, 53, 0},
    {kIdcDiscIndicator1, ControlKind::kCheck, "Region 1", 23, 178, 46, 19, kOff},
    {kIdcDiscIndicator2, ControlKind::kCheck, "Region 2", 73, 178, 46, 19, kOff},
    {kIdcDiscIndicator3, ControlKind::kCheck, "Region 3", 122, 178, 46, 19, kOff},
    {kIdcDiscIndicator4, ControlKind::kCheck, "Region 4", 23, 201, 46, 19, kOff},
    {kIdcDiscIndicator5, ControlKind::kCheck, "Region 5", 73, 201, 46, 19, kOff},
    {kIdcDiscIndicator6, ControlKind::kCheck, "Region 6", 122, 201, 46, 19, kOff},
    {kIdcZoneStatusBox, ControlKind::kEdit, "", 6, 228, 184, 46, kStatusBox},
    {kIdcGetRegion, ControlKind::kButton, "Get Region", 6, 279, 50, 14, 0},
    {kIdcSetRegion, ControlKind::kButton, "Set Region", 73, 279, 50, 14, 0},
    {kIdcZoneExit, ControlKind::kButton, "Exit", 140, 279, 50, 14, 0},
};
constexpr DialogTemplate kRegionDialog = {kIddRegionDialog,
                                          "Region Utility for Windows2000",
                                          "MS Sans Serif",
                                          8,
                                          199,
                                          300,
                                          ui::kDialogSystemMenu,
                                          kRegionControls};

constexpr ControlTemplate kAboutControls[] = {
    {ui::kIdControlStatic, ControlKind::kIcon, "", 11, 17, 21, 20, 0},
    {ui::kIdControlStatic, ControlKind::kStatic, "zonespti Version 1.0", 40, 10, 119, 8, 0},
    {ui::kIdControlOk, ControlKind::kButton, "OK", 178, 7, 50, 14, ui::kStyleDefaultButton},
};
constexpr DialogTemplate kAboutBox = {
    kIddZoneAboutBox,      "About zonespti", "MS Sans Serif", 8, 235, 55,
    ui::kDialogSystemMenu, kAboutControls};

}  // namespace

const ui::DialogTemplate& RegionDialogTemplate() { return kRegionDialog; }
const ui::DialogTemplate& ZoneAboutTemplate() { return kAboutBox; }

}  // namespace resources
