// The updater windows' Qt pieces on their own: the templates, the
// confirmation's Cancel paths by key and close box, the About box's edit box,
// the recent-file list in QSettings, and the desktop document registration.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "drvcmd/notice.h"
#include "flash/app/document_type_registration.h"
#include "flash/app/qt_settings_store.h"
#include "flash/window/about_logic.h"
#include "flash/window/app_variant.h"
#include "flash/window/confirm_update_logic.h"
#include "flash/window/recent_file_list.h"
#include "resources/flash/flash_resource_ids.h"
#include "ui/dialog_builder.h"
#include "ui/qt_dialog_host.h"
#include "ui/qt_window_system.h"
#include "ui/settings_key.h"

namespace {

using flash::AppVariant;

const ui::ControlTemplate* TemplateControl(const ui::DialogTemplate& dialog, int id) {
  for (const ui::ControlTemplate& control : dialog.controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

// The controls of a main form, as (id, kind, text) in template order.
std::vector<std::tuple<int, ui::ControlKind, std::string>> FormControls(
    const ui::DialogTemplate& form) {
  std::vector<std::tuple<int, ui::ControlKind, std::string>> controls;
  for (const ui::ControlTemplate& control : form.controls) {
    controls.emplace_back(control.id, control.kind, control.text);
  }
  return controls;
}

TEST(FlashTemplatesTest, MainFormsCarryEachBuildsIdsTextsAndFont) {
  using K = ui::ControlKind;
  const ui::DialogTemplate& aspi = AppVariant::Aspi().dialogs.mainForm;
  EXPECT_EQ(aspi.id, 101);
  EXPECT_STREQ(aspi.fontFamily, "MS Sans Serif");
  EXPECT_EQ(aspi.pointSize, 8);
  EXPECT_EQ(FormControls(aspi),
            (std::vector<std::tuple<int, K, std::string>>{{1005, K::kStatic, "Drive List"},
                                                          {1000, K::kTree, ""},
                                                          {1006, K::kStatic, "Status"},
                                                          {1001, K::kEdit, ""},
                                                          {1002, K::kButton, "File Open"},
                                                          {1003, K::kButton, "Update"},
                                                          {1004, K::kButton, "Exit"}}));
  const unsigned box = ui::kStyleMultiLine | ui::kStyleVerticalScroll;
  EXPECT_EQ(TemplateControl(aspi, 1001)->style & (box | ui::kStyleReadOnly),
            box | ui::kStyleReadOnly);

  const ui::DialogTemplate& spti = AppVariant::Spti().dialogs.mainForm;
  EXPECT_EQ(spti.id, 101);
  EXPECT_STREQ(spti.fontFamily, "Arial Black");
  EXPECT_EQ(spti.pointSize, 10);
  EXPECT_EQ(FormControls(spti),
            (std::vector<std::tuple<int, K, std::string>>{{1000, K::kTree, ""},
                                                          {1005, K::kStatic, "Status"},
                                                          {1004, K::kEdit, ""},
                                                          {1003, K::kButton, "File Open"},
                                                          {1002, K::kButton, "Update"},
                                                          {1001, K::kButton, "Exit"}}));
  EXPECT_EQ(TemplateControl(spti, 1004)->style & (box | ui::kStyleReadOnly), box);
  for (const ui::DialogTemplate* form : {&aspi, &spti}) {
    EXPECT_NE(TemplateControl(*form, 1000)->style & ui::kStyleBorder, 0u);
  }
}

TEST(FlashTemplatesTest, ConfirmationAndProgressHaveTheirSizesCaptionsAndFonts) {
  const std::string gothic =
      "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7"
      "\xE3\x83\x83\xE3\x82\xAF";
  const struct {
    const AppVariant* variant;
    int confirmWidth, confirmHeight;
    bool confirmMenu;
    int progressHeight;
    const char* progressCaption;
    const char* progressLabel;
    int barId, labelId;
    bool progressMenu;
  } builds[] = {
      {&AppVariant::Aspi(), 187, 106, false, 47, "Update progressing...",
       "Remaining time to complete about 30 sec", 1007, 1008, false},
      {&AppVariant::Spti(), 212, 129, true, 51, "Now processing....", "Static", 1008, 1009, true},
  };
  for (const auto& build : builds) {
    SCOPED_TRACE(build.variant->applicationTitle);
    const ui::DialogTemplate& confirm = build.variant->dialogs.confirmUpdate;
    EXPECT_EQ(confirm.id, 131);
    EXPECT_STREQ(confirm.caption, "Confirmation of update");
    EXPECT_STREQ(confirm.fontFamily, "Arial Black");
    EXPECT_EQ(confirm.pointSize, 8);
    EXPECT_EQ(confirm.width, build.confirmWidth);
    EXPECT_EQ(confirm.height, build.confirmHeight);
    EXPECT_EQ((confirm.style & ui::kDialogSystemMenu) != 0, build.confirmMenu);
    for (int id : {1010, 1011}) {
      ASSERT_NE(TemplateControl(confirm, id), nullptr);
      EXPECT_NE(TemplateControl(confirm, id)->style & ui::kStyleSunken, 0u);
    }
    ASSERT_NE(TemplateControl(confirm, ui::kIdControlOk), nullptr);
    EXPECT_NE(TemplateControl(confirm, ui::kIdControlOk)->style & ui::kStyleDefaultButton, 0u);
    EXPECT_STREQ(TemplateControl(confirm, ui::kIdControlCancel)->text, "Cancel");

    const ui::DialogTemplate& progress = build.variant->dialogs.updateProgress;
    EXPECT_EQ(progress.id, 130);
    EXPECT_EQ(progress.fontFamily, gothic);
    EXPECT_EQ(progress.pointSize, 9);
    EXPECT_EQ(progress.width, 187);
    EXPECT_EQ(progress.height, build.progressHeight);
    EXPECT_STREQ(progress.caption, build.progressCaption);
    EXPECT_EQ((progress.style & ui::kDialogSystemMenu) != 0, build.progressMenu);
    EXPECT_EQ(build.variant->progressBarId, build.barId);
    EXPECT_EQ(build.variant->progressLabelId, build.labelId);
    ASSERT_NE(TemplateControl(progress, build.barId), nullptr);
    EXPECT_EQ(TemplateControl(progress, build.barId)->kind, ui::ControlKind::kProgress);
    ASSERT_NE(TemplateControl(progress, build.labelId), nullptr);
    EXPECT_STREQ(TemplateControl(progress, build.labelId)->text, build.progressLabel);
    // The label sits above the bar.
    EXPECT_LT(TemplateControl(progress, build.labelId)->y,
              TemplateControl(progress, build.barId)->y);
  }
}

QPushButton* FindButton(const QWidget& dialog, int id) {
  return ui::FindControl<QPushButton>(&dialog, id);
}

flash::FirmwareIdentity Identity(const char* vendorProduct, const char* revision) {
  flash::FirmwareIdentity identity{};
  std::memcpy(identity.data(), vendorProduct, 24);
  std::memcpy(identity.data() + 24, revision, 4);
  identity[28] = 0x20;  // vendor-specific bytes are never shown
  return identity;
}

// Runs the confirmation modally and acts on it once it is up: its answer.
int RunWhileActing(ui::QtDialogHost& dialog, std::function<void()> action) {
  QTimer::singleShot(0, &dialog, action);
  dialog.exec();
  return dialog.Result();
}

TEST(ConfirmUpdateDialogTest, OkConfirmsAndEscapeCancelOrCloseCancel) {
  const flash::FirmwareIdentity identity = Identity("TAVREON DVD-ROM KD-410  ", "1.02");
  const auto& confirm = AppVariant::Spti().dialogs.confirmUpdate;
  ui::QtWindowSystem windows("flashspti");
  const struct {
    const char* how;
    std::function<void(ui::QtDialogHost&)> act;
    int answer;
  } cases[] = {
      {"OK", [](ui::QtDialogHost& dialog) { FindButton(dialog, ui::kIdControlOk)->click(); },
       drvcmd::kIdOk},
      {"Cancel",
       [](ui::QtDialogHost& dialog) { FindButton(dialog, ui::kIdControlCancel)->click(); },
       drvcmd::kIdCancel},
      {"Escape",
       [](ui::QtDialogHost& dialog) {
         QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
         QApplication::sendEvent(&dialog, &escape);
       },
       drvcmd::kIdCancel},
      {"close box", [](ui::QtDialogHost& dialog) { dialog.close(); }, drvcmd::kIdCancel},
  };
  for (const auto& row : cases) {
    flash::ConfirmUpdateLogic logic(identity, identity);
    ui::QtDialogHost dialog(confirm, logic, windows);
    dialog.Initialise();
    EXPECT_EQ(RunWhileActing(dialog, [&] { row.act(dialog); }), row.answer) << row.how;
  }
}

TEST(AboutDialogTest, TheOlderBuildsVersionIsInAReadOnlyEditBox) {
  ui::QtWindowSystem windows("flashaspi");
  flash::UpdaterAboutLogic logic(AppVariant::Aspi());
  ui::QtDialogHost aspi(AppVariant::Aspi().dialogs.aboutBox, logic, windows);
  aspi.Initialise();
  auto* edit = ui::FindControl<QLineEdit>(&aspi, resources::kIdcAspiAboutVersion);
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(edit->isReadOnly());
  EXPECT_EQ(edit->text(), QStringLiteral("Firmware Update Utility Version 0.03"));
}

TEST(RecentFileListTest, TheListLivesInTheSettingsUnderFileN) {
  flash::QtSettingsStore store(QStringLiteral("Recent Test Key"), QStringLiteral("recenttest"));
  flash::RecentFileList list(store, 3);
  list.Load();
  for (const char* path : {"/data/a.hex", "/data/b.hex", "/data/c.hex", "/data/d.hex"}) {
    list.Add(path);
  }
  QSettings settings(QStringLiteral("Recent Test Key"), QStringLiteral("recenttest"));
  EXPECT_EQ(settings.value("Recent File List/File1").toString(), QStringLiteral("/data/d.hex"));
  EXPECT_EQ(settings.value("Recent File List/File3").toString(), QStringLiteral("/data/b.hex"));
  EXPECT_FALSE(settings.contains("Recent File List/File4"));

  list.Remove("/data/c.hex");
  flash::RecentFileList reloaded(store, 3);
  reloaded.Load();
  EXPECT_EQ(reloaded.Entries(), (std::vector<std::string>{"/data/d.hex", "/data/b.hex"}));
}

TEST(RecentFileListTest, AKeyWithASlashKeepsOneFolderAndTakesOverTheNestedOne) {
  const QString key = QStringLiteral("Recent DVD-ROM F/W Test Key");
  // Where earlier versions wrote the list: "Recent DVD-ROM F" / "W Test Key".
  const auto earlier = ui::OpenEarlierUserSettings(key, QStringLiteral("slashtest"));
  earlier->setValue("Recent File List/File1", QStringLiteral("/data/old.hex"));
  earlier->sync();

  flash::QtSettingsStore store(key, QStringLiteral("slashtest"));
  flash::RecentFileList list(store, 4);
  list.Load();
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"/data/old.hex"}));
  list.Add("/data/new.hex");

  const auto settings = ui::OpenUserSettings(key, QStringLiteral("slashtest"));
  const QFileInfo file(settings->fileName());
  ASSERT_TRUE(file.exists()) << settings->fileName().toStdString();
  EXPECT_EQ(file.dir().dirName(), QString(key).replace(QLatin1Char('/'), QChar(0x2215)));
  EXPECT_EQ(settings->value("Recent File List/File1").toString(), QStringLiteral("/data/new.hex"));
  EXPECT_EQ(settings->value("Recent File List/File2").toString(), QStringLiteral("/data/old.hex"));

  // From now on the list comes from the one folder, not the nested one.
  earlier->setValue("Recent File List/File1", QStringLiteral("/data/stale.hex"));
  earlier->sync();
  flash::RecentFileList reloaded(store, 4);
  reloaded.Load();
  EXPECT_EQ(reloaded.Entries(), (std::vector<std::string>{"/data/new.hex", "/data/old.hex"}));
}

QString ReadText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return QString();
  return QTextStream(&file).readAll();
}

// A user's XDG data and config folders in a temporary place.
class DocumentRegistrationTest : public testing::Test {
 protected:
  QString DataHome() const { return root_.filePath(QStringLiteral("data")); }
  QString ConfigHome() const { return root_.filePath(QStringLiteral("config")); }
  QString DataList() const { return DataHome() + "/applications/mimeapps.list"; }
  bool Register() {
    return flash::RegisterDocumentType(DataHome(), ConfigHome(),
                                       QStringLiteral("/opt/dvd/flashaspi"));
  }
  static void WriteFile(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  QTemporaryDir root_;
};

TEST_F(DocumentRegistrationTest, WritesTheEntryAndTakesFreeHexFiles) {
  ASSERT_TRUE(Register());
  const QString entry = ReadText(DataHome() + "/applications/flashkit-document.desktop");
  EXPECT_TRUE(entry.contains(QStringLiteral("Name=FLASHKIT Document\n")));
  EXPECT_TRUE(entry.contains(QStringLiteral("Exec=\"/opt/dvd/flashaspi\" %f\n")));
  EXPECT_TRUE(entry.contains(QStringLiteral("MimeType=text/x-hex;\n")));
  const QString list = ReadText(DataList());
  EXPECT_EQ(list, QStringLiteral("[Default Applications]\ntext/x-hex=flashkit-document.desktop\n"));

  // Registering again adds nothing twice.
  ASSERT_TRUE(Register());
  EXPECT_EQ(ReadText(DataList()), list);
}

TEST_F(DocumentRegistrationTest, AddsItsDefaultToAnExistingDefaultsGroup) {
  WriteFile(DataList(), "[Default Applications]\ntext/plain=editor.desktop\n");
  ASSERT_TRUE(Register());
  EXPECT_EQ(ReadText(DataList()),
            QStringLiteral("[Default Applications]\ntext/x-hex=flashkit-document.desktop\n"
                           "text/plain=editor.desktop\n"));
}

TEST_F(DocumentRegistrationTest, LeavesAnotherApplicationsHexAssociationAlone) {
  const QByteArray existing =
      "[Added Associations]\ntext/plain=editor.desktop\n\n[Default Applications]\n"
      "text/x-hex = hexeditor.desktop\n";
  WriteFile(DataList(), existing);
  ASSERT_TRUE(Register());
  EXPECT_EQ(ReadText(DataList()).toUtf8(), existing);
  EXPECT_TRUE(QFile::exists(DataHome() + "/applications/flashkit-document.desktop"));
}

TEST_F(DocumentRegistrationTest, TheUsersConfigDefaultWinsOverOurs) {
  WriteFile(ConfigHome() + "/mimeapps.list",
            "[Default Applications]\ntext/x-hex=hexeditor.desktop\n");
  ASSERT_TRUE(Register());
  EXPECT_FALSE(QFile::exists(DataList()));
  // An association merely added by the user is no default: ours is written.
  WriteFile(ConfigHome() + "/mimeapps.list",
            "[Added Associations]\ntext/x-hex=hexeditor.desktop\n");
  ASSERT_TRUE(Register());
  EXPECT_TRUE(
      ReadText(DataList()).contains(QStringLiteral("text/x-hex=flashkit-document.desktop")));
}

TEST(DocumentRegistrationHomesTest, HomesFollowTheXdgVariables) {
  const QByteArray savedData = qgetenv("XDG_DATA_HOME");
  const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_DATA_HOME", "/tmp/xdg-data-test");
  qputenv("XDG_CONFIG_HOME", "/tmp/xdg-config-test");
  EXPECT_EQ(flash::DesktopDataHome(), QStringLiteral("/tmp/xdg-data-test"));
  EXPECT_EQ(flash::DesktopConfigHome(), QStringLiteral("/tmp/xdg-config-test"));
  qunsetenv("XDG_DATA_HOME");
  qunsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(flash::DesktopDataHome(), QDir::homePath() + QStringLiteral("/.local/share"));
  EXPECT_EQ(flash::DesktopConfigHome(), QDir::homePath() + QStringLiteral("/.config"));
  if (!savedData.isEmpty()) qputenv("XDG_DATA_HOME", savedData);
  if (!savedConfig.isEmpty()) qputenv("XDG_CONFIG_HOME", savedConfig);
}

}  // namespace
