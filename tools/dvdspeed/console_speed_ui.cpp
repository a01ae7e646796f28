// The console's message boxes and spindle question.
#include "tools/dvdspeed/console_speed_ui.h"

#include <string>

namespace tools {

namespace {

constexpr char kErrorCaption[] = "Error";

bool IsOkAnswer(const std::string& answer) {
  // Enter alone takes the box's default button, OK.
  return answer.empty() || answer == "o" || answer == "ok" || answer == "OK" || answer == "y" ||
         answer == "yes";
}

}  // namespace

int ConsoleSpeedUi::MessageBox(const std::string& text, const std::string& caption,
                               unsigned style) {
  const std::string shown = caption.empty() ? applicationTitle_ : caption;
  if ((style & 0x0F) == drvcmd::kMbOkCancel) return AskOkCancel(text, shown);
  // A failure's box repeats the status text, which is printed anyway.
  if (shown != kErrorCaption) err_ << shown << ": " << AsLines(text) << '\n';
  return drvcmd::kIdOk;
}

int ConsoleSpeedUi::AskOkCancel(const std::string& text, const std::string& caption) {
  if (stopWithoutAsking_) {
    err_ << caption << ": " << text << " OK\n";
    return drvcmd::kIdOk;
  }
  if (answers_ == nullptr) {
    err_ << caption << ": " << text << " Cancel (no terminal to ask; --yes stops the spindle)\n";
    return drvcmd::kIdCancel;
  }
  err_ << caption << ": " << text << " [OK/cancel] ";
  err_.flush();
  std::string answer;
  if (!std::getline(*answers_, answer)) return drvcmd::kIdCancel;
  return IsOkAnswer(answer) ? drvcmd::kIdOk : drvcmd::kIdCancel;
}

std::string AsLines(const std::string& statusText) {
  std::string lines;
  for (std::size_t i = 0; i < statusText.size(); ++i) {
    if (statusText[i] == '\r' && i + 1 < statusText.size() && statusText[i + 1] == '\n') continue;
    lines += statusText[i];
  }
  while (!lines.empty() && lines.back() == '\n') lines.pop_back();
  return lines;
}

}  // namespace tools
