// Loads the read-only, fake-clock machine a window test runs its program on.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "emulator/emulated_machine.h"

namespace testsupport {

inline std::unique_ptr<emu::EmulatedMachine> LoadWindowTestMachine(const char* machineJson) {
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  std::string error;
  auto machine = emu::EmulatedMachine::LoadText(machineJson, "window-test.json", options, &error);
  EXPECT_NE(machine, nullptr) << error;
  return machine;
}

}  // namespace testsupport
