// The selection of a combo box with an edit field as Windows keeps it: the
// entry picked from the list, and none once the user types into the field.
#pragma once

#include <QObject>
#include <optional>

class QComboBox;

namespace pace {

class ComboSelection : public QObject {
  Q_OBJECT

 public:
  explicit ComboSelection(QComboBox& combo);

  std::optional<int> Selected() const;
  // Selects an entry (or none with -1), as CB_SETCURSEL does.
  void Select(int index);

 private:
  void ShowTextFromStart();

  QComboBox& combo_;
  bool typedOver_ = false;
};

}  // namespace pace
