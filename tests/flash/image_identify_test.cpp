// Identification of a loaded image: controller count, identity, controller
// types, and the search for the new firmware's INQUIRY data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "flash/firmware_image.h"
#include "tests/flash/loader_test_files.h"

namespace {

using flash::IdentifyImage;

class IdentifyTest : public ::testing::Test {
 protected:
  loadertest::ImageBuffers buffers;
  flash::FirmwareImage& image = buffers.image;

  void Put(std::size_t offset, const std::string& text) {
    std::memcpy(buffers.imageBuffer.data() + offset, text.data(), text.size());
  }
  // Signature, family field and controller type at `offset`.
  void PutIdentityBlock(std::size_t offset, const std::string& family,
                        const std::string& controller) {
    Put(offset, "TAVREON " + family + controller);
  }
  static std::string Text(const auto& field) { return std::string(field.begin(), field.end()); }
};

TEST_F(IdentifyTest, FindsTheBlockAtEachPlaceInOrder) {
  PutIdentityBlock(0x2000, "FAMILY-C", "CONTROLLER 2000 ");
  EXPECT_EQ(IdentifyImage(image), 1);
  EXPECT_EQ(Text(image.imageIdentity), "TAVREON FAMILY-C");
  EXPECT_EQ(Text(image.controllerType1), "CONTROLLER 2000 ");

  PutIdentityBlock(0x100, "FAMILY-B", "CONTROLLER 0100 ");
  EXPECT_EQ(IdentifyImage(image), 1);
  EXPECT_EQ(Text(image.imageIdentity), "TAVREON FAMILY-B");
  EXPECT_EQ(Text(image.controllerType1), "CONTROLLER 0100 ");

  PutIdentityBlock(0x1000, "FAMILY-A", "HITACHI H8_3062A");
  EXPECT_EQ(IdentifyImage(image), 1);
  EXPECT_EQ(Text(image.imageIdentity), "TAVREON FAMILY-A");
  EXPECT_EQ(Text(image.controllerType1), "HITACHI H8_3062A");
  EXPECT_EQ(image.controllerType2, flash::ControllerType{});
  EXPECT_EQ(image.controllerCount, 1);
}

TEST_F(IdentifyTest, DualImageNeedsBothSignaturesAt1000And21000) {
  PutIdentityBlock(0x1000, "FAMILY-A", "HITACHI H8_3062A");
  PutIdentityBlock(0x21000, "FAMILY-A", "HITACHI H8_3062R");
  EXPECT_EQ(IdentifyImage(image), 2);
  EXPECT_EQ(Text(image.controllerType1), "HITACHI H8_3062A");
  EXPECT_EQ(Text(image.controllerType2), "HITACHI H8_3062R");

  // A second image only counts beside a first at 0x1000.
  Put(0x1000, "XAVREON ");
  PutIdentityBlock(0x100, "FAMILY-B", "CONTROLLER 0100 ");
  PutIdentityBlock(0x21100, "FAMILY-B", "CONTROLLER 2110 ");
  EXPECT_EQ(IdentifyImage(image), 1);
  EXPECT_EQ(image.controllerType2, flash::ControllerType{}) << "a stale type 2 must be cleared";
}

TEST_F(IdentifyTest, NoSignatureCountsZeroAndClearsTheControllerTypes) {
  PutIdentityBlock(0x1000, "FAMILY-A", "HITACHI H8_3062A");
  ASSERT_EQ(IdentifyImage(image), 1);
  Put(0x1000, "TAVREON");  // seven letters and no space
  Put(0x1007, "_");
  EXPECT_EQ(IdentifyImage(image), 0);
  EXPECT_EQ(image.controllerType1, flash::ControllerType{});
  EXPECT_EQ(image.controllerCount, 0);
}

TEST_F(IdentifyTest, InquiryTemplateFirstMatchFromTheSearchStart) {
  const std::string key("\x05\x80\x00\x32", 4);
  const std::string first = "TAVREON DVD-ROM KD-410    1.05abcd";
  Put(0x44F, key + "xxxx" + "EARLY-BEFORE-THE-SEARCH-START...");
  Put(0x800, key + "xxxx" + first);
  Put(0x900, key + "xxxx" + "SECOND MATCH IS NOT TAKEN........");
  EXPECT_EQ(flash::FindInquiryTemplate(image, 0), 0);
  EXPECT_EQ(Text(image.newFirmwareIdentity), first.substr(0, 32));

  // The second controller image is searched from 0x20450 on.
  Put(0x20000 + 0x1FFF0, key + "xxxx" + "LAST SECOND-IMAGE TEMPLATE......");
  EXPECT_EQ(flash::FindInquiryTemplate(image, 0x20000), 0);
  EXPECT_EQ(Text(image.newFirmwareIdentity), "LAST SECOND-IMAGE TEMPLATE......");
}

TEST_F(IdentifyTest, InquiryTemplateSearchBoundsAndOverlappingCandidates) {
  const std::string key("\x05\x80\x00\x32", 4);
  // A key that starts one byte into a false start is still found.
  Put(0x450, "\x05" + key + "xxxx" + "AT 0x451");
  EXPECT_EQ(flash::FindInquiryTemplate(image, 0), 0);
  EXPECT_EQ(Text(image.newFirmwareIdentity).substr(0, 8), "AT 0x451");

  Put(0x450, std::string(5, '\xFF'));
  Put(0x450, key + "xxxx" + "AT THE SEARCH START");
  EXPECT_EQ(flash::FindInquiryTemplate(image, 0), 0);
  EXPECT_EQ(Text(image.newFirmwareIdentity).substr(0, 19), "AT THE SEARCH START");

  // The last key examined is at base + 0x1FFFF; one byte further is outside.
  Put(0x450, std::string(4, '\xFF'));
  Put(0x20000, key + "xxxx" + "JUST PAST THE END");
  EXPECT_EQ(flash::FindInquiryTemplate(image, 0), -1);
  Put(0x1FFFF, key + "xxxx" + "AT THE LAST K");
  EXPECT_EQ(flash::FindInquiryTemplate(image, 0), 0);
  EXPECT_EQ(Text(image.newFirmwareIdentity).substr(0, 13), "AT THE LAST K");
  Put(0x3FFFF, key + "xxxx" + "SECOND IMAGE LAST K");
  Put(0x20000, std::string(4, '\xFF'));
  EXPECT_EQ(flash::FindInquiryTemplate(image, 0x20000), 0);
  EXPECT_EQ(Text(image.newFirmwareIdentity).substr(0, 19), "SECOND IMAGE LAST K");
}

TEST_F(IdentifyTest, NoTemplateLeavesTheIdentityUnchanged) {
  image.newFirmwareIdentity.fill('Q');
  Put(0x44C, std::string("\x05\x80\x00\x32", 4));  // before 0x450 only
  Put(0x1000, std::string("\x05\x80\x00\x33", 4));
  EXPECT_EQ(flash::FindInquiryTemplate(image, 0), -1);
  EXPECT_TRUE(std::all_of(image.newFirmwareIdentity.begin(), image.newFirmwareIdentity.end(),
                          [](std::uint8_t b) { return b == 'Q'; }));
}

}  // namespace
