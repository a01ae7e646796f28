// flashaspi's document type with the shell, per user: the type key with its
// description, default icon and open, print and print-to commands, and the
// extension when it is free or ours already. flashspti's document string
// names no type, so nothing is written for it.
#pragma once

#include <string>
#include <string_view>

namespace flash {

// Where the classes go. The program writes the user's classes and reads the
// current association as the shell sees it (user and machine merged); tests
// point both at a key of their own.
struct ShellClasses {
  std::string userPath = "Software\\Classes";  // under HKEY_CURRENT_USER
  bool readMerged = true;                      // read associations from HKEY_CLASSES_ROOT
};

// False when the registry refused a write; nothing is reported to the user.
bool RegisterShellDocumentType(std::string_view documentString, const std::string& executablePath,
                               const ShellClasses& classes = {});

}  // namespace flash
