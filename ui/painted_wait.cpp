// RunWithoutInput: helper-thread work, event loop, input filter.
#include "ui/painted_wait.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <atomic>
#include <exception>
#include <thread>

namespace ui {
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

void RunWithoutInput(const std::function<void()>& work) {
  QCoreApplication* application = QCoreApplication::instance();
  if (application == nullptr) {
    work();
    return;
  }
  InputDropper dropper;
  application->installEventFilter(&dropper);
  const bool cursor = qobject_cast<QApplication*>(application) != nullptr;
  if (cursor) QApplication::setOverrideCursor(Qt::WaitCursor);

  QEventLoop loop;
  std::atomic<bool> ended = false;
  std::exception_ptr failure;
  std::thread worker([&] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    ended = true;
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  // A program-wide exit ends every loop; the wait for the work goes on all the same.
  while (!ended) loop.exec();
  worker.join();

  if (cursor) QApplication::restoreOverrideCursor();
  application->removeEventFilter(&dropper);
  if (failure) std::rethrow_exception(failure);
}

}  // namespace ui
