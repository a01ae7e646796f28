// The status text bound to a multi-line edit box: the program's text keeps
// "\r\n" line ends; the box shows them as line breaks and scrolls to the end.
#pragma once

#include <QPlainTextEdit>
#include <string>

namespace ui {

// Replaces the box's whole text, "\r\n" shown as line breaks.
void SetStatusBoxText(QPlainTextEdit& box, const std::string& statusText);
// Shows the end of the box's text, the caret there.
void ScrollStatusBoxToEnd(QPlainTextEdit& box);
// Replaces the box's whole text and scrolls to its end.
void WriteStatusBox(QPlainTextEdit& box, const std::string& statusText);
// The box's text with every line break as "\r\n".
std::string ReadStatusBox(const QPlainTextEdit& box);

}  // namespace ui
