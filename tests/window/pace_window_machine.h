// The machine the speed utility's window tests run on (both hosts' tests).
#pragma once

namespace window_test {

// D: a KD-310 in quiet mode with a CD in it; E: a KD-410 without a disc.
inline constexpr char kPaceMachine[] = R"({
  "adapters": [{"number": 0, "identifier": "ESDI_506"}],
  "devices": [
    {"letter": "D", "adapter": 0, "target": 0, "model": "KD-310", "disc": "cd",
     "speedMode": "quiet"},
    {"letter": "E", "adapter": 0, "target": 1, "model": "KD-410"}
  ]})";

}  // namespace window_test
