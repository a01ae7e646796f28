// Accelerator entries from key texts.
#include "flash/win32/frame_accelerators.h"

#include <vector>

namespace flash {
namespace {

constexpr int kHighestFunctionKey = 12;

struct Modifier {
  std::string_view prefix;
  BYTE flag;
};

constexpr Modifier kModifiers[] = {
    {"Ctrl+", FCONTROL},
    {"Shift+", FSHIFT},
    {"Alt+", FALT},
};

std::optional<WORD> VirtualKey(std::string_view key) {
  if (key.size() == 1) {
    const char c = key[0];
    if (c >= 'A' && c <= 'Z') return static_cast<WORD>(c);  // VK_A.. are the capitals
    if (c >= '0' && c <= '9') return static_cast<WORD>(c);
    return std::nullopt;
  }
  if (key.size() >= 2 && key[0] == 'F') {
    int number = 0;
    for (const char c : key.substr(1)) {
      if (c < '0' || c > '9') return std::nullopt;
      number = number * 10 + (c - '0');
      if (number > kHighestFunctionKey) return std::nullopt;
    }
    if (number >= 1) return static_cast<WORD>(VK_F1 + number - 1);
  }
  return std::nullopt;
}

}  // namespace

std::optional<ACCEL> AcceleratorEntry(std::string_view keys, int command) {
  BYTE flags = FVIRTKEY;
  for (bool found = true; found;) {
    found = false;
    for (const Modifier& modifier : kModifiers) {
      if (keys.starts_with(modifier.prefix)) {
        flags |= modifier.flag;
        keys.remove_prefix(modifier.prefix.size());
        found = true;
      }
    }
  }
  const std::optional<WORD> key = VirtualKey(keys);
  if (!key.has_value()) return std::nullopt;
  return ACCEL{flags, *key, static_cast<WORD>(command)};
}

HACCEL BuildFrameAccelerators(const resources::FlashMenus& menus) {
  std::vector<ACCEL> entries;
  for (const resources::AcceleratorTemplate& accelerator : menus.accelerators) {
    if (const std::optional<ACCEL> entry =
            AcceleratorEntry(accelerator.keys, accelerator.command)) {
      entries.push_back(*entry);
    }
  }
  if (entries.empty()) return nullptr;
  return ::CreateAcceleratorTableA(entries.data(), static_cast<int>(entries.size()));
}

}  // namespace flash
