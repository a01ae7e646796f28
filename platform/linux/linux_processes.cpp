// LinuxProcessService: spawn, exit watch, error codes.
#include "platform/linux/linux_processes.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <string>

#include "platform/win_errors.h"

namespace platform {

namespace {

// Flags that mean nothing on Linux but are accepted as on Windows.
constexpr Dword kAcceptedCreationFlags = kCreateDefaultErrorMode;
constexpr int kFirstNonStandardDescriptor = 3;

// posix_spawn's attribute and file-action records, released on every path.
class SpawnSettings {
 public:
  SpawnSettings() {
    ::posix_spawnattr_init(&attributes_);
    ::posix_spawn_file_actions_init(&actions_);
    // The program starts with no blocked signal and every handler at its default.
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    ::posix_spawnattr_setsigmask(&attributes_, &none);
    ::posix_spawnattr_setsigdefault(&attributes_, &all);
    ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnSettings() {
    ::posix_spawn_file_actions_destroy(&actions_);
    ::posix_spawnattr_destroy(&attributes_);
  }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;

  int ChangeFolder(const char* folder) {
    return ::posix_spawn_file_actions_addchdir_np(&actions_, folder);
  }
  // Only the standard descriptors pass, as no handle is inherited.
  int CloseInherited() {
    return ::posix_spawn_file_actions_addclosefrom_np(&actions_, kFirstNonStandardDescriptor);
  }
  int Spawn(pid_t* pid, const std::string& path, char* const* arguments, char* const* environment) {
    return ::posix_spawn(pid, path.c_str(), &actions_, &attributes_, arguments, environment);
  }

 private:
  posix_spawnattr_t attributes_{};
  posix_spawn_file_actions_t actions_{};
};

std::vector<char*> PointerList(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  pointers.reserve(texts.size() + 1);
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

bool IsFolder(const char* path) {
  struct stat info {};
  return ::stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

// The found program as a path from the root: the search is made from this
// program's current folder, while the new one may be started in another.
std::string FromRoot(const std::string& path) {
  if (path.empty() || path.front() == '/') return path;
  std::array<char, PATH_MAX> folder{};
  if (::getcwd(folder.data(), folder.size()) == nullptr) return path;
  return std::string(folder.data()) + "/" + path;
}

}  // namespace

// The kernel that exit signals go to, until the service is gone.
struct LinuxProcessService::ExitLink {
  std::mutex mutex;
  Kernel* kernel = nullptr;
};

struct LinuxProcessService::Watch {
  std::thread thread;
  std::shared_ptr<std::atomic<bool>> ended;
};

Dword Win32ErrorFromSpawn(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG:
      return kErrorFileNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
      return kErrorAccessDenied;
    case ENOEXEC:
    case ELIBBAD:
      return kErrorBadFormat;
    case ETXTBSY:
      return kErrorSharingViolation;
    case E2BIG:
      return kErrorBadEnvironment;
    case ENOMEM:
    case EAGAIN:
      return kErrorNotEnoughMemory;
    case EMFILE:
    case ENFILE:
      return kErrorTooManyOpenFiles;
    default:
      return kErrorGenFailure;
  }
}

LinuxProcessService::LinuxProcessService(Kernel& kernel, ProgramSearch search)
    : kernel_(kernel), search_(std::move(search)), link_(std::make_shared<ExitLink>()) {
  link_->kernel = &kernel_;
}

LinuxProcessService::~LinuxProcessService() {
  {
    std::lock_guard lock(link_->mutex);
    link_->kernel = nullptr;
  }
  std::lock_guard lock(watchesMutex_);
  for (Watch& watch : watches_) {
    // A watch of a process still running holds only the link; it ends with that process.
    if (watch.ended->load()) {
      watch.thread.join();
    } else {
      watch.thread.detach();
    }
  }
}

void LinuxProcessService::GetStartupInfoA(StartupInfoA* info) {
  // A Linux program gets no start-up settings: every field is "not given".
  if (info != nullptr) *info = StartupInfoA{};
}

Bool LinuxProcessService::Fail(Dword error) {
  kernel_.SetLastError(error);
  return kFalse;
}

Bool LinuxProcessService::CreateProcessA(const char* applicationName, char* commandLine,
                                         SecurityAttributes* /*processAttributes*/,
                                         SecurityAttributes* /*threadAttributes*/,
                                         Bool inheritHandles, Dword creationFlags,
                                         void* environment, const char* currentDirectory,
                                         StartupInfoA* /*startupInfo*/,
                                         ProcessInformation* processInformation) {
  if (processInformation == nullptr || (creationFlags & ~kAcceptedCreationFlags) != 0) {
    return Fail(kErrorInvalidParameter);
  }
  std::vector<std::string> arguments = SplitCommandLine(commandLine != nullptr ? commandLine : "");
  std::string name = applicationName != nullptr ? applicationName
                     : arguments.empty()        ? std::string()
                                                : arguments.front();
  if (name.empty()) return Fail(kErrorInvalidParameter);
  name = LinuxProgramName(name);
  const FoundProgram program = FindProgram(name, search_);
  if (program.path.empty()) return Fail(program.error);
  const std::string programPath = FromRoot(program.path);
  if (currentDirectory != nullptr && !IsFolder(currentDirectory)) return Fail(kErrorDirectory);

  // The program sees its own name first, as the command line gave it.
  if (arguments.empty()) {
    arguments.push_back(name);
  } else if (applicationName == nullptr) {
    arguments.front() = name;
  }
  std::vector<char*> argumentList = PointerList(arguments);
  std::vector<std::string> environmentEntries;
  std::vector<char*> environmentList;
  if (environment != nullptr) {
    environmentEntries = SplitEnvironmentBlock(static_cast<const char*>(environment));
    environmentList = PointerList(environmentEntries);
  }

  SpawnSettings settings;
  if (currentDirectory != nullptr && settings.ChangeFolder(currentDirectory) != 0) {
    return Fail(kErrorNotEnoughMemory);
  }
  if (inheritHandles == kFalse && settings.CloseInherited() != 0) {
    return Fail(kErrorNotEnoughMemory);
  }

  const Handle process = kernel_.CreateEventA(kTrue, kFalse);
  const Handle thread = process != kNullHandle ? kernel_.CreateEventA(kTrue, kFalse) : kNullHandle;
  if (thread == kNullHandle) {
    if (process != kNullHandle) kernel_.CloseHandle(process);
    return Fail(kErrorNotEnoughMemory);
  }
  pid_t pid = 0;
  const int spawnError = settings.Spawn(&pid, programPath, argumentList.data(),
                                        environment != nullptr ? environmentList.data() : environ);
  if (spawnError != 0) {
    kernel_.CloseHandle(thread);
    kernel_.CloseHandle(process);
    return Fail(Win32ErrorFromSpawn(spawnError));
  }
  WatchExit(pid, process, thread);
  processInformation->hProcess = process;
  processInformation->hThread = thread;
  processInformation->dwProcessId = static_cast<Dword>(pid);
  processInformation->dwThreadId = static_cast<Dword>(pid);  // the main thread's id is the pid
  return kTrue;
}

void LinuxProcessService::WatchExit(int pid, Handle process, Handle thread) {
  JoinEndedWatches();
  auto ended = std::make_shared<std::atomic<bool>>(false);
  std::thread watcher([link = link_, ended, pid, process, thread] {
    siginfo_t info{};
    // Ends when the process has ended and been reaped, or cannot be waited for
    // at all (a SIGCHLD set to be ignored reaps it for us): it is gone either way.
    while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED) != 0 && errno == EINTR) {
    }
    // From here on the thread never blocks for long: it may be joined.
    ended->store(true);
    std::lock_guard lock(link->mutex);
    if (link->kernel != nullptr) {
      link->kernel->SetEvent(thread);
      link->kernel->SetEvent(process);
    }
  });
  std::lock_guard lock(watchesMutex_);
  watches_.push_back(Watch{std::move(watcher), std::move(ended)});
}

void LinuxProcessService::JoinEndedWatches() {
  std::lock_guard lock(watchesMutex_);
  for (auto it = watches_.begin(); it != watches_.end();) {
    if (it->ended->load()) {
      it->thread.join();
      it = watches_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace platform
