// toolgate's dialog templates, in dialog units.
#include "resources/launcher/launcher_dialogs.h"

#include "resources/launcher/launcher_resource_ids.h"

namespace resources {
namespace {

using ui::ControlKind;
using ui::ControlTemplate;
using ui::DialogTemplate;

// Multi-line, read-only, with border, no scroll bars.
constexpr unsigned kReportBox = ui::kStyleMultiLine | ui::kStyleReadOnly | ui::kStyleBorder;

// The information box above a column of full-width buttons.
constexpr ControlTemplate kLauncherControls[] = {
    {kIdcLauncherReport, ControlKind::kEdit, "", 7, 7, 224, 85, kReportBox},
    {kIdcLauncherUpdate, ControlKind::kButton, "Update Utility", 7, 97, 224, 28, 0},
    {kIdcLauncherRegion, ControlKind::kButton, "Region Information Utility", 7, 128, 224, 28, 0},
    {kIdcLauncherSpeed, ControlKind::kButton, "Speed Control Utility", 7, 159, 224, 28, 0},
    {kIdcLauncherAbout, ControlKind::kButton, "About DVD Utility Controller", 7, 192, 224, 16, 0},
    {kIdcLauncherExit, ControlKind::kButton, "Exit", 7, 211, 224, 17, 0},
};
constexpr DialogTemplate kLauncherDialog = {kIddLauncherDialog,
                                            "DVD-ROM Utilities for Windows",
                                            "MS Sans Serif",
                                            8,
                                            238,
                                            235,
                                            ui::kDialogSystemMenu,
                                            kLauncherControls};

constexpr ControlTemplate kAboutControls[] = {
    {ui::kIdControlStatic, ControlKind::kIcon, "", 11, 17, 20, 20, 0},
    {kIdcLauncherAboutText, ControlKind::kStatic, "DVD-ROM Utilities Launcher Ver1.00", 40, 20, 150,
     10, 0},
    {ui::kIdControlOk, ControlKind::kButton, "OK", 198, 7, 50, 14, ui::kStyleDefaultButton},
};
constexpr DialogTemplate kAboutBox = {kIddLauncherAbout,
                                      "About DVD-ROM Utilities Launcher",
                                      "Arial Black",
                                      8,
                                      255,
                                      55,
                                      ui::kDialogSystemMenu,
                                      kAboutControls};

}  // namespace

const ui::DialogTemplate& LauncherDialogTemplate() { return kLauncherDialog; }
const ui::DialogTemplate& LauncherAboutTemplate() { return kAboutBox; }

}  // namespace resources
