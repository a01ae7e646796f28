// The Qt dialog host: template widgets wired to the logic, WindowHost calls
// served from the widgets.
#include "ui/qt_dialog_host.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>

#include "ui/control_fit.h"
#include "ui/dialog_builder.h"
#include "ui/dialog_keys.h"
#include "ui/qt_window_system.h"
#include "ui/status_box.h"
#include "ui/system_menu.h"

namespace ui {
namespace {

QString Shown(const std::string& text) {
  QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

std::string Held(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return text.toStdString();
}

// QDialog's own results for the stock ids, so exec() callers see Accepted and
// Rejected as usual.
int QtResultOf(int result) {
  if (result == kIdOk) return QDialog::Accepted;
  if (result == kIdCancel) return QDialog::Rejected;
  return result;
}

// The logic changes lists without notifying anybody, as CB_ADDSTRING and
// CB_SETCURSEL do.
class Silence {
 public:
  explicit Silence(int& depth) : depth_(depth) { ++depth_; }
  ~Silence() { --depth_; }
  Silence(const Silence&) = delete;
  Silence& operator=(const Silence&) = delete;

 private:
  int& depth_;
};

}  // namespace

QtDialogHost::QtDialogHost(const DialogTemplate& dialog, DialogLogic& logic, QtWindowSystem& system,
                           QWidget* parent)
    : QDialog(parent), logic_(logic), system_(system) {
  BuildDialog(*this, dialog);
  ConnectControls(dialog);
  InstallDialogKeys(*this, {[this] { SendCommand(kIdOk, kBnClicked); },
                            [this] { SendCommand(kIdCancel, kBnClicked); }});
  if ((dialog.style & kDialogSystemMenu) != 0) {
    systemMenu_ = new ui::SystemMenu(*this, [this](int command) { SendSystemCommand(command); });
  }
}

QtDialogHost::~QtDialogHost() { Destroy(); }

void QtDialogHost::ConnectControls(const DialogTemplate& dialog) {
  for (const ControlTemplate& control : dialog.controls) {
    const int id = control.id;
    if (id == kIdControlStatic) continue;
    QWidget* widget = Control(id);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      // Push buttons, radio buttons and check boxes: BN_CLICKED.
      connect(button, &QAbstractButton::clicked, this, [this, id] { SendCommand(id, kBnClicked); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      connect(combo, &QComboBox::currentIndexChanged, this, [this, id] {
        if (silent_ > 0) return;
        typedOver_[id] = false;
        SendCommand(id, kCbnSelChange);
      });
      // Picking the entry that was current before text was typed over it
      // selects it again, which the index alone does not show.
      connect(combo, &QComboBox::activated, this, [this, id] {
        if (silent_ > 0 || !typedOver_[id]) return;
        typedOver_[id] = false;
        SendCommand(id, kCbnSelChange);
      });
      if (QLineEdit* edit = combo->lineEdit()) {
        connect(edit, &QLineEdit::textEdited, this, [this, id] {
          typedOver_[id] = true;
          SendCommand(id, kCbnEditChange);
        });
      }
    } else if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
      connect(tree, &QTreeWidget::itemDoubleClicked, this,
              [this, id] { SendCommand(id, kNmDoubleClick); });
    }
  }
}

void QtDialogHost::Initialise() {
  if (initialised_) return;
  initialised_ = true;
  logic_.OnInitDialog(*this);
}

void QtDialogHost::SendCommand(int id, int code) {
  if (ended_) return;
  if (logic_.OnCommand(id, code)) return;
  if (code == kBnClicked && (id == kIdOk || id == kIdCancel)) EndDialog(id);
}

void QtDialogHost::SendSystemCommand(int command) {
  if (ended_) return;
  if (!logic_.OnSysCommand(command)) SystemCommand(command);
}

QWidget* QtDialogHost::Control(int id) const { return FindControl<QWidget>(this, id); }

void QtDialogHost::SetItemText(int id, const std::string& text) {
  QWidget* widget = Control(id);
  if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
    SetStatusBoxText(*box, text);
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setText(Shown(text));
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(Shown(text));
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(Shown(text));
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(Shown(text));
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    Silence silence(silent_);
    combo->setEditText(Shown(text));
  }
}

std::string QtDialogHost::ItemText(int id) const {
  const QWidget* widget = Control(id);
  if (const auto* box = qobject_cast<const QPlainTextEdit*>(widget)) return ReadStatusBox(*box);
  if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return Held(edit->text());
  if (const auto* label = qobject_cast<const QLabel*>(widget)) return Held(label->text());
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
    return Held(button->text());
  }
  if (const auto* group = qobject_cast<const QGroupBox*>(widget)) return Held(group->title());
  if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
    return Held(combo->currentText());
  }
  return std::string();
}

void QtDialogHost::ScrollItemToEnd(int id) {
  if (auto* box = qobject_cast<QPlainTextEdit*>(Control(id))) ScrollStatusBoxToEnd(*box);
}

void QtDialogHost::EnableItem(int id, bool enabled) {
  if (QWidget* widget = Control(id)) widget->setEnabled(enabled);
}

bool QtDialogHost::ItemEnabled(int id) const {
  const QWidget* widget = Control(id);
  return widget != nullptr && widget->isEnabled();
}

void QtDialogHost::CheckItem(int id, bool checked) {
  auto* button = qobject_cast<QAbstractButton*>(Control(id));
  if (button == nullptr) return;
  // Like BM_SETCHECK this sets the one button only: a radio button of an
  // exclusive group cannot be unchecked while it is in it.
  const bool exclusive = button->autoExclusive();
  button->setAutoExclusive(false);
  button->setChecked(checked);
  button->setAutoExclusive(exclusive);
}

bool QtDialogHost::ItemChecked(int id) const {
  const auto* button = qobject_cast<const QAbstractButton*>(Control(id));
  return button != nullptr && button->isChecked();
}

void QtDialogHost::FocusItem(int id) {
  if (QWidget* widget = Control(id)) widget->setFocus();
}

void QtDialogHost::SetItemProgress(int id, int position, int low, int high) {
  auto* bar = qobject_cast<QProgressBar*>(Control(id));
  if (bar == nullptr) return;
  bar->setRange(low, high);
  bar->setValue(position);
}

ItemRect QtDialogHost::ItemPlace(int id) const {
  const QWidget* widget = Control(id);
  if (widget == nullptr) return ItemRect{};
  const QRect place = widget->geometry();
  return ItemRect{place.x(), place.y(), place.width(), place.height()};
}

void QtDialogHost::MoveItem(int id, const ItemRect& place) {
  if (QWidget* widget = Control(id))
    widget->setGeometry(place.x, place.y, place.width, place.height);
}

void QtDialogHost::ResetList(int id) {
  auto* combo = qobject_cast<QComboBox*>(Control(id));
  if (combo == nullptr) return;
  Silence silence(silent_);
  combo->clear();
  typedOver_[id] = false;
}

void QtDialogHost::AddListItem(int id, const std::string& text) {
  auto* combo = qobject_cast<QComboBox*>(Control(id));
  if (combo == nullptr) return;
  Silence silence(silent_);
  // CB_ADDSTRING selects nothing: the first entry Qt makes current is undone.
  const int before = combo->currentIndex();
  combo->addItem(Shown(text));
  if (combo->currentIndex() != before) {
    combo->setCurrentIndex(before);
    if (before < 0) combo->setEditText(QString());
  }
  ShowWholeEntries(*combo);
}

int QtDialogHost::ListItemCount(int id) const {
  const auto* combo = qobject_cast<const QComboBox*>(Control(id));
  return combo != nullptr ? combo->count() : 0;
}

std::string QtDialogHost::ListItemText(int id, int index) const {
  const auto* combo = qobject_cast<const QComboBox*>(Control(id));
  if (combo == nullptr || index < 0 || index >= combo->count()) return std::string();
  return Held(combo->itemText(index));
}

void QtDialogHost::SelectListItem(int id, int index) {
  auto* combo = qobject_cast<QComboBox*>(Control(id));
  if (combo == nullptr) return;
  Silence silence(silent_);
  if (index < 0 || index >= combo->count()) index = kNoEntry;
  combo->setCurrentIndex(index);
  if (index == kNoEntry) combo->setEditText(QString());
  typedOver_[id] = false;
}

int QtDialogHost::ListSelection(int id) const {
  const auto* combo = qobject_cast<const QComboBox*>(Control(id));
  if (combo == nullptr) return kNoEntry;
  const int index = combo->currentIndex();
  if (index < 0) return kNoEntry;
  // Text typed into the edit field leaves no list item selected.
  if (combo->isEditable() && combo->currentText() != combo->itemText(index)) return kNoEntry;
  return index;
}

void QtDialogHost::ResetTree(int id) {
  auto* tree = qobject_cast<QTreeWidget*>(Control(id));
  if (tree == nullptr) return;
  Silence silence(silent_);
  tree->clear();
  treeItems_[id].clear();
}

int QtDialogHost::InsertTreeItem(int id, int parent, const std::string& text, bool hasChildren) {
  auto* tree = qobject_cast<QTreeWidget*>(Control(id));
  if (tree == nullptr) return kNoEntry;
  std::vector<QTreeWidgetItem*>& items = treeItems_[id];
  QTreeWidgetItem* under = TreeItem(id, parent);
  if (parent != kNoEntry && under == nullptr) return kNoEntry;
  Silence silence(silent_);
  auto* item = under != nullptr ? new QTreeWidgetItem(under) : new QTreeWidgetItem(tree);
  item->setText(0, Shown(text));
  item->setChildIndicatorPolicy(hasChildren ? QTreeWidgetItem::ShowIndicator
                                            : QTreeWidgetItem::DontShowIndicatorWhenChildless);
  items.push_back(item);
  return static_cast<int>(items.size()) - 1;
}

QTreeWidgetItem* QtDialogHost::TreeItem(int id, int item) const {
  const auto found = treeItems_.find(id);
  if (found == treeItems_.end() || item < 0 ||
      static_cast<std::size_t>(item) >= found->second.size()) {
    return nullptr;
  }
  return found->second[static_cast<std::size_t>(item)];
}

void QtDialogHost::SelectTreeItem(int id, int item) {
  auto* tree = qobject_cast<QTreeWidget*>(Control(id));
  if (tree == nullptr) return;
  Silence silence(silent_);
  QTreeWidgetItem* selected = TreeItem(id, item);
  tree->setCurrentItem(selected);
  // Like TVM_SELECTITEM, the selected item is scrolled into view.
  if (selected != nullptr) tree->scrollToItem(selected);
}

int QtDialogHost::TreeSelection(int id) const {
  const auto* tree = qobject_cast<const QTreeWidget*>(Control(id));
  const auto found = treeItems_.find(id);
  if (tree == nullptr || found == treeItems_.end()) return kNoEntry;
  // The selected item, not Qt's current one: the tree makes its first item
  // current when it takes the focus, which selects nothing.
  const QList<QTreeWidgetItem*> selected = tree->selectedItems();
  if (selected.isEmpty()) return kNoEntry;
  for (std::size_t k = 0; k < found->second.size(); ++k) {
    if (found->second[k] == selected.front()) return static_cast<int>(k);
  }
  return kNoEntry;
}

std::string QtDialogHost::TreeItemText(int id, int item) const {
  const QTreeWidgetItem* found = TreeItem(id, item);
  return found != nullptr ? Held(found->text(0)) : std::string();
}

int QtDialogHost::TreeItemParent(int id, int item) const {
  const QTreeWidgetItem* found = TreeItem(id, item);
  if (found == nullptr || found->parent() == nullptr) return kNoEntry;
  const std::vector<QTreeWidgetItem*>& items = treeItems_.at(id);
  for (std::size_t k = 0; k < items.size(); ++k) {
    if (items[k] == found->parent()) return static_cast<int>(k);
  }
  return kNoEntry;
}

int QtDialogHost::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
  MessageBoxService& messages = system_.Messages();
  messages.SetOwner(this);
  const int answer = messages.MessageBox(text, caption, style);
  messages.SetOwner(nullptr);
  return answer;
}

void QtDialogHost::SetTimer(int timerId, unsigned milliseconds) {
  QTimer*& timer = timers_[timerId];
  if (timer == nullptr) {
    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this, timerId] {
      if (!ended_) logic_.OnTimer(timerId);
    });
  }
  timer->start(static_cast<int>(milliseconds));
}

void QtDialogHost::KillTimer(int timerId) {
  const auto found = timers_.find(timerId);
  if (found != timers_.end()) found->second->stop();
}

void QtDialogHost::AppendSystemMenuEntry(int command, const std::string& text) {
  if (systemMenu_ == nullptr) {
    systemMenu_ =
        new ui::SystemMenu(*this, [this](int menuCommand) { SendSystemCommand(menuCommand); });
  }
  systemMenu_->AppendEntry(QString::fromStdString(text), command);
}

void QtDialogHost::SystemCommand(int command) {
  // A dialog closes through its Cancel command.
  if (command == kSysClose) SendCommand(kIdCancel, kBnClicked);
}

void QtDialogHost::EndDialog(int result) { done(result); }

void QtDialogHost::done(int result) {
  if (ended_) return;
  ended_ = true;
  result_ = result;
  for (auto& [id, timer] : timers_) timer->stop();
  QDialog::done(QtResultOf(result));
  Destroy();
}

void QtDialogHost::Destroy() {
  if (destroyed_ || !initialised_) return;
  destroyed_ = true;
  logic_.OnDestroy();
}

void QtDialogHost::closeEvent(QCloseEvent* event) {
  if (ended_) {
    event->accept();
    return;
  }
  // The close box and the system menu's Close: SC_CLOSE, which the logic sees
  // first; the window goes only when that ends the dialog.
  event->ignore();
  SendSystemCommand(kSysClose);
}

int QtDialogHost::RunModal(const DialogTemplate& dialog, DialogLogic& logic) {
  QtDialogHost modal(dialog, logic, system_, this);
  modal.setWindowIcon(windowIcon());
  modal.Initialise();
  if (system_.Scripted()) {
    system_.RecordModal(dialog.caption != nullptr ? dialog.caption : "");
    modal.EndDialog(kIdOk);
    return kIdOk;
  }
  if (!modal.Ended()) modal.exec();
  return modal.Result();
}

}  // namespace ui
