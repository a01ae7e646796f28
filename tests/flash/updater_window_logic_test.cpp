// The updaters' window logic on a recording host, without windows: the form
// layout, the status box, the confirmation and progress dialogs, the drive
// tree's texts, System Info, the recent-file list and the document cycle.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "flash/window/app_variant.h"
#include "flash/window/confirm_update_logic.h"
#include "flash/window/document_cycle.h"
#include "flash/window/form_layout.h"
#include "flash/window/recent_file_list.h"
#include "flash/window/system_info_command.h"
#include "flash/window/update_progress.h"
#include "flash/window/updater_view.h"
#include "resources/flash/flash_resource_ids.h"
#include "tests/flash/recording_window_host.h"

namespace {

using flash::AppVariant;
using flash::FormLayoutKind;
using ui::ItemRect;

TEST(FormLayoutTest, OlderBuildStacksLabelTreeLabelBoxAndButtons) {
  // W = 400, H = 300, hs = 13, hb = 23: u = (300 - 26 - 23 - 30) / 3 = 73, w = 390.
  const flash::FormLayout layout =
      flash::LayOutForm(FormLayoutKind::kDriveListLabelFirst, 400, 300, 13, 23);
  EXPECT_EQ(layout.driveListLabel, (ItemRect{5, 5, 390, 13}));
  EXPECT_EQ(layout.driveTree, (ItemRect{5, 23, 390, 73}));
  EXPECT_EQ(layout.statusLabel, (ItemRect{5, 101, 390, 13}));
  EXPECT_EQ(layout.statusBox, (ItemRect{5, 119, 390, 146}));
  EXPECT_EQ(layout.fileOpen, (ItemRect{5, 270, 130, 23}));
  EXPECT_EQ(layout.update, (ItemRect{135, 270, 130, 23}));
  EXPECT_EQ(layout.exit, (ItemRect{265, 270, 130, 23}));
}

TEST(FormLayoutTest, NtBuildStartsWithTheTree) {
  // W = 401, H = 301, hs = 16, hb = 25: u = (301 - 16 - 25 - 25) / 3 = 78, w = 391, w/3 = 130.
  const flash::FormLayout layout = flash::LayOutForm(FormLayoutKind::kTreeFirst, 401, 301, 16, 25);
  EXPECT_EQ(layout.driveListLabel, ItemRect{});
  EXPECT_EQ(layout.driveTree, (ItemRect{5, 5, 391, 78}));
  EXPECT_EQ(layout.statusLabel, (ItemRect{5, 88, 391, 16}));
  EXPECT_EQ(layout.statusBox, (ItemRect{5, 109, 391, 156}));
  EXPECT_EQ(layout.fileOpen, (ItemRect{5, 270, 130, 25}));
  EXPECT_EQ(layout.update, (ItemRect{135, 270, 130, 25}));
  EXPECT_EQ(layout.exit, (ItemRect{265, 270, 130, 25}));
}

TEST(FormLayoutTest, WindowIsCentredOnHalfTheScreen) {
  EXPECT_EQ(flash::CentredFrameRect(1024, 710), (ItemRect{256, 177, 512, 356}));
  EXPECT_EQ(flash::FirstFrameRect(1024, 710), (ItemRect{256, 177, 512, 710}));
  // Odd sizes: the margins truncate and the size takes the rest.
  EXPECT_EQ(flash::CentredFrameRect(1023, 711), (ItemRect{255, 177, 513, 357}));
}

class NoFileDialog : public flash::OpenFileDialog {
 public:
  std::optional<std::string> ChooseOpenFile(const flash::OpenFileRequest&) override {
    return std::nullopt;
  }
};

// One build's view on a recording host, its form "opened".
class ViewOnHost {
 public:
  explicit ViewOnHost(const AppVariant& variant)
      : view(variant, windows, files, [this](int command) { frameCommands.push_back(command); }) {
    view.OnInitDialog(host);
  }

  flashtest::RecordingWindowSystem windows;
  NoFileDialog files;
  std::vector<int> frameCommands;
  flash::UpdaterView view;
  flashtest::RecordingWindowHost host;
};

class UpdaterViewTest : public testing::TestWithParam<const AppVariant*> {
 protected:
  const AppVariant& Variant() const { return *GetParam(); }
  bool IsAspi() const { return &Variant() == &AppVariant::Aspi(); }
};

TEST_P(UpdaterViewTest, LayOutTakesTheHeightsFromTheFormAndMovesEveryControl) {
  ViewOnHost form(Variant());
  const int firstLabel = IsAspi() ? Variant().driveListLabelId : Variant().statusLabelId;
  form.host.places[firstLabel] = {0, 0, 50, 13};
  form.host.places[Variant().fileOpenId] = {0, 0, 60, 23};
  // The second label's height is not the one that counts.
  if (IsAspi()) form.host.places[Variant().statusLabelId] = {0, 0, 9, 99};
  form.view.LayOut(400, 300);

  const flash::FormLayout layout = flash::LayOutForm(Variant().layout, 400, 300, 13, 23);
  const std::map<int, ItemRect> expected = {
      {resources::kIdcDriveTree, layout.driveTree}, {Variant().statusLabelId, layout.statusLabel},
      {Variant().statusBoxId, layout.statusBox},    {Variant().fileOpenId, layout.fileOpen},
      {Variant().updateId, layout.update},          {Variant().exitId, layout.exit}};
  for (const auto& [id, place] : expected) EXPECT_EQ(form.host.places[id], place) << id;
  if (IsAspi()) {
    EXPECT_EQ(form.host.places[Variant().driveListLabelId], layout.driveListLabel);
  }
  // Nothing else was moved (flashspti has no drive list label).
  EXPECT_EQ(form.host.places.size(), expected.size() + (IsAspi() ? 1u : 0u));
}

TEST_P(UpdaterViewTest, StatusBoxShowsAppendsOnlyAtRefreshAndReadsTypedTextBack) {
  ViewOnHost form(Variant());
  const int box = Variant().statusBoxId;
  form.view.AppendStatusText("piece one\r\n");
  form.view.AppendStatusText("piece two\r\n");
  EXPECT_EQ(form.host.ItemText(box), "");
  form.view.RefreshStatusBox();
  EXPECT_EQ(form.host.ItemText(box), "piece one\r\npiece two\r\n");
  EXPECT_EQ(form.host.scrolledToEnd, std::vector<int>{box});

  form.host.texts[box] += "typed\r\n";
  form.view.TakeFieldValues();
  EXPECT_EQ(form.view.StatusText(), "piece one\r\npiece two\r\ntyped\r\n");
  // Only the NT build refreshes the box when an initial update ends.
  form.view.SetStatusText("kept");
  form.view.FinishInitialUpdate(400, 300);
  EXPECT_EQ(form.host.ItemText(box), IsAspi() ? "piece one\r\npiece two\r\ntyped\r\n" : "kept");
}

TEST_P(UpdaterViewTest, EnterAndEscapeDoNothingAndExitSendsTheApplicationExitCommand) {
  ViewOnHost form(Variant());
  EXPECT_TRUE(form.view.OnCommand(ui::kIdOk, ui::kBnClicked));
  EXPECT_TRUE(form.view.OnCommand(ui::kIdCancel, ui::kBnClicked));
  EXPECT_EQ(form.host.ended, -1);
  EXPECT_TRUE(form.frameCommands.empty());
  EXPECT_TRUE(form.view.OnCommand(Variant().exitId, ui::kBnClicked));
  EXPECT_EQ(form.frameCommands, std::vector<int>{resources::kIdAppExit});
  EXPECT_FALSE(form.view.OnCommand(4242, ui::kBnClicked));
}

TEST_P(UpdaterViewTest, TreeLabelsGoOutAsUtf8AndComeBackAsTheDrivesBytes) {
  ViewOnHost form(Variant());
  const int tree = resources::kIdcDriveTree;
  EXPECT_EQ(form.view.SelectedText(), std::nullopt);
  const int adapter = form.host.InsertTreeItem(tree, ui::kNoEntry, "00 : ATAPI Interface", true);
  const int drive = form.host.InsertTreeItem(tree, adapter, "ID=0 : TAVREON \xC3\xA9 1.02", false);
  form.host.SelectTreeItem(tree, adapter);
  EXPECT_EQ(form.view.SelectedText(), std::optional<std::string>("00 : ATAPI Interface"));
  EXPECT_EQ(form.view.SelectedParentText(), std::nullopt);
  form.host.SelectTreeItem(tree, drive);
  EXPECT_EQ(form.view.SelectedText(), std::optional<std::string>("ID=0 : TAVREON \xE9 1.02"));
  EXPECT_EQ(form.view.SelectedParentText(), std::optional<std::string>("00 : ATAPI Interface"));
}

flash::FirmwareIdentity Identity(const char* vendorProduct, const char* revision) {
  flash::FirmwareIdentity identity{};
  std::memcpy(identity.data(), vendorProduct, 24);
  std::memcpy(identity.data() + 24, revision, 4);
  identity[28] = 0x20;  // vendor-specific bytes are never shown
  return identity;
}

TEST_P(UpdaterViewTest, OnlyAnOkFromTheConfirmationConfirms) {
  const flash::FirmwareIdentity drive = Identity("TAVREON DVD-ROM KD-410\xE9 ", "1.02");
  const flash::FirmwareIdentity image = Identity("TAVREON DVD-ROM KD-410\xE9 ", "1.05");
  const struct {
    int dialogResult;
    int answer;
  } answers[] = {{ui::kIdOk, drvcmd::kIdOk},
                 {ui::kIdCancel, drvcmd::kIdCancel},
                 {0, drvcmd::kIdCancel},
                 {-1, drvcmd::kIdCancel}};
  ViewOnHost form(Variant());
  for (const auto& answer : answers) {
    form.host.modalAnswers.push_back(answer.dialogResult);
    EXPECT_EQ(form.view.ConfirmUpdate(drive, image), answer.answer) << answer.dialogResult;
  }
  // The texts it shows are the shared window cases' business.
  ASSERT_EQ(form.host.modals.size(), 4u);
  EXPECT_EQ(form.host.modals[0].caption, "Confirmation of update");
  EXPECT_EQ(form.host.modals[0].focused, ui::kIdOk);
  // The recorded confirmations keep the bytes as they came.
  EXPECT_EQ(form.view.Confirmations()[0].oldFirmware, "TAVREON DVD-ROM KD-410\xE9  1.02");
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, UpdaterViewTest,
                         testing::Values(&AppVariant::Aspi(), &AppVariant::Spti()),
                         [](const testing::TestParamInfo<const AppVariant*>& info) {
                           return std::string(info.param->applicationTitle);
                         });

TEST(ConfirmUpdateTextTest, ZeroBytesEndTheTextsAsPrintfWould) {
  flash::FirmwareIdentity identity{};
  std::memcpy(identity.data(), "SHORT", 5);
  std::memcpy(identity.data() + 24, "1", 1);
  EXPECT_EQ(flash::FormatFirmwareIdentity(identity), "SHORT 1");
}

TEST(UpdateProgressTest, BarCountsInStepsWrapsPastItsEndAndDrawsEveryChange) {
  flashtest::RecordingWindowSystem windows;
  const AppVariant& variant = AppVariant::Spti();
  flash::UpdateProgress progress(windows, variant.dialogs.updateProgress, variant.progressBarId,
                                 variant.progressLabelId);
  progress.Create();
  ASSERT_EQ(windows.windows.size(), 1u);
  const auto& opened = *windows.windows[0];
  EXPECT_EQ(opened.dialog, &variant.dialogs.updateProgress);
  const int bar = variant.progressBarId;
  // A new control: range 0..100, step 10.
  EXPECT_EQ(opened.host.progress.at(bar), (flashtest::Progress{0, 0, 100}));
  progress.StepIt();
  EXPECT_EQ(opened.host.progress.at(bar).position, 10);

  progress.SetRange(0, 30);
  EXPECT_EQ(opened.host.progress.at(bar), (flashtest::Progress{0, 0, 30}));
  progress.SetStep(7);
  const int expected[] = {7, 14, 21, 28, 5};  // 35 passes 30: 0 + (35 - 30)
  for (int position : expected) {
    progress.StepIt();
    EXPECT_EQ(opened.host.progress.at(bar).position, position);
  }
  progress.SetText("Remaining time to complete about 29 sec");
  EXPECT_EQ(opened.host.ItemText(variant.progressLabelId),
            "Remaining time to complete about 29 sec");
  EXPECT_GT(windows.paintPumps, 0);
  progress.Destroy();
  EXPECT_FALSE(opened.open);
  EXPECT_FALSE(progress.IsShown());

  // Each use starts afresh.
  progress.Create();
  EXPECT_TRUE(progress.Texts().empty());
  EXPECT_EQ(windows.windows[1]->host.progress.at(bar), (flashtest::Progress{0, 0, 100}));
}

class ScriptedComponent : public platform::SystemInfoComponent {
 public:
  platform::HResult get_OSBuildNumber(platform::Short* build) override {
    reads += "build ";
    *build = 2222;
    return failing == "build" ? platform::kEFail : platform::kSOk;
  }
  platform::HResult get_OSPlatform(platform::Short* platformId) override {
    reads += "platform ";
    *platformId = 1;
    return failing == "platform" ? platform::kEFail : platform::kSOk;
  }
  platform::HResult get_OSVersion(float* version) override {
    reads += "version ";
    *version = 4.1f;
    return failing == "version" ? platform::kEFail : platform::kSOk;
  }
  std::string failing;
  std::string reads;
};

TEST(SystemInfoTest, FormatsPlatformVersionAndBuildAfterReadingThemInOrder) {
  ScriptedComponent component;
  EXPECT_EQ(flash::SystemInfoText(&component),
            std::optional<std::string>("Platform = 1\r\n OS Verison = 4.100.2222"));
  EXPECT_EQ(component.reads, "build version platform ");
}

TEST(SystemInfoTest, AMissingComponentOrAFailedReadGivesNoText) {
  EXPECT_EQ(flash::SystemInfoText(nullptr), std::nullopt);
  for (const char* failing : {"build", "version", "platform"}) {
    ScriptedComponent component;
    component.failing = failing;
    EXPECT_EQ(flash::SystemInfoText(&component), std::nullopt) << failing;
  }
}

// Settings in memory, section by section.
class MemorySettings : public flash::SettingsStore {
 public:
  std::optional<std::string> ReadValue(const std::string& section,
                                       const std::string& name) override {
    const auto found = sections.find(section);
    if (found == sections.end()) return std::nullopt;
    for (const auto& [valueName, text] : found->second) {
      if (valueName == name) return text;
    }
    return std::nullopt;
  }
  bool ReplaceSection(const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& values) override {
    sections[section] = values;
    return true;
  }
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> sections;
};

TEST(RecentFileListTest, KeepsTheNewestFirstUpToItsCapacityUnderFileN) {
  // Absolute paths in the system's own form; the list does not look at the files.
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  auto path = [&](const char* name) { return (folder / name).string(); };
  MemorySettings settings;
  flash::RecentFileList list(settings, 3);
  list.Load();
  for (const char* name : {"a.hex", "b.hex", "c.hex", "d.hex"}) list.Add(path(name));
  // Already listed, however it is spelled: moves to the top.
  list.Add((folder / "." / "x" / ".." / "c.hex").string());
  const std::vector<std::string> newest = {path("c.hex"), path("d.hex"), path("b.hex")};
  EXPECT_EQ(list.Entries(), newest);
  using Values = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(settings.sections["Recent File List"],
            (Values{{"File1", path("c.hex")}, {"File2", path("d.hex")}, {"File3", path("b.hex")}}));

  list.Remove(path("d.hex"));
  EXPECT_EQ(settings.sections["Recent File List"],
            (Values{{"File1", path("c.hex")}, {"File2", path("b.hex")}}));
  // A list read back skips gaps and repeats, and stops at its capacity.
  settings.sections["Recent File List"] = {
      {"File1", "/a"}, {"File2", ""}, {"File3", "/a"}, {"File4", "/b"}, {"File5", "/c"}};
  flash::RecentFileList reloaded(settings, 4);
  reloaded.Load();
  EXPECT_EQ(reloaded.Entries(), (std::vector<std::string>{"/a", "/b"}));
  EXPECT_EQ(flash::RecentFileMenuText(0, "/a"), "&1 /a");
}

// A frame that records what the document cycle asks of it.
class RecordingFrame : public flash::DocumentFrame {
 public:
  void SetCaption(const std::string& caption) override { calls.push_back("caption " + caption); }
  void RecentFilesChanged() override { calls.push_back("recent"); }
  void InitialUpdate() override { calls.push_back("update"); }
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
    messages.push_back({text, caption, style});
    return ui::kIdOk;
  }
  std::vector<std::string> calls;
  std::vector<flashtest::RecordedMessage> messages;
};

TEST(DocumentCycleTest, CaptionsOfNewAndOpenedDocumentsAreTheBuildsOwn) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      ("flash-document-cycle-test-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "UPDATE.HEX").string();
  std::ofstream(path) << ":00000001FF\n";
  const struct {
    const AppVariant* variant;
    const char* newCaption;
    const char* openedCaption;
  } builds[] = {
      {&AppVariant::Aspi(), "DVD-ROM Firmware Update Tool for Win32 - FLASHKIT",
       "UPDATE.HEX - FLASHKIT"},
      {&AppVariant::Spti(), "Update DVD for W2K - ", "Update DVD for W2K - "},
  };
  for (const auto& build : builds) {
    MemorySettings settings;
    flash::RecentFileList recent(settings, build.variant->recentFileCount);
    RecordingFrame frame;
    flash::DocumentCycle documents(*build.variant, recent, frame);
    documents.NewDocument();
    EXPECT_EQ(frame.calls,
              (std::vector<std::string>{std::string("caption ") + build.newCaption, "update"}));
    frame.calls.clear();
    ASSERT_TRUE(documents.OpenDocument(path));
    EXPECT_EQ(frame.calls, (std::vector<std::string>{
                               "recent", std::string("caption ") + build.openedCaption, "update"}));
    EXPECT_EQ(recent.Entries(), std::vector<std::string>{path});
  }
  std::filesystem::remove_all(folder);
}

TEST(DocumentCycleTest, AFileThatCannotBeOpenedIsReportedAndDroppedFromTheList) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      ("flash-document-missing-test-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(folder);
  const std::string gone = (folder / "gone%s.hex").string();
  MemorySettings settings;
  settings.sections["Recent File List"] = {{"File1", gone}, {"File2", "/other.hex"}};
  flash::RecentFileList recent(settings, 5);
  recent.Load();
  RecordingFrame frame;
  flash::DocumentCycle documents(AppVariant::Aspi(), recent, frame);
  for (const std::string& path : {gone, folder.string()}) {
    EXPECT_FALSE(documents.OpenDocument(path)) << path;
  }
  ASSERT_EQ(frame.messages.size(), 2u);
  EXPECT_EQ(frame.messages[0].text, gone +
                                        "\r\nCannot find this file.\r\nPlease verify that the "
                                        "correct path and file name are given.");
  EXPECT_EQ(frame.messages[0].caption, "");
  EXPECT_EQ(frame.messages[0].style, drvcmd::kMbIconExclamation);
  EXPECT_EQ(recent.Entries(), std::vector<std::string>{"/other.hex"});
  EXPECT_EQ(frame.calls, (std::vector<std::string>{"recent", "recent"}));  // no initial update
  std::filesystem::remove_all(folder);
}

TEST(DocumentCycleTest, TheFirstArgumentThatIsNoSwitchNamesTheDocument) {
  EXPECT_EQ(flash::DocumentArgument({"--x", "a.hex", "b.hex"}),
            std::optional<std::string>("a.hex"));
  EXPECT_EQ(flash::DocumentArgument({"-x"}), std::nullopt);
}

}  // namespace
