// The Qt decorations of the speed utility window.
#include "pace/app/speed_decoration.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>

#include "resources/pace/pace_resource_ids.h"
#include "ui/control_fit.h"
#include "ui/dialog_builder.h"
#include "ui/qt_dialog_host.h"
#include "ui/qt_window_system.h"

namespace pace {
namespace {

// Each message has at most two lines; both show without scrolling.
constexpr int kStatusLines = 2;

// A template sized for the original font can be too narrow for the font in
// use: let the label grow to its text, up to the next control beside it.
void FitLabelToText(QLabel& label) {
  label.setWordWrap(false);
  QRect wanted = label.geometry();
  wanted.setWidth(std::max(wanted.width(), label.sizeHint().width()));
  for (const QWidget* sibling :
       label.parentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (sibling != &label && wanted.intersects(sibling->geometry())) {
      wanted.setRight(std::max(label.geometry().right(), sibling->geometry().left() - 1));
    }
  }
  label.setGeometry(wanted);
}

// The edit field shows a long entry from its first character, as Windows does.
void ShowEntriesFromStart(QComboBox& combo) {
  QLineEdit* edit = combo.lineEdit();
  if (edit == nullptr) return;
  edit->setCursorPosition(0);
  QObject::connect(&combo, &QComboBox::currentIndexChanged, edit,
                   [edit] { edit->setCursorPosition(0); });
}

}  // namespace

void DecorateSpeedWindow(ui::OpenWindow& window, const SpeedWindowVariant& variant) {
  QDialog& dialog = ui::QtWindowSystem::DialogOf(window);
  if (auto* label = ui::FindControl<QLabel>(&dialog, resources::kIdcExtractionLabel)) {
    FitLabelToText(*label);
  }
  if (auto* box = ui::FindControl<QPlainTextEdit>(&dialog, resources::kIdcSpeedStatusBox)) {
    ui::ShowLines(*box, kStatusLines);
  }
  for (const int list : {variant.templates.driveListId, resources::kIdcExtractionList}) {
    if (auto* combo = ui::FindControl<QComboBox>(&dialog, list)) ShowEntriesFromStart(*combo);
  }
}

}  // namespace pace
