// A small scriptable platform for drive-layer tests: records every call the
// layer makes (allocations, opens, pass-through records, ASPI request blocks,
// waits, timer periods) and answers from per-device scripts.
#pragma once

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/system_messages.h"
#include "platform/win_errors.h"

namespace testsupport {

class FakeKernel : public platform::Kernel {
 public:
  platform::Dword GetLastError() override { return lastError; }
  void SetLastError(platform::Dword code) override { lastError = code; }

  platform::Handle CreateEventA(platform::Bool, platform::Bool initialState) override {
    if (failCreateEvent) return platform::kNullHandle;
    const platform::Handle event = nextHandle_++;
    signalled[event] = initialState != 0;
    return event;
  }
  platform::Bool SetEvent(platform::Handle event) override {
    if (!signalled.contains(event)) return platform::kFalse;
    signalled[event] = true;
    return platform::kTrue;
  }
  // Never blocks: an unsignalled event times out (or fails for INFINITE).
  platform::Dword WaitForSingleObject(platform::Handle event, platform::Dword ms) override {
    waits.push_back({event, ms});
    if (signalled.contains(event) && signalled[event]) {
      signalled[event] = false;
      return platform::kWaitObject0;
    }
    return ms == platform::kInfinite ? platform::kWaitFailed : platform::kWaitTimeout;
  }
  platform::Bool CloseHandle(platform::Handle event) override {
    closedEvents.push_back(event);
    return signalled.erase(event) ? platform::kTrue : platform::kFalse;
  }

  platform::Handle GlobalAlloc(platform::Uint flags, std::size_t bytes) override {
    allocations.push_back({flags, bytes});
    if (failAllocationNumber == allocations.size()) return platform::kNullHandle;
    const platform::Handle handle = nextHandle_++;
    blocks_[handle] = std::make_unique<std::uint8_t[]>(bytes);
    sizes[handle] = bytes;
    return handle;
  }
  void* GlobalLock(platform::Handle memory) override {
    auto found = blocks_.find(memory);
    return found == blocks_.end() ? nullptr : found->second.get();
  }
  platform::Bool GlobalUnlock(platform::Handle memory) override {
    unlocked.push_back(sizes[memory]);
    return platform::kTrue;
  }
  platform::Handle GlobalFree(platform::Handle memory) override {
    freed.push_back(sizes[memory]);
    blocks_.erase(memory);
    return platform::kNullHandle;
  }
  std::size_t LiveBlocks() const { return blocks_.size(); }

  platform::Dword FormatMessageA(platform::Dword, const void*, platform::Dword messageId,
                                 platform::Dword, char* buffer, platform::Dword size) override {
    return platform::FormatSystemMessage(messageId, buffer, size, &lastError);
  }
  void GetSystemInfo(platform::SystemInfo* info) override { *info = {}; }
  platform::Bool GetVersionExA(platform::OsVersionInfoA*) override { return platform::kFalse; }

  struct Wait {
    platform::Handle event;
    platform::Dword milliseconds;
  };
  struct Allocation {
    platform::Uint flags;
    std::size_t bytes;
  };

  platform::Dword lastError = 0;
  bool failCreateEvent = false;
  std::size_t failAllocationNumber = 0;  // 1-based; 0 never fails
  std::map<platform::Handle, bool> signalled;
  std::vector<Wait> waits;
  std::vector<platform::Handle> closedEvents;
  std::vector<Allocation> allocations;
  std::map<platform::Handle, std::size_t> sizes;
  std::vector<std::size_t> unlocked;
  std::vector<std::size_t> freed;

 private:
  platform::Handle nextHandle_ = 0x100;
  std::map<platform::Handle, std::unique_ptr<std::uint8_t[]>> blocks_;
};

// What a device answers to one command; an empty script answers INQUIRY with
// the device's data and everything else with good status.
struct FakeAnswer {
  bool callFails = false;  // pass-through: DeviceIoControl fails with `error`
  platform::Dword error = platform::kErrorIoDevice;
  std::uint8_t scsiStatus = 0;
  std::vector<std::uint8_t> sense;  // fixed-format sense bytes
  std::vector<std::uint8_t> data;   // data-in answer
  // ASPI only: how the manager handles the request.
  enum class Aspi { kSignal, kCompleteAtOnce, kReject, kNeverComplete } aspi = Aspi::kSignal;
  platform::Byte srbStatus = platform::kSsComp;  // final or rejection status

  static FakeAnswer CallFails(platform::Dword code = platform::kErrorIoDevice) {
    FakeAnswer answer;
    answer.callFails = true;
    answer.error = code;
    return answer;
  }
  static FakeAnswer CheckCondition(std::vector<std::uint8_t> senseBytes) {
    FakeAnswer answer;
    answer.scsiStatus = 2;
    answer.sense = std::move(senseBytes);
    return answer;
  }
  static FakeAnswer WithData(std::vector<std::uint8_t> bytes) {
    FakeAnswer answer;
    answer.data = std::move(bytes);
    return answer;
  }
  static FakeAnswer Manager(Aspi mode, platform::Byte status = platform::kSsComp) {
    FakeAnswer answer;
    answer.aspi = mode;
    answer.srbStatus = status;
    return answer;
  }
};

// Fixed-format sense data (18 bytes) with key byte, ASC and ASCQ.
inline std::vector<std::uint8_t> FixedSense(std::uint8_t keyByte, std::uint8_t asc,
                                            std::uint8_t ascq) {
  std::vector<std::uint8_t> sense(18, 0);
  sense[0] = 0x70;
  sense[2] = keyByte;
  sense[7] = 10;
  sense[12] = asc;
  sense[13] = ascq;
  return sense;
}

struct FakeDevice {
  std::array<std::uint8_t, 96> inquiry{};
  std::deque<FakeAnswer> script;
  bool openFails = false;
  platform::Dword openError = platform::kErrorAccessDenied;
  bool capabilitiesFail = false;
  bool addressFail = false;
  platform::ScsiAddress address{sizeof(platform::ScsiAddress), 1, 0, 3, 0};
  bool answers = true;  // ASPI: a silent target fails every request

  FakeAnswer NextAnswer(std::uint8_t opcode) {
    if (!script.empty()) {
      FakeAnswer answer = script.front();
      script.pop_front();
      return answer;
    }
    FakeAnswer answer;
    if (opcode == 0x12) answer.data.assign(inquiry.begin(), inquiry.end());
    return answer;
  }
};

// INQUIRY data: peripheral byte, then vendor/product/revision text from byte 8.
inline std::array<std::uint8_t, 96> MakeInquiry(std::uint8_t peripheral,
                                                const std::string& identification) {
  std::array<std::uint8_t, 96> data{};
  data[0] = peripheral;
  std::memcpy(data.data() + 8, identification.data(),
              std::min<std::size_t>(identification.size(), data.size() - 8));
  return data;
}

class FakePassThrough : public platform::PassThroughService {
 public:
  explicit FakePassThrough(FakeKernel& kernel) : kernel_(kernel) {}

  struct Open {
    std::string path;
    platform::Dword access, share, disposition, flags;
  };
  struct Call {
    platform::Handle handle;
    platform::Dword code;
    platform::Dword inSize, outSize;
    std::vector<std::uint8_t> sent;  // the input record as it went out
  };

  platform::Handle CreateFileA(const char* fileName, platform::Dword access, platform::Dword share,
                               platform::Dword disposition, platform::Dword flags) override {
    opens.push_back({fileName, access, share, disposition, flags});
    const std::string path = fileName;
    const char letter = path.size() == 6 ? path[4] : 0;
    auto found = devices.find(letter);
    if (path.rfind("\\\\.\\", 0) != 0 || found == devices.end()) {
      kernel_.lastError = platform::kErrorFileNotFound;
      return platform::kInvalidHandleValue;
    }
    if (found->second.openFails) {
      kernel_.lastError = found->second.openError;
      return platform::kInvalidHandleValue;
    }
    const platform::Handle handle = nextHandle_++;
    openHandles[handle] = letter;
    return handle;
  }

  platform::Bool DeviceIoControl(platform::Handle handle, platform::Dword code, void* in,
                                 platform::Dword inSize, void* out, platform::Dword outSize,
                                 platform::Dword* returned) override {
    Call call{handle, code, inSize, outSize, {}};
    if (in != nullptr) {
      const auto* bytes = static_cast<const std::uint8_t*>(in);
      call.sent.assign(bytes, bytes + inSize);
    }
    calls.push_back(call);
    auto open = openHandles.find(handle);
    if (open == openHandles.end()) {
      kernel_.lastError = platform::kErrorInvalidHandle;
      return platform::kFalse;
    }
    FakeDevice& device = devices[open->second];
    switch (code) {
      case platform::kIoctlScsiGetCapabilities:
        if (device.capabilitiesFail || outSize != sizeof(platform::IoScsiCapabilities)) break;
        *returned = outSize;
        return platform::kTrue;
      case platform::kIoctlScsiGetAddress:
        if (device.addressFail || outSize != sizeof(platform::ScsiAddress)) break;
        std::memcpy(out, &device.address, sizeof(device.address));
        *returned = outSize;
        return platform::kTrue;
      case platform::kIoctlScsiPassThroughDirect: {
        auto* record = static_cast<platform::ScsiPassThroughDirectWithSense*>(out);
        return Answer(device, record->sptd, static_cast<std::uint8_t*>(record->sptd.DataBuffer),
                      reinterpret_cast<std::uint8_t*>(record), sizeof(*record));
      }
      case platform::kIoctlScsiPassThrough: {
        auto* record = static_cast<platform::ScsiPassThroughWithBuffers*>(out);
        return Answer(device, record->spt, record->DataBuf, reinterpret_cast<std::uint8_t*>(record),
                      sizeof(*record));
      }
      default:
        break;
    }
    kernel_.lastError = platform::kErrorInvalidFunction;
    return platform::kFalse;
  }

  platform::Bool CloseHandle(platform::Handle device) override {
    closes.push_back(device);
    return openHandles.erase(device) ? platform::kTrue : platform::kFalse;
  }
  platform::Bool LockDevice(platform::Handle device) override {
    locked.push_back(device);
    return openHandles.contains(device) ? 0 : 1;  // 0: lock held
  }

  std::map<char, FakeDevice> devices;
  std::map<platform::Handle, char> openHandles;
  std::vector<Open> opens;
  std::vector<Call> calls;
  std::vector<platform::Handle> closes;
  std::vector<platform::Handle> locked;

 private:
  template <typename Header>
  platform::Bool Answer(FakeDevice& device, Header& header, std::uint8_t* data,
                        std::uint8_t* record, std::size_t recordSize) {
    const FakeAnswer answer = device.NextAnswer(header.Cdb[0]);
    if (answer.callFails) {
      kernel_.lastError = answer.error;
      return platform::kFalse;
    }
    header.ScsiStatus = answer.scsiStatus;
    if (data != nullptr) {
      std::copy_n(answer.data.begin(),
                  std::min<std::size_t>(answer.data.size(), header.DataTransferLength), data);
    }
    // The sense goes where the record says, but never past the record.
    if (header.SenseInfoOffset < recordSize) {
      std::copy_n(answer.sense.begin(),
                  std::min<std::size_t>({answer.sense.size(), header.SenseInfoLength,
                                         recordSize - header.SenseInfoOffset}),
                  record + header.SenseInfoOffset);
    }
    return platform::kTrue;
  }

  FakeKernel& kernel_;
  platform::Handle nextHandle_ = 0x1000;
};

class FakeAspi : public platform::AspiManager {
 public:
  explicit FakeAspi(FakeKernel& kernel) : kernel_(kernel) {}

  platform::Handle LoadLibraryA(const char* name) override {
    loadedNames.emplace_back(name);
    if (missing) {
      kernel_.lastError = platform::kErrorModNotFound;
      return platform::kNullHandle;
    }
    return 0x7000;
  }
  platform::Dword GetASPI32SupportInfo() override {
    return (static_cast<platform::Dword>(supportStatus) << 8) |
           static_cast<platform::Dword>(adapters.size());
  }
  platform::Dword SendASPI32Command(void* srb) override {
    const auto command = static_cast<platform::Byte*>(srb)[0];
    if (command == platform::kScHaInquiry)
      return HaInquiry(*static_cast<platform::SrbHaInquiry*>(srb));
    if (command == platform::kScAbortSrb) {
      auto& abort = *static_cast<platform::SrbAbort*>(srb);
      aborts.push_back(abort.SRB_ToAbort);
      auto* pending = static_cast<platform::SrbExecScsiCmd*>(abort.SRB_ToAbort);
      if (!abortSettles) return platform::kSsAbortFail;
      if (pending->SRB_Status == platform::kSsPending) {
        pending->SRB_Status = platform::kSsAborted;
        kernel_.SetEvent(reinterpret_cast<platform::Handle>(pending->SRB_PostProc));
      }
      return platform::kSsComp;
    }
    return Execute(*static_cast<platform::SrbExecScsiCmd*>(srb));
  }

  bool missing = false;
  bool abortSettles = true;  // false: an aborted request stays pending
  platform::Byte supportStatus = platform::kSsComp;
  std::vector<std::string> adapters;  // HA_Identifier per adapter
  std::map<std::pair<int, int>, FakeDevice> targets;
  std::vector<std::string> loadedNames;
  std::vector<platform::SrbHaInquiry> haInquiries;  // as sent
  std::vector<platform::SrbExecScsiCmd> requests;   // as sent
  std::vector<void*> aborts;

 private:
  platform::Dword HaInquiry(platform::SrbHaInquiry& srb) {
    haInquiries.push_back(srb);
    if (srb.SRB_HaId >= adapters.size()) return srb.SRB_Status = platform::kSsInvalidHa;
    srb.HA_Count = static_cast<platform::Byte>(adapters.size());
    const std::string& id = adapters[srb.SRB_HaId];
    std::memcpy(srb.HA_Identifier, id.data(), std::min<std::size_t>(id.size(), 16));
    return srb.SRB_Status = platform::kSsComp;
  }

  platform::Dword Execute(platform::SrbExecScsiCmd& srb) {
    requests.push_back(srb);
    auto found = targets.find({srb.SRB_HaId, srb.SRB_Target});
    if (found == targets.end() || !found->second.answers) {
      return Complete(srb, platform::kSsNoDevice);
    }
    const FakeAnswer answer = found->second.NextAnswer(srb.CDBByte[0]);
    if (answer.aspi == FakeAnswer::Aspi::kReject) return answer.srbStatus;
    if (answer.aspi == FakeAnswer::Aspi::kNeverComplete)
      return srb.SRB_Status = platform::kSsPending;
    if (srb.SRB_BufPointer != nullptr) {
      std::copy_n(answer.data.begin(), std::min<std::size_t>(answer.data.size(), srb.SRB_BufLen),
                  srb.SRB_BufPointer);
    }
    srb.SRB_TargStat = answer.scsiStatus;
    std::copy_n(
        answer.sense.begin(),
        std::min<std::size_t>({answer.sense.size(), srb.SRB_SenseLen, sizeof srb.SenseArea}),
        srb.SenseArea);
    const platform::Byte status = answer.scsiStatus != 0 ? platform::kSsErr : answer.srbStatus;
    if (answer.aspi == FakeAnswer::Aspi::kCompleteAtOnce) return srb.SRB_Status = status;
    return Complete(srb, status);
  }

  platform::Dword Complete(platform::SrbExecScsiCmd& srb, platform::Byte status) {
    srb.SRB_Status = status;
    kernel_.SetEvent(reinterpret_cast<platform::Handle>(srb.SRB_PostProc));
    return platform::kSsPending;
  }

  FakeKernel& kernel_;
};

class FakeClock : public platform::Clock {
 public:
  platform::Uint timeBeginPeriod(platform::Uint period) override {
    begun.push_back(period);
    return period >= minimumPeriod ? platform::kTimerrNoError : platform::kTimerrNoCanDo;
  }
  platform::Uint timeEndPeriod(platform::Uint period) override {
    ended.push_back(period);
    return platform::kTimerrNoError;
  }
  platform::Dword timeGetTime() override { return now += step; }
  void Sleep(platform::Dword milliseconds) override { now += milliseconds; }

  platform::Uint minimumPeriod = 1;
  platform::Dword now = 1000;
  platform::Dword step = 0;  // advance on every read
  std::vector<platform::Uint> begun;
  std::vector<platform::Uint> ended;
};

class NoSystemInfo : public platform::SystemInfoComponentFactory {
 public:
  std::unique_ptr<platform::SystemInfoComponent> CreateSystemInfoComponent() override {
    return nullptr;
  }
};

class FakePlatform : public platform::Platform {
 public:
  platform::Kernel& Kernel32() override { return kernel; }
  platform::PassThroughService& PassThrough() override { return passThrough; }
  platform::AspiManager& Aspi() override { return aspi; }
  platform::Clock& Timer() override { return clock; }
  platform::SystemInfoComponentFactory& SystemInfoComponents() override { return systemInfo; }
  // The drive layer never starts a program.
  platform::ProcessService& Processes() override { std::abort(); }
  platform::NativeSystem Native() override { return {}; }

  FakeKernel kernel;
  FakePassThrough passThrough{kernel};
  FakeAspi aspi{kernel};
  FakeClock clock;
  NoSystemInfo systemInfo;
};

}  // namespace testsupport
