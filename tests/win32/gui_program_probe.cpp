// A windowed program built as every windowed program is: exits with 6 when
// the comctl32 it is bound to is the side-by-side common controls 6 (what its
// manifest asks for), with 1 when it is the system's default one.
#include <cctype>
#include <string>

#include "ui/win32/win32_api.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  HMODULE comctl = nullptr;
  if (GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCSTR>(&InitCommonControlsEx), &comctl) == FALSE) {
    return 0;
  }
  char name[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(comctl, name, MAX_PATH);
  std::string path(name, length < MAX_PATH ? length : 0);
  for (char& c : path) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  // winsxs\x86_microsoft.windows.common-controls_<key>_6.0.<build>_...\comctl32.dll
  const bool version6 =
      path.find("microsoft.windows.common-controls_6595b64144ccf1df_6.") != std::string::npos;
  return version6 ? 6 : 1;
}
