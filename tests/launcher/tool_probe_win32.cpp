// A stand-in tool for toolgate's Win32 window test: writes the command line it
// was started with into "started-as.txt" beside itself, then ends.
#include <fstream>
#include <string>

#include "ui/win32/win32_api.h"

int main() {
  char self[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  std::string folder(self, length);
  folder.erase(folder.find_last_of('\\') + 1);
  std::ofstream(folder + "started-as.txt") << GetCommandLineA();
  return 0;
}
