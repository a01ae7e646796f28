// The drive lists of the five programs, as each would build it, with the
// identification of every listed drive.
#include "tools/drivelist/drive_list_report.h"

#include <cstdio>
#include <span>
#include <string>

#include "drvcmd/aspi/aspi_transport.h"
#include "drvcmd/drive_identify.h"
#include "drvcmd/drive_scan.h"
#include "drvcmd/generic_commands.h"
#include "drvcmd/spti/spti_transport.h"
#include "platform/system_messages.h"
#include "platform/win_errors.h"
#include "tools/drivelist/printing_notice.h"

namespace tools {

namespace {

constexpr int kPlatformFailed = 2;
constexpr std::size_t kNoneOffset = 7;  // "ID=%01x : None"

// Prints the message box a program shows when its start fails.
bool Started(int start, std::ostream& out) {
  if (start == drvcmd::kStartOk) return true;
  out << "[message] " << drvcmd::StartTransportMessage(start) << '\n';
  return false;
}

std::string TrimLineEnd(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// Opens D: to Z: once the way OpenDrive does; a letter that exists but cannot
// be opened (no access, in use) is a platform failure the scans would hide.
bool CheckDeviceAccess(platform::Platform& system, std::ostream& out) {
  bool ok = true;
  for (char letter = 'D'; letter <= 'Z'; ++letter) {
    const std::string path = std::string("\\\\.\\") + letter + ":";
    const platform::Handle handle = system.PassThrough().CreateFileA(
        path.c_str(), platform::kGenericRead | platform::kGenericWrite,
        platform::kFileShareRead | platform::kFileShareWrite, platform::kOpenExisting, 0);
    if (handle != platform::kInvalidHandleValue && handle != platform::kNullHandle) {
      system.PassThrough().CloseHandle(handle);
      continue;
    }
    const platform::Dword error = system.Kernel32().GetLastError();
    if (error == platform::kErrorFileNotFound || error == platform::kErrorPathNotFound) continue;
    const auto text = platform::SystemMessageText(error);
    out << "drivelist: " << path << " "
        << (text ? TrimLineEnd(std::string(*text)) : "error " + std::to_string(error)) << '\n';
    ok = false;
  }
  return ok;
}

std::string TableResult(drvcmd::ProgramId updater, std::span<const std::uint8_t> inquiry) {
  const drvcmd::SupportedDriveRow* row =
      drvcmd::FindSupportedDrive(drvcmd::SupportedDriveTable(updater), inquiry);
  if (row == nullptr) return "not supported";
  return "generation " + std::to_string(drvcmd::GenerationOf(*row, 0));
}

// INQUIRY has just succeeded: the answer is at the start of the data buffer.
void PrintIdentification(drvcmd::Transport& transport, std::ostream& out,
                         const std::string& indent) {
  const auto inquiry = transport.DataBuffer().first(drvcmd::kInquiryLength);
  out << indent << "flashspti table: " << TableResult(drvcmd::ProgramId::kFlashSpti, inquiry)
      << "; flashaspi table: " << TableResult(drvcmd::ProgramId::kFlashAspi, inquiry) << '\n';
}

void IdentifyLetter(drvcmd::SptiTransport& transport, char letter, std::ostream& out,
                    const std::string& indent) {
  if (transport.OpenDrive(letter) == 0 &&
      drvcmd::SendInquiry(transport, {letter, 0, 0}) == drvcmd::kOutcomeGood) {
    PrintIdentification(transport, out, indent);
  } else {
    out << indent << "identification: INQUIRY failed\n";
  }
  transport.CloseDrive();
}

void IdentifyTarget(drvcmd::AspiTransport& transport, const drvcmd::DriveAddress& address,
                    std::ostream& out, const std::string& indent) {
  if (drvcmd::SendInquiry(transport, address) == drvcmd::kOutcomeGood) {
    PrintIdentification(transport, out, indent);
  } else {
    out << indent << "identification: INQUIRY failed\n";
  }
}

const char* Mark(bool selected) { return selected ? "* " : "  "; }

void PrintSelection(int selected, std::ostream& out) {
  if (selected == drvcmd::kNoItem) out << "  (nothing selected)\n";
}

bool ReportPassThroughTree(platform::Platform& system, std::ostream& out) {
  PrintingNotice notice(out);
  drvcmd::SptiTransport transport(drvcmd::ProgramId::kFlashSpti, system, notice);
  out << "flashspti: drive tree\n";
  if (!Started(transport.StartTransport(), out)) return false;
  drvcmd::DriveTree tree;
  drvcmd::NoProgressWindow progress;
  drvcmd::ScanDrives(transport, tree, progress);
  for (std::size_t i = 0; i < tree.items.size(); ++i) {
    out << Mark(static_cast<int>(i) == tree.selected) << tree.items[i].text << '\n';
    IdentifyLetter(transport, tree.items[i].text.front(), out, "      ");
  }
  PrintSelection(tree.selected, out);
  return true;
}

bool ReportPassThroughCombo(drvcmd::ProgramId program, const char* name, platform::Platform& system,
                            std::ostream& out) {
  PrintingNotice notice(out);
  drvcmd::SptiTransport transport(program, system, notice);
  out << name << ": drive list\n";
  if (!Started(transport.StartTransport(), out)) return false;
  drvcmd::DriveCombo combo;
  drvcmd::ScanDrives(transport, combo);
  for (std::size_t i = 0; i < combo.labels.size(); ++i) {
    out << Mark(static_cast<int>(i) == combo.selected) << combo.labels[i] << '\n';
    IdentifyLetter(transport, combo.labels[i].front(), out, "      ");
  }
  PrintSelection(combo.selected, out);
  return true;
}

bool ReportAspiTree(platform::Platform& system, std::ostream& out) {
  PrintingNotice notice(out);
  drvcmd::AspiTransport transport(drvcmd::ProgramId::kFlashAspi, system, notice);
  out << "flashaspi: adapter tree\n";
  // The updater ends when its start fails.
  if (!Started(transport.StartTransport(), out)) return false;
  drvcmd::DriveTree tree;
  drvcmd::ScanDrives(transport, tree);
  for (std::size_t i = 0; i < tree.items.size(); ++i) {
    const drvcmd::DriveTreeItem& item = tree.items[i];
    const bool child = item.parent != drvcmd::kNoItem;
    out << Mark(static_cast<int>(i) == tree.selected) << (child ? "    " : "") << item.text << '\n';
    unsigned adapter = 0;
    unsigned target = 0;
    if (child && item.text.compare(kNoneOffset, 4, "None") != 0 &&
        std::sscanf(tree.items[static_cast<std::size_t>(item.parent)].text.c_str(), "%02x",
                    &adapter) == 1 &&
        std::sscanf(item.text.c_str(), "ID=%01x", &target) == 1) {
      IdentifyTarget(transport,
                     {0, static_cast<std::uint8_t>(adapter), static_cast<std::uint8_t>(target)},
                     out, "          ");
    }
  }
  PrintSelection(tree.selected, out);
  return true;
}

bool ReportAspiCombo(platform::Platform& system, std::ostream& out) {
  PrintingNotice notice(out);
  drvcmd::AspiTransport transport(drvcmd::ProgramId::kPaceAspi, system, notice);
  out << "paceaspi: drive list\n";
  const int start = transport.StartTransport();
  bool ok = true;
  if (start != drvcmd::kStartOk) {
    if (start == drvcmd::kStartMemoryError) return Started(start, out);
    // The speed utility goes on without adapters; the failure is still reported.
    out << "drivelist: ASPI manager: " << drvcmd::StartTransportMessage(start) << '\n';
    ok = false;
  }
  drvcmd::DriveCombo combo;
  drvcmd::ScanDrives(transport, combo);
  const bool listed = start == drvcmd::kStartOk;
  for (std::size_t i = 0; i < combo.labels.size(); ++i) {
    out << Mark(static_cast<int>(i) == combo.selected) << combo.labels[i] << '\n';
    if (listed) IdentifyTarget(transport, combo.addresses[i], out, "      ");
  }
  PrintSelection(combo.selected, out);
  return ok;
}

}  // namespace

int ReportDriveLists(platform::Platform& system, std::ostream& out) {
  bool ok = CheckDeviceAccess(system, out);
  ok = ReportPassThroughTree(system, out) && ok;
  ok = ReportPassThroughCombo(drvcmd::ProgramId::kZoneSpti, "zonespti", system, out) && ok;
  ok = ReportPassThroughCombo(drvcmd::ProgramId::kPaceSpti, "pacespti", system, out) && ok;
  ok = ReportAspiTree(system, out) && ok;
  ok = ReportAspiCombo(system, out) && ok;
  return ok ? 0 : kPlatformFailed;
}

}  // namespace tools
