// What each window-test binary's host provides to the shared test bodies: its
// window system (message boxes and modal dialogs scripted, never shown) and a
// driver for a window that system opened.
#pragma once

#include <memory>

#include "tests/window/window_driver.h"
#include "ui/host/window_system.h"

namespace window_test {

// This binary's window system, in test mode: message boxes answer from the
// driver's preset queue (then IDOK) and are recorded; a modal dialog is created,
// initialised, recorded by caption and ended with IDOK at once.
ui::WindowSystem& System();

// A driver for `window`, opened by System().
std::unique_ptr<WindowDriver> Drive(ui::OpenWindow& window);

}  // namespace window_test
