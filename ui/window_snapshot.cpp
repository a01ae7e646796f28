// Images of the programs' windows for the documentation and the install test,
// built into every Qt program of the suite (an interface source of dvd_ui).
//   DVDUTIL_SNAPSHOT=<folder>        once the program's first window has shown
//                                    and settled, it is saved as
//                                    <folder>/<program>.png and the program ends.
//                                    Started programs inherit it and do the same.
//   DVDUTIL_SNAPSHOT_PRESS=<id>      first clicks the control with that id in
//                                    that window (taken out of the environment,
//                                    so a started program does not click too).
// Without DVDUTIL_SNAPSHOT nothing here does anything.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace ui {
namespace {

constexpr char kSnapshotVariable[] = "DVDUTIL_SNAPSHOT";
constexpr char kPressVariable[] = "DVDUTIL_SNAPSHOT_PRESS";
constexpr int kSettleMilliseconds = 400;

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
