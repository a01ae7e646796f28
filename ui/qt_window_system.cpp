// The Qt window system: open dialogs, their message loop, message boxes and
// the painted wait.
#include "ui/qt_window_system.h"

#include <QApplication>
#include <QEventLoop>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "ui/event_pump.h"
#include "ui/painted_wait.h"
#include "ui/qt_dialog_host.h"

namespace ui {
namespace {

class QtOpenWindow : public OpenWindow {
 public:
  QtOpenWindow(const DialogTemplate& dialog, DialogLogic& logic, QtWindowSystem& system)
      : host_(dialog, logic, system) {}

  WindowHost& Host() override { return host_; }
  bool IsOpen() const override { return !host_.Ended(); }
  int Result() const override { return host_.Result(); }
  QtDialogHost& Dialog() { return host_; }

 private:
  QtDialogHost host_;
};

}  // namespace

QIcon IconFromImage(const IconImage& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.argb.size() < static_cast<std::size_t>(image.width) * image.height) {
    return QIcon();
  }
  QImage pixels(image.width, image.height, QImage::Format_ARGB32);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      pixels.setPixel(x, y, image.argb[static_cast<std::size_t>(y) * image.width + x]);
    }
  }
  return QIcon(QPixmap::fromImage(pixels));
}

QtWindowSystem::QtWindowSystem(std::string applicationTitle)
    : messages_(std::move(applicationTitle)) {}

QtWindowSystem::~QtWindowSystem() = default;

void QtWindowSystem::SetApplicationTitle(const std::string& title) {
  messages_.SetApplicationTitle(title);
  if (QCoreApplication::instance() != nullptr) {
    QCoreApplication::setApplicationName(QString::fromStdString(title));
  }
}

void QtWindowSystem::SetApplicationIcon(const IconImage& icon) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return;
  QApplication::setWindowIcon(IconFromImage(icon));
}

std::unique_ptr<OpenWindow> QtWindowSystem::Open(const DialogTemplate& dialog, DialogLogic& logic) {
  auto window = std::make_unique<QtOpenWindow>(dialog, logic, *this);
  QtDialogHost& host = window->Dialog();
  host.Initialise();
  if (!host.Ended()) host.show();
  return window;
}

int QtWindowSystem::RunUntilClosed(OpenWindow& window) {
  QtDialogHost& host = DialogOf(window);
  if (!host.Ended()) {
    QEventLoop loop;
    QObject::connect(&host, &QDialog::finished, &loop, &QEventLoop::quit);
    // A program-wide quit ends the loop too; the window decides when it ends.
    while (!host.Ended()) loop.exec();
  }
  return host.Result();
}

int QtWindowSystem::MessageBox(const std::string& text, const std::string& caption,
                               unsigned style) {
  messages_.SetOwner(nullptr);
  return messages_.MessageBox(text, caption, style);
}

void QtWindowSystem::RunPainted(const std::function<void()>& work) { RunWithoutInput(work); }

void QtWindowSystem::PumpPaint() { PumpEvents(); }

void QtWindowSystem::SetScripted(bool scripted) {
  scripted_ = scripted;
  messages_.SetScripted(scripted);
}

QtDialogHost& QtWindowSystem::DialogOf(OpenWindow& window) {
  return static_cast<QtOpenWindow&>(window).Dialog();
}

}  // namespace ui
