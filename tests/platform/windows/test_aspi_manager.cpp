// The test ASPI manager: GetASPI32SupportInfo and SendASPI32Command as a
// field manager exports them (cdecl, by name), plus the tests' controls.
// Built a second time without SendASPI32Command, for the library that is no
// manager.
#include "tests/platform/windows/test_aspi_manager.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/aspi.h"

namespace {

struct Manager {
  // A test that did not wait for its completions leaves them to the system.
  ~Manager() {
    for (std::thread& completion : completions) completion.detach();
  }

  std::mutex mutex;
  std::uint8_t adapterCount = 1;
  std::uint8_t supportStatus = platform::kSsComp;
  char identifier[16] = {'E', 'S', 'D', 'I', '_', '5', '0', '6'};
  std::deque<TestAspiReply> replies;
  std::vector<TestAspiRecord> records;
  std::vector<std::thread> completions;
  platform::SrbExecScsiCmd* neverCompleted = nullptr;
};

Manager& TheManager() {
  static Manager manager;
  return manager;
}

void Record(Manager& manager, const void* block, std::size_t size) {
  TestAspiRecord record;
  record.address = reinterpret_cast<std::uintptr_t>(block);
  record.blockSize = static_cast<std::uint32_t>(std::min(size, sizeof(record.block)));
  std::memcpy(record.block, block, record.blockSize);
  manager.records.push_back(record);
}

// What the drive puts into the block and the caller's buffer.
void Answer(platform::SrbExecScsiCmd& srb, const TestAspiReply& reply) {
  if (srb.SRB_BufPointer != nullptr) {
    std::memcpy(srb.SRB_BufPointer, reply.data, std::min(srb.SRB_BufLen, reply.dataLength));
  }
  std::memcpy(srb.SenseArea, reply.sense,
              std::min<std::size_t>({srb.SRB_SenseLen, reply.senseLength, sizeof(srb.SenseArea)}));
  srb.SRB_TargStat = reply.targetStatus;
}

[[maybe_unused]] platform::Dword Execute(Manager& manager, platform::SrbExecScsiCmd& srb) {
  Record(manager, &srb, sizeof(srb));
  TestAspiReply reply;
  if (!manager.replies.empty()) {
    reply = manager.replies.front();
    manager.replies.pop_front();
  }
  if (srb.SRB_HaId >= manager.adapterCount) {
    srb.SRB_Status = platform::kSsInvalidHa;
    return srb.SRB_Status;
  }
  const HANDLE event = reinterpret_cast<HANDLE>(srb.SRB_PostProc);
  const bool notify = (srb.SRB_Flags & platform::kSrbEventNotify) != 0;
  srb.SRB_Status = platform::kSsPending;
  if (reply.neverComplete) {
    manager.neverCompleted = &srb;
    return platform::kSsPending;
  }
  if (reply.completeLater) {
    manager.completions.emplace_back([&srb, reply, event, notify] {
      Answer(srb, reply);
      srb.SRB_Status = reply.status;
      if (notify) ::SetEvent(event);
    });
    return platform::kSsPending;
  }
  Answer(srb, reply);
  srb.SRB_Status = reply.status;
  if (notify) ::SetEvent(event);
  return platform::kSsPending;
}

}  // namespace

extern "C" {

__declspec(dllexport) platform::Dword __cdecl GetASPI32SupportInfo() {
  Manager& manager = TheManager();
  const std::lock_guard<std::mutex> lock(manager.mutex);
  return (static_cast<platform::Dword>(manager.supportStatus) << 8) | manager.adapterCount;
}

#ifndef TEST_ASPI_WITHOUT_SEND_COMMAND
__declspec(dllexport) platform::Dword __cdecl SendASPI32Command(void* block) {
  Manager& manager = TheManager();
  const std::lock_guard<std::mutex> lock(manager.mutex);
  auto* header = static_cast<platform::SrbHaInquiry*>(block);
  switch (header->SRB_Cmd) {
    case platform::kScHaInquiry: {
      Record(manager, block, sizeof(platform::SrbHaInquiry));
      if (header->SRB_HaId >= manager.adapterCount) {
        header->SRB_Status = platform::kSsInvalidHa;
        return header->SRB_Status;
      }
      header->HA_Count = manager.adapterCount;
      header->HA_SCSI_ID = 7;
      std::memcpy(header->HA_ManagerId, "ASPI for WIN32  ", 16);
      std::memcpy(header->HA_Identifier, manager.identifier, 16);
      header->SRB_Status = platform::kSsComp;
      return header->SRB_Status;
    }
    case platform::kScExecScsiCmd:
      return Execute(manager, *static_cast<platform::SrbExecScsiCmd*>(block));
    case platform::kScAbortSrb: {
      auto* abort = static_cast<platform::SrbAbort*>(block);
      Record(manager, block, sizeof(platform::SrbAbort));
      auto* aborted = static_cast<platform::SrbExecScsiCmd*>(abort->SRB_ToAbort);
      if (aborted != nullptr && aborted == manager.neverCompleted) {
        aborted->SRB_Status = platform::kSsAborted;
        manager.neverCompleted = nullptr;
      }
      abort->SRB_Status = platform::kSsComp;
      return abort->SRB_Status;
    }
    default:
      header->SRB_Status = platform::kSsInvalidCmd;
      return header->SRB_Status;
  }
}
#endif

__declspec(dllexport) void TestAspiSetAdapters(std::uint8_t count, std::uint8_t supportStatus,
                                               const char* identifier) {
  Manager& manager = TheManager();
  const std::lock_guard<std::mutex> lock(manager.mutex);
  manager.adapterCount = count;
  manager.supportStatus = supportStatus;
  std::memset(manager.identifier, ' ', sizeof(manager.identifier));
  std::memcpy(manager.identifier, identifier,
              std::min(std::strlen(identifier), sizeof(manager.identifier)));
}

__declspec(dllexport) void TestAspiQueueReply(const TestAspiReply* reply) {
  Manager& manager = TheManager();
  const std::lock_guard<std::mutex> lock(manager.mutex);
  manager.replies.push_back(*reply);
}

__declspec(dllexport) std::size_t TestAspiRecordCount() {
  Manager& manager = TheManager();
  const std::lock_guard<std::mutex> lock(manager.mutex);
  return manager.records.size();
}

__declspec(dllexport) bool TestAspiRecordAt(std::size_t index, TestAspiRecord* record) {
  Manager& manager = TheManager();
  const std::lock_guard<std::mutex> lock(manager.mutex);
  if (index >= manager.records.size()) return false;
  *record = manager.records[index];
  return true;
}

// Joins the completion threads: every request sent so far is answered.
__declspec(dllexport) void TestAspiWaitIdle() {
  std::vector<std::thread> completions;
  {
    Manager& manager = TheManager();
    const std::lock_guard<std::mutex> lock(manager.mutex);
    completions.swap(manager.completions);
  }
  for (std::thread& completion : completions) completion.join();
}

}  // extern "C"
