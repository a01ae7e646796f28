// The drive lists of the five programs, as each would build it, with the
// identification of every listed drive.
#include "tools/drivelist/drive_list_report.h"

#include <cstdio>
#include <optional>
#include <span>
#include <string>

#include "drvcmd/aspi/aspi_transport.h"
#include "drvcmd/drive_identify.h"
#include "drvcmd/drive_scan.h"
#include "drvcmd/generic_commands.h"
#include "drvcmd/spti/spti_transport.h"
#include "platform/system_messages.h"
#include "platform/win_errors.h"
#include "tools/common/drive_choice.h"
#include "tools/drivelist/printing_notice.h"

namespace tools {

namespace {

using nlohmann::json;

constexpr int kPlatformFailed = 1;
constexpr std::size_t kNoneOffset = 7;  // "ID=%01x : None"

std::string TrimLineEnd(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// Opens D: to Z: once the way OpenDrive does; a letter that exists but cannot
// be opened (no access, in use) is a platform failure the scans would hide.
bool CheckDeviceAccess(platform::Platform& system, std::ostream& out, json& report) {
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
    const std::string reason =
        text ? TrimLineEnd(std::string(*text)) : "error " + std::to_string(error);
    out << "drivelist: " << path << " " << reason << '\n';
    report["accessProblems"].push_back({{"drive", std::string(1, letter)}, {"reason", reason}});
    ok = false;
  }
  return ok;
}

// The generation the updater's table gives the drive; nullopt when not listed.
std::optional<int> TableGeneration(drvcmd::ProgramId updater,
                                   std::span<const std::uint8_t> inquiry) {
  const drvcmd::SupportedDriveRow* row =
      drvcmd::FindSupportedDrive(drvcmd::SupportedDriveTable(updater), inquiry);
  if (row == nullptr) return std::nullopt;
  return drvcmd::GenerationOf(*row, 0);
}

std::string TableResult(std::optional<int> generation) {
  return generation ? "generation " + std::to_string(*generation) : "not supported";
}

json TableJson(std::optional<int> generation) {
  return generation ? json(*generation) : json(nullptr);
}

// One listed entry: its label, selection, address and the nodes behind it.
json EntryJson(platform::Platform& system, const std::string& label, bool selected,
               const drvcmd::DriveAddress& address) {
  json entry = {{"label", label}, {"selected", selected}};
  if (address.letter != 0) {
    entry["letter"] = std::string(1, address.letter);
  } else {
    entry["adapter"] = address.adapter;
    entry["target"] = address.target;
  }
  entry["nodes"] = NodesOfEntry(system, address);
  return entry;
}

// "node: /dev/sr0 /dev/sg0" under an entry, where the system knows its nodes.
void PrintNodes(const json& entry, std::ostream& out, const std::string& indent) {
  if (entry["nodes"].empty()) return;
  out << indent << "node:";
  for (const auto& node : entry["nodes"]) out << ' ' << node.get<std::string>();
  out << '\n';
}

// INQUIRY has just succeeded: the answer is at the start of the data buffer.
void PrintIdentification(drvcmd::Transport& transport, std::ostream& out, const std::string& indent,
                         json& entry) {
  const auto inquiry = transport.DataBuffer().first(drvcmd::kInquiryLength);
  const auto spti = TableGeneration(drvcmd::ProgramId::kFlashSpti, inquiry);
  const auto aspi = TableGeneration(drvcmd::ProgramId::kFlashAspi, inquiry);
  out << indent << "flashspti table: " << TableResult(spti)
      << "; flashaspi table: " << TableResult(aspi) << '\n';
  entry["identified"] = true;
  entry["flashsptiGeneration"] = TableJson(spti);
  entry["flashaspiGeneration"] = TableJson(aspi);
}

void IdentificationFailed(std::ostream& out, const std::string& indent, json& entry) {
  out << indent << "identification: INQUIRY failed\n";
  entry["identified"] = false;
}

void IdentifyLetter(drvcmd::SptiTransport& transport, char letter, std::ostream& out,
                    const std::string& indent, json& entry) {
  if (transport.OpenDrive(letter) == 0 &&
      drvcmd::SendInquiry(transport, {letter, 0, 0}) == drvcmd::kOutcomeGood) {
    PrintIdentification(transport, out, indent, entry);
  } else {
    IdentificationFailed(out, indent, entry);
  }
  transport.CloseDrive();
}

void IdentifyTarget(drvcmd::AspiTransport& transport, const drvcmd::DriveAddress& address,
                    std::ostream& out, const std::string& indent, json& entry) {
  if (drvcmd::SendInquiry(transport, address) == drvcmd::kOutcomeGood) {
    PrintIdentification(transport, out, indent, entry);
  } else {
    IdentificationFailed(out, indent, entry);
  }
}

const char* Mark(bool selected) { return selected ? "* " : "  "; }

void PrintSelection(int selected, std::ostream& out) {
  if (selected == drvcmd::kNoItem) out << "  (nothing selected)\n";
}

// The report of one program; its message boxes are kept with it.
json ProgramJson(const char* program, const char* shape) {
  return {{"program", program},
          {"shape", shape},
          {"started", true},
          {"messages", json::array()},
          {"drives", json::array()}};
}

// Prints a start failure's message box; false when the program would end.
bool Started(int start, std::ostream& out, json& program) {
  if (start == drvcmd::kStartOk) return true;
  out << "[message] " << drvcmd::StartTransportMessage(start) << '\n';
  program["started"] = false;
  program["messages"].push_back(drvcmd::StartTransportMessage(start));
  return false;
}

bool ReportPassThroughTree(platform::Platform& system, std::ostream& out, json& program,
                           drvcmd::RequestObserver* observer) {
  PrintingNotice notice(out, program["messages"]);
  drvcmd::SptiTransport transport(drvcmd::ProgramId::kFlashSpti, system, notice);
  transport.SetRequestObserver(observer);
  out << "flashspti: drive tree\n";
  if (!Started(transport.StartTransport(), out, program)) return false;
  drvcmd::DriveTree tree;
  drvcmd::NoProgressWindow progress;
  drvcmd::ScanDrives(transport, tree, progress);
  for (std::size_t i = 0; i < tree.items.size(); ++i) {
    const bool selected = static_cast<int>(i) == tree.selected;
    const char letter = tree.items[i].text.front();
    out << Mark(selected) << tree.items[i].text << '\n';
    json entry = EntryJson(system, tree.items[i].text, selected, {letter, 0, 0});
    PrintNodes(entry, out, "      ");
    IdentifyLetter(transport, letter, out, "      ", entry);
    program["drives"].push_back(std::move(entry));
  }
  PrintSelection(tree.selected, out);
  return true;
}

bool ReportPassThroughCombo(drvcmd::ProgramId id, const char* name, platform::Platform& system,
                            std::ostream& out, json& program, drvcmd::RequestObserver* observer) {
  PrintingNotice notice(out, program["messages"]);
  drvcmd::SptiTransport transport(id, system, notice);
  transport.SetRequestObserver(observer);
  out << name << ": drive list\n";
  if (!Started(transport.StartTransport(), out, program)) return false;
  drvcmd::DriveCombo combo;
  drvcmd::ScanDrives(transport, combo);
  for (std::size_t i = 0; i < combo.labels.size(); ++i) {
    const bool selected = static_cast<int>(i) == combo.selected;
    out << Mark(selected) << combo.labels[i] << '\n';
    json entry = EntryJson(system, combo.labels[i], selected, combo.addresses[i]);
    PrintNodes(entry, out, "      ");
    IdentifyLetter(transport, combo.labels[i].front(), out, "      ", entry);
    program["drives"].push_back(std::move(entry));
  }
  PrintSelection(combo.selected, out);
  return true;
}

bool ReportAspiTree(platform::Platform& system, std::ostream& out, json& program,
                    drvcmd::RequestObserver* observer) {
  PrintingNotice notice(out, program["messages"]);
  drvcmd::AspiTransport transport(drvcmd::ProgramId::kFlashAspi, system, notice);
  transport.SetRequestObserver(observer);
  out << "flashaspi: adapter tree\n";
  // The updater ends when its start fails.
  if (!Started(transport.StartTransport(), out, program)) return false;
  drvcmd::DriveTree tree;
  drvcmd::ScanDrives(transport, tree);
  for (std::size_t i = 0; i < tree.items.size(); ++i) {
    const drvcmd::DriveTreeItem& item = tree.items[i];
    const bool selected = static_cast<int>(i) == tree.selected;
    const bool child = item.parent != drvcmd::kNoItem;
    out << Mark(selected) << (child ? "    " : "") << item.text << '\n';
    unsigned adapter = 0;
    unsigned target = 0;
    if (child && item.text.compare(kNoneOffset, 4, "None") != 0 &&
        std::sscanf(tree.items[static_cast<std::size_t>(item.parent)].text.c_str(), "%02x",
                    &adapter) == 1 &&
        std::sscanf(item.text.c_str(), "ID=%01x", &target) == 1) {
      const drvcmd::DriveAddress address{0, static_cast<std::uint8_t>(adapter),
                                         static_cast<std::uint8_t>(target)};
      json entry = EntryJson(system, item.text, selected, address);
      PrintNodes(entry, out, "          ");
      IdentifyTarget(transport, address, out, "          ", entry);
      program["drives"].push_back(std::move(entry));
    }
  }
  PrintSelection(tree.selected, out);
  return true;
}

bool ReportAspiCombo(platform::Platform& system, std::ostream& out, json& program,
                     drvcmd::RequestObserver* observer) {
  PrintingNotice notice(out, program["messages"]);
  drvcmd::AspiTransport transport(drvcmd::ProgramId::kPaceAspi, system, notice);
  transport.SetRequestObserver(observer);
  out << "paceaspi: drive list\n";
  const int start = transport.StartTransport();
  bool ok = true;
  if (start != drvcmd::kStartOk) {
    if (start == drvcmd::kStartMemoryError) return Started(start, out, program);
    // The speed utility goes on without adapters; the failure is still reported.
    out << "drivelist: ASPI manager: " << drvcmd::StartTransportMessage(start) << '\n';
    program["messages"].push_back(drvcmd::StartTransportMessage(start));
    ok = false;
  }
  drvcmd::DriveCombo combo;
  drvcmd::ScanDrives(transport, combo);
  const bool listed = start == drvcmd::kStartOk;
  for (std::size_t i = 0; i < combo.labels.size(); ++i) {
    const bool selected = static_cast<int>(i) == combo.selected;
    out << Mark(selected) << combo.labels[i] << '\n';
    // Without an adapter the one line "No I/F adapter" is no drive.
    if (!listed) continue;
    json entry = EntryJson(system, combo.labels[i], selected, combo.addresses[i]);
    PrintNodes(entry, out, "      ");
    IdentifyTarget(transport, combo.addresses[i], out, "      ", entry);
    program["drives"].push_back(std::move(entry));
  }
  PrintSelection(combo.selected, out);
  return ok;
}

}  // namespace

int ReportDriveLists(platform::Platform& system, std::ostream& out, json* report,
                     drvcmd::RequestObserver* observer) {
  json whole = {{"accessProblems", json::array()}, {"programs", json::array()}};
  bool ok = CheckDeviceAccess(system, out, whole);
  const auto run = [&](const char* name, const char* shape, auto report) {
    json program = ProgramJson(name, shape);
    ok = report(program) && ok;
    whole["programs"].push_back(std::move(program));
  };
  run("flashspti", "tree",
      [&](json& p) { return ReportPassThroughTree(system, out, p, observer); });
  run("zonespti", "list", [&](json& p) {
    return ReportPassThroughCombo(drvcmd::ProgramId::kZoneSpti, "zonespti", system, out, p,
                                  observer);
  });
  run("pacespti", "list", [&](json& p) {
    return ReportPassThroughCombo(drvcmd::ProgramId::kPaceSpti, "pacespti", system, out, p,
                                  observer);
  });
  run("flashaspi", "tree", [&](json& p) { return ReportAspiTree(system, out, p, observer); });
  run("paceaspi", "list", [&](json& p) { return ReportAspiCombo(system, out, p, observer); });
  whole["ok"] = ok;
  if (report != nullptr) *report = std::move(whole);
  return ok ? 0 : kPlatformFailed;
}

}  // namespace tools
