// Combo selection tracking: typing into the edit field drops the selection.
#include "pace/app/combo_selection.h"

#include <QComboBox>
#include <QLineEdit>

namespace pace {

ComboSelection::ComboSelection(QComboBox& combo) : QObject(&combo), combo_(combo) {
  if (QLineEdit* edit = combo.lineEdit()) {
    connect(edit, &QLineEdit::textEdited, this, [this] { typedOver_ = true; });
  }
  connect(&combo, &QComboBox::activated, this, [this] {
    typedOver_ = false;
    ShowTextFromStart();
  });
}

// The edit field shows a long entry from its first character, as Windows does.
void ComboSelection::ShowTextFromStart() {
  if (QLineEdit* edit = combo_.lineEdit()) edit->setCursorPosition(0);
}

std::optional<int> ComboSelection::Selected() const {
  if (typedOver_ || combo_.currentIndex() < 0) return std::nullopt;
  return combo_.currentIndex();
}

void ComboSelection::Select(int index) {
  typedOver_ = false;
  combo_.setCurrentIndex(index);
  ShowTextFromStart();
}

}  // namespace pace
