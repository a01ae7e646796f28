// Pass-through records and ASPI request blocks to SG_IO headers and back.
#include "platform/linux/sg_exchange.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "platform/linux/aspi_exchange.h"
#include "platform/linux/sg_status.h"
#include "platform/win_errors.h"

namespace platform {
namespace {

constexpr Dword kBufferedDataOffset = offsetof(ScsiPassThroughWithBuffers, DataBuf);

constexpr Byte kInquiry[] = {0x12, 0x00, 0x00, 0x00, 0x60, 0x00};

ScsiPassThroughDirectWithSense DirectInquiry(Byte* data) {
  ScsiPassThroughDirectWithSense record{};
  record.sptd.Length = sizeof(ScsiPassThroughDirect);
  record.sptd.CdbLength = 12;
  record.sptd.SenseInfoLength = 18;
  record.sptd.DataIn = kScsiIoctlDataIn;
  record.sptd.DataTransferLength = 96;
  record.sptd.TimeOutValue = 2;
  record.sptd.DataBuffer = data;
  record.sptd.SenseInfoOffset = offsetof(ScsiPassThroughDirectWithSense, SenseBuf);
  std::memcpy(record.sptd.Cdb, kInquiry, sizeof kInquiry);
  return record;
}

ScsiPassThroughWithBuffers BufferedRequestSense() {
  ScsiPassThroughWithBuffers record{};
  record.spt.Length = kPassThroughLength32;  // what a 32-bit program writes
  record.spt.CdbLength = 12;
  record.spt.DataIn = kScsiIoctlDataIn;
  record.spt.DataTransferLength = 24;
  record.spt.TimeOutValue = 2;
  record.spt.DataBufferOffset = offsetof(ScsiPassThroughWithBuffers, DataBuf);
  record.spt.SenseInfoOffset = offsetof(ScsiPassThroughWithBuffers, SenseBuf);
  record.spt.Cdb[0] = 0x03;
  record.spt.Cdb[4] = 0x18;
  return record;
}

Dword PrepareDirect(ScsiPassThroughDirectWithSense& record, SgExchange* exchange,
                    Dword size = sizeof(ScsiPassThroughDirectWithSense)) {
  return PreparePassThrough(kIoctlScsiPassThroughDirect, &record, size, &record, size, exchange);
}

TEST(SgExchange, DirectRecordBecomesSgHeader) {
  Byte data[96] = {};
  auto record = DirectInquiry(data);
  SgExchange exchange;
  ASSERT_EQ(PrepareDirect(record, &exchange), kErrorSuccess);
  const sg_io_hdr_t& h = exchange.header;
  EXPECT_EQ(h.interface_id, 'S');
  EXPECT_EQ(h.dxfer_direction, SG_DXFER_FROM_DEV);
  EXPECT_EQ(h.cmd_len, 12);
  EXPECT_EQ(h.dxfer_len, 96u);
  EXPECT_EQ(h.dxferp, data);
  // The kernel is asked for the whole sense, whatever the record wants copied.
  EXPECT_EQ(h.mx_sb_len, kKernelSenseBytes);
  EXPECT_EQ(exchange.senseWanted, 18u);
  EXPECT_EQ(h.timeout, 2000u);
  // Padding bytes of a 6-byte command go out as zeros.
  const Byte expected[12] = {0x12, 0, 0, 0, 0x60, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(h.cmdp, expected, sizeof expected), 0);
}

TEST(SgExchange, DirectionFollowsDataInAndLength) {
  Byte data[8] = {};
  const struct {
    Uchar dataIn;
    Ulong length;
    int direction;
  } cases[] = {
      {kScsiIoctlDataOut, 8, SG_DXFER_TO_DEV},
      {kScsiIoctlDataIn, 8, SG_DXFER_FROM_DEV},
      {kScsiIoctlDataUnspecified, 8, SG_DXFER_TO_FROM_DEV},
      // WRITE BUFFER without data goes out "out", TEST UNIT READY "in": no data either way.
      {kScsiIoctlDataOut, 0, SG_DXFER_NONE},
      {kScsiIoctlDataIn, 0, SG_DXFER_NONE},
  };
  for (const auto& c : cases) {
    auto record = DirectInquiry(data);
    record.sptd.DataIn = c.dataIn;
    record.sptd.DataTransferLength = c.length;
    SgExchange exchange;
    ASSERT_EQ(PrepareDirect(record, &exchange), kErrorSuccess);
    EXPECT_EQ(exchange.header.dxfer_direction, c.direction) << int(c.dataIn) << "/" << c.length;
    EXPECT_EQ(exchange.header.dxfer_len, c.length);
  }
}

TEST(SgExchange, LongTimeOutSaturatesInsteadOfWrapping) {
  Byte data[96] = {};
  auto record = DirectInquiry(data);
  record.sptd.TimeOutValue = 0xFFFFFFFFu;
  SgExchange exchange;
  ASSERT_EQ(PrepareDirect(record, &exchange), kErrorSuccess);
  EXPECT_EQ(exchange.header.timeout, UINT_MAX / 1000 * 1000);
}

TEST(SgExchange, SenseRequestIsLimitedToTheSenseArea) {
  struct {
    ScsiPassThroughDirectWithSense record;
    Byte room[64];
  } big{};
  Byte data[96] = {};
  big.record = DirectInquiry(data);
  big.record.sptd.SenseInfoLength = 60;
  SgExchange exchange;
  ASSERT_EQ(PreparePassThrough(kIoctlScsiPassThroughDirect, &big, sizeof big, &big, sizeof big,
                               &exchange),
            kErrorSuccess);
  EXPECT_EQ(exchange.senseWanted, kMaxSenseBytes);
  EXPECT_EQ(exchange.header.mx_sb_len, kKernelSenseBytes);
}

TEST(SgExchange, BufferedRecordUsesItsDataArea) {
  auto record = BufferedRequestSense();
  SgExchange exchange;
  ASSERT_EQ(PreparePassThrough(kIoctlScsiPassThrough, &record, sizeof record, &record,
                               kBufferedDataOffset + 24, &exchange),
            kErrorSuccess);
  EXPECT_EQ(exchange.header.dxferp, record.DataBuf);
  EXPECT_EQ(exchange.header.dxfer_len, 24u);
  EXPECT_EQ(exchange.header.mx_sb_len, kKernelSenseBytes);
  EXPECT_EQ(exchange.senseWanted, 0u);
}

TEST(SgExchange, RecordsThatDoNotFitAreRefused) {
  Byte data[96] = {};
  const auto invalid = [&](auto change, Dword size = sizeof(ScsiPassThroughDirectWithSense)) {
    auto record = DirectInquiry(data);
    change(record);
    SgExchange exchange;
    return PrepareDirect(record, &exchange, size) == kErrorInvalidParameter;
  };
  EXPECT_TRUE(invalid([](auto& r) { r.sptd.Length = 40; }));
  EXPECT_TRUE(invalid([](auto& r) { r.sptd.CdbLength = 0; }));
  EXPECT_TRUE(invalid([](auto& r) { r.sptd.CdbLength = 17; }));
  EXPECT_TRUE(invalid([](auto& r) { r.sptd.DataIn = 3; }));
  EXPECT_TRUE(invalid([](auto& r) { r.sptd.DataBuffer = nullptr; }));
  EXPECT_TRUE(invalid([](auto& r) { r.sptd.SenseInfoOffset = 4; }));  // inside the header
  EXPECT_TRUE(invalid([](auto& r) { r.sptd.SenseInfoOffset = 0xFFFFFFF0u; }));
  EXPECT_TRUE(invalid([](auto& r) {  // one byte past the record
    r.sptd.SenseInfoLength = sizeof r - offsetof(ScsiPassThroughDirectWithSense, SenseBuf) + 1;
  }));
  EXPECT_TRUE(invalid([](auto&) {}, sizeof(ScsiPassThroughDirect) - 1));

  auto buffered = BufferedRequestSense();
  SgExchange exchange;
  // The data area must lie inside the output it is read into.
  EXPECT_EQ(PreparePassThrough(kIoctlScsiPassThrough, &buffered, sizeof buffered, &buffered,
                               kBufferedDataOffset + 23, &exchange),
            kErrorInvalidParameter);
  buffered.spt.DataIn = kScsiIoctlDataOut;
  buffered.spt.DataBufferOffset = sizeof buffered - 8;
  EXPECT_EQ(PreparePassThrough(kIoctlScsiPassThrough, &buffered, sizeof buffered, &buffered,
                               sizeof buffered, &exchange),
            kErrorInvalidParameter);
  EXPECT_EQ(PreparePassThrough(kIoctlScsiGetAddress, &buffered, sizeof buffered, &buffered,
                               sizeof buffered, &exchange),
            kErrorInvalidParameter);
}

TEST(SgExchange, CheckConditionFillsStatusAndBoundedSense) {
  Byte data[96] = {};
  auto record = DirectInquiry(data);
  std::memset(record.SenseBuf, 0xEE, sizeof record.SenseBuf);
  SgExchange exchange;
  ASSERT_EQ(PrepareDirect(record, &exchange), kErrorSuccess);
  // The drive offers 32 sense bytes; the command asked for 18.
  for (std::size_t i = 0; i < exchange.sense.size(); ++i) {
    exchange.sense[i] = static_cast<unsigned char>(i + 1);
  }
  exchange.header.status = 0x02;
  exchange.header.sb_len_wr = 32;
  exchange.header.driver_status = kDriverSense;
  Dword returned = 0;
  EXPECT_EQ(CompletePassThrough(exchange, &returned), kErrorSuccess);
  EXPECT_EQ(record.sptd.ScsiStatus, 0x02);
  EXPECT_EQ(record.sptd.SenseInfoLength, 18);
  EXPECT_EQ(record.SenseBuf[0], 1);
  EXPECT_EQ(record.SenseBuf[17], 18);
  EXPECT_EQ(record.SenseBuf[18], 0xEE) << "sense written past the requested length";
  EXPECT_EQ(returned, offsetof(ScsiPassThroughDirectWithSense, SenseBuf) + 18);
}

TEST(SgExchange, SenseReachesOnlyFailedCommandsThatAskedForIt) {
  Byte data[96] = {};
  // The updater asks for no sense: the record stays without any.
  auto record = DirectInquiry(data);
  record.sptd.SenseInfoLength = 0;
  SgExchange exchange;
  ASSERT_EQ(PrepareDirect(record, &exchange), kErrorSuccess);
  exchange.sense.fill(0x70);
  exchange.header.status = 0x02;
  exchange.header.sb_len_wr = 18;
  Dword returned = 0;
  EXPECT_EQ(CompletePassThrough(exchange, &returned), kErrorSuccess);
  EXPECT_EQ(record.sptd.ScsiStatus, 0x02);
  EXPECT_EQ(record.sptd.SenseInfoLength, 0);
  EXPECT_EQ(record.SenseBuf[0], 0);

  // A command that succeeded shows no sense, even when bytes came back.
  record = DirectInquiry(data);
  ASSERT_EQ(PrepareDirect(record, &exchange), kErrorSuccess);
  exchange.sense.fill(0x70);
  exchange.header.sb_len_wr = 18;
  EXPECT_EQ(CompletePassThrough(exchange, &returned), kErrorSuccess);
  EXPECT_EQ(record.sptd.SenseInfoLength, 0);
  EXPECT_EQ(record.SenseBuf[0], 0);
}

TEST(SgExchange, ShortTransferAndSeparateOutputRecord) {
  auto in = BufferedRequestSense();
  ScsiPassThroughWithBuffers out{};
  SgExchange exchange;
  ASSERT_EQ(PreparePassThrough(kIoctlScsiPassThrough, &in, sizeof in, &out,
                               kBufferedDataOffset + 24, &exchange),
            kErrorSuccess);
  EXPECT_EQ(exchange.header.dxferp, out.DataBuf);
  exchange.header.resid = 6;
  Dword returned = 0;
  EXPECT_EQ(CompletePassThrough(exchange, &returned), kErrorSuccess);
  EXPECT_EQ(out.spt.DataTransferLength, 18u);
  EXPECT_EQ(out.spt.Cdb[0], 0x03) << "the output record carries the request header";
  EXPECT_EQ(out.spt.ScsiStatus, 0);
  EXPECT_EQ(returned, offsetof(ScsiPassThroughWithBuffers, DataBuf) + 18);
}

TEST(SgExchange, TransportFailuresFailTheCallButLeaveAClearRecord) {
  const struct {
    unsigned host;
    unsigned driver;
    Dword error;
  } cases[] = {
      {kHostTimeOut, 0, kErrorSemTimeout},
      {0, kDriverTimeout, kErrorSemTimeout},
      {kHostNoConnect, 0, kErrorDeviceNotConnected},
      {0x07, 0, kErrorIoDevice},
      {0, 0x04, kErrorGenFailure},
      {0, 0x08, kErrorSuccess},
  };
  for (const auto& c : cases) {
    Byte data[96] = {};
    auto record = DirectInquiry(data);
    SgExchange exchange;
    ASSERT_EQ(PrepareDirect(record, &exchange), kErrorSuccess);
    exchange.header.host_status = static_cast<unsigned short>(c.host);
    exchange.header.driver_status = static_cast<unsigned short>(c.driver);
    Dword returned = 99;
    EXPECT_EQ(CompletePassThrough(exchange, &returned), c.error) << c.host << "/" << c.driver;
    if (c.error != kErrorSuccess) {
      EXPECT_EQ(returned, 0u);
      // No sense came back, so a caller that looks at SenseInfoLength sees none.
      EXPECT_EQ(record.sptd.SenseInfoLength, 0);
    }
  }
}

SrbExecScsiCmd AspiInquiry(Byte* data) {
  SrbExecScsiCmd srb{};
  srb.SRB_Cmd = kScExecScsiCmd;
  srb.SRB_Flags = kSrbEventNotify | kSrbDirIn;
  srb.SRB_BufLen = 96;
  srb.SRB_BufPointer = data;
  srb.SRB_CDBLen = 6;
  std::memcpy(srb.CDBByte, kInquiry, sizeof kInquiry);
  return srb;
}

TEST(AspiExchange, RequestBlockBecomesSgHeader) {
  Byte data[96] = {};
  const struct {
    Byte flags;
    Dword length;
    int direction;
  } cases[] = {
      {kSrbEventNotify | kSrbDirIn, 96, SG_DXFER_FROM_DEV},
      {kSrbEventNotify | kSrbDirOut, 96, SG_DXFER_TO_DEV},
      {kSrbEventNotify, 0, SG_DXFER_NONE},
      {kSrbEventNotify, 96, SG_DXFER_TO_FROM_DEV},
  };
  for (const auto& c : cases) {
    auto srb = AspiInquiry(data);
    srb.SRB_Flags = c.flags;
    srb.SRB_BufLen = c.length;
    AspiExchange exchange;
    ASSERT_EQ(PrepareAspiExchange(srb, &exchange), kSsComp);
    EXPECT_EQ(exchange.header.dxfer_direction, c.direction) << int(c.flags);
    EXPECT_EQ(exchange.header.cmd_len, 6);
    EXPECT_EQ(exchange.header.dxfer_len, c.length);
    EXPECT_EQ(exchange.header.mx_sb_len, kKernelSenseBytes);
    EXPECT_EQ(exchange.header.timeout, kAspiCommandTimeoutMs);
    EXPECT_EQ(std::memcmp(exchange.header.cmdp, kInquiry, sizeof kInquiry), 0);
  }
  auto bad = AspiInquiry(data);
  bad.SRB_CDBLen = 17;
  AspiExchange exchange;
  EXPECT_EQ(PrepareAspiExchange(bad, &exchange), kSsInvalidSrb);
  bad = AspiInquiry(nullptr);
  EXPECT_EQ(PrepareAspiExchange(bad, &exchange), kSsInvalidSrb);
}

TEST(AspiExchange, CompletionSetsStatusesAndSenseWithinSenseLength) {
  Byte data[96] = {};
  auto srb = AspiInquiry(data);
  srb.SRB_SenseLen = 14;
  AspiExchange exchange;
  ASSERT_EQ(PrepareAspiExchange(srb, &exchange), kSsComp);
  EXPECT_EQ(exchange.header.mx_sb_len, kKernelSenseBytes);
  exchange.sense.fill(0x70);
  exchange.header.status = 0x02;
  exchange.header.sb_len_wr = 16;
  EXPECT_EQ(CompleteAspiExchange(exchange, &srb), kSsErr);
  EXPECT_EQ(srb.SRB_Status, kSsErr);
  EXPECT_EQ(srb.SRB_TargStat, 0x02);
  EXPECT_EQ(srb.SenseArea[13], 0x70);
  EXPECT_EQ(srb.SenseArea[14], 0x00);

  exchange.header.status = 0;
  exchange.header.sb_len_wr = 0;
  EXPECT_EQ(CompleteAspiExchange(exchange, &srb), kSsComp);
  EXPECT_EQ(srb.SRB_HaStat, kHaStatOk);

  // A request block that asks for no sense gets none.
  srb = AspiInquiry(data);
  ASSERT_EQ(PrepareAspiExchange(srb, &exchange), kSsComp);
  exchange.sense.fill(0x70);
  exchange.header.status = 0x02;
  exchange.header.sb_len_wr = 18;
  EXPECT_EQ(CompleteAspiExchange(exchange, &srb), kSsErr);
  EXPECT_EQ(srb.SenseArea[0], 0);
}

TEST(AspiExchange, HostFailuresWithStatusGoodAreErrorsInHaStat) {
  const struct {
    unsigned host;
    unsigned driver;
    Byte haStat;
  } cases[] = {
      {kHostNoConnect, 0, kHaStatSelectionTimeout},
      {kHostBadTarget, 0, kHaStatSelectionTimeout},
      {kHostTimeOut, 0, kHaStatCommandTimeout},
      {kHostAbort, 0, kHaStatCommandTimeout},
      {kHostBusBusy, 0, kHaStatBusFree},
      {kHostParity, 0, kHaStatParityError},
      {kHostReset, 0, kHaStatBusReset},
      {0x07, 0, kHaStatPhaseError},
      {0x0E, 0, kHaStatPhaseError},
      {0, kDriverTimeout, kHaStatCommandTimeout},
      {0, 0x04, kHaStatPhaseError},
  };
  Byte data[96] = {};
  for (const auto& c : cases) {
    auto srb = AspiInquiry(data);
    AspiExchange exchange;
    ASSERT_EQ(PrepareAspiExchange(srb, &exchange), kSsComp);
    exchange.header.host_status = static_cast<unsigned short>(c.host);
    exchange.header.driver_status = static_cast<unsigned short>(c.driver);
    EXPECT_EQ(CompleteAspiExchange(exchange, &srb), kSsErr) << c.host << "/" << c.driver;
    EXPECT_EQ(srb.SRB_HaStat, c.haStat) << c.host << "/" << c.driver;
    EXPECT_EQ(srb.SRB_TargStat, 0);
  }
}

}  // namespace
}  // namespace platform
