// Our firmware images: single and dual layouts, the places that identify them,
// the broken variants, and the factory memory of each emulated drive.
#include "emulator/firmware_builder.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/emulator/firmware_test_hex_reader.h"

namespace emu::testing {
namespace {

const ModelSpec& Model(const char* name) {
  const ModelSpec* model = FindDriveModel(name);
  EXPECT_NE(model, nullptr) << name;
  return *model;
}

std::string At(const std::vector<std::uint8_t>& image, std::size_t offset, std::size_t n) {
  return std::string(image.begin() + static_cast<std::ptrdiff_t>(offset),
                     image.begin() + static_cast<std::ptrdiff_t>(offset + n));
}

TEST(FirmwareBuilder, SingleLayoutHasInfoIdentityTemplateAndTail) {
  const FirmwareBuild build = BuildFirmware(Model("KD-410"), "1.05");
  ASSERT_EQ(build.image.size(), kFullImageSize);
  EXPECT_EQ(build.fileLength, 0x21010u);
  EXPECT_TRUE(build.endRecord);
  EXPECT_EQ(At(build.image, 0x3F0, 9), "ATTVN1.05");
  EXPECT_EQ(At(build.image, 0x1000, 32), "TAVREON G6KD410 HITACHI H8_3064F");
  EXPECT_EQ(FindTemplateKey(build.image), kInquiryTemplateOffset);
  EXPECT_EQ(At(build.image, kInquiryTemplateOffset + 8, 32), "TAVREON DVD-ROM KD-410  1.05064F");
  // Nothing of a second image.
  EXPECT_NE(At(build.image, 0x21000, 8), "TAVREON ");
}

TEST(FirmwareBuilder, DualLayoutCarriesBothControllersAndNeverFillsTheLastSixteenBytes) {
  const FirmwareBuild build = BuildFirmware(Model("KD-320"), "1.10");
  EXPECT_EQ(build.fileLength, 0x42000u);
  EXPECT_EQ(At(build.image, 0x1000, 32), "TAVREON G5KD320 HITACHI H8_3062A");
  EXPECT_EQ(At(build.image, 0x21000, 32), "TAVREON G5KD320 HITACHI H8_3062R");
  const auto second = std::span<const std::uint8_t>(build.image).subspan(kSecondImageOffset);
  EXPECT_EQ(FindTemplateKey(second), kInquiryTemplateOffset);
  // Each image's template names its controller in its last four bytes.
  EXPECT_EQ(At(build.image, kInquiryTemplateOffset + 8, 32), "TAVREON DVD-ROM KD-320  1.10062A");
  EXPECT_EQ(At(build.image, kSecondImageOffset + kInquiryTemplateOffset + 8, 32),
            "TAVREON DVD-ROM KD-320  1.10062R");
  EXPECT_EQ(At(build.image, kSecondImageOffset + 0x3F0, 9), "ATTVN1.10");
  EXPECT_EQ(std::count(build.image.begin() + 0x42000, build.image.end(), 0), 16);
  // The file covers the second tail up to 0x41FFF through segment 0x5000.
  const HexReadResult read = ReadHexStrict(BuildFirmwareHex(Model("KD-320"), "1.10"), true);
  ASSERT_EQ(read.problem, "");
  EXPECT_TRUE(std::equal(read.image.begin(), read.image.end(), build.image.begin()));
}

TEST(FirmwareBuilder, IdentityAtOtherOffsetsLeavesTheEarlierPlacesUnsigned) {
  const FirmwareBuild lumax = BuildFirmware(Model("KD-4200-LUMAX"), "3.02");
  EXPECT_EQ(At(lumax.image, 0x100, 8), "TAVREON ");
  EXPECT_NE(At(lumax.image, 0x1000, 8), "TAVREON ");
  EXPECT_EQ(At(lumax.image, 0x3F0, 5), "ASLMX");
  const FirmwareBuild orbec = BuildFirmware(Model("KD-420-ORBEC"), "2.10");
  EXPECT_EQ(At(orbec.image, 0x2000, 8), "TAVREON ");
  EXPECT_NE(At(orbec.image, 0x1000, 8), "TAVREON ");
  EXPECT_NE(At(orbec.image, 0x100, 8), "TAVREON ");
}

TEST(FirmwareBuilder, BrokenVariantsAreReallyBroken) {
  const ModelSpec& model = Model("KD-320");
  const FirmwareBuild good = BuildFirmware(model, "1.10");
  const auto wrongController = BuildFirmware(model, "1.10", BrokenVariant::kWrongController);
  EXPECT_EQ(At(wrongController.image, 0x1010, 16), kWrongController);
  EXPECT_EQ(At(wrongController.image, 0x21010, 16), kWrongController);
  EXPECT_EQ(At(wrongController.image, 0x1000, 16), At(good.image, 0x1000, 16));

  const auto wrongFamily = BuildFirmware(model, "1.10", BrokenVariant::kWrongFamily);
  EXPECT_EQ(At(wrongFamily.image, 0x1008, 8), kWrongFamily);
  EXPECT_EQ(At(wrongFamily.image, 0x1010, 16), At(good.image, 0x1010, 16));

  const auto noTemplate = BuildFirmware(model, "1.10", BrokenVariant::kNoTemplate);
  EXPECT_FALSE(FindTemplateKey(noTemplate.image).has_value());
  EXPECT_FALSE(FindTemplateKey(std::span<const std::uint8_t>(noTemplate.image).subspan(0x20000))
                   .has_value());

  const auto noIdentity = BuildFirmware(model, "1.10", BrokenVariant::kNoIdentity);
  for (std::size_t at : {0x100, 0x1000, 0x2000, 0x21000}) {
    EXPECT_NE(At(noIdentity.image, at, 8), "TAVREON ") << at;
  }

  // Truncated: the file stops before the identity block, without an end record.
  const std::string hex = BuildFirmwareHex(model, "1.10", BrokenVariant::kTruncated);
  const HexReadResult read = ReadHexStrict(hex, true);
  ASSERT_EQ(read.problem, "");
  EXPECT_FALSE(read.sawEnd);
  EXPECT_EQ(read.dataBytes, 0x1000u);
  EXPECT_EQ(At(read.image, 0x1000, 8), std::string(8, '\xFF'));
}

TEST(FirmwareBuilder, VersionsOfOneModelDifferOnlyInTheirVersionText) {
  const auto a = BuildFirmware(Model("KD-410"), "1.05").image;
  const auto b = BuildFirmware(Model("KD-410"), "1.06").image;
  std::vector<std::size_t> differences;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) differences.push_back(i);
  }
  // Last digit in the ImageInfoBlock and in the template's revision.
  EXPECT_EQ(differences, (std::vector<std::size_t>{0x3F8, kInquiryTemplateOffset + 8 + 27}));
  // A short or long version never shifts the layout.
  EXPECT_EQ(At(BuildFirmware(Model("KD-410"), "1.5").image, 0x3F5, 5), "1.5 " + At(a, 0x3F9, 1));
  EXPECT_EQ(At(BuildFirmware(Model("KD-410"), "1.0555").image, 0x3F5, 5), "1.05" + At(a, 0x3F9, 1));
  EXPECT_FALSE(IsValidVersion("1.5"));
  EXPECT_FALSE(IsValidVersion("1.0\n"));
  EXPECT_TRUE(IsValidVersion("A1 B"));
}

TEST(FirmwareBuilder, DriveMemoryIsTheImageItsControllerRunsWithItsOwnUnitBytes) {
  const ModelSpec& model = Model("KD-320");
  const auto image = BuildFirmware(model, "1.00").image;
  const auto memory = BuildDriveMemory(model, "1.00", 1);
  ASSERT_EQ(memory.size(), 0x21010u);
  EXPECT_TRUE(std::equal(memory.begin(), memory.begin() + 0x400, image.begin() + 0x20000));
  EXPECT_TRUE(
      std::equal(memory.begin() + 0x450, memory.begin() + 0x20000, image.begin() + 0x20450));
  EXPECT_TRUE(std::equal(memory.begin() + 0x20000, memory.end(), image.begin() + 0x41000));
  EXPECT_NE(At(memory, 0x400, 0x50), At(image, 0x20400, 0x50));
  EXPECT_NE(At(memory, 0x400, 0x50), At(BuildDriveMemory(model, "1.00", 2), 0x400, 0x50));
}

TEST(FirmwareBuilder, BrokenVariantNamesRoundTrip) {
  for (BrokenVariant variant : BrokenVariants()) {
    EXPECT_EQ(ParseBrokenVariant(BrokenVariantName(variant)), variant);
  }
  EXPECT_FALSE(ParseBrokenVariant("wrong-size").has_value());
}

}  // namespace
}  // namespace emu::testing
