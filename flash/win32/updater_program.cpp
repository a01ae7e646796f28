// The Win32 updater's start-up, loop and exit.
#include "flash/win32/updater_program.h"

#include "drvcmd/notice.h"
#include "flash/win32/open_file_dialog.h"
#include "flash/win32/pixel_image.h"
#include "flash/win32/registry_settings.h"
#include "flash/win32/shell_registration.h"
#include "resources/flash/toolbar_images.h"
#include "startup/window_startup.h"
#include "ui/win32/win32_window_snapshot.h"

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

Win32UpdaterApp::Win32UpdaterApp(const AppVariant& variant, ui::win32::Win32WindowSystem& windows,
                                 platform::Platform& system, SettingsStore& settings,
                                 OpenFileDialog& fileDialog)
    : variant_(variant),
      windows_(windows),
      system_(system),
      recentFiles_(settings, variant.recentFileCount),
      frame_(variant, windows, fileDialog, recentFiles_),
      updater_(variant.procedure, system, frame_.View()) {}

Win32UpdaterApp::~Win32UpdaterApp() { Stop(); }

int Win32UpdaterApp::Start(const std::vector<std::string>& arguments) {
  const int startResult = updater_.Start();
  if (startResult != 0) {
    windows_.MessageBox(Updater::StartupMessage(startResult), std::string(), drvcmd::kMbOk);
    return startResult;
  }
  started_ = true;
  frame_.View().AttachUpdater(&updater_);
  recentFiles_.Load();

  if (variant_.hasSystemInfo) {
    // A component that cannot be created is not reported here: System Info says so.
    systemInfo_ = system_.SystemInfoComponents().CreateSystemInfoComponent();
    frame_.SetSystemInfoComponent(systemInfo_.get());
  }

  if (!frame_.Create()) {
    Stop();
    return -1;
  }
  const std::vector<std::string> documents = DocumentArguments(arguments);
  if (documents.empty()) {
    frame_.Documents().NewDocument();
  } else if (!frame_.Documents().OpenDocument(documents.front())) {
    Stop();
    return -1;
  }
  return 0;
}

void Win32UpdaterApp::Stop() {
  if (!started_) return;
  started_ = false;
  updater_.Stop();
}

int RunWin32UpdaterProgram(ui::win32::Win32WindowSystem& windows, const Win32UpdaterBuild& build,
                           const std::vector<std::string>& arguments) {
  const AppVariant& variant = build.variant;
  windows.SetApplicationTitle(variant.applicationTitle);
  windows.SetApplicationIcon(IconImageOf(resources::ProgramIcon()));

  std::unique_ptr<platform::Platform> system = startup::OpenPlatformForWindows(windows);
  if (system == nullptr) return 1;

  RegistrySettings settings(variant.settingsKey, variant.applicationTitle);
  Win32OpenFileDialog fileDialog;
  Win32UpdaterApp app(variant, windows, *system, settings, fileDialog);
  if (app.Start(arguments) != 0) return 1;
  HWND frame = app.Frame().Window().Handle();
  fileDialog.SetOwner(frame);
  // Like the framework's, a failed registration is not reported.
  RegisterShellDocumentType(build.documentString, ThisProgramPath());
  // The document holds nothing to print: a printing run ends once it is open.
  if (PrintRequested(arguments) && !DocumentArguments(arguments).empty()) return 0;

  ::ShowWindow(frame, SW_SHOWNORMAL);
  ::UpdateWindow(frame);
  ui::win32::ArmWindowSnapshot(frame);
  const int exitCode = app.Frame().Window().RunMessageLoop();
  app.Stop();
  return exitCode;
}

}  // namespace flash
