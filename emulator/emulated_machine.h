// The emulated PC: its platform services, buses and drives, loaded from a
// machine file (JSON). Every service of platform::Platform is served from here.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "emulator/command_log.h"
#include "platform/platform.h"

namespace emu {

class EmulatedDrive;

struct MachineOptions {
  // Tests use a fake clock: waits and delays advance time instead of sleeping.
  bool fakeClock = false;
  // Where kept state is written back; empty means the machine file itself.
  std::string stateFile;
  // Do not write state back at all (tests that load from a string).
  bool readOnly = false;
  // Starts the programs the machine runs, on the host, with handles of the
  // kernel it is given. Empty: the machine has no programs to start.
  std::function<std::unique_ptr<platform::ProcessService>(platform::Kernel&)> processes;
};

class EmulatedMachine : public platform::Platform {
 public:
  // Null with an error naming the file (and the field or line) when the file
  // cannot be read or is not a valid machine description.
  static std::unique_ptr<EmulatedMachine> LoadFile(const std::string& path,
                                                   const MachineOptions& options,
                                                   std::string* error);
  // From JSON text (tests); `name` stands for the file name in error messages.
  static std::unique_ptr<EmulatedMachine> LoadText(const std::string& json, const std::string& name,
                                                   const MachineOptions& options,
                                                   std::string* error);

  virtual CommandLog& Log() = 0;
  // The device at a drive letter, or at an adapter/target; null when none.
  virtual EmulatedDrive* DriveAtLetter(char letter) = 0;
  virtual EmulatedDrive* DriveAt(int adapter, int target) = 0;
  // Makes the drive at a letter refuse (or accept again) to be opened, as a
  // drive does that goes away after it was listed. False when there is none.
  virtual bool SetDeviceOpenFails(char letter, bool fails) = 0;

  // Empty when the last write-back of drive state succeeded; otherwise why not.
  virtual std::string LastStateError() const = 0;
  // Global memory blocks not yet freed, pass-through handles still open and
  // ASPI requests not yet completed: what a program leaves behind.
  virtual std::size_t LiveMemoryBlocks() = 0;
  virtual std::size_t OpenDeviceHandles() = 0;
  virtual std::size_t PendingAspiRequests() const = 0;
};

}  // namespace emu
