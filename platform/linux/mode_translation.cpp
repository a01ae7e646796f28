// 6-byte MODE commands sent in their 10-byte forms.
#include "platform/linux/mode_translation.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// The mode data length counts the bytes that follow the field itself.
constexpr std::size_t kHeader6DataLengthSize = 1;
constexpr std::size_t kHeader10DataLengthSize = 2;
constexpr std::size_t kMaxByteValue = 0xFF;

static_assert(kHeader10BlockDescriptorLength + 2 == kModeHeader10Size);
static_assert(kHeader6BlockDescriptorLength + 1 == kModeHeader6Size);

std::size_t GetBe16(const unsigned char* bytes) { return (std::size_t{bytes[0]} << 8) | bytes[1]; }

void PutBe16(unsigned char* bytes, std::size_t value) {
  bytes[0] = static_cast<unsigned char>(value >> 8);
  bytes[1] = static_cast<unsigned char>(value);
}

unsigned char ClampToByte(std::size_t value) {
  return static_cast<unsigned char>(std::min(value, kMaxByteValue));
}

bool IsModeSense(const unsigned char* cdb) { return cdb[0] == kOpModeSense6; }

// How many bytes of the 6-byte answer a 10-byte answer of `received` bytes
// gives: a header cut short gives only the fields it holds whole.
std::size_t SixByteLengthOf(std::size_t received) {
  if (received >= kModeHeader10Size) return received - kModeHeaderGrowth;
  if (received > kHeader10DeviceSpecific) return kHeader6DeviceSpecific + 1;
  if (received > kHeader10MediumType) return kHeader6MediumType + 1;
  if (received >= kHeader10DataLength + kHeader10DataLengthSize) return kHeader6DataLength + 1;
  return 0;
}

// The 10-byte length of `length` bytes in the 6-byte form (0 stays 0).
std::size_t TenByteLengthOf(std::size_t length) {
  return length == 0 ? 0 : length + kModeHeaderGrowth;
}

// One 6-byte MODE command on its way in the 10-byte form.
struct TenByteCommand {
  sg_io_hdr_t header{};
  std::array<unsigned char, kModeCdb10Length> cdb{};
  std::array<unsigned char, kModeTranslatedMaxLength> data{};
};

void BuildCommand(const sg_io_hdr_t& six, TenByteCommand* ten) {
  const unsigned char* cdb6 = six.cmdp;
  const bool sense = IsModeSense(cdb6);
  ten->cdb[0] = sense ? kOpModeSense10 : kOpModeSelect10;
  ten->cdb[kModeCdbFlagsByte] = static_cast<unsigned char>(
      cdb6[kModeCdbFlagsByte] & (sense ? kModeSense6FlagsMask : kModeSelectFlagsMask));
  ten->cdb[kModeCdbPageByte] = cdb6[kModeCdbPageByte];
  ten->cdb[kModeCdbSubpageByte] = cdb6[kModeCdbSubpageByte];
  PutBe16(&ten->cdb[kModeCdb10LengthByte], TenByteLengthOf(cdb6[kModeCdb6LengthByte]));
  ten->cdb[kModeCdb10ControlByte] = cdb6[kModeCdb6ControlByte];

  ten->header = six;
  ten->header.cmdp = ten->cdb.data();
  ten->header.cmd_len = kModeCdb10Length;
  ten->header.iovec_count = 0;
  // The caller's buffer bounds the transfer, as it would the 6-byte one.
  const std::size_t length6 = std::min<std::size_t>(six.dxfer_len, cdb6[kModeCdb6LengthByte]);
  const bool hasData = length6 != 0 && six.dxferp != nullptr;
  ten->header.dxfer_len = hasData ? static_cast<unsigned>(TenByteLengthOf(length6)) : 0;
  ten->header.dxferp = hasData ? ten->data.data() : nullptr;
  ten->header.dxfer_direction = hasData ? six.dxfer_direction : SG_DXFER_NONE;
  if (sense || !hasData) return;

  // MODE SELECT: the parameter list moves behind the longer header; its mode
  // data length is reserved (0) in both forms.
  const auto* list6 = static_cast<const unsigned char*>(six.dxferp);
  unsigned char* list10 = ten->data.data();
  if (length6 > kHeader6MediumType) list10[kHeader10MediumType] = list6[kHeader6MediumType];
  if (length6 > kHeader6DeviceSpecific) {
    list10[kHeader10DeviceSpecific] = list6[kHeader6DeviceSpecific];
  }
  if (length6 > kHeader6BlockDescriptorLength) {
    PutBe16(&list10[kHeader10BlockDescriptorLength], list6[kHeader6BlockDescriptorLength]);
  }
  if (length6 > kModeHeader6Size) {
    std::memcpy(list10 + kModeHeader10Size, list6 + kModeHeader6Size, length6 - kModeHeader6Size);
  }
}

// MODE SENSE: the 10-byte answer of `received` bytes into the caller's
// buffer in the 6-byte form; the bytes delivered.
std::size_t DeliverAnswer(const TenByteCommand& ten, std::size_t received, sg_io_hdr_t* six) {
  const unsigned char* answer10 = ten.data.data();
  std::array<unsigned char, kModeTranslatedMaxLength> answer6{};
  const std::size_t length6 = std::min<std::size_t>(SixByteLengthOf(received), six->dxfer_len);
  if (length6 == 0) return 0;
  const std::size_t dataLength10 = GetBe16(&answer10[kHeader10DataLength]);
  // Both lengths count from the end of their own field: the whole answer is
  // the same but for the header growth.
  const std::size_t whole10 = dataLength10 + kHeader10DataLengthSize;
  const std::size_t whole6 = whole10 > kModeHeaderGrowth ? whole10 - kModeHeaderGrowth : 0;
  answer6[kHeader6DataLength] =
      ClampToByte(whole6 > kHeader6DataLengthSize ? whole6 - kHeader6DataLengthSize : 0);
  answer6[kHeader6MediumType] = answer10[kHeader10MediumType];
  answer6[kHeader6DeviceSpecific] = answer10[kHeader10DeviceSpecific];
  answer6[kHeader6BlockDescriptorLength] =
      ClampToByte(GetBe16(&answer10[kHeader10BlockDescriptorLength]));
  if (received > kModeHeader10Size) {
    std::memcpy(answer6.data() + kModeHeader6Size, answer10 + kModeHeader10Size,
                received - kModeHeader10Size);
  }
  std::memcpy(six->dxferp, answer6.data(), length6);
  return length6;
}

void DeliverResults(const TenByteCommand& ten, sg_io_hdr_t* six) {
  const sg_io_hdr_t& done = ten.header;
  six->status = done.status;
  six->masked_status = done.masked_status;
  six->msg_status = done.msg_status;
  six->host_status = done.host_status;
  six->driver_status = done.driver_status;
  six->sb_len_wr = done.sb_len_wr;  // the sense went straight to the caller's buffer
  six->duration = done.duration;
  six->info = done.info;

  const std::size_t resid = done.resid > 0 ? static_cast<std::size_t>(done.resid) : 0;
  const std::size_t moved = done.dxfer_len - std::min<std::size_t>(resid, done.dxfer_len);
  std::size_t delivered = 0;
  if (done.dxferp != nullptr) {
    delivered = IsModeSense(six->cmdp)
                    ? DeliverAnswer(ten, moved, six)
                    : std::min<std::size_t>(SixByteLengthOf(moved), six->dxfer_len);
  }
  six->resid = static_cast<int>(six->dxfer_len - delivered);
}

}  // namespace

bool IsSixByteModeCommand(const unsigned char* cdb, std::size_t length) {
  return cdb != nullptr && length >= kModeCdb6Length &&
         (cdb[0] == kOpModeSense6 || cdb[0] == kOpModeSelect6);
}

int SendModeAsTenByte(sg_io_hdr_t* header, const std::function<int(sg_io_hdr_t*)>& send) {
  if (!IsSixByteModeCommand(header->cmdp, header->cmd_len) || header->iovec_count != 0) {
    return send(header);
  }
  TenByteCommand ten;
  BuildCommand(*header, &ten);
  const int rc = send(&ten.header);
  if (rc == 0) DeliverResults(ten, header);
  return rc;
}

}  // namespace platform
