// Template controls to widgets: one widget type per control kind.
#include "ui/dialog_builder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTreeWidget>

#include "ui/dialog_keys.h"
#include "ui/font_fallback.h"

namespace ui {
namespace {

QWidget* CreateEdit(const ControlTemplate& control, QWidget& parent) {
  if ((control.style & kStyleMultiLine) != 0) {
    auto* edit = new QPlainTextEdit(&parent);
    edit->setPlainText(TemplateText(control.text));
    edit->setReadOnly((control.style & kStyleReadOnly) != 0);
    edit->setVerticalScrollBarPolicy((control.style & kStyleVerticalScroll) != 0
                                         ? Qt::ScrollBarAlwaysOn
                                         : Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    return edit;
  }
  auto* edit = new QLineEdit(TemplateText(control.text), &parent);
  edit->setReadOnly((control.style & kStyleReadOnly) != 0);
  return edit;
}

QWidget* CreateStatic(const ControlTemplate& control, QWidget& parent) {
  auto* label = new QLabel(TemplateText(control.text), &parent);
  label->setWordWrap(true);
  label->setAlignment(((control.style & kStyleCentered) != 0 ? Qt::AlignHCenter : Qt::AlignLeft) |
                      Qt::AlignTop);
  if ((control.style & kStyleSunken) != 0) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  return label;
}

QWidget* CreateIcon(const ControlTemplate& control, QWidget& parent) {
  auto* label = new QLabel(&parent);
  if ((control.style & kStyleSunken) != 0) {
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
  }
  const QIcon icon = QApplication::windowIcon().isNull()
                         ? parent.style()->standardIcon(QStyle::SP_ComputerIcon)
                         : QApplication::windowIcon();
  label->setPixmap(icon.pixmap(32, 32));
  return label;
}

QWidget* CreateTree(const ControlTemplate& control, QWidget& parent) {
  auto* tree = new QTreeWidget(&parent);
  tree->setHeaderHidden(true);
  tree->setColumnCount(1);
  tree->setSelectionMode(QAbstractItemView::SingleSelection);
  if ((control.style & kStyleBorder) == 0) tree->setFrameShape(QFrame::NoFrame);
  return tree;
}

QWidget* CreateButton(const ControlTemplate& control, QWidget& parent) {
  auto* button = new QPushButton(TemplateText(control.text), &parent);
  if ((control.style & kStyleDefaultButton) != 0) button->setDefault(true);
  return button;
}

// An editable combo keeps what is typed in its edit field out of the list.
QWidget* CreateCombo(const ControlTemplate& control, QWidget& parent) {
  auto* combo = new QComboBox(&parent);
  if ((control.style & kStyleEditable) != 0) {
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
  }
  return combo;
}

QWidget* CreateControl(const ControlTemplate& control, QWidget& parent) {
  switch (control.kind) {
    case ControlKind::kStatic:
      return CreateStatic(control, parent);
    case ControlKind::kIcon:
      return CreateIcon(control, parent);
    case ControlKind::kEdit:
      return CreateEdit(control, parent);
    case ControlKind::kButton:
      return CreateButton(control, parent);
    case ControlKind::kTree:
      return CreateTree(control, parent);
    case ControlKind::kCombo:
      return CreateCombo(control, parent);
    case ControlKind::kProgress: {
      auto* bar = new QProgressBar(&parent);
      bar->setTextVisible(false);
      return bar;
    }
    case ControlKind::kGroup:
      return new QGroupBox(TemplateText(control.text), &parent);
    case ControlKind::kRadio:
      return new QRadioButton(TemplateText(control.text), &parent);
    case ControlKind::kCheck:
      return new QCheckBox(TemplateText(control.text), &parent);
  }
  return new QWidget(&parent);
}

}  // namespace

QString ControlObjectName(int id) { return QStringLiteral("ctl%1").arg(id); }

QString TemplateText(const char* text) {
  QString converted = QString::fromUtf8(text != nullptr ? text : "");
  converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return converted;
}

namespace {
constexpr char kGivenTextProperty[] = "dvdutilGivenText";
}  // namespace

void KeepGivenText(QWidget& widget, const std::string& text) {
  widget.setProperty(kGivenTextProperty,
                     QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

std::string HeldText(const QWidget& widget, const QString& shown) {
  const QVariant given = widget.property(kGivenTextProperty);
  if (given.isValid()) {
    const QByteArray text = given.toByteArray();
    if (TemplateText(text.constData()) == shown) return text.toStdString();
  }
  QString held = shown;
  held.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  held.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return held.toStdString();
}

QFont TemplateFont(const DialogTemplate& dialogTemplate) {
  return NamedFaceFont(QString::fromUtf8(dialogTemplate.fontFamily), dialogTemplate.pointSize);
}

DialogBaseUnits BuildControls(QWidget& parent, const DialogTemplate& dialogTemplate) {
  parent.setFont(TemplateFont(dialogTemplate));
  const DialogBaseUnits base = BaseUnitsOf(parent.font());
  for (const ControlTemplate& control : dialogTemplate.controls) {
    QWidget* widget = CreateControl(control, parent);
    // Static texts without an id share one name, as they share IDC_STATIC.
    widget->setObjectName(ControlObjectName(control.id));
    if (control.text != nullptr) KeepGivenText(*widget, control.text);
    if ((control.style & kStyleDisabled) != 0) widget->setEnabled(false);
    QRect rect =
        DialogRectToPixels(QRect(control.x, control.y, control.width, control.height), base);
    // A combo's template height includes its dropped list; the box itself is
    // as tall as its font makes it.
    if (control.kind == ControlKind::kCombo) rect.setHeight(widget->sizeHint().height());
    // An icon control is at least as large as its icon (and frame), as a
    // Windows icon control sizes itself to the icon it shows.
    if (control.kind == ControlKind::kIcon)
      rect.setSize(rect.size().expandedTo(widget->sizeHint()));
    widget->setGeometry(rect);
  }
  return base;
}

DialogBaseUnits BuildDialog(QWidget& dialog, const DialogTemplate& dialogTemplate) {
  const DialogBaseUnits base = BuildControls(dialog, dialogTemplate);
  dialog.setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
  dialog.setFixedSize(HorizontalDuToPixels(dialogTemplate.width, base),
                      VerticalDuToPixels(dialogTemplate.height, base));
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if ((dialogTemplate.style & kDialogSystemMenu) != 0) {
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  }
  dialog.setWindowFlags(flags);
  if (auto* asDialog = qobject_cast<QDialog*>(&dialog)) InstallDialogKeys(*asDialog);
  return base;
}

}  // namespace ui
