// The pushed look on the Win32 host: the button's pushed (highlighted) state,
// BM_SETSTATE, which the button keeps until told otherwise.
#pragma once

#include "zone/window/region_window.h"

namespace zone {

class Win32PushedLook : public PushedLook {
 public:
  void Push(ui::WindowHost& host, int id) override;
};

}  // namespace zone
