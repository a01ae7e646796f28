// The real process start on Linux: the search order, the ".EXE" name, the
// failures and their codes, what the program is given, the wait on its
// handles and closing them. Programs are small shell scripts in temporary folders.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/linux/linux_kernel.h"
#include "platform/linux/linux_processes.h"
#include "platform/linux/native_system_reader.h"
#include "platform/win_errors.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class LinuxProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::path(::testing::TempDir()) /
           ("processes-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    for (const char* folder : {"own", "first", "second", "work"})
      fs::create_directories(root / folder);
    search.programFolder = (root / "own").string();
    search.searchPath = (root / "first").string() + ":" + (root / "second").string();
  }
  void TearDown() override { fs::remove_all(root); }

  // A script that writes `text` (shell words expanded) into out.txt of the root.
  void WriteProgram(const fs::path& path, const std::string& text,
                    fs::perms mode = fs::perms(0755)) {
    std::ofstream(path) << "#!/bin/sh\necho " << text << " > '" << (root / "out.txt").string()
                        << "'\n";
    fs::permissions(path, mode);
  }
  std::string Output() {
    std::ifstream file(root / "out.txt");
    std::string text;
    std::getline(file, text);
    return text;
  }

  // CreateProcessA as the launcher calls it, then a wait for the program's end.
  Bool StartAndWait(const std::string& commandLine, ProcessInformation* info,
                    const char* environment = nullptr, const char* folder = nullptr,
                    Dword flags = 0) {
    std::string line = commandLine;
    StartupInfoA startup;
    service.GetStartupInfoA(&startup);
    const Bool created =
        service.CreateProcessA(nullptr, line.data(), nullptr, nullptr, kFalse, flags,
                               const_cast<char*>(environment), folder, &startup, info);
    if (created != kFalse) {
      EXPECT_EQ(kernel.WaitForSingleObject(info->hProcess, kInfinite), kWaitObject0);
    }
    return created;
  }

  fs::path root;
  ProgramSearch search;
  LinuxKernel kernel;
  LinuxProcessService service{kernel, ProgramSearch{}};
};

class SearchingProcessTest : public LinuxProcessTest {
 protected:
  void SetUp() override {
    LinuxProcessTest::SetUp();
    searching = std::make_unique<LinuxProcessService>(kernel, search);
  }
  Bool Start(const std::string& commandLine, ProcessInformation* info) {
    std::string line = commandLine;
    StartupInfoA startup;
    const Bool created = searching->CreateProcessA(nullptr, line.data(), nullptr, nullptr, kFalse,
                                                   0, nullptr, nullptr, &startup, info);
    if (created != kFalse) kernel.WaitForSingleObject(info->hProcess, kInfinite);
    return created;
  }
  std::unique_ptr<LinuxProcessService> searching;
};

TEST_F(SearchingProcessTest, OwnFolderComesFirstThenTheSearchPathInOrder) {
  WriteProgram(root / "own" / "flashspti", "own");
  WriteProgram(root / "first" / "flashspti", "first");
  WriteProgram(root / "second" / "zonespti", "second");
  WriteProgram(root / "first" / "pacespti", "first");
  WriteProgram(root / "second" / "pacespti", "second");
  ProcessInformation info;
  ASSERT_EQ(Start("flashspti.EXE", &info), kTrue);
  EXPECT_EQ(Output(), "own");
  ASSERT_EQ(Start("zonespti.EXE", &info), kTrue);
  EXPECT_EQ(Output(), "second");
  ASSERT_EQ(Start("pacespti.EXE", &info), kTrue);
  EXPECT_EQ(Output(), "first");
}

TEST_F(SearchingProcessTest, ExeNameFindsTheProgramWithoutExtensionInAnyCase) {
  WriteProgram(root / "own" / "flashaspi", "plain");
  ProcessInformation info;
  ASSERT_EQ(Start("flashaspi.exe", &info), kTrue);
  EXPECT_EQ(Output(), "plain");
  ASSERT_EQ(Start("flashaspi", &info), kTrue);
  // The extension is taken off, not anything else: "flashaspi.EXE.EXE" is another name.
  EXPECT_EQ(Start("flashaspi.EXE.EXE", &info), kFalse);
  EXPECT_EQ(kernel.GetLastError(), kErrorFileNotFound);
}

TEST_F(SearchingProcessTest, FailuresGiveTheirWin32Codes) {
  ProcessInformation info;
  EXPECT_EQ(Start("zoneaspi.EXE", &info), kFalse);
  EXPECT_EQ(kernel.GetLastError(), kErrorFileNotFound);

  WriteProgram(root / "own" / "paceaspi", "x", fs::perms(0644));
  EXPECT_EQ(Start("paceaspi.EXE", &info), kFalse);
  EXPECT_EQ(kernel.GetLastError(), kErrorAccessDenied);
  // A runnable one further along the search is still found.
  WriteProgram(root / "second" / "paceaspi", "second");
  EXPECT_EQ(Start("paceaspi.EXE", &info), kTrue);
  EXPECT_EQ(Output(), "second");

  std::ofstream(root / "own" / "garbage") << "\x7f"
                                             "ELF not really a program\n";
  fs::permissions(root / "own" / "garbage", fs::perms(0755));
  EXPECT_EQ(Start("garbage.EXE", &info), kFalse);
  EXPECT_EQ(kernel.GetLastError(), kErrorBadFormat);

  fs::create_directories(root / "own" / "folder");
  EXPECT_EQ(Start("folder", &info), kFalse);
  EXPECT_EQ(kernel.GetLastError(), kErrorAccessDenied);

  EXPECT_EQ(Start("   ", &info), kFalse);
  EXPECT_EQ(kernel.GetLastError(), kErrorInvalidParameter);
}

TEST_F(LinuxProcessTest, ProgramGetsItsArgumentsEnvironmentAndFolder) {
  const fs::path program = root / "own" / "show";
  WriteProgram(program, "\"$0|$1|$2|$MARK|$(pwd)\"");
  ProcessInformation info;
  const std::string line = "\"" + program.string() + "\" one \"two words\"";
  const char environment[] = "MARK=passed\0OTHER=1\0";
  const std::string folder = (root / "work").string();
  ASSERT_EQ(StartAndWait(line, &info, environment, folder.c_str()), kTrue);
  EXPECT_EQ(Output(), program.string() + "|one|two words|passed|" + folder);
  EXPECT_NE(info.dwProcessId, 0u);
  EXPECT_EQ(info.dwThreadId, info.dwProcessId);
}

TEST_F(LinuxProcessTest, ProgramFoundThroughARelativeFolderRunsInAnotherFolder) {
  // The search is made from this program's folder, so the program found there
  // is the one that runs, whatever folder the program is started in.
  WriteProgram(root / "first" / "reltool", "\"$(pwd)\"");
  ProgramSearch relative;
  relative.searchPath = fs::relative(root / "first").string();
  ASSERT_NE(relative.searchPath.front(), '/') << "the test needs a relative search path";
  LinuxProcessService relativeService{kernel, relative};
  // Deep enough that the relative folder, read from there, names another place.
  fs::path deep = root / "work";
  for (const fs::path& part : fs::path(relative.searchPath)) deep /= part == ".." ? "d" : "";
  deep /= "d";
  fs::create_directories(deep);
  const std::string folder = deep.string();
  std::string line = "reltool.EXE";
  StartupInfoA startup;
  ProcessInformation info;
  ASSERT_EQ(relativeService.CreateProcessA(nullptr, line.data(), nullptr, nullptr, kFalse, 0,
                                           nullptr, folder.c_str(), &startup, &info),
            kTrue)
      << kernel.GetLastError();
  EXPECT_EQ(kernel.WaitForSingleObject(info.hProcess, kInfinite), kWaitObject0);
  EXPECT_EQ(Output(), folder);
}

TEST_F(LinuxProcessTest, RefusesFlagsItCannotHonourAndAFolderThatIsNone) {
  WriteProgram(root / "own" / "tool", "ran");
  const std::string path = (root / "own" / "tool").string();
  ProcessInformation info;
  EXPECT_EQ(StartAndWait(path, &info, nullptr, nullptr, 0x00000004 /* CREATE_SUSPENDED */), kFalse);
  EXPECT_EQ(kernel.GetLastError(), kErrorInvalidParameter);
  const std::string notFolder = (root / "nowhere").string();
  EXPECT_EQ(StartAndWait(path, &info, nullptr, notFolder.c_str()), kFalse);
  EXPECT_EQ(kernel.GetLastError(), kErrorDirectory);
  EXPECT_EQ(Output(), "");
  EXPECT_EQ(StartAndWait(path, &info, nullptr, nullptr, kCreateDefaultErrorMode), kTrue);
  EXPECT_EQ(Output(), "ran");
}

TEST_F(LinuxProcessTest, NoDescriptorOfTheLauncherIsInherited) {
  const int inheritable = ::open("/dev/null", O_RDONLY);  // deliberately without O_CLOEXEC
  ASSERT_GE(inheritable, 3);
  const fs::path program = root / "own" / "fds";
  // Looked at before the shell opens anything of its own.
  std::ofstream(program) << "#!/bin/sh\nif [ -e /proc/$$/fd/" << inheritable
                         << " ]; then r=open; else r=closed; fi\necho $r > '"
                         << (root / "out.txt").string() << "'\n";
  fs::permissions(program, fs::perms(0755));
  ProcessInformation info;
  ASSERT_EQ(StartAndWait(program.string(), &info), kTrue);
  ::close(inheritable);
  EXPECT_EQ(Output(), "closed");
}

TEST_F(LinuxProcessTest, HandlesAreSignalledOnlyWhenTheProgramEndsAndCloseOnce) {
  const fs::path release = root / "release";
  const fs::path program = root / "own" / "waiter";
  std::ofstream(program) << "#!/bin/sh\nwhile [ ! -e '" << release.string()
                         << "' ]; do sleep 0.02; done\n";
  fs::permissions(program, fs::perms(0755));
  std::string line = program.string();
  StartupInfoA startup;
  ProcessInformation info;
  ASSERT_EQ(service.CreateProcessA(nullptr, line.data(), nullptr, nullptr, kFalse, 0, nullptr,
                                   nullptr, &startup, &info),
            kTrue);
  EXPECT_NE(info.hProcess, info.hThread);
  EXPECT_EQ(kernel.WaitForSingleObject(info.hProcess, 50), kWaitTimeout);
  EXPECT_EQ(kernel.WaitForSingleObject(info.hThread, 0), kWaitTimeout);
  std::ofstream(release) << "go";
  EXPECT_EQ(kernel.WaitForSingleObject(info.hProcess, kInfinite), kWaitObject0);
  // Both stay signalled: an ended process is ended for every later wait.
  EXPECT_EQ(kernel.WaitForSingleObject(info.hProcess, 0), kWaitObject0);
  EXPECT_EQ(kernel.WaitForSingleObject(info.hThread, 0), kWaitObject0);
  EXPECT_EQ(kernel.CloseHandle(info.hThread), kTrue);
  EXPECT_EQ(kernel.CloseHandle(info.hProcess), kTrue);
  EXPECT_EQ(kernel.CloseHandle(info.hProcess), kFalse);
  EXPECT_EQ(kernel.GetLastError(), kErrorInvalidHandle);
}

TEST(ProgramSearchText, CommandLineWordsAndEnvironmentBlocks) {
  EXPECT_EQ(SplitCommandLine("  flashspti.EXE  "), (std::vector<std::string>{"flashspti.EXE"}));
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\a.exe\" -x \"say \\\"hi\\\"\""),
            (std::vector<std::string>{"C:\\Program Files\\a.exe", "-x", "say \"hi\""}));
  EXPECT_TRUE(SplitCommandLine("").empty());
  EXPECT_EQ(LinuxProgramName("flashspti.EXE"), "flashspti");
  EXPECT_EQ(LinuxProgramName("Tool.Exe"), "Tool");
  EXPECT_EQ(LinuxProgramName(".exe"), ".exe");
  EXPECT_EQ(LinuxProgramName("setup.exe.bak"), "setup.exe.bak");
  const char block[] = "A=1\0B=two\0\0";
  EXPECT_EQ(SplitEnvironmentBlock(block), (std::vector<std::string>{"A=1", "B=two"}));
  EXPECT_TRUE(SplitEnvironmentBlock(nullptr).empty());
}

TEST(NativeSystemReader, DistributionFromOsRelease) {
  EXPECT_EQ(DistributionFromOsRelease("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux "
                                      "12 (bookworm)\"\nID=debian\n"),
            "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(DistributionFromOsRelease("ID=arch\nNAME='Arch Linux'\n"), "Arch Linux");
  EXPECT_EQ(DistributionFromOsRelease("PRETTY_NAME=\"Say \\\"hi\\\"\"\r\n"), "Say \"hi\"");
  EXPECT_EQ(DistributionFromOsRelease("PRETTY_NAMES=x\nID=none\n"), "");
  const NativeSystem running = RunningNativeSystem();
  EXPECT_FALSE(running.distribution.empty());
  EXPECT_FALSE(running.processor.empty());
  EXPECT_EQ(running.kernel.rfind("Linux ", 0), 0u) << running.kernel;
}

TEST(NativeSystemReader, ProcessorFromCpuinfo) {
  const struct {
    const char* cpuinfo;
    const char* processor;
  } cases[] = {
      {"processor\t: 0\nvendor_id\t: AuthenticAMD\ncpu family\t: 25\nmodel\t\t: 33\n"
       "model name\t: AMD Ryzen 7 5800X 8-Core Processor\nprocessor\t: 1\n"
       "model name\t: other\n",
       "AMD Ryzen 7 5800X 8-Core Processor"},
      {"model name\t: Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz  \r\n",
       "Intel(R) Core(TM) i7 CPU 920 @ 2.67GHz"},
      {"Processor\t: ARMv7 Processor rev 10 (v7l)\nBogoMIPS\t: 3.00\n",
       "ARMv7 Processor rev 10 (v7l)"},
      {"system type\t\t: MT7621\ncpu model\t\t: MIPS 1004Kc V2.15\n", "MIPS 1004Kc V2.15"},
      {"processor\t: 0\ncpu\t\t: POWER9 (architected), altivec supported\n",
       "POWER9 (architected), altivec supported"},
      // Neither "cpu family" nor an empty name names the processor.
      {"cpu family\t: 6\ncpu MHz\t\t: 800.000\nmodel name\t:   \n", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ProcessorFromCpuinfo(c.cpuinfo), c.processor) << c.cpuinfo;
}

}  // namespace
}  // namespace platform
