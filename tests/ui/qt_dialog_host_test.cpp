// The Qt host under a small dialog of its own: which commands the logic gets
// from the real widgets (and which it does not), the close and key paths, list
// and tree calls, texts with "\r\n", modal dialogs and the painted wait.
#include "ui/qt_dialog_host.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QTest>
#include <QTreeWidget>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "tests/window/window_test_host.h"
#include "ui/dialog_builder.h"
#include "ui/host/latin1_text.h"
#include "ui/host/simple_dialog_logic.h"
#include "ui/host/window_host.h"
#include "ui/qt_window_system.h"

namespace {

constexpr int kButton = 10;
constexpr int kList = 11;
constexpr int kBox = 12;
constexpr int kTree = 13;
constexpr int kRadioA = 14;
constexpr int kRadioB = 15;

constexpr ui::ControlTemplate kControls[] = {
    {ui::kIdControlOk, ui::ControlKind::kButton, "OK", 5, 5, 40, 14, ui::kStyleNone},
    {kButton, ui::ControlKind::kButton, "Go", 50, 5, 40, 14, ui::kStyleNone},
    {kList, ui::ControlKind::kCombo, "", 5, 25, 90, 60, ui::kStyleEditable},
    {kBox, ui::ControlKind::kEdit, "", 5, 45, 90, 30,
     ui::kStyleMultiLine | ui::kStyleReadOnly | ui::kStyleVerticalScroll},
    {kTree, ui::ControlKind::kTree, "", 100, 5, 60, 70, ui::kStyleBorder},
    {kRadioA, ui::ControlKind::kRadio, "A", 5, 80, 30, 10, ui::kStyleNone},
    {kRadioB, ui::ControlKind::kRadio, "B", 40, 80, 30, 10, ui::kStyleNone},
};
constexpr ui::DialogTemplate kDialog = {500, "Host test", "MS Sans Serif",       8,
                                        170, 100,         ui::kDialogSystemMenu, kControls};
constexpr ui::DialogTemplate kModal = {501, "Modal test", "MS Sans Serif", 8, 50, 30, 0, {}};

using Call = std::pair<int, int>;  // (id or command, code); code -1 for a system command

class RecordingLogic : public ui::DialogLogic {
 public:
  void OnInitDialog(ui::WindowHost& host) override {
    host_ = &host;
    host.AddListItem(kList, "D: first");
    host.AddListItem(kList, "E: second");
    host.SelectListItem(kList, 0);
  }
  bool OnCommand(int id, int code) override {
    calls.emplace_back(id, code);
    return handleCancel && id == ui::kIdCancel;
  }
  bool OnSysCommand(int command) override {
    calls.emplace_back(command, -1);
    return false;
  }
  void OnTimer(int timerId) override { ticks.push_back(timerId); }
  void OnDestroy() override { ++destroyed; }

  ui::WindowHost* host_ = nullptr;
  std::vector<Call> calls;
  std::vector<int> ticks;
  bool handleCancel = false;
  int destroyed = 0;
};

class QtDialogHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = window_test::System().Open(kDialog, logic_);
    driver_ = window_test::Drive(*window_);
  }
  ui::QtDialogHost& Dialog() { return ui::QtWindowSystem::DialogOf(*window_); }
  ui::WindowHost& Host() { return window_->Host(); }

  RecordingLogic logic_;
  std::unique_ptr<ui::OpenWindow> window_;
  std::unique_ptr<window_test::WindowDriver> driver_;
};

TEST_F(QtDialogHostTest, ButtonsNotifyTheLogicAndAnUnhandledOkEndsTheDialog) {
  EXPECT_TRUE(logic_.calls.empty()) << "filling the list notifies nobody";
  driver_->Press(kButton);
  Dialog().findChild<QAbstractButton*>(ui::ControlObjectName(kRadioB))->click();
  EXPECT_EQ(logic_.calls,
            (std::vector<Call>{{kButton, ui::kBnClicked}, {kRadioB, ui::kBnClicked}}));
  EXPECT_TRUE(driver_->IsOpen());
  driver_->Press(ui::kIdOk);
  EXPECT_FALSE(driver_->IsOpen());
  EXPECT_EQ(window_->Result(), ui::kIdOk);
  EXPECT_EQ(logic_.destroyed, 1);
  driver_->Press(kButton);
  EXPECT_EQ(logic_.calls.size(), 3u) << "an ended dialog sends nothing";
}

TEST_F(QtDialogHostTest, DropListSelectionTypedTextAndPickingAgain) {
  EXPECT_EQ(driver_->ListCount(kList), 2);
  EXPECT_EQ(driver_->ListSelection(kList), 0);
  EXPECT_EQ(driver_->ListText(kList, 1), "E: second");
  driver_->ChooseListItem(kList, 1);
  EXPECT_EQ(logic_.calls, (std::vector<Call>{{kList, ui::kCbnSelChange}}));
  EXPECT_EQ(driver_->ListSelection(kList), 1);

  logic_.calls.clear();
  driver_->Type(kList, "X: typed");
  EXPECT_EQ(driver_->ListSelection(kList), ui::kNoEntry);
  EXPECT_EQ(driver_->Text(kList), "X: typed");
  EXPECT_EQ(logic_.calls, (std::vector<Call>{{kList, ui::kCbnEditChange}}));
  EXPECT_EQ(driver_->ListCount(kList), 2) << "typed text is never added";
  // The entry that was current before the typing, picked again: selected.
  driver_->ChooseListItem(kList, 1);
  EXPECT_EQ(logic_.calls.back(), Call(kList, ui::kCbnSelChange));
  EXPECT_EQ(driver_->ListSelection(kList), 1);

  logic_.calls.clear();
  Host().SelectListItem(kList, ui::kNoEntry);
  EXPECT_EQ(driver_->Text(kList), "");
  EXPECT_EQ(driver_->ListSelection(kList), ui::kNoEntry);
  Host().ResetList(kList);
  EXPECT_EQ(driver_->ListCount(kList), 0);
  EXPECT_TRUE(logic_.calls.empty()) << "the logic's own changes notify nobody";
}

TEST_F(QtDialogHostTest, CloseBoxEscapeAndEnterGoThroughTheLogic) {
  logic_.handleCancel = true;
  Dialog().close();
  EXPECT_EQ(logic_.calls,
            (std::vector<Call>{{ui::kSysClose, -1}, {ui::kIdCancel, ui::kBnClicked}}));
  EXPECT_TRUE(driver_->IsOpen()) << "the logic kept its Cancel command";
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&Dialog(), &escape);
  EXPECT_EQ(logic_.calls.back(), Call(ui::kIdCancel, ui::kBnClicked));
  EXPECT_TRUE(driver_->IsOpen());

  logic_.handleCancel = false;
  driver_->SystemCommand(ui::kSysClose);
  EXPECT_FALSE(driver_->IsOpen());
  EXPECT_EQ(window_->Result(), ui::kIdCancel);
  EXPECT_EQ(Dialog().result(), QDialog::Rejected);
}

TEST_F(QtDialogHostTest, TextsCheckPlaceAndTree) {
  Host().SetItemText(kBox, "one\r\ntwo\r\n");
  EXPECT_EQ(driver_->Text(kBox), "one\r\ntwo\r\n");
  Host().SetItemText(kButton, "Gr\xC3\xBC\xC3\x9F");
  EXPECT_EQ(Dialog().findChild<QAbstractButton*>(ui::ControlObjectName(kButton))->text(),
            QString::fromUtf8("Grüß"));
  EXPECT_EQ(driver_->Text(kButton), "Gr\xC3\xBC\xC3\x9F");

  Host().CheckItem(kRadioA, true);
  Host().CheckItem(kRadioA, false);
  EXPECT_FALSE(driver_->Checked(kRadioA)) << "a radio button's check clears alone";
  Host().CheckItem(kRadioB, true);
  EXPECT_TRUE(driver_->Checked(kRadioB));
  Host().EnableItem(kButton, false);
  EXPECT_FALSE(driver_->Enabled(kButton));
  EXPECT_FALSE(driver_->Exists(99));

  const ui::ItemRect place{7, 9, 31, 17};
  Host().MoveItem(kButton, place);
  EXPECT_EQ(Host().ItemPlace(kButton), place);

  const int root = Host().InsertTreeItem(kTree, ui::kNoEntry, "root", true);
  const int leaf = Host().InsertTreeItem(kTree, root, "leaf", false);
  EXPECT_EQ(Host().InsertTreeItem(kTree, 7, "orphan", false), ui::kNoEntry);
  EXPECT_EQ(Host().TreeItemParent(kTree, leaf), root);
  EXPECT_EQ(Host().TreeItemParent(kTree, root), ui::kNoEntry);
  EXPECT_EQ(Host().TreeItemText(kTree, leaf), "leaf");
  Host().SelectTreeItem(kTree, leaf);
  EXPECT_EQ(Host().TreeSelection(kTree), leaf);
  auto* tree = Dialog().findChild<QTreeWidget*>(ui::ControlObjectName(kTree));
  emit tree->itemDoubleClicked(tree->currentItem(), 0);
  EXPECT_EQ(logic_.calls.back(), Call(kTree, ui::kNmDoubleClick));
  Host().ResetTree(kTree);
  EXPECT_EQ(Host().TreeSelection(kTree), ui::kNoEntry);
}

TEST_F(QtDialogHostTest, MessageBoxesAndModalDialogsAreRecorded) {
  driver_->PresetAnswer(ui::kIdCancel);
  EXPECT_EQ(Host().MessageBox("text", "", 0x30), ui::kIdCancel);
  EXPECT_EQ(Host().MessageBox("more", "Own", 0), ui::kIdOk);
  const std::vector<window_test::ShownMessage> shown = driver_->Messages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].caption, "");
  EXPECT_EQ(shown[0].style, 0x30u);
  EXPECT_EQ(shown[1].caption, "Own");

  int filled = 0;
  ui::SimpleDialogLogic modal([&](ui::WindowHost&) { ++filled; });
  EXPECT_EQ(Host().RunModal(kModal, modal), ui::kIdOk);
  EXPECT_EQ(filled, 1);
  EXPECT_EQ(driver_->ModalCaptions(), (std::vector<std::string>{"Modal test"}));
}

TEST_F(QtDialogHostTest, TimersTickUntilKilledOrTheDialogEnds) {
  Host().SetTimer(7, 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return logic_.ticks.size() >= 2; }));
  EXPECT_EQ(logic_.ticks, std::vector<int>(logic_.ticks.size(), 7));
  Host().KillTimer(7);
  logic_.ticks.clear();
  Host().SetTimer(8, 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !logic_.ticks.empty(); }));
  EXPECT_EQ(logic_.ticks, std::vector<int>(logic_.ticks.size(), 8)) << "7 was killed";
  driver_->Press(ui::kIdOk);
  logic_.ticks.clear();
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_TRUE(logic_.ticks.empty()) << "an ended dialog's timers are gone";
}

TEST(Latin1TextTest, EveryByteBecomesTheCharacterQtReadsFromLatin1) {
  std::string bytes;
  for (int code = 1; code <= 0xFF; ++code) bytes += static_cast<char>(code);
  const std::string text = ui::Latin1ToUtf8(bytes);
  EXPECT_EQ(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
            QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())));
  EXPECT_EQ(ui::Latin1ToUtf8("D: Caf\xE9"), "D: Caf\xC3\xA9");
}

TEST(QtWindowSystemTest, RunPaintedRunsTheWorkElsewhereAndPassesItsFailureOn) {
  std::thread::id ranOn;
  window_test::System().RunPainted([&] { ranOn = std::this_thread::get_id(); });
  EXPECT_NE(ranOn, std::thread::id());
  EXPECT_NE(ranOn, std::this_thread::get_id());
  EXPECT_THROW(window_test::System().RunPainted([] { throw std::runtime_error("failed"); }),
               std::runtime_error);
}

}  // namespace
