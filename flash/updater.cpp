// The updater program object: start-up and shut-down of the transport, the
// image bound to its buffers, and the three commands of the main window.
#include "flash/updater.h"

#include "drvcmd/aspi/aspi_transport.h"
#include "drvcmd/drive_scan.h"
#include "drvcmd/spti/spti_transport.h"
#include "flash/hex_loader.h"
#include "flash/update_procedure.h"

namespace flash {

Updater::Updater(const FlashVariant& variant, platform::Platform& system, UpdaterUi& ui)
    : variant_(variant), system_(system), ui_(ui) {}

Updater::~Updater() { Stop(); }

int Updater::Start() {
  if (drvcmd::UsesAspi(variant_.program)) {
    transport_ = std::make_unique<drvcmd::AspiTransport>(variant_.program, system_, ui_);
  } else {
    transport_ = std::make_unique<drvcmd::SptiTransport>(variant_.program, system_, ui_);
  }
  const int result = transport_->StartTransport();
  if (result != drvcmd::kStartOk) {
    transport_->StopTransport();
    return result;
  }
  if (transport_->ImageBuffer().size() < kImageSize ||
      transport_->DataBuffer().size() < kLoadedImageSize) {
    transport_->StopTransport();
    return drvcmd::kStartMemoryError;
  }
  image_ = FirmwareImage{};
  image_.bytes = transport_->ImageBuffer().first(kImageSize);
  image_.working = transport_->DataBuffer().first(kLoadedImageSize);
  image_.filePath = variant_.initialFilePath;
  image_.fileOpenUsed = false;
  return drvcmd::kStartOk;
}

void Updater::Stop() {
  image_.bytes = {};
  image_.working = {};
  if (transport_) transport_->StopTransport();
}

const char* Updater::StartupMessage(int startResult) {
  return drvcmd::StartTransportMessage(startResult);
}

void Updater::LoadFirmwareFile() {
  if (image_.bytes.empty()) return;
  flash::LoadFirmwareFile(image_, variant_, ui_);
}

void Updater::ScanDrives(drvcmd::DriveTree& tree) {
  if (!transport_) return;
  if (auto* aspi = dynamic_cast<drvcmd::AspiTransport*>(transport_.get())) {
    drvcmd::ScanDrives(*aspi, tree);
  } else if (auto* spti = dynamic_cast<drvcmd::SptiTransport*>(transport_.get())) {
    drvcmd::ScanDrives(*spti, tree, ui_.UpdateProgress());
  }
}

void Updater::RunFirmwareUpdate(drvcmd::DriveSelection& selection) {
  if (!transport_ || image_.bytes.empty()) return;
  UpdateSession session{variant_,       *transport_,         ui_, system_.Timer(), image_, drive_,
                        driveIdentity_, driveControllerType_};
  flash::RunFirmwareUpdate(session, selection);
}

}  // namespace flash
