// Drive letters, the DVDUTIL_DRIVES map and the nodes found through sysfs.
#include <gtest/gtest.h>

#include "platform/linux/device_path.h"
#include "platform/linux/drive_map.h"
#include "platform/linux/sysfs_tree.h"
#include "tests/platform/fake_sysfs.h"

namespace platform {
namespace {

using testing::FakeSysfs;

TEST(DriveMap, ParsesLettersAndPathsIgnoringBlanksAndCase) {
  DriveMap map;
  std::string error;
  ASSERT_TRUE(ParseDriveMap("D=/dev/sr1, e = /dev/sg3", &map, &error)) << error;
  EXPECT_EQ(map, (DriveMap{{'D', "/dev/sr1"}, {'E', "/dev/sg3"}}));
}

TEST(DriveMap, MalformedEntriesAreRefusedWithTheEntryNamed) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"D/dev/sr0", "entry \"D/dev/sr0\" has no \"=\""},
      {"D=/dev/sr0,", "entry \"\" is empty"},
      {"DE=/dev/sr0", "does not start with one drive letter"},
      {"C=/dev/sr0", "names a letter outside D to Z"},
      {"D=dev/sr0", "does not give an absolute device path"},
      {"D=", "does not give an absolute device path"},
      {"D=/dev/sr0,d=/dev/sr1", "entry \"d=/dev/sr1\" gives a drive letter a second time"},
      {"", "is empty"},
  };
  for (const auto& c : cases) {
    DriveMap map{{'Z', "/untouched"}};
    std::string error;
    EXPECT_FALSE(ParseDriveMap(c.text, &map, &error)) << c.text;
    EXPECT_NE(error.find(c.expected), std::string::npos) << c.text << " -> " << error;
    EXPECT_EQ(error.rfind("DVDUTIL_DRIVES: ", 0), 0u) << error;
    EXPECT_EQ(map.size(), 1u) << "a failed parse must not touch the map";
  }
}

TEST(SysfsTree, LettersFollowOpticalDriveNumbersFromD) {
  FakeSysfs sysfs;
  sysfs.AddOptical(10, 4, {2, 0, 0, 0});
  sysfs.AddOptical(1, 2, {1, 0, 0, 0});
  sysfs.AddOptical(0, 0, {0, 0, 0, 0});
  sysfs.AddGeneric(1, {0, 0, 1, 0}, "ahci");  // a disk: no letter
  const auto letters = AssignDriveLetters(sysfs.Layout());
  EXPECT_EQ(letters, (std::map<char, std::string>{{'D', sysfs.DevNode("sr0")},
                                                  {'E', sysfs.DevNode("sr1")},
                                                  {'F', sysfs.DevNode("sr10")}}));
}

TEST(SysfsTree, NoMoreLettersThanZ) {
  FakeSysfs sysfs;
  for (int i = 0; i < 25; ++i) sysfs.AddBlockOnly(i, {i, 0, 0, 0});
  const auto letters = AssignDriveLetters(sysfs.Layout());
  EXPECT_EQ(letters.size(), 23u);
  EXPECT_EQ(letters.rbegin()->first, 'Z');
  EXPECT_EQ(letters.at('Z'), sysfs.DevNode("sr22"));
}

TEST(SysfsTree, GenericNodesCarryTheirAddressesInAddressOrder) {
  FakeSysfs sysfs;
  sysfs.AddGeneric(3, {4, 0, 5, 0}, "mptspi");
  sysfs.AddGeneric(0, {0, 0, 0, 0}, "ahci");
  sysfs.AddGeneric(12, {4, 0, 1, 0}, "mptspi");
  const auto nodes = ListScsiGenericNodes(sysfs.Layout());
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[0].name, "sg0");
  EXPECT_EQ(nodes[1].name, "sg12");
  EXPECT_EQ(nodes[1].address, (ScsiDeviceAddress{4, 0, 1, 0}));
  EXPECT_EQ(nodes[2].name, "sg3");
  EXPECT_EQ(HostDriverName(sysfs.Layout(), 4), "mptspi");
  EXPECT_EQ(HostDriverName(sysfs.Layout(), 9), "");
}

TEST(SysfsTree, ScsiDeviceNamesMustHaveFourNumbers) {
  EXPECT_EQ(ParseScsiDeviceName("2:0:13:1"), (ScsiDeviceAddress{2, 0, 13, 1}));
  EXPECT_FALSE(ParseScsiDeviceName("2:0:13"));
  EXPECT_FALSE(ParseScsiDeviceName("2:0:13:1:0"));
  EXPECT_FALSE(ParseScsiDeviceName("2:0:x:1"));
  EXPECT_FALSE(ParseScsiDeviceName("target2:0:13"));
}

TEST(DevicePath, BlockNodeSendsThroughItsGenericNodeAndLocksItself) {
  FakeSysfs sysfs;
  sysfs.AddOptical(1, 7, {3, 0, 1, 0});
  const auto nodes = ResolveDeviceNodes(sysfs.Layout(), sysfs.DevNode("sr1"));
  EXPECT_EQ(nodes.commandNode, sysfs.DevNode("sg7"));
  EXPECT_EQ(nodes.lockNode, sysfs.DevNode("sr1"));
  EXPECT_EQ(nodes.address, (ScsiDeviceAddress{3, 0, 1, 0}));
}

TEST(DevicePath, GenericNodeLocksItsBlockDevice) {
  FakeSysfs sysfs;
  sysfs.AddOptical(0, 2, {1, 0, 0, 0});
  const auto nodes = ResolveDeviceNodes(sysfs.Layout(), sysfs.DevNode("sg2"));
  EXPECT_EQ(nodes.commandNode, sysfs.DevNode("sg2"));
  EXPECT_EQ(nodes.lockNode, sysfs.DevNode("sr0"));
}

TEST(DevicePath, BlockNodeWithoutGenericNodeIsUsedAsGiven) {
  FakeSysfs sysfs;
  sysfs.AddBlockOnly(0, {0, 0, 0, 0});
  const auto nodes = ResolveDeviceNodes(sysfs.Layout(), sysfs.DevNode("sr0"));
  EXPECT_EQ(nodes.commandNode, sysfs.DevNode("sr0"));
  EXPECT_EQ(nodes.lockNode, sysfs.DevNode("sr0"));
}

TEST(DevicePath, DeviceNamesGiveUpperCaseLetters) {
  EXPECT_EQ(DriveLetterOfDeviceName("\\\\.\\E:"), 'E');
  EXPECT_EQ(DriveLetterOfDeviceName("\\\\.\\e:"), 'E');
  EXPECT_FALSE(DriveLetterOfDeviceName("E:"));
  EXPECT_FALSE(DriveLetterOfDeviceName("\\\\.\\E:\\"));
  EXPECT_FALSE(DriveLetterOfDeviceName("\\\\.\\1:"));
  EXPECT_FALSE(DriveLetterOfDeviceName(nullptr));
}

TEST(DevicePath, ExplicitMapReplacesTheSysfsOrder) {
  FakeSysfs sysfs;
  sysfs.AddOptical(0, 0, {0, 0, 0, 0});
  const DriveMap map{{'G', "/dev/sg3"}};
  EXPECT_EQ(DevicePathOfLetter(sysfs.Layout(), map, 'G'), "/dev/sg3");
  EXPECT_FALSE(DevicePathOfLetter(sysfs.Layout(), map, 'D'));
  EXPECT_EQ(DevicePathOfLetter(sysfs.Layout(), std::nullopt, 'D'), sysfs.DevNode("sr0"));
}

}  // namespace
}  // namespace platform
