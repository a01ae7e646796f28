// Two programs on one machine file, as a user runs them: dvdspeed waits at its
// spindle question while dvdregion sets the region of the same drive. Both
// changes must be in the file afterwards. The interleaving is driven through
// dvdspeed's terminal (a pseudo-terminal this test holds), never by timing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "emulator/emulated_drive.h"
#include "emulator/emulated_machine.h"

namespace {

// Only against a hang: the question comes at once.
constexpr int kQuestionTimeoutMs = 60000;
// The spindle question, in the words the program shows.
constexpr char kQuestionEnd[] = "the spindle is stoped.";

struct Child {
  pid_t pid = -1;
  int errorPipe = -1;  // the child's standard error
};

// Starts a program on the machine file with the given standard input; its
// standard error comes back through a pipe.
Child Start(const std::string& program, const std::vector<std::string>& arguments,
            const std::string& machine, int input) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(input, STDIN_FILENO);
    ::dup2(pipeFds[1], STDERR_FILENO);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::setenv("DVDUTIL_MACHINE", machine.c_str(), 1);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  return {pid, pipeFds[0]};
}

// Reads the child's standard error until `end` has come (true) or it closed.
bool ReadUntil(int fd, const std::string& end, std::string* text) {
  char buffer[256];
  while (text->find(end) == std::string::npos) {
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, kQuestionTimeoutMs) <= 0) return false;
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    text->append(buffer, static_cast<std::size_t>(n));
  }
  return true;
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

int ExitStatus(const Child& child, std::string* rest) {
  ReadUntil(child.errorPipe, std::string(1, '\0'), rest);  // to its end
  ::close(child.errorPipe);
  int status = 0;
  ::waitpid(child.pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(TwinsSharedMachine, SpeedModeAndRegionSetMeanwhileAreBothKept) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("emu_twins_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string machine = (folder / "demo.json").string();
  std::filesystem::copy_file(DVDUTIL_SOURCE_DIR "/emulator/machines/demo.json", machine);

  // dvdspeed asks on a terminal only: its input is a pseudo-terminal.
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  const int terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  const Child speed = Start(DVDSPEED_PATH, {"--quiet", "--permanent", "D"}, machine, terminal);
  ::close(terminal);
  ASSERT_GT(speed.pid, 0);
  std::string speedText;
  ASSERT_TRUE(ReadUntil(speed.errorPipe, kQuestionEnd, &speedText)) << speedText;

  // dvdspeed has loaded the machine and waits: dvdregion runs to its end.
  const int none = ::open("/dev/null", O_RDONLY);
  const Child region = Start(DVDREGION_PATH, {"--set", "3", "D"}, machine, none);
  ::close(none);
  std::string regionText;
  EXPECT_EQ(ExitStatus(region, &regionText), 0) << regionText;

  const std::string ok = "ok\n";
  ASSERT_EQ(::write(master, ok.data(), ok.size()), static_cast<ssize_t>(ok.size()));
  EXPECT_EQ(ExitStatus(speed, &speedText), 0) << speedText;
  ::close(master);

  emu::MachineOptions options;
  options.readOnly = true;
  std::string error;
  auto reloaded = emu::EmulatedMachine::LoadFile(machine, options, &error);
  ASSERT_NE(reloaded, nullptr) << error;
  const emu::EmulatedDrive& d = *reloaded->DriveAtLetter('D');
  EXPECT_EQ(d.Region().mask, 0xFB) << "region 3";
  EXPECT_EQ(d.Region().userChanges, 4);
  EXPECT_EQ(d.Speed().permanentMode, emu::SpeedMode::kQuiet);
  std::filesystem::remove_all(folder);
}

// A read-only machine file: each twin's permanent change fails with exit status
// 1 and names the file and the reason; the file stays as it was.
TEST(TwinsSharedMachine, ChangeToAReadOnlyMachineFileFailsAndNamesIt) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("emu_twins_ro_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string machine = (folder / "demo.json").string();
  std::filesystem::copy_file(DVDUTIL_SOURCE_DIR "/emulator/machines/demo.json", machine);
  std::filesystem::permissions(machine, std::filesystem::perms::owner_read |
                                            std::filesystem::perms::group_read |
                                            std::filesystem::perms::others_read);
  const std::string reason = machine + ": cannot be written: the file is read-only";
  const std::string before = Contents(machine);
  const std::vector<std::pair<std::string, std::vector<std::string>>> runs = {
      {DVDREGION_PATH, {"--set", "3", "D"}},
      {DVDSPEED_PATH, {"--quiet", "--permanent", "--yes", "D"}},
  };
  for (const auto& [program, arguments] : runs) {
    SCOPED_TRACE(program);
    const int none = ::open("/dev/null", O_RDONLY);
    const Child child = Start(program, arguments, machine, none);
    ::close(none);
    std::string text;
    EXPECT_EQ(ExitStatus(child, &text), 1) << text;
    EXPECT_NE(text.find("The change to drive D: cannot be kept."), std::string::npos) << text;
    EXPECT_NE(text.find(reason), std::string::npos) << text;
  }
  EXPECT_EQ(Contents(machine), before);
  std::filesystem::remove_all(folder);
}

}  // namespace
