// The updaters' windows on an emulated machine, through whichever window host
// this test binary has: the form's drive tree as each build scans it, File
// Open and an update to "Verify OK" through the real buttons, a cancelled
// confirmation, typed status text read back, the rescan after an update, the
// Exit button, and the confirmation, About and progress dialogs on their own.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "drvcmd/notice.h"
#include "emulator/drive_catalogue.h"
#include "emulator/emulated_machine.h"
#include "emulator/firmware_builder.h"
#include "flash/updater.h"
#include "flash/window/about_logic.h"
#include "flash/window/app_variant.h"
#include "flash/window/confirm_update_logic.h"
#include "flash/window/update_progress.h"
#include "flash/window/updater_view.h"
#include "resources/flash/flash_resource_ids.h"
#include "tests/window/window_test_host.h"
#include "ui/host/window_host.h"

// A binary that hosts the form in a frame of its own (the Win32 updater frame)
// names its opener in DVDUTIL_FLASH_FORM_HOST; the others open the form as a
// window of the window system.
#ifdef DVDUTIL_FLASH_FORM_HOST
std::unique_ptr<ui::OpenWindow> DVDUTIL_FLASH_FORM_HOST(const ui::DialogTemplate& form,
                                                        ui::DialogLogic& logic);
#endif

namespace {

using flash::AppVariant;

constexpr char kMachine[] = R"({
  "adapters": [{"number": 0, "identifier": "ESDI_506"},
               {"number": 1, "identifier": "NORTHSTAR ULTRA2 WIDE SCSI HOST"}],
  "devices": [
    {"letter": "D", "adapter": 0, "target": 0, "model": "KD-410"},
    {"letter": "E", "adapter": 1, "target": 0, "type": "0x04",
     "vendor": "WRITEON", "product": "CD-RW DRIVE 4012", "revision": "1.0C"}
  ]})";

constexpr int kTree = resources::kIdcDriveTree;

std::string Padded(std::string_view text, std::size_t width) {
  std::string padded(text.substr(0, width));
  padded.resize(width, ' ');
  return padded;
}

const emu::ModelSpec& Kd410() { return *emu::FindDriveModel("KD-410"); }

std::string Kd410VendorProduct() { return Padded(Kd410().vendor, 8) + Padded(Kd410().product, 16); }

bool EndsWith(const std::string& text, const std::string& ending) {
  return text.size() >= ending.size() &&
         text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

// The File Open dialog answering from a queue (then cancelling), every
// request recorded.
class ScriptedFiles : public flash::OpenFileDialog {
 public:
  std::optional<std::string> ChooseOpenFile(const flash::OpenFileRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::optional<std::string>> answers;
  std::vector<flash::OpenFileRequest> requests;
};

class FlashWindowCases : public testing::TestWithParam<const AppVariant*> {
 protected:
  const AppVariant& Variant() const { return *GetParam(); }
  bool IsAspi() const { return &Variant() == &AppVariant::Aspi(); }

  void SetUp() override {
    // A folder per case and run: CTest runs cases side by side, other builds too.
    const testing::TestInfo& test = *testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("flash-window-") + test.test_suite_name() + "-" + test.name() +
                       "-" + std::to_string(std::random_device{}());
    for (char& c : name) {
      if (c == '/') c = '-';
    }
    folder_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(folder_);
    hexPath_ = (folder_ / "UPDATE.HEX").string();
    std::ofstream(hexPath_, std::ios::binary) << emu::BuildFirmwareHex(Kd410(), "1.05");

    emu::MachineOptions options;
    options.fakeClock = true;
    options.readOnly = true;
    std::string error;
    machine_ = emu::EmulatedMachine::LoadText(kMachine, "flash-window.json", options, &error);
    ASSERT_NE(machine_, nullptr) << error;
    view_ = std::make_unique<flash::UpdaterView>(
        Variant(), window_test::System(), files_,
        [this](int command) { frameCommands_.push_back(command); });
    updater_ = std::make_unique<flash::Updater>(Variant().procedure, *machine_, *view_);
    ASSERT_EQ(updater_->Start(), 0);
    view_->AttachUpdater(updater_.get());
#ifdef DVDUTIL_FLASH_FORM_HOST
    window_ = DVDUTIL_FLASH_FORM_HOST(Variant().dialogs.mainForm, *view_);
#else
    window_ = window_test::System().Open(Variant().dialogs.mainForm, *view_);
#endif
    driver_ = window_test::Drive(*window_);
    view_->ScanDrives();
  }

  void TearDown() override {
    driver_.reset();
    window_.reset();
    if (updater_ != nullptr) updater_->Stop();
    updater_.reset();
    view_.reset();
    machine_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  ui::WindowHost& Form() { return window_->Host(); }
  std::string StatusBox() const { return driver_->Text(Variant().statusBoxId); }

  // Drive D: the first adapter's first target (flashaspi), or the first letter.
  void SelectDriveD() {
    const int item = IsAspi() ? 1 : 0;
    ASSERT_EQ(Form().TreeItemText(kTree, item).rfind(IsAspi() ? "ID=0 : " : "D: ", 0), 0u);
    Form().SelectTreeItem(kTree, item);
  }

  void LoadImageThroughFileOpen() {
    files_.answers.push_back(hexPath_);
    driver_->Press(Variant().fileOpenId);
  }

  bool SentWriteBuffer() const {
    for (const emu::LoggedCommand& command : machine_->Log().Entries()) {
      if (command.cdb[0] == 0x3B) return true;
    }
    return false;
  }

  std::filesystem::path folder_;
  std::string hexPath_;
  ScriptedFiles files_;
  std::vector<int> frameCommands_;
  std::unique_ptr<emu::EmulatedMachine> machine_;
  std::unique_ptr<flash::UpdaterView> view_;
  std::unique_ptr<flash::Updater> updater_;
  std::unique_ptr<ui::OpenWindow> window_;
  std::unique_ptr<window_test::WindowDriver> driver_;
};

TEST_P(FlashWindowCases, FormAndTreeAreTheBuildsOwn) {
  for (const auto& [id, text] :
       std::vector<std::pair<int, std::string>>{{Variant().statusLabelId, "Status"},
                                                {Variant().fileOpenId, "File Open"},
                                                {Variant().updateId, "Update"},
                                                {Variant().exitId, "Exit"}}) {
    EXPECT_EQ(driver_->Text(id), text) << id;
  }
  EXPECT_EQ(StatusBox(), "");
  const std::string kd410 = Kd410VendorProduct();
  if (IsAspi()) {
    EXPECT_EQ(driver_->Text(Variant().driveListLabelId), "Drive List");
    // Adapters at the root, their targets below; drive D is preselected.
    EXPECT_EQ(Form().TreeItemText(kTree, 0), "00 : ATAPI Interface");
    EXPECT_EQ(Form().TreeItemText(kTree, 1), "ID=0 : " + kd410 + Padded(Kd410().version, 4));
    EXPECT_EQ(Form().TreeItemParent(kTree, 1), 0);
    EXPECT_EQ(Form().TreeItemText(kTree, 2), "ID=1 : None");
    EXPECT_EQ(Form().TreeItemText(kTree, 3), "01 : NORTHSTAR ULTRA2");
    EXPECT_EQ(Form().TreeItemParent(kTree, 3), ui::kNoEntry);
    // The SCSI adapter's seven targets; the write-once drive is no CD/DVD-ROM.
    for (int item = 4; item < 11; ++item) EXPECT_EQ(Form().TreeItemParent(kTree, item), 3) << item;
    EXPECT_EQ(view_->SelectedText(),
              std::optional<std::string>("ID=0 : " + kd410 + Padded(Kd410().version, 4)));
    EXPECT_EQ(view_->SelectedParentText(), std::optional<std::string>("00 : ATAPI Interface"));
  } else {
    EXPECT_EQ(Form().TreeItemText(kTree, 0), "D: " + kd410 + " (C/DVD-ROM)");
    EXPECT_EQ(Form().TreeItemText(kTree, 1), "E: WRITEON CD-RW DRIVE 4012 (CD-R/RW or WORM)");
    EXPECT_EQ(Form().TreeItemParent(kTree, 1), ui::kNoEntry);
    EXPECT_EQ(view_->SelectedText(), std::nullopt);
    // The scan counted devices 0 to 22 in its progress window, then closed it.
    const std::vector<std::string>& texts = view_->ProgressWindow().Texts();
    ASSERT_EQ(texts.size(), 23u);
    EXPECT_EQ(texts.front(), "Now checking device No.0");
    EXPECT_EQ(texts.back(), "Now checking device No.22");
    EXPECT_FALSE(view_->ProgressWindow().IsShown());
  }
}

TEST_P(FlashWindowCases, FileOpenThenUpdateRunsToVerifyOk) {
  LoadImageThroughFileOpen();
  ASSERT_EQ(files_.requests.size(), 1u);
  EXPECT_EQ(files_.requests[0].title, "Select the Update Hex File");
  EXPECT_EQ(files_.requests[0].filterDescription, "Hex File(.HEX)");
  EXPECT_EQ(files_.requests[0].initialFileName, IsAspi() ? "UPDATE.HEX" : "");
  const std::string loaded = StatusBox();
  EXPECT_EQ(loaded.rfind("File Name : " + hexPath_, 0), 0u) << loaded;
  EXPECT_NE(loaded.find("\r\nF/W file load success."), std::string::npos) << loaded;

  SelectDriveD();
  driver_->Press(Variant().updateId);
  // The real confirmation ran over the form (and the test host answered OK).
  EXPECT_EQ(driver_->ModalCaptions(), std::vector<std::string>{"Confirmation of update"});
  ASSERT_EQ(view_->Confirmations().size(), 1u);
  EXPECT_EQ(view_->Confirmations()[0].oldFirmware,
            Kd410VendorProduct() + " " + std::string(Kd410().version));
  EXPECT_EQ(view_->Confirmations()[0].newFirmware, Kd410VendorProduct() + " 1.05");
  EXPECT_TRUE(SentWriteBuffer());
  EXPECT_TRUE(EndsWith(StatusBox(), "Verify OK\r\nEnd update\r\n")) << StatusBox();
  const std::vector<std::string>& countdown = view_->ProgressWindow().Texts();
  ASSERT_FALSE(countdown.empty());
  EXPECT_EQ(countdown.front(), "Remaining time to complete about 29 sec");
  EXPECT_EQ(countdown.back(), "Remaining time to complete about 1 sec");
  EXPECT_FALSE(view_->ProgressWindow().IsShown());

  const std::vector<window_test::ShownMessage> messages = driver_->Messages();
  if (IsAspi()) {
    EXPECT_TRUE(messages.empty());
  } else {
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Congratulations ! Update is completed successfully.\r\n");
    EXPECT_EQ(messages[0].caption, "Congratulations !");
  }
}

TEST_P(FlashWindowCases, CancelledConfirmationSendsNoWriteBuffer) {
  LoadImageThroughFileOpen();
  SelectDriveD();
  view_->PresetConfirmAnswer(drvcmd::kIdCancel);
  machine_->Log().Clear();
  driver_->Press(Variant().updateId);
  EXPECT_EQ(view_->Confirmations().size(), 1u);
  EXPECT_FALSE(SentWriteBuffer());
  EXPECT_EQ(StatusBox().find("Verify"), std::string::npos) << StatusBox();
}

TEST_P(FlashWindowCases, OnlyTheOlderBuildRebuildsTheDriveTreeAfterAnUpdate) {
  LoadImageThroughFileOpen();
  SelectDriveD();
  machine_->Log().Clear();
  driver_->Press(Variant().updateId);
  ASSERT_NE(StatusBox().find("Verify OK\r\n"), std::string::npos) << StatusBox();

  // Commands after the last read-back: the rescan's INQUIRYs, or nothing.
  const auto& entries = machine_->Log().Entries();
  std::size_t lastReadBack = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].cdb[0] == 0x3C) lastReadBack = i;
  }
  std::vector<int> after;
  for (std::size_t i = lastReadBack + 1; i < entries.size(); ++i) {
    after.push_back(entries[i].cdb[0]);
  }
  if (IsAspi()) {
    // Every target of both adapters; the drive now reports 1.05 and is
    // preselected again.
    ASSERT_FALSE(after.empty());
    for (int opcode : after) EXPECT_EQ(opcode, 0x12);
    EXPECT_TRUE(EndsWith(Form().TreeItemText(kTree, 1), "1.05")) << Form().TreeItemText(kTree, 1);
    EXPECT_EQ(view_->SelectedParentText(), std::optional<std::string>("00 : ATAPI Interface"));
  } else {
    EXPECT_EQ(after, std::vector<int>{});
  }
}

TEST_P(FlashWindowCases, ExitAsksTheFrameToExit) {
  driver_->Press(Variant().exitId);
  EXPECT_EQ(frameCommands_, std::vector<int>{resources::kIdAppExit});
  // The frame closes the window, not the form itself.
  EXPECT_TRUE(driver_->IsOpen());
}

TEST_P(FlashWindowCases, ConfirmationShowsBothFirmwaresAndOnlyOkConfirms) {
  flash::FirmwareIdentity drive{};
  std::memcpy(drive.data(), "TAVREON DVD-ROM KD-410\xE9 1.02", 28);
  // Bytes that happen to read as UTF-8 are still one character each.
  flash::FirmwareIdentity image = drive;
  std::memcpy(image.data() + 24, "1.\xC3\xA9", 4);
  const struct {
    const char* how;
    int answer;
  } ways[] = {{"OK", ui::kIdOk}, {"Cancel", ui::kIdCancel}, {"close", ui::kIdCancel}};
  for (const auto& way : ways) {
    flash::ConfirmUpdateLogic logic(drive, image);
    std::unique_ptr<ui::OpenWindow> confirm =
        window_test::System().Open(Variant().dialogs.confirmUpdate, logic);
    std::unique_ptr<window_test::WindowDriver> dialog = window_test::Drive(*confirm);
    EXPECT_EQ(dialog->Text(resources::kIdcConfirmMessage), "Do you want to update the firmware ?");
    // Drive bytes are shown one byte, one character.
    EXPECT_EQ(dialog->Text(resources::kIdcConfirmOldFirmware),
              "TAVREON DVD-ROM KD-410\xC3\xA9  1.02");
    EXPECT_EQ(dialog->Text(resources::kIdcConfirmNewFirmware),
              "TAVREON DVD-ROM KD-410\xC3\xA9  1.\xC3\x83\xC2\xA9");
    if (std::string(way.how) == "OK") dialog->Press(ui::kIdOk);
    if (std::string(way.how) == "Cancel") dialog->Press(ui::kIdCancel);
    if (std::string(way.how) == "close") dialog->SystemCommand(ui::kSysClose);
    EXPECT_FALSE(dialog->IsOpen()) << way.how;
    EXPECT_EQ(confirm->Result(), way.answer) << way.how;
  }
}

TEST_P(FlashWindowCases, AboutBoxShowsTheBuildsVersion) {
  flash::UpdaterAboutLogic logic(Variant());
  std::unique_ptr<ui::OpenWindow> about =
      window_test::System().Open(Variant().dialogs.aboutBox, logic);
  std::unique_ptr<window_test::WindowDriver> dialog = window_test::Drive(*about);
  EXPECT_EQ(dialog->Text(Variant().aboutTextId),
            IsAspi() ? "Firmware Update Utility Version 0.03"
                     : "DVD-ROM Firmware Update Tool for Windows2000\r\nVersion 0.01");
  dialog->Press(ui::kIdOk);
  EXPECT_FALSE(dialog->IsOpen());
}

TEST_P(FlashWindowCases, ProgressWindowTakesNoInput) {
  flash::UpdateProgressLogic logic;
  std::unique_ptr<ui::OpenWindow> progress =
      window_test::System().Open(Variant().dialogs.updateProgress, logic);
  std::unique_ptr<window_test::WindowDriver> dialog = window_test::Drive(*progress);
  EXPECT_EQ(dialog->Text(Variant().progressLabelId),
            IsAspi() ? "Remaining time to complete about 30 sec" : "Static");
  // Neither the close box nor Enter or Escape end it.
  dialog->SystemCommand(ui::kSysClose);
  EXPECT_TRUE(dialog->IsOpen());
  EXPECT_TRUE(logic.OnCommand(ui::kIdOk, ui::kBnClicked));
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, FlashWindowCases,
                         testing::Values(&AppVariant::Aspi(), &AppVariant::Spti()),
                         [](const testing::TestParamInfo<const AppVariant*>& info) {
                           return std::string(info.param->applicationTitle);
                         });

class FlashSptiWindowCases : public FlashWindowCases {};

TEST_P(FlashSptiWindowCases, TextTypedIntoTheStatusBoxIsReadBackByTheUpdate) {
  LoadImageThroughFileOpen();
  driver_->Type(Variant().statusBoxId, "typed by the user");
  SelectDriveD();
  view_->PresetConfirmAnswer(drvcmd::kIdCancel);
  driver_->Press(Variant().updateId);
  ASSERT_EQ(view_->Confirmations().size(), 1u);
  EXPECT_EQ(view_->StatusText().rfind("typed by the user", 0), 0u) << view_->StatusText();
}

INSTANTIATE_TEST_SUITE_P(NtBuild, FlashSptiWindowCases, testing::Values(&AppVariant::Spti()),
                         [](const testing::TestParamInfo<const AppVariant*>&) {
                           return std::string("flashspti");
                         });

}  // namespace
