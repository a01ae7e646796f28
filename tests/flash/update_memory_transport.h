// A transport without a platform for the flash tests: it records every request
// as handed to ExecuteRequest and answers READ BUFFER 80h from a drive memory
// array. A scripted command index can fail with a given outcome.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "drvcmd/transport.h"

namespace flashtest {

struct RecordedRequest {
  drvcmd::ScsiRequest request;
  std::vector<std::uint8_t> dataOut;  // what a data-out command carried
};

// The firmware commands never reach the platform or show a message themselves.
class UnusedPlatform : public platform::Platform {
 public:
  platform::Kernel& Kernel32() override { std::abort(); }
  platform::PassThroughService& PassThrough() override { std::abort(); }
  platform::AspiManager& Aspi() override { std::abort(); }
  platform::Clock& Timer() override { std::abort(); }
  platform::SystemInfoComponentFactory& SystemInfoComponents() override { std::abort(); }
  platform::ProcessService& Processes() override { std::abort(); }
  platform::NativeSystem Native() override { std::abort(); }
};

class UnusedNotice : public drvcmd::Notice {
 public:
  int MessageBox(const std::string&, const std::string&, unsigned) override { std::abort(); }
};

class MemoryTransport : public drvcmd::Transport {
 public:
  explicit MemoryTransport(drvcmd::ProgramId program)
      : drvcmd::Transport(program, UnusedSystem(), UnusedUser()) {}

  int StartTransport() override {
    data_.assign(drvcmd::kDataBufferSize, 0);
    image_.assign(drvcmd::kImageBufferSize, 0);
    small_.assign(drvcmd::kSmallBufferSize, 0);
    dataBuffer_ = data_;
    imageBuffer_ = image_;
    smallBuffer_ = small_;
    return drvcmd::kStartOk;
  }
  int StopTransport() override { return 0; }

  int ExecuteRequest(drvcmd::ScsiRequest& request) override {
    RecordedRequest entry{request, {}};
    if (request.direction == drvcmd::DataDirection::kOut) {
      entry.dataOut.assign(request.buffer, request.buffer + request.transferLength);
    }
    // As the real transports do before sending.
    if (request.zeroBufferFirst && request.buffer != nullptr) {
      std::fill_n(request.buffer, request.transferLength, std::uint8_t{0});
    }
    requests.push_back(std::move(entry));
    if (failAt && *failAt == requests.size() - 1) return failOutcome;
    if (request.cdb[0] == 0x3C) {
      const std::uint32_t offset = (request.cdb[3] << 16) | (request.cdb[4] << 8) | request.cdb[5];
      if (offset + request.transferLength > memory.size()) return drvcmd::kOutcomeCheckCondition;
      std::copy_n(memory.begin() + offset, request.transferLength, request.buffer);
    }
    return drvcmd::kOutcomeGood;
  }

  std::vector<std::uint8_t> memory = std::vector<std::uint8_t>(0x20000, 0);
  std::vector<RecordedRequest> requests;
  std::optional<std::size_t> failAt;
  int failOutcome = drvcmd::kOutcomeCheckCondition;

 private:
  static platform::Platform& UnusedSystem() {
    static UnusedPlatform system;
    return system;
  }
  static drvcmd::Notice& UnusedUser() {
    static UnusedNotice notice;
    return notice;
  }
  std::vector<std::uint8_t> data_, image_, small_;
};

}  // namespace flashtest
