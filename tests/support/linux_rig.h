// The real Linux back-ends over a fake sysfs and a fake drive that behaves as
// a real one behind SG_IO: one ATAPI drive, /dev/sr0 with its generic node
// /dev/sg0 at 0:0:0:0, drive D: and ASPI adapter 0 target 0.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/linux/linux_platform.h"
#include "tests/platform/fake_device_io.h"
#include "tests/platform/fake_drive.h"
#include "tests/platform/fake_sysfs.h"

namespace testsupport {

class LinuxRig {
 public:
  LinuxRig() {
    sysfs.AddOptical(0, 0, {0, 0, 0, 0}, "ahci");
    io->responder = [this](const std::string&, sg_io_hdr_t* h) { return drive.Answer(h); };
    platform::LinuxPlatformOptions options;
    options.layout = sysfs.Layout();
    options.deviceIo = io;
    options.diagnostics = [this](const std::string& line) { told.push_back(line); };
    std::string error;
    system = platform::CreateLinuxPlatform(options, &error);
  }
  ~LinuxRig() { drive.Release(); }  // a held drive must not keep a request forever

  platform::testing::FakeSysfs sysfs;
  platform::testing::FakeDrive drive;
  std::shared_ptr<platform::testing::FakeDeviceIo> io =
      std::make_shared<platform::testing::FakeDeviceIo>();
  std::vector<std::string> told;
  std::unique_ptr<platform::Platform> system;
};

}  // namespace testsupport
