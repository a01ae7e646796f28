// The window dump's format: one formatter for every host.
#include "ui/host/window_dump.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace ui {
namespace {

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::kStatic:
      return "static";
    case ControlKind::kIcon:
      return "icon";
    case ControlKind::kEdit:
      return "edit";
    case ControlKind::kButton:
      return "button";
    case ControlKind::kTree:
      return "tree";
    case ControlKind::kCombo:
      return "combo";
    case ControlKind::kProgress:
      return "progress";
    case ControlKind::kGroup:
      return "group";
    case ControlKind::kRadio:
      return "radio";
    case ControlKind::kCheck:
      return "check";
  }
  return "unknown";
}

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      quoted += '\\';
      quoted += c;
    } else if (c == '\r') {
      quoted += "\\r";
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

std::string ControlLines(const DumpedControl& control) {
  const bool iconic = control.kind == ControlKind::kIcon;
  std::string lines = std::to_string(control.id) + ' ' + KindName(control.kind) + ' ' +
                      Quoted(iconic ? std::string() : control.text);
  if (!control.enabled) lines += " disabled";
  if (!control.visible) lines += " hidden";
  if (control.pushed) lines += " pushed";
  if (control.checked.has_value()) lines += *control.checked ? " checked" : " unchecked";
  if (control.kind == ControlKind::kCombo) {
    lines += " selected " + std::to_string(control.selection);
  }
  lines += '\n';
  for (const std::string& entry : control.entries) lines += "  entry " + Quoted(entry) + '\n';
  for (const DumpedTreeItem& item : control.items) {
    lines += "  item " + std::to_string(item.depth) + ' ' + Quoted(item.text);
    if (item.selected) lines += " selected";
    lines += '\n';
  }
  return lines;
}

}  // namespace

std::string FormatWindowDump(const DumpedWindow& window) {
  struct Entry {
    bool idless;
    int id;
    std::string lines;
  };
  std::vector<Entry> entries;
  entries.reserve(window.controls.size());
  for (const DumpedControl& control : window.controls) {
    const bool idless = control.id == kIdControlStatic;
    entries.push_back({idless, idless ? 0 : control.id, ControlLines(control)});
  }
  // Ids first, in order; then the id-less ones by what they show (the
  // lines begin with the same "-1 ", then the kind and the text).
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return std::tie(a.idless, a.id, a.lines) < std::tie(b.idless, b.id, b.lines);
  });
  std::string dump = "caption " + Quoted(window.caption) + '\n';
  for (const Entry& entry : entries) dump += entry.lines;
  return dump;
}

}  // namespace ui
