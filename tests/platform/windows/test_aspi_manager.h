// A test ASPI manager (built as WNASPI32.DLL beside the tests that load it):
// it records every request block it is sent and answers like a drive, as the
// test scripts it. The tests reach these control functions through
// GetProcAddress on the loaded manager.
#pragma once

#include <cstddef>
#include <cstdint>

// How the next SC_EXEC_SCSI_CMD is answered.
struct TestAspiReply {
  std::uint8_t status = 0x01;  // the final SRB_Status (SS_COMP)
  std::uint8_t targetStatus = 0;
  std::uint8_t sense[18] = {};
  std::uint8_t senseLength = 0;  // bytes of sense the drive has (at most SRB_SenseLen are copied)
  std::uint8_t data[96] = {};
  std::uint32_t dataLength = 0;  // bytes the drive answers (at most SRB_BufLen are copied)
  // SS_PENDING at once; a thread of the manager completes the request and
  // sets SRB_PostProc, as a manager with a real bus does.
  bool completeLater = false;
  // SS_PENDING, and nothing happens until the request is aborted.
  bool neverComplete = false;
};

// One request as it arrived: where the block lies and its bytes.
struct TestAspiRecord {
  std::uintptr_t address = 0;
  std::uint8_t block[80] = {};
  std::uint32_t blockSize = 0;
};

extern "C" {
using TestAspiSetAdaptersEntry = void (*)(std::uint8_t count, std::uint8_t supportStatus,
                                          const char* identifier);
using TestAspiQueueReplyEntry = void (*)(const TestAspiReply* reply);
using TestAspiRecordCountEntry = std::size_t (*)();
using TestAspiRecordAtEntry = bool (*)(std::size_t index, TestAspiRecord* record);
using TestAspiWaitIdleEntry = void (*)();
}

inline constexpr char kTestAspiSetAdapters[] = "TestAspiSetAdapters";
inline constexpr char kTestAspiQueueReply[] = "TestAspiQueueReply";
inline constexpr char kTestAspiRecordCount[] = "TestAspiRecordCount";
inline constexpr char kTestAspiRecordAt[] = "TestAspiRecordAt";
inline constexpr char kTestAspiWaitIdle[] = "TestAspiWaitIdle";
