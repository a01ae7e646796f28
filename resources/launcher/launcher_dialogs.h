// toolgate's dialog templates: the main dialog (102) and the About box (100).
#pragma once

#include "ui/dialog_template.h"

namespace resources {

const ui::DialogTemplate& LauncherDialogTemplate();
const ui::DialogTemplate& LauncherAboutTemplate();

}  // namespace resources
