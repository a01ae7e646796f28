// The speed utility program object: start-up, the scan and the operations.
#include "pace/speed_control.h"

#include "drvcmd/aspi/aspi_transport.h"
#include "drvcmd/drive_scan.h"
#include "drvcmd/spti/spti_transport.h"

namespace pace {

SpeedControl::SpeedControl(const PaceVariant& variant, platform::Platform& system, SpeedUi& ui)
    : variant_(variant), ui_(ui) {
  if (drvcmd::UsesAspi(variant.program)) {
    transport_ = std::make_unique<drvcmd::AspiTransport>(variant.program, system, ui);
  } else {
    transport_ = std::make_unique<drvcmd::SptiTransport>(variant.program, system, ui);
  }
}

SpeedControl::~SpeedControl() { Stop(); }

int SpeedControl::Start() {
  const int result = transport_->StartTransport();
  started_ = !StartIsFatal(result);
  if (!started_) transport_->StopTransport();
  return result;
}

void SpeedControl::Stop() {
  if (!started_) return;
  started_ = false;
  transport_->StopTransport();
}

void SpeedControl::ScanDrives(drvcmd::DriveCombo& combo) {
  combo = drvcmd::DriveCombo{};
  if (started_) {
    if (auto* aspi = dynamic_cast<drvcmd::AspiTransport*>(transport_.get())) {
      drvcmd::ScanDrives(*aspi, combo);
      // Without an adapter the one line "No I/F adapter" is no drive.
      UseDrives(combo);
      if (aspi->AdapterCount() == 0) driveCount_ = 0;
      return;
    }
    if (auto* spti = dynamic_cast<drvcmd::SptiTransport*>(transport_.get())) {
      drvcmd::ScanDrives(*spti, combo);
    }
  }
  UseDrives(combo);
}

void SpeedControl::UseDrives(drvcmd::DriveCombo combo) {
  drives_ = std::move(combo);
  driveCount_ = drives_.addresses.size();
}

template <typename Operation>
int SpeedControl::Run(Operation operation) {
  if (!started_) return -1;
  SpeedSession session{variant_, *transport_, ui_, drives_, driveCount_, reply_};
  return operation(session);
}

int SpeedControl::ChangeDriveMode(DriveMode mode) {
  return Run([mode](SpeedSession& session) { return pace::ChangeDriveMode(session, mode); });
}

int SpeedControl::ShowDriveSpeeds(ReadSpeeds* speeds) {
  return Run([speeds](SpeedSession& session) { return pace::ShowDriveSpeeds(session, speeds); });
}

int SpeedControl::SetExtractionSpeed() {
  return Run([](SpeedSession& session) { return pace::SetExtractionSpeed(session); });
}

}  // namespace pace
