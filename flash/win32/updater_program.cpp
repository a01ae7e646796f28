// The Win32 updater's start-up, loop and exit.
#include "flash/win32/updater_program.h"

#include <memory>

#include "drvcmd/notice.h"
#include "flash/updater.h"
#include "flash/win32/open_file_dialog.h"
#include "flash/win32/pixel_image.h"
#include "flash/win32/registry_settings.h"
#include "flash/win32/shell_registration.h"
#include "flash/win32/updater_frame.h"
#include "flash/window/recent_file_list.h"
#include "resources/flash/toolbar_images.h"
#include "startup/startup_platform.h"

namespace flash {
namespace {

// Room for this program's own path with the "A" calls.
constexpr DWORD kModulePathCapacity = 1024;

bool IsSwitch(const std::string& argument) {
  return !argument.empty() && (argument.front() == '/' || argument.front() == '-');
}

std::string ThisProgramPath() {
  char path[kModulePathCapacity] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, kModulePathCapacity);
  return length > 0 && length < kModulePathCapacity ? std::string(path, length) : std::string();
}

}  // namespace

std::vector<std::string> DocumentArguments(const std::vector<std::string>& arguments) {
  std::vector<std::string> documents;
  for (const std::string& argument : arguments) {
    if (!IsSwitch(argument)) documents.push_back(argument);
  }
  return documents;
}

bool PrintRequested(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "/p" || argument == "/pt" || argument == "-p" || argument == "-pt") return true;
  }
  return false;
}

int RunWin32UpdaterProgram(ui::win32::Win32WindowSystem& windows, const Win32UpdaterBuild& build,
                           const std::vector<std::string>& arguments) {
  const AppVariant& variant = build.variant;
  windows.SetApplicationTitle(variant.applicationTitle);
  windows.SetApplicationIcon(IconImageOf(resources::ProgramIcon()));

  std::string error;
  std::unique_ptr<platform::Platform> system = startup::OpenStartupPlatform(&error);
  if (system == nullptr) {
    windows.MessageBox(error.empty() ? std::string("The platform could not be opened.") : error,
                       std::string(), drvcmd::kMbIconHand);
    return 1;
  }

  RegistrySettings settings(variant.settingsKey, variant.applicationTitle);
  RecentFileList recentFiles(settings, variant.recentFileCount);
  recentFiles.Load();
  Win32OpenFileDialog fileDialog;
  Win32UpdaterFrame frame(variant, windows, fileDialog, recentFiles);
  Updater updater(variant.procedure, *system, frame.View());
  const int startResult = updater.Start();
  if (startResult != 0) {
    windows.MessageBox(Updater::StartupMessage(startResult), std::string(), drvcmd::kMbOk);
    return 1;
  }
  frame.View().AttachUpdater(&updater);

  // Like the framework's, a failed registration is not reported.
  RegisterShellDocumentType(build.documentString, ThisProgramPath());

  std::unique_ptr<platform::SystemInfoComponent> systemInfo;
  if (variant.hasSystemInfo) {
    // A component that cannot be created is not reported here: System Info says so.
    systemInfo = system->SystemInfoComponents().CreateSystemInfoComponent();
    frame.SetSystemInfoComponent(systemInfo.get());
  }

  if (!frame.Create()) {
    updater.Stop();
    return 1;
  }
  fileDialog.SetOwner(frame.Window().Handle());

  const std::vector<std::string> documents = DocumentArguments(arguments);
  if (!documents.empty()) {
    if (!frame.Documents().OpenDocument(documents.front())) {
      updater.Stop();
      return 1;
    }
    // The document holds nothing to print: the printing run ends here.
    if (PrintRequested(arguments)) {
      updater.Stop();
      return 0;
    }
  } else {
    frame.Documents().NewDocument();
  }

  ::ShowWindow(frame.Window().Handle(), SW_SHOWNORMAL);
  ::UpdateWindow(frame.Window().Handle());
  const int exitCode = frame.Window().RunMessageLoop();
  updater.Stop();
  return exitCode;
}

}  // namespace flash
