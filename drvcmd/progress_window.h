// The modeless progress window (bar and one text line) that the pass-through
// updater's drive scan and the update's timed wait show.
#pragma once

#include <string>

namespace drvcmd {

class ProgressWindow {
 public:
  virtual ~ProgressWindow() = default;
  virtual void Create() = 0;  // create and show
  virtual void SetRange(int low, int high) = 0;
  virtual void SetStep(int step) = 0;
  virtual void StepIt() = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual void Destroy() = 0;
};

// A progress window that shows nothing, for runs without a screen (command-line
// tools, tests that do not look at the progress).
class NoProgressWindow : public ProgressWindow {
 public:
  void Create() override {}
  void SetRange(int, int) override {}
  void SetStep(int) override {}
  void StepIt() override {}
  void SetText(const std::string&) override {}
  void Destroy() override {}
};

}  // namespace drvcmd
