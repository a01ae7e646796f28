// Message boxes through QMessageBox, with MB_ styles mapped to buttons and icons.
#include "ui/message_box_service.h"

#include <QMessageBox>
#include <QPushButton>

#include "ui/caption_width.h"

namespace ui {
namespace {

constexpr unsigned kMbTypeMask = 0x0000000Fu;
constexpr unsigned kMbIconMask = 0x000000F0u;

QMessageBox::Icon IconOf(unsigned style) {
  switch (style & kMbIconMask) {
    case drvcmd::kMbIconHand:
      return QMessageBox::Critical;
    case drvcmd::kMbIconQuestion:
      return QMessageBox::Question;
    case drvcmd::kMbIconExclamation:
      return QMessageBox::Warning;
    case drvcmd::kMbIconAsterisk:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

QString ShownText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

}  // namespace

MessageBoxService::MessageBoxService(std::string applicationTitle)
    : applicationTitle_(std::move(applicationTitle)) {}

int MessageBoxService::MessageBox(const std::string& text, const std::string& caption,
                                  unsigned style) {
  const RecordedMessage message{text, caption.empty() ? applicationTitle_ : caption, style};
  recorded_.push_back(message);
  if (!presetAnswers_.empty()) {
    const int answer = presetAnswers_.front();
    presetAnswers_.pop_front();
    return answer;
  }
  if (scripted_) return drvcmd::kIdOk;
  return ShowModal(message);
}

std::unique_ptr<QMessageBox> CreateMessageBox(const RecordedMessage& message, QWidget* owner) {
  auto box =
      std::make_unique<QMessageBox>(IconOf(message.style), QString::fromStdString(message.caption),
                                    ShownText(message.text), QMessageBox::NoButton, owner);
  QPushButton* ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box->setDefaultButton(ok);
  if ((message.style & kMbTypeMask) == drvcmd::kMbOkCancel) {
    QPushButton* cancel = box->addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box->setEscapeButton(cancel);
  } else {
    box->setEscapeButton(ok);
  }
  FitCaption(*box);
  return box;
}

int MessageBoxService::ShowModal(const RecordedMessage& message) {
  // A box whose owner is not shown yet (a message at start-up) is centred on
  // the screen rather than placed by a window that is nowhere to be seen.
  QWidget* owner = owner_ != nullptr && owner_->isVisible() ? owner_.data() : nullptr;
  const std::unique_ptr<QMessageBox> box = CreateMessageBox(message, owner);
  box->exec();
  return box->clickedButton() == box->defaultButton() ? drvcmd::kIdOk : drvcmd::kIdCancel;
}

}  // namespace ui
