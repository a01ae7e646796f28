// A throw-away sysfs and /dev tree in a temporary directory, shaped like the
// kernel's: class entries whose "device" links lead to "H:C:T:L" directories.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/linux/sysfs_tree.h"

namespace platform::testing {

class FakeSysfs {
 public:
  FakeSysfs() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "dvdutil-sysfs-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    std::filesystem::create_directories(Sys() / "devices");
    std::filesystem::create_directories(Dev());
  }
  ~FakeSysfs() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  FakeSysfs(const FakeSysfs&) = delete;
  FakeSysfs& operator=(const FakeSysfs&) = delete;

  SysfsLayout Layout() const { return {Sys().string(), Dev().string()}; }
  std::filesystem::path Sys() const { return root_ / "sys"; }
  std::filesystem::path Dev() const { return root_ / "dev"; }
  std::string DevNode(const std::string& name) const { return (Dev() / name).string(); }

  // A SCSI generic node at an address ("sg2" at 1:0:0:0), with its host's driver.
  void AddGeneric(int sg, ScsiDeviceAddress at, const std::string& driver) {
    const auto device = DeviceDir(at);
    const std::string name = "sg" + std::to_string(sg);
    std::filesystem::create_directories(device / "scsi_generic" / name);
    Link(Sys() / "class" / "scsi_generic" / name, device);
    Touch(Dev() / name);
    const auto host = Sys() / "class" / "scsi_host" / ("host" + std::to_string(at.host));
    std::filesystem::create_directories(host);
    std::ofstream(host / "proc_name") << driver << "\n";
  }

  // An optical drive: block node srN with its generic node sgM at one address.
  void AddOptical(int sr, int sg, ScsiDeviceAddress at, const std::string& driver = "ahci") {
    AddGeneric(sg, at, driver);
    const auto device = DeviceDir(at);
    const std::string name = "sr" + std::to_string(sr);
    std::filesystem::create_directories(device / "block" / name);
    Link(Sys() / "class" / "block" / name, device);
    Touch(Dev() / name);
  }

  // An optical drive that sysfs shows without a generic node.
  void AddBlockOnly(int sr, ScsiDeviceAddress at) {
    const auto device = DeviceDir(at);
    const std::string name = "sr" + std::to_string(sr);
    Link(Sys() / "class" / "block" / name, device);
    Touch(Dev() / name);
  }

 private:
  std::filesystem::path DeviceDir(ScsiDeviceAddress at) const {
    const auto dir = Sys() / "devices" / ("host" + std::to_string(at.host)) /
                     (std::to_string(at.host) + ":" + std::to_string(at.channel) + ":" +
                      std::to_string(at.target) + ":" + std::to_string(at.lun));
    std::filesystem::create_directories(dir);
    return dir;
  }
  static void Link(const std::filesystem::path& entry, const std::filesystem::path& device) {
    std::filesystem::create_directories(entry);
    std::error_code ignored;
    std::filesystem::create_directory_symlink(device, entry / "device", ignored);
  }
  static void Touch(const std::filesystem::path& file) { std::ofstream(file).put('\0'); }

  std::filesystem::path root_;
};

}  // namespace platform::testing
