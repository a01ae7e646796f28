// Event pumping for blocking handlers.
#include "ui/event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace ui {

void PumpEvents() {
  if (QCoreApplication::instance() == nullptr) return;
  // Clicks and keys stay queued until the handler has returned.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace ui
