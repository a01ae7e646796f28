// Reads a machine file's JSON into a checked MachineDescription. Every error
// names the file and the line (syntax) or the field (content).
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "emulator/machine_description.h"

namespace emu {

// JSON text to a value; a syntax error reads "name: line L, column C: ...".
bool ParseJsonText(const std::string& text, const std::string& name, nlohmann::json* out,
                   std::string* error);

bool ParseMachineJson(const nlohmann::json& root, const std::string& name, MachineDescription* out,
                      std::string* error);

bool ParseMachineText(const std::string& text, const std::string& name, MachineDescription* out,
                      std::string* error);

// "05-24-00": sense key byte, ASC and ASCQ in hexadecimal.
bool ParseSenseText(const std::string& text, SenseCode* out);

}  // namespace emu
