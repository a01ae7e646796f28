// The sense both Linux back-ends keep between a failed command and the
// REQUEST SENSE after it, against a drive that hands its sense over once.
#include "platform/linux/pending_sense.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <vector>

#include "tests/platform/fake_device_io.h"
#include "tests/platform/fake_drive.h"

namespace platform {
namespace {

using testing::FakeDrive;
using testing::FakeFixedSense;

constexpr unsigned char kGuard = 0xEE;
constexpr unsigned char kOpWriteBuffer = 0x3B;
constexpr char kNode[] = "/dev/sg0";

struct Result {
  int rc = 0;
  int status = 0;
  std::size_t transferred = 0;
  std::array<unsigned char, 32> data{};
};

class PendingSenseTest : public ::testing::Test {
 protected:
  PendingSenseTest() {
    io_.responder = [this](const std::string&, sg_io_hdr_t* h) { return drive_.Answer(h); };
    fd_ = io_.Open(kNode, 0);
  }

  Result Send(unsigned char opcode, unsigned char allocation = 0, std::size_t buffer = 0) {
    Result result;
    result.data.fill(kGuard);
    std::array<unsigned char, 6> cdb = {opcode, 0, 0, 0, allocation, 0};
    std::array<unsigned char, kKernelSenseBytes> sense{};
    sg_io_hdr_t header{};
    header.interface_id = 'S';
    header.cmdp = cdb.data();
    header.cmd_len = cdb.size();
    header.dxfer_direction = buffer != 0 ? SG_DXFER_FROM_DEV : SG_DXFER_NONE;
    header.dxfer_len = static_cast<unsigned>(buffer);
    header.dxferp = buffer != 0 ? result.data.data() : nullptr;
    header.sbp = sense.data();
    header.mx_sb_len = sense.size();
    result.rc = pending_.Exchange(io_, fd_, kNode, &header);
    result.status = header.status;
    result.transferred = buffer - static_cast<std::size_t>(std::max(header.resid, 0));
    return result;
  }
  Result RequestSense(unsigned char allocation = 18, std::size_t buffer = 24) {
    return Send(0x03, allocation, buffer);
  }

  testing::FakeDeviceIo io_;
  FakeDrive drive_;
  PendingSense pending_;
  int fd_ = -1;
};

TEST_F(PendingSenseTest, KeptSenseIsBoundedByTheAllocationLengthAndTheBuffer) {
  drive_.refusals[kOpWriteBuffer] = FakeFixedSense(0x05, 0x24, 0x00);
  const struct {
    unsigned char allocation;
    std::size_t buffer;
    std::size_t expected;
  } cases[] = {{8, 24, 8}, {18, 24, 18}, {24, 24, 18}, {24, 10, 10}, {0, 24, 0}};
  for (const auto& c : cases) {
    ASSERT_EQ(Send(kOpWriteBuffer).status, 0x02);
    const std::size_t sent = io_.calls.size();
    const Result sense = RequestSense(c.allocation, c.buffer);
    EXPECT_EQ(io_.calls.size(), sent) << "answered from the kept sense";
    EXPECT_EQ(sense.rc, 0);
    EXPECT_EQ(sense.status, 0);
    EXPECT_EQ(sense.transferred, c.expected) << int{c.allocation} << " of " << c.buffer;
    EXPECT_EQ(sense.data[c.expected], kGuard) << int{c.allocation} << " of " << c.buffer;
    if (c.expected > 12) {
      EXPECT_EQ(sense.data[12], 0x24);
    }
  }
}

// Who answers the REQUEST SENSE that follows each kind of completion.
TEST_F(PendingSenseTest, OnlySenseThatCameWithTheFailureIsKept) {
  const struct {
    const char* what;
    bool autosense;
    int kernelRefusal;
    bool refused;
    bool driveAnswers;
    int expectedRc;
    unsigned char expectedAsc;
  } cases[] = {
      {"check condition with its sense", true, 0, true, false, 0, 0x24},
      {"check condition without sense bytes", false, 0, true, true, 0, 0x24},
      {"a command that succeeded", true, 0, false, true, 0, 0x00},
      {"a command the kernel refused", true, EPERM, false, false, -EPERM, 0x00},
  };
  for (const auto& c : cases) {
    drive_.autosense = c.autosense;
    drive_.refusals.clear();
    drive_.kernelRefusals.clear();
    if (c.refused) drive_.refusals[kOpWriteBuffer] = FakeFixedSense(0x05, 0x24, 0x00);
    if (c.kernelRefusal != 0) drive_.kernelRefusals[kOpWriteBuffer] = c.kernelRefusal;
    EXPECT_EQ(Send(kOpWriteBuffer).rc, -c.kernelRefusal) << c.what;
    const int answeredBefore = drive_.requestSensesAnswered;
    const Result sense = RequestSense();
    EXPECT_EQ(drive_.requestSensesAnswered - answeredBefore, c.driveAnswers ? 1 : 0) << c.what;
    EXPECT_EQ(sense.rc, c.expectedRc) << c.what;
    if (c.expectedRc == 0) {
      EXPECT_EQ(sense.data[12], c.expectedAsc) << c.what;
    }
    // Whatever was kept is given once: the next one goes to the drive.
    RequestSense();
    EXPECT_EQ(drive_.requestSensesAnswered - answeredBefore, c.driveAnswers ? 2 : 1) << c.what;
  }
}

}  // namespace
}  // namespace platform
