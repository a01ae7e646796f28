// Builds a dialog template's controls into Qt widgets and finds them again by
// control id.
#pragma once

#include <QString>
#include <QWidget>
#include <string>

#include "ui/dialog_template.h"
#include "ui/dialog_units.h"

namespace ui {

// The object name that carries a control id, e.g. "ctl1004".
QString ControlObjectName(int id);

// The template's font as a QFont: a missing family falls back to one of the
// same weight and size (see font_fallback.h).
QFont TemplateFont(const DialogTemplate& dialogTemplate);

// Sets the font, caption and fixed client size on `dialog` and creates every
// control as its child at its converted position; a QDialog gets the dialog
// keys (dialog_keys.h). Returns the base units used.
DialogBaseUnits BuildDialog(QWidget& dialog, const DialogTemplate& dialogTemplate);

// Creates the controls only (form views whose owner sizes itself).
DialogBaseUnits BuildControls(QWidget& parent, const DialogTemplate& dialogTemplate);

// Text of a template with Windows line breaks turned into Qt's.
QString TemplateText(const char* text);

// A control's text as the host interface holds it: the UTF-8 text it was last
// given (by its template or SetItemText), line ends as given ("\r\n" or a lone
// "\n", as a dialog control keeps them), while the widget still shows that;
// otherwise `shown` with "\r\n" line ends.
void KeepGivenText(QWidget& widget, const std::string& text);
std::string HeldText(const QWidget& widget, const QString& shown);

template <typename T>
T* FindControl(const QWidget* dialog, int id) {
  return dialog->findChild<T*>(ControlObjectName(id));
}

}  // namespace ui
