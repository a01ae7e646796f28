// Status text <-> edit box conversion of line ends.
#include "ui/status_box.h"

#include <QScrollBar>

namespace ui {

void SetStatusBoxText(QPlainTextEdit& box, const std::string& statusText) {
  QString shown = QString::fromStdString(statusText);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  box.setPlainText(shown);
}

void ScrollStatusBoxToEnd(QPlainTextEdit& box) {
  box.moveCursor(QTextCursor::End);
  box.verticalScrollBar()->setValue(box.verticalScrollBar()->maximum());
}

void WriteStatusBox(QPlainTextEdit& box, const std::string& statusText) {
  SetStatusBoxText(box, statusText);
  ScrollStatusBoxToEnd(box);
}

std::string ReadStatusBox(const QPlainTextEdit& box) {
  QString text = box.toPlainText();
  // A lone "\r" or "\n" typed or pasted in becomes one Windows line end.
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar('\r'), QChar('\n'));
  text.replace(QChar(QChar::ParagraphSeparator), QChar('\n'));
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return text.toStdString();
}

}  // namespace ui
