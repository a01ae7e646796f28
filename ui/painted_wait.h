// A blocking wait that keeps the program's windows painted: the work runs on a
// helper thread while the GUI thread sleeps in an event loop, so no core is
// spent; user input that arrives meanwhile is dropped, not kept for later, so
// clicks on a waiting window never start anything.
#pragma once

#include <functional>

namespace ui {

// Runs `work` to its end on another thread; an exception it throws is thrown
// again here.
void RunWithoutInput(const std::function<void()>& work);

}  // namespace ui
