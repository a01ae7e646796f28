// WaitWithoutInput: helper-thread wait, event loop, input filter.
#include "launcher/app/tool_wait.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <atomic>
#include <thread>

namespace launcher {
namespace {

// Drops everything a user does to the program's windows, the close box included.
class InputDropper : public QObject {
 public:
  bool eventFilter(QObject* /*target*/, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::NonClientAreaMouseButtonPress:
      case QEvent::NonClientAreaMouseButtonRelease:
      case QEvent::NonClientAreaMouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::Shortcut:
      case QEvent::ContextMenu:
      case QEvent::TouchBegin:
      case QEvent::TouchUpdate:
      case QEvent::TouchEnd:
      case QEvent::TabletPress:
      case QEvent::TabletRelease:
      case QEvent::InputMethod:
        return true;
      case QEvent::Close:
        // Refused, not only unseen: a close event is taken as agreed unless ignored.
        event->ignore();
        return true;
      default:
        return false;
    }
  }
};

}  // namespace

platform::Dword WaitWithoutInput(const std::function<platform::Dword()>& wait) {
  InputDropper dropper;
  QCoreApplication* application = QCoreApplication::instance();
  if (application != nullptr) application->installEventFilter(&dropper);
  QApplication::setOverrideCursor(Qt::WaitCursor);

  QEventLoop loop;
  std::atomic<bool> ended = false;
  platform::Dword result = 0;
  std::thread waiter([&] {
    result = wait();
    ended = true;
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  // A program-wide exit ends every loop; the wait for the tool goes on all the same.
  while (!ended) loop.exec();
  waiter.join();

  QApplication::restoreOverrideCursor();
  if (application != nullptr) application->removeEventFilter(&dropper);
  return result;
}

}  // namespace launcher
