// Printing of the sense triple.
#include "drvcmd/scsi_request.h"

#include <cstdio>

namespace drvcmd {

std::string FormatSenseTriple(const SenseTriple& triple) {
  char text[16];
  std::snprintf(text, sizeof(text), "%02x-%02x-%02x", triple.senseKeyByte, triple.asc, triple.ascq);
  return text;
}

}  // namespace drvcmd
