// Placeholder until the emulated machine lands.
#include "emulator/emulated_machine.h"

namespace emu {
std::unique_ptr<EmulatedMachine> EmulatedMachine::LoadFile(const std::string& path,
                                                           const MachineOptions&,
                                                           std::string* error) {
  if (error) *error = path + ": emulated machine not available";
  return nullptr;
}
std::unique_ptr<EmulatedMachine> EmulatedMachine::LoadText(const std::string&,
                                                           const std::string& name,
                                                           const MachineOptions&,
                                                           std::string* error) {
  if (error) *error = name + ": emulated machine not available";
  return nullptr;
}
}  // namespace emu
