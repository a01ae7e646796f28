// The region utility's program state and its two sequences: the transport
// with its buffers, the drive table, the last-queried drive index, the last
// reported RpcState and the disc buffer. The dialog (or dvdregion) owns one.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "drvcmd/drive_list.h"
#include "drvcmd/spti/spti_transport.h"
#include "platform/platform.h"
#include "zone/region_ui.h"
#include "zone/rpc_structures.h"

namespace zone {

// What the latest QueryRegion found, for callers that report more than the
// window shows (dvdregion). The controls and the status text are the UI's.
struct RegionReport {
  bool ran = false;  // a drive was selected
  char letter = 0;
  bool opened = false;
  bool rpcRead = false;  // REPORT KEY succeeded; rpcState holds its answer
  RpcState rpcState{};
  bool discRead = false;  // READ DVD STRUCTURE succeeded; disc holds its answer
  DiscCopyrightInfo disc{};

  bool AllSucceeded() const { return ran && opened && rpcRead && discRead; }
};

// How a ChangeRegion ended before its closing query.
enum class ChangeOutcome {
  kNotSelected,
  kOpenFailed,
  kPermanent,
  kCanceled,
  kNoChoice,
  kSendFailed,
  kRegionSet,
};

class RegionUtility {
 public:
  RegionUtility(platform::Platform& system, RegionUi& ui);
  ~RegionUtility();
  RegionUtility(const RegionUtility&) = delete;
  RegionUtility& operator=(const RegionUtility&) = delete;

  // StartTransport; a non-zero result (drvcmd::kStart*) has stopped it again.
  int Start();
  void Stop();

  // Letters D to Z into the drive table; the list the window shows.
  const drvcmd::DriveCombo& ScanDrives();
  const drvcmd::DriveCombo& Drives() const { return drives_; }

  // "Get Region", a selection change, and the start-up query.
  void QueryRegion();
  // "Set Region", ending with a fresh QueryRegion.
  ChangeOutcome ChangeRegion();

  int LastQueriedIndex() const { return lastQueried_; }
  const RpcState& LastRpcState() const { return rpcState_; }
  const RegionReport& LastReport() const { return report_; }
  drvcmd::SptiTransport* Transport() { return transport_.get(); }

 private:
  // The selected entry's drive letter, or nothing when no valid entry is selected.
  std::optional<char> SelectedLetter(int* index);
  // Region choices for the drive's mask; returns the drive message.
  std::string DecodeDriveRegion();
  // Disc indicators (and choices) for the disc; returns the disc message.
  std::string ReadDiscRegions();
  ChangeOutcome ChangeDrive(char letter, std::string* message);
  // TEST UNIT READY until the disc is ready or the user cancels.
  bool WaitForDisc(char letter);
  std::optional<int> ChosenRegion();

  platform::Platform& system_;
  RegionUi& ui_;
  std::unique_ptr<drvcmd::SptiTransport> transport_;
  drvcmd::DriveCombo drives_;
  int lastQueried_ = drvcmd::kNoItem;
  RpcState rpcState_{};
  std::array<std::uint8_t, kRegionDataLength> discBuffer_{};
  std::array<std::uint8_t, kRegionDataLength> parameterList_{};
  RegionReport report_;
};

}  // namespace zone
