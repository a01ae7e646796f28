// The Qt host's side of the shared window tests: a scripted QtWindowSystem and
// a driver that clicks the real widgets and reads them back through the host.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cstddef>
#include <map>

#include "tests/window/window_test_host.h"
#include "ui/dialog_builder.h"
#include "ui/qt_dialog_host.h"
#include "ui/qt_window_system.h"
#include "ui/system_menu.h"

namespace window_test {
namespace {

// Where a window's records start: what it shows from its initialisation on.
struct RecordStart {
  std::size_t message = 0;
  std::size_t modal = 0;
};

class TestWindowSystem : public ui::QtWindowSystem {
 public:
  TestWindowSystem() { SetScripted(true); }

  std::unique_ptr<ui::OpenWindow> Open(const ui::DialogTemplate& dialog,
                                       ui::DialogLogic& logic) override {
    const RecordStart start{Messages().Recorded().size(), ModalCaptions().size()};
    std::unique_ptr<ui::OpenWindow> window = ui::QtWindowSystem::Open(dialog, logic);
    starts_[window.get()] = start;
    return window;
  }

  RecordStart StartOf(ui::OpenWindow& window) const {
    const auto found = starts_.find(&window);
    return found != starts_.end() ? found->second : RecordStart{};
  }

 private:
  // Windows are never dereferenced through this map, only looked up.
  std::map<const ui::OpenWindow*, RecordStart> starts_;
};

TestWindowSystem& QtSystem() {
  // Lives to the end of the program, after every window of every test.
  static TestWindowSystem* system = new TestWindowSystem();
  return *system;
}

class QtWindowDriver : public WindowDriver {
 public:
  explicit QtWindowDriver(ui::OpenWindow& window)
      : window_(window),
        dialog_(ui::QtWindowSystem::DialogOf(window)),
        firstMessage_(QtSystem().StartOf(window).message),
        firstModal_(QtSystem().StartOf(window).modal) {}

  void Press(int id) override {
    // Push buttons, and radio buttons and check boxes as BM_CLICK clicks them.
    if (auto* button = qobject_cast<QAbstractButton*>(dialog_.Control(id))) button->click();
  }

  void SystemCommand(int command) override {
    // The menu's own entry where there is one, as a user would pick it.
    if (const ui::SystemMenu* menu = dialog_.Menu()) {
      if (QAction* action = menu->Action(command)) {
        action->trigger();
        return;
      }
    }
    dialog_.SendSystemCommand(command);
  }

  void ChooseListItem(int id, int index) override {
    auto* combo = dialog_.findChild<QComboBox*>(ui::ControlObjectName(id));
    if (combo == nullptr) return;
    // What a pick from the dropped list does: the entry becomes current, then
    // the list reports it activated.
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }

  void Type(int id, const std::string& text) override {
    QWidget* control = dialog_.Control(id);
    const QString typed = QString::fromStdString(text);
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
      if (combo->lineEdit() == nullptr) return;
      combo->lineEdit()->selectAll();
      combo->lineEdit()->insert(typed);  // an edit by the user: textEdited follows
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      edit->selectAll();
      edit->insert(typed);
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(control)) {
      box->selectAll();
      box->insertPlainText(typed);
    }
  }

  std::string Text(int id) const override { return dialog_.ItemText(id); }
  bool Enabled(int id) const override { return dialog_.ItemEnabled(id); }
  bool Checked(int id) const override { return dialog_.ItemChecked(id); }
  bool Exists(int id) const override { return dialog_.Control(id) != nullptr; }
  int ListCount(int id) const override { return dialog_.ListItemCount(id); }
  std::string ListText(int id, int index) const override { return dialog_.ListItemText(id, index); }
  int ListSelection(int id) const override { return dialog_.ListSelection(id); }
  bool IsOpen() const override { return window_.IsOpen() && dialog_.isVisible(); }

  void PresetAnswer(int answer) override { QtSystem().Messages().PresetAnswer(answer); }

  std::vector<ShownMessage> Messages() const override {
    const std::vector<ui::RecordedMessage>& recorded = QtSystem().Messages().Recorded();
    std::vector<ShownMessage> shown;
    for (std::size_t k = firstMessage_; k < recorded.size(); ++k) {
      shown.push_back({recorded[k].text, recorded[k].caption, recorded[k].style});
    }
    return shown;
  }

  std::vector<std::string> ModalCaptions() const override {
    const std::vector<std::string>& captions = QtSystem().ModalCaptions();
    return std::vector<std::string>(captions.begin() + static_cast<std::ptrdiff_t>(firstModal_),
                                    captions.end());
  }

 private:
  ui::OpenWindow& window_;
  ui::QtDialogHost& dialog_;
  std::size_t firstMessage_;
  std::size_t firstModal_;
};

}  // namespace

ui::WindowSystem& System() { return QtSystem(); }

std::unique_ptr<WindowDriver> Drive(ui::OpenWindow& window) {
  return std::make_unique<QtWindowDriver>(window);
}

}  // namespace window_test
