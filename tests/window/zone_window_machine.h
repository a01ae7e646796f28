// The machines the region utility's window tests run on (both hosts' tests).
#pragma once

#include <string>

namespace window_test {

// A machine on one ATAPI adapter with `devices` (JSON objects, comma-separated)
// and `extra` top-level keys (each ending in a comma).
inline std::string ZoneMachine(const std::string& devices, const std::string& extra = {}) {
  return R"({"adapters": [{"number": 0, "identifier": "ESDI_506"}],)" + extra + R"("devices": [)" +
         devices + "]}";
}

// A drive that has no region yet.
inline constexpr char kInitialDrive[] =
    R"({"letter": "D", "adapter": 0, "target": 0, "model": "KD-410"})";
// A region 2 drive with four user changes left and a region 2 DVD in it.
inline constexpr char kRegion2Drive[] =
    R"({"letter": "E", "adapter": 0, "target": 1, "model": "KD-410",
        "region": {"typeCode": 1, "userChanges": 4, "mask": "0xFD"},
        "disc": {"type": "dvd", "regions": [2]}})";

}  // namespace window_test
