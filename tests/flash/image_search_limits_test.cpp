// Where identification looks in a loaded image and where it stops: the second
// identity block only beside a first at 0x1000, the template search window at
// either image base, and the base an update actually searches for a drive
// that runs the second image of a dual file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "flash/firmware_image.h"
#include "flash/updater.h"
#include "tests/flash/loader_test_files.h"
#include "tests/flash/update_run_test.h"

namespace {

class ImageSearchTest : public ::testing::Test {
 protected:
  loadertest::ImageBuffers buffers;
  flash::FirmwareImage& image = buffers.image;

  void Put(std::size_t offset, const std::string& text) {
    std::memcpy(buffers.imageBuffer.data() + offset, text.data(), text.size());
  }
  void PutIdentityBlock(std::size_t offset, const std::string& controller) {
    Put(offset, "TAVREON FAMILY-X" + controller);
  }
  void PutTemplate(std::size_t offset, const std::string& identity) {
    Put(offset, std::string("\x05\x80\x00\x32", 4) + "1234" + identity);
  }
  std::string NewIdentity() const {
    return std::string(image.newFirmwareIdentity.begin(), image.newFirmwareIdentity.end());
  }
};

TEST_F(ImageSearchTest, OnlyAFirstBlockAt1000HasASecondImageBesideIt) {
  // Blocks at 0x100 and 0x2000 with a partner 0x20000 further on each.
  PutIdentityBlock(0x100, "CONTROLLER 0100 ");
  PutIdentityBlock(0x20100, "CONTROLLER 20100");
  EXPECT_EQ(flash::IdentifyImage(image), 1);
  EXPECT_EQ(image.controllerType2, flash::ControllerType{});

  Put(0x100, "--------");
  PutIdentityBlock(0x2000, "CONTROLLER 2000 ");
  PutIdentityBlock(0x22000, "CONTROLLER 22000");
  EXPECT_EQ(flash::IdentifyImage(image), 1);
  EXPECT_EQ(image.controllerType2, flash::ControllerType{});

  PutIdentityBlock(0x1000, "CONTROLLER 1000 ");
  PutIdentityBlock(0x21000, "CONTROLLER 21000");
  EXPECT_EQ(flash::IdentifyImage(image), 2);
  EXPECT_EQ(std::string(image.controllerType2.begin(), image.controllerType2.end()),
            "CONTROLLER 21000");
}

TEST_F(ImageSearchTest, TemplateSearchCoversOffsets450To1FFFFOfTheChosenImage) {
  const std::string before = "BEFORE THE WINDOW...............";
  const std::string last = "LAST OFFSET IN THE WINDOW.......";
  const std::string after = "PAST THE WINDOW.................";
  for (const std::uint32_t base : {0x00000u, 0x20000u}) {
    SCOPED_TRACE(base);
    buffers.imageBuffer.assign(buffers.imageBuffer.size(), 0);
    image.newFirmwareIdentity.fill('=');
    PutTemplate(base + 0x44F, before);
    PutTemplate(base + 0x20000, after);
    EXPECT_EQ(flash::FindInquiryTemplate(image, base), -1);
    EXPECT_EQ(NewIdentity(), std::string(32, '='));

    PutTemplate(base + 0x1FFFF, last);
    EXPECT_EQ(flash::FindInquiryTemplate(image, base), 0);
    EXPECT_EQ(NewIdentity(), last);

    PutTemplate(base + 0x450, before);
    EXPECT_EQ(flash::FindInquiryTemplate(image, base), 0);
    EXPECT_EQ(NewIdentity(), before);
  }
}

// A generated dual file whose two images carry different templates: the
// confirmation shows the template of the image the drive will receive.
class DualImageTemplateTest : public ::testing::TestWithParam<const flash::FlashVariant*> {};

TEST_P(DualImageTemplateTest, ConfirmationShowsTheTemplateOfTheImageTheDriveRuns) {
  const struct {
    flashtest::TestDrive drive;
    const char* controllerTag;  // the template's vendor-specific bytes
  } cases[] = {{flashtest::kKd320, "062R"}, {flashtest::kKd310, "062A"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.drive.model);
    auto machine = flashtest::LoadMachine(flashtest::MachineJson());
    ASSERT_NE(machine, nullptr);
    testsupport::FakeUpdaterUi ui;
    ui.confirmAnswers.push_back(drvcmd::kIdCancel);
    flash::Updater updater(*GetParam(), *machine, ui);
    ASSERT_EQ(updater.Start(), 0);
    flashtest::PutImage(updater.Image().bytes, c.drive.model);
    flashtest::FakeSelection selection;
    selection.Select(*GetParam(), c.drive);
    updater.RunFirmwareUpdate(selection);

    ASSERT_EQ(ui.confirmCalls.size(), 1u);
    const flash::FirmwareIdentity& shown = ui.confirmCalls[0].newIdentity;
    EXPECT_EQ(std::string(shown.begin(), shown.end()),
              std::string("TAVREON DVD-ROM ") + c.drive.model + "  1.05" + c.controllerTag);
  }
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, DualImageTemplateTest,
                         ::testing::Values(&flash::FlashVariant::Spti(),
                                           &flash::FlashVariant::Aspi()),
                         flashtest::BuildName);

}  // namespace
