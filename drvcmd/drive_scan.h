// ScanDrives in its four list shapes, and the adapter labels of the ASPI updater.
#pragma once

#include <string>
#include <vector>

#include "drvcmd/aspi/aspi_transport.h"
#include "drvcmd/drive_list.h"
#include "drvcmd/progress_window.h"
#include "drvcmd/spti/spti_transport.h"

namespace drvcmd {

// flashspti: letters D..Z into a one-level tree, with the scan progress window.
void ScanDrives(SptiTransport& transport, DriveTree& tree, ProgressWindow& progress);
// zonespti, pacespti: letters D..Z into a combo list; first entry selected.
void ScanDrives(SptiTransport& transport, DriveCombo& combo);
// flashaspi: adapters with their targets; the last "TAVREON " target selected.
void ScanDrives(AspiTransport& transport, DriveTree& tree);
// paceaspi: CD/DVD targets of every adapter; first entry selected.
void ScanDrives(AspiTransport& transport, DriveCombo& combo);

// flashaspi adapter labels; -1 when there is no adapter.
int LabelAdapters(AspiTransport& transport, std::vector<std::string>& labels);

}  // namespace drvcmd
