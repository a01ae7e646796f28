// Fuzzes the machine-file parser and the drive fields read when a machine is
// built from it: any text must end in a machine or in an error that says what
// is wrong, never in a crash, a hang, an escaped exception or a bare JSON
// library message.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "emulator/emulated_machine.h"
#include "emulator/machine_file_parser.h"

namespace {

void Expect(bool holds, const char* what, const std::string& error) {
  if (holds) return;
  std::fprintf(stderr, "machine_file_fuzz: %s: \"%s\"\n", what, error.c_str());
  std::abort();
}

constexpr char kLibraryTag[] = "[json.exception.";

// An exception of the JSON library that reached the user as it is: a field
// the reader did not check. (Unless the text itself holds the tag, which an
// error may quote.)
bool IsBareLibraryMessage(const std::string& error, const std::string& text) {
  return error.find(kLibraryTag) != std::string::npos &&
         text.find(kLibraryTag) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  emu::MachineDescription description;
  std::string error;
  const bool parsed = emu::ParseMachineText(text, "fuzz.json", &description, &error);
  Expect(parsed || !error.empty(), "refused without an error text", error);
  Expect(!IsBareLibraryMessage(error, text), "the parser let a library message through", error);
  if (!parsed) return 0;

  // The whole machine: the drives read their own fields. Nothing is written back.
  emu::MachineOptions options;
  options.fakeClock = true;
  options.readOnly = true;
  std::string buildError;
  const std::unique_ptr<emu::EmulatedMachine> machine =
      emu::EmulatedMachine::LoadText(text, "fuzz.json", options, &buildError);
  Expect(machine != nullptr || !buildError.empty(), "a machine refused without an error text",
         buildError);
  Expect(!IsBareLibraryMessage(buildError, text), "building let a library message through",
         buildError);
  return 0;
}
