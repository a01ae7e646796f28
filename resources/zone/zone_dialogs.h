// zonespti's dialog templates: RegionDialog (102) and the About box (100).
#pragma once

#include "ui/dialog_template.h"

namespace resources {

const ui::DialogTemplate& RegionDialogTemplate();
const ui::DialogTemplate& ZoneAboutTemplate();

}  // namespace resources
