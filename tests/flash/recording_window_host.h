// A window host without windows for the updater's window logic: items keep
// their text, place and progress; trees and lists live in memory; message
// boxes and modal dialogs answer from queues and are recorded. A window
// system over it opens each modeless window as another RecordingWindowHost.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/dialog_template.h"
#include "ui/host/dialog_logic.h"
#include "ui/host/window_host.h"
#include "ui/host/window_system.h"

namespace flashtest {

struct RecordedMessage {
  std::string text;
  std::string caption;
  unsigned style = 0;
};

struct Progress {
  int position = 0;
  int low = 0;
  int high = 0;
  friend bool operator==(const Progress&, const Progress&) = default;
};

// A modal dialog run over the host: its caption and the texts its logic set.
struct RecordedModal {
  std::string caption;
  std::map<int, std::string> texts;
  int focused = 0;
};

class RecordingWindowHost : public ui::WindowHost {
 public:
  void SetItemText(int id, const std::string& text) override { texts[id] = text; }
  std::string ItemText(int id) const override {
    const auto found = texts.find(id);
    return found != texts.end() ? found->second : std::string();
  }
  void ScrollItemToEnd(int id) override { scrolledToEnd.push_back(id); }
  void EnableItem(int id, bool enabled) override { disabled[id] = !enabled; }
  bool ItemEnabled(int id) const override { return !disabled.contains(id) || !disabled.at(id); }
  void CheckItem(int id, bool checked) override { checks[id] = checked; }
  bool ItemChecked(int id) const override { return checks.contains(id) && checks.at(id); }
  void FocusItem(int id) override { focused = id; }
  void SetItemProgress(int id, int position, int low, int high) override {
    progress[id] = {position, low, high};
  }
  ui::ItemRect ItemPlace(int id) const override {
    const auto found = places.find(id);
    return found != places.end() ? found->second : ui::ItemRect{};
  }
  void MoveItem(int id, const ui::ItemRect& place) override { places[id] = place; }

  void ResetList(int id) override { lists[id].clear(); }
  void AddListItem(int id, const std::string& text) override { lists[id].push_back(text); }
  int ListItemCount(int id) const override {
    return lists.contains(id) ? static_cast<int>(lists.at(id).size()) : 0;
  }
  std::string ListItemText(int id, int index) const override {
    return lists.at(id).at(static_cast<std::size_t>(index));
  }
  void SelectListItem(int id, int index) override { listSelection[id] = index; }
  int ListSelection(int id) const override {
    return listSelection.contains(id) ? listSelection.at(id) : ui::kNoEntry;
  }

  struct TreeItem {
    int parent;
    std::string text;
    bool hasChildren;
  };
  void ResetTree(int id) override {
    trees[id].clear();
    treeSelection[id] = ui::kNoEntry;
  }
  int InsertTreeItem(int id, int parent, const std::string& text, bool hasChildren) override {
    trees[id].push_back({parent, text, hasChildren});
    return static_cast<int>(trees[id].size()) - 1;
  }
  void SelectTreeItem(int id, int item) override { treeSelection[id] = item; }
  int TreeSelection(int id) const override {
    return treeSelection.contains(id) ? treeSelection.at(id) : ui::kNoEntry;
  }
  std::string TreeItemText(int id, int item) const override {
    return trees.at(id).at(static_cast<std::size_t>(item)).text;
  }
  int TreeItemParent(int id, int item) const override {
    return trees.at(id).at(static_cast<std::size_t>(item)).parent;
  }

  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
    messages.push_back({text, caption, style});
    return ui::kIdOk;
  }
  void SetTimer(int timerId, unsigned /*milliseconds*/) override { timers.push_back(timerId); }
  void KillTimer(int /*timerId*/) override {}
  void AppendSystemMenuEntry(int /*command*/, const std::string& /*text*/) override {}
  void SystemCommand(int /*command*/) override {}
  void EndDialog(int result) override { ended = result; }

  // Creates the dialog as a host of its own, runs its logic's
  // OnInitDialog, records what it set and answers from `modalAnswers`.
  int RunModal(const ui::DialogTemplate& dialog, ui::DialogLogic& logic) override {
    RecordingWindowHost inner;
    logic.OnInitDialog(inner);
    modals.push_back({dialog.caption, inner.texts, inner.focused});
    int answer = ui::kIdOk;
    if (!modalAnswers.empty()) {
      answer = modalAnswers.front();
      modalAnswers.pop_front();
    }
    logic.OnDestroy();
    return answer;
  }

  std::map<int, std::string> texts;
  std::vector<int> scrolledToEnd;
  std::map<int, bool> disabled;
  std::map<int, bool> checks;
  int focused = 0;
  std::map<int, Progress> progress;
  std::map<int, ui::ItemRect> places;
  std::map<int, std::vector<std::string>> lists;
  std::map<int, int> listSelection;
  std::map<int, std::vector<TreeItem>> trees;
  std::map<int, int> treeSelection;
  std::vector<RecordedMessage> messages;
  std::vector<int> timers;
  int ended = -1;
  std::deque<int> modalAnswers;
  std::vector<RecordedModal> modals;
};

// Keeps every window it opened (and its host) for the test to look at.
class RecordingWindowSystem : public ui::WindowSystem {
 public:
  struct Opened {
    const ui::DialogTemplate* dialog = nullptr;
    RecordingWindowHost host;
    bool open = true;
  };

  void SetApplicationTitle(const std::string& title) override { applicationTitle = title; }
  void SetApplicationIcon(const ui::IconImage& /*icon*/) override {}
  std::unique_ptr<ui::OpenWindow> Open(const ui::DialogTemplate& dialog,
                                       ui::DialogLogic& logic) override {
    auto opened = std::make_shared<Opened>();
    opened->dialog = &dialog;
    windows.push_back(opened);
    logic.OnInitDialog(opened->host);
    return std::make_unique<Window>(opened, logic);
  }
  int RunUntilClosed(ui::OpenWindow& window) override { return window.Result(); }
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
    messages.push_back({text, caption, style});
    return ui::kIdOk;
  }
  void RunPainted(const std::function<void()>& work) override { work(); }
  void PumpPaint() override { ++paintPumps; }

  std::string applicationTitle;
  std::vector<std::shared_ptr<Opened>> windows;
  std::vector<RecordedMessage> messages;
  int paintPumps = 0;

 private:
  class Window : public ui::OpenWindow {
   public:
    Window(std::shared_ptr<Opened> opened, ui::DialogLogic& logic)
        : opened_(std::move(opened)), logic_(logic) {}
    ~Window() override {
      logic_.OnDestroy();
      opened_->open = false;
    }
    ui::WindowHost& Host() override { return opened_->host; }
    bool IsOpen() const override { return opened_->open; }
    int Result() const override { return opened_->host.ended; }

   private:
    std::shared_ptr<Opened> opened_;
    ui::DialogLogic& logic_;
  };
};

}  // namespace flashtest
