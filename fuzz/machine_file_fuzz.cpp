// Fuzzes the machine-file parser: any text must end in a description or in
// an error that says what is wrong, never in a crash, a hang or an exception.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "emulator/machine_file_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  emu::MachineDescription description;
  std::string error;
  const bool parsed = emu::ParseMachineText(text, "fuzz.json", &description, &error);
  if (!parsed && error.empty()) {
    std::fprintf(stderr, "machine_file_fuzz: refused without an error text\n");
    std::abort();
  }
  return 0;
}
