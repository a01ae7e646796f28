// The messages of a failed transport start, shared by every program and tool.
#include "drvcmd/transport.h"

namespace drvcmd {

const char* StartTransportMessage(int startResult) {
  switch (startResult) {
    case kStartOk:
      return "";
    case kStartMemoryError:
      return "Memory Allocation Error";
    case kStartAspiLoadError:
      return "WNASPI32.DLL Load Error or is not found";
    case kStartAspiInitError:
      return "ASPI Initialize Error or Available device is not found";
    default:
      return "Generic error occured";
  }
}

}  // namespace drvcmd
