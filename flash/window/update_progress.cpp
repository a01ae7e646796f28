// The progress window: opened, stepped, labelled and destroyed per use.
#include "flash/window/update_progress.h"

#include "ui/host/window_host.h"

namespace flash {

namespace {

constexpr int kDefaultLow = 0;
constexpr int kDefaultHigh = 100;
constexpr int kDefaultStep = 10;

}  // namespace

bool UpdateProgressLogic::OnCommand(int id, int /*code*/) {
  return id == ui::kIdOk || id == ui::kIdCancel;
}

void UpdateProgress::Create() {
  Destroy();
  texts_.clear();
  low_ = kDefaultLow;
  high_ = kDefaultHigh;
  step_ = kDefaultStep;
  position_ = kDefaultLow;
  window_ = windows_.Open(template_, logic_);
  DrawBar();
  windows_.PumpPaint();
}

void UpdateProgress::SetRange(int low, int high) {
  low_ = low;
  high_ = high;
  position_ = low;
  DrawBar();
}

void UpdateProgress::SetStep(int step) { step_ = step; }

void UpdateProgress::StepIt() {
  int next = position_ + step_;
  // The progress control wraps to its start once a step passes the end.
  if (next > high_) next = low_ + (next - high_);
  if (next < low_) next = low_;
  position_ = next;
  DrawBar();
  windows_.PumpPaint();
}

void UpdateProgress::SetText(const std::string& text) {
  texts_.push_back(text);
  if (window_ == nullptr) return;
  window_->Host().SetItemText(labelId_, text);
  windows_.PumpPaint();
}

void UpdateProgress::Destroy() { window_.reset(); }

void UpdateProgress::DrawBar() {
  if (window_ != nullptr) window_->Host().SetItemProgress(barId_, position_, low_, high_);
}

}  // namespace flash
