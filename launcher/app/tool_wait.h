// The launcher's wait for a started tool: the wait runs on a helper thread
// while the GUI thread sleeps in an event loop, so the windows stay painted
// and no core is spent; user input that arrives meanwhile is dropped, not
// kept for later, so clicks on the waiting launcher never start anything.
#pragma once

#include <functional>

#include "platform/win_types.h"

namespace launcher {

platform::Dword WaitWithoutInput(const std::function<platform::Dword()>& wait);

}  // namespace launcher
