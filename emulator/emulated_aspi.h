// The machine's ASPI manager: support information, host adapter inquiry, SCSI
// requests completed at once or later in machine time (event signalled at
// completion), and aborts.
#pragma once

#include <vector>

#include "emulator/command_log.h"
#include "emulator/device_bus.h"
#include "emulator/emulated_kernel.h"
#include "emulator/handle_allocator.h"
#include "emulator/machine_clock.h"
#include "emulator/machine_description.h"
#include "emulator/pending_completions.h"
#include "platform/aspi.h"

namespace emu {

inline constexpr char kAspiManagerId[] = "ASPI for WIN32";
inline constexpr platform::Byte kHaStatSelectionTimeout = 0x11;
inline constexpr platform::Byte kSsBufferTooBig = 0xE6;

class EmulatedAspi : public platform::AspiManager {
 public:
  EmulatedAspi(AspiManagerState state, std::vector<AdapterConfig> adapters,
               HandleAllocator& handles, EmulatedKernel& kernel, DeviceBus& bus, CommandLog& log,
               MachineClock& clock, PendingCompletions& completions);

  platform::Handle LoadLibraryA(const char* name) override;
  platform::Dword GetASPI32SupportInfo() override;
  platform::Dword SendASPI32Command(void* srb) override;

 private:
  int AdapterCount() const;
  platform::Dword HaInquiry(platform::SrbHaInquiry& srb);
  platform::Dword ExecScsiCmd(platform::SrbExecScsiCmd& srb);
  platform::Dword AbortSrb(platform::SrbAbort& srb);
  // SRB_Status for a request that cannot be accepted; SS_PENDING when it can.
  platform::Byte CheckRequest(const platform::SrbExecScsiCmd& srb) const;

  const AspiManagerState state_;
  const std::vector<AdapterConfig> adapters_;
  const platform::Handle module_;
  EmulatedKernel& kernel_;
  DeviceBus& bus_;
  CommandLog& log_;
  MachineClock& clock_;
  PendingCompletions& completions_;
};

}  // namespace emu
