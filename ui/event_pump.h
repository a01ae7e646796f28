// Keeps windows painted while a handler blocks, without taking user input.
#pragma once

namespace ui {

void PumpEvents();

}  // namespace ui
