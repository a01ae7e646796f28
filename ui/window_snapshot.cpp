// Images of the programs' windows for the documentation and the install test,
// built into every Qt program of the suite (an interface source of dvd_ui).
//   DVDUTIL_SNAPSHOT=<folder>        once the program's first window has shown
//                                    and settled, it is saved as
//                                    <folder>/<program>.png and the program ends;
//                                    its texts go to <folder>/<program>.txt
//                                    (ui/host/window_dump.h), the same on the
//                                    Win32 host, for comparing the two.
//                                    Started programs inherit it and do the same.
//   DVDUTIL_SNAPSHOT_PRESS=<id>      first clicks the control with that id in
//                                    that window (taken out of the environment,
//                                    so a started program does not click too).
// Without DVDUTIL_SNAPSHOT nothing here does anything.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <cstdio>

#include "ui/dialog_builder.h"
#include "ui/host/window_dump.h"
#include "ui/status_box.h"

namespace ui {
namespace {

constexpr char kSnapshotVariable[] = "DVDUTIL_SNAPSHOT";
constexpr char kPressVariable[] = "DVDUTIL_SNAPSHOT_PRESS";
constexpr int kSettleMilliseconds = 400;

// A text as the host interface holds it: UTF-8, "\r\n" line ends.
std::string Held(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return text.toStdString();
}

void DumpTreeItems(const QTreeWidgetItem& item, int depth, const QTreeWidgetItem* selected,
                   std::vector<DumpedTreeItem>& items) {
  items.push_back({depth, Held(item.text(0)), &item == selected});
  for (int k = 0; k < item.childCount(); ++k) {
    DumpTreeItems(*item.child(k), depth + 1, selected, items);
  }
}

// One template control, told by the widget the dialog builder made for it.
DumpedControl DumpControl(const QWidget& widget, int id) {
  DumpedControl control;
  control.id = id;
  control.enabled = widget.parentWidget() == nullptr || widget.isEnabledTo(widget.parentWidget());
  control.visible = !widget.isHidden();
  if (const auto* box = qobject_cast<const QPlainTextEdit*>(&widget)) {
    control.kind = ControlKind::kEdit;
    control.text = ReadStatusBox(*box);
  } else if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) {
    control.kind = ControlKind::kEdit;
    control.text = HeldText(*edit, edit->text());
  } else if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
    control.kind = label->pixmap().isNull() ? ControlKind::kStatic : ControlKind::kIcon;
    control.text = HeldText(*label, label->text());
  } else if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
    control.text = HeldText(*button, button->text());
    // The look a program keeps pressed (zonespti's drive region), as BM_SETSTATE.
    control.pushed = button->property("pushed").toBool();
    if (qobject_cast<const QRadioButton*>(&widget) != nullptr) {
      control.kind = ControlKind::kRadio;
      control.checked = button->isChecked();
    } else if (qobject_cast<const QCheckBox*>(&widget) != nullptr) {
      control.kind = ControlKind::kCheck;
      control.checked = button->isChecked();
    } else {
      control.kind = ControlKind::kButton;
    }
  } else if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) {
    control.kind = ControlKind::kGroup;
    control.text = HeldText(*group, group->title());
  } else if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
    control.kind = ControlKind::kCombo;
    control.text = HeldText(*combo, combo->currentText());
    for (int k = 0; k < combo->count(); ++k) control.entries.push_back(Held(combo->itemText(k)));
    control.selection = combo->currentIndex() >= 0 ? combo->currentIndex() : kNoEntry;
  } else if (const auto* tree = qobject_cast<const QTreeWidget*>(&widget)) {
    control.kind = ControlKind::kTree;
    // The selection the program reads (not Qt's current item, which the tree
    // sets on its own when it takes the focus).
    const QList<QTreeWidgetItem*> chosen = tree->selectedItems();
    const QTreeWidgetItem* selected = chosen.isEmpty() ? nullptr : chosen.front();
    for (int k = 0; k < tree->topLevelItemCount(); ++k) {
      DumpTreeItems(*tree->topLevelItem(k), 0, selected, control.items);
    }
  } else if (qobject_cast<const QProgressBar*>(&widget) != nullptr) {
    control.kind = ControlKind::kProgress;
  }
  return control;
}

// The window's caption and every template control in it, a frame's form included.
std::string DumpWindow(const QWidget& window) {
  DumpedWindow dumped;
  dumped.caption = window.windowTitle().toStdString();
  static const QRegularExpression kControlName(QStringLiteral("^ctl(-?[0-9]+)$"));
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    const QRegularExpressionMatch match = kControlName.match(widget->objectName());
    if (match.hasMatch())
      dumped.controls.push_back(DumpControl(*widget, match.captured(1).toInt()));
  }
  return FormatWindowDump(dumped);
}

class WindowSnapshot : public QObject {
 public:
  WindowSnapshot(QString folder, QString press, QObject* parent)
      : QObject(parent), folder_(std::move(folder)), press_(std::move(press)) {}

  bool eventFilter(QObject* target, QEvent* event) override {
    if (window_.isNull() && !done_ && event->type() == QEvent::Show) {
      auto* widget = qobject_cast<QWidget*>(target);
      if (widget != nullptr && widget->isWindow() && widget->windowType() != Qt::Popup &&
          widget->windowType() != Qt::ToolTip) {
        window_ = widget;
        QTimer::singleShot(kSettleMilliseconds, this, &WindowSnapshot::Act);
      }
    }
    return false;
  }

 private:
  void Act() {
    if (window_.isNull()) return End(1);
    if (!press_.isEmpty()) {
      const QString id = press_;
      press_.clear();
      auto* button = window_->findChild<QAbstractButton*>(QStringLiteral("ctl") + id);
      if (button == nullptr) {
        std::fprintf(stderr, "%s: no control %s to press\n", kPressVariable, qPrintable(id));
        return End(1);
      }
      button->click();  // may run to the end of a started tool
      QTimer::singleShot(kSettleMilliseconds, this, &WindowSnapshot::Act);
      return;
    }
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    const QString textPath = QDir(folder_).filePath(program + QStringLiteral(".txt"));
    const std::string dump = DumpWindow(*window_);
    QFile text(textPath);
    if (!text.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        text.write(dump.data(), static_cast<qint64>(dump.size())) !=
            static_cast<qint64>(dump.size())) {
      std::fprintf(stderr, "%s: cannot write %s\n", kSnapshotVariable, qPrintable(textPath));
      return End(1);
    }
    text.close();
    const QString path = QDir(folder_).filePath(program + QStringLiteral(".png"));
    if (!window_->grab().save(path)) {
      std::fprintf(stderr, "%s: cannot write %s\n", kSnapshotVariable, qPrintable(path));
      return End(1);
    }
    End(0);
  }

  void End(int code) {
    done_ = true;
    QApplication::closeAllWindows();
    QCoreApplication::exit(code);
  }

  QString folder_;
  QString press_;
  QPointer<QWidget> window_;
  bool done_ = false;
};

constexpr char kInstalledProperty[] = "dvdutilWindowSnapshot";

void InstallWindowSnapshot() {
  const QString folder = qEnvironmentVariable(kSnapshotVariable);
  QCoreApplication* application = QCoreApplication::instance();
  // Static libraries that link dvd_ui compile this file too: one hook is enough.
  if (folder.isEmpty() || application->property(kInstalledProperty).isValid()) return;
  application->setProperty(kInstalledProperty, true);
  const QString press = qEnvironmentVariable(kPressVariable);
  qunsetenv(kPressVariable);
  auto* snapshot = new WindowSnapshot(folder, press, application);
  application->installEventFilter(snapshot);
}

Q_COREAPP_STARTUP_FUNCTION(InstallWindowSnapshot)

}  // namespace
}  // namespace ui
