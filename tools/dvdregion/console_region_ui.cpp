// Console seams of the region sequences.
#include "tools/dvdregion/console_region_ui.h"

#include <algorithm>
#include <cctype>

#include "drvcmd/notice.h"

namespace tools {
namespace {

constexpr unsigned kMbTypeMask = 0x0000000Fu;
constexpr std::size_t kMaxAnswerLength = 64;

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

std::string TerminalLines(const std::string& statusText) {
  std::string lines;
  for (std::size_t i = 0; i < statusText.size(); ++i) {
    if (statusText[i] == '\r' && i + 1 < statusText.size() && statusText[i + 1] == '\n') continue;
    lines += statusText[i];
  }
  return lines;
}

void ConsoleRegionUi::RefreshStatusBox() {
  // The box shows the whole text; the terminal gets what it has not had yet.
  status_ << TerminalLines(statusText_.substr(printed_));
  status_.flush();
  printed_ = statusText_.size();
}

void ConsoleRegionUi::Pick(int region) {
  if (!Valid(region)) return;
  for (ConsoleControl& choice : choices_) choice.checked = false;
  choices_[Slot(region)].checked = true;
}

void ConsoleRegionUi::EnableRegionChoice(int region, bool enabled) {
  if (Valid(region)) choices_[Slot(region)].enabled = enabled;
}
void ConsoleRegionUi::CheckRegionChoice(int region, bool checked) {
  if (Valid(region)) choices_[Slot(region)].checked = checked;
}
void ConsoleRegionUi::PushRegionChoice(int region) {
  if (Valid(region)) choices_[Slot(region)].pushed = true;
}
bool ConsoleRegionUi::RegionChoiceChecked(int region) {
  return Valid(region) && choices_[Slot(region)].checked;
}
void ConsoleRegionUi::EnableDiscIndicator(int region, bool enabled) {
  if (Valid(region)) discs_[Slot(region)].enabled = enabled;
}
void ConsoleRegionUi::CheckDiscIndicator(int region, bool checked) {
  if (Valid(region)) discs_[Slot(region)].checked = checked;
}

int ConsoleRegionUi::MessageBox(const std::string& text, const std::string& caption,
                                unsigned style) {
  prompts_ << (caption.empty() ? std::string("dvdregion") : caption) << ": " << TerminalLines(text)
           << '\n';
  if ((style & kMbTypeMask) != drvcmd::kMbOkCancel) return drvcmd::kIdOk;
  if (answers_ == nullptr) {
    prompts_ << "No terminal to answer on: Cancel.\n";
    return drvcmd::kIdCancel;
  }
  for (;;) {
    prompts_ << "[O]K to test again, [C]ancel: ";
    prompts_.flush();
    std::string answer;
    if (!std::getline(*answers_, answer)) {
      prompts_ << "\nEnd of input: Cancel.\n";
      return drvcmd::kIdCancel;
    }
    answer = Lowered(answer.substr(0, kMaxAnswerLength));
    if (answer == "o" || answer == "ok") return drvcmd::kIdOk;
    if (answer == "c" || answer == "cancel") return drvcmd::kIdCancel;
  }
}

}  // namespace tools
