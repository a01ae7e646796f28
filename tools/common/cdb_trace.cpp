// The -v lines.
#include "tools/common/cdb_trace.h"

#include <algorithm>
#include <cstdio>

namespace tools {
namespace {

constexpr std::size_t kSenseShown = 18;  // fixed-format sense with its additional bytes
constexpr std::size_t kDataShown = 64;

std::string HexBytes(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, i == 0 ? "%02x" : " %02x", bytes[i]);
    text += byte;
  }
  return text;
}

const char* OutcomeName(int outcome) {
  switch (outcome) {
    case drvcmd::kOutcomeGood:
      return "good";
    case drvcmd::kOutcomeCheckCondition:
      return "check condition";
    default:
      return "failed";
  }
}

}  // namespace

void CdbTrace::RequestDone(const drvcmd::ScsiRequest& request, int outcome) {
  const std::size_t cdbLength = std::min<std::size_t>(request.cdbLength, request.cdb.size());
  err_ << tool_ << ": cdb: " << HexBytes(request.cdb.data(), cdbLength);
  if (request.address.letter != 0) {
    err_ << " (drive " << request.address.letter << ":)\n";
  } else {
    err_ << " (ASPI " << int{request.address.adapter} << ':' << int{request.address.target}
         << ")\n";
  }
  char status[8];
  std::snprintf(status, sizeof status, "%02x", request.scsiStatus);
  const drvcmd::SenseTriple sense = drvcmd::SenseTripleFrom(request.sense.data());
  err_ << tool_ << ":   " << OutcomeName(outcome) << ", status " << status << ", sense "
       << drvcmd::FormatSenseTriple(sense) << ", " << request.transferLength << " bytes asked";
  // Only the pass-through record reports how many bytes moved.
  if (request.address.letter != 0) err_ << ", " << request.transferred << " moved";
  err_ << '\n';
  if (verbosity_ < 2) return;
  err_ << tool_ << ":   sense: " << HexBytes(request.sense.data(), kSenseShown) << '\n';
  if (request.direction == drvcmd::DataDirection::kIn && request.buffer != nullptr &&
      outcome == drvcmd::kOutcomeGood) {
    const std::size_t shown = std::min<std::size_t>(request.transferLength, kDataShown);
    err_ << tool_ << ":   data: " << HexBytes(request.buffer, shown)
         << (request.transferLength > shown ? " ..." : "") << '\n';
  }
}

}  // namespace tools
