// Dialog calls behind the window host, and the dialog procedure that routes
// the dialog's messages to its logic.
#include "ui/win32/win32_dialog_host.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "ui/win32/dialog_template_bytes.h"
#include "ui/win32/win32_text.h"

namespace ui::win32 {
namespace {

// The template bytes are built without <windows.h>; here they meet it.
static_assert(kWsPopup == WS_POPUP && kWsChild == WS_CHILD && kWsVisible == WS_VISIBLE);
static_assert(kWsDisabled == WS_DISABLED && kWsCaption == WS_CAPTION && kWsBorder == WS_BORDER);
static_assert(kWsVScroll == WS_VSCROLL && kWsSysMenu == WS_SYSMENU);
static_assert(kWsGroup == WS_GROUP && kWsTabStop == WS_TABSTOP);
static_assert(kDsSetFont == DS_SETFONT && kDsModalFrame == DS_MODALFRAME &&
              kDsControl == DS_CONTROL);
static_assert(kBsPushButton == BS_PUSHBUTTON && kBsDefPushButton == BS_DEFPUSHBUTTON);
static_assert(kBsAutoCheckBox == BS_AUTOCHECKBOX && kBsGroupBox == BS_GROUPBOX);
static_assert(kBsAutoRadioButton == BS_AUTORADIOBUTTON && kBsMultiLine == BS_MULTILINE);
static_assert(kEsLeft == ES_LEFT && kEsMultiLine == ES_MULTILINE &&
              kEsAutoVScroll == ES_AUTOVSCROLL);
static_assert(kEsAutoHScroll == ES_AUTOHSCROLL && kEsReadOnly == ES_READONLY);
static_assert(kSsLeft == SS_LEFT && kSsCenter == SS_CENTER && kSsIcon == SS_ICON &&
              kSsSunken == SS_SUNKEN);
static_assert(kCbsDropDown == CBS_DROPDOWN && kCbsDropDownList == CBS_DROPDOWNLIST &&
              kCbsAutoHScroll == CBS_AUTOHSCROLL);
static_assert(kFontWeightNormal == FW_NORMAL && kDefaultCharset == DEFAULT_CHARSET);
static_assert(kIdOk == IDOK && kIdCancel == IDCANCEL && kSysClose == SC_CLOSE);
static_assert(kBnClicked == BN_CLICKED && kCbnSelChange == CBN_SELCHANGE &&
              kCbnEditChange == CBN_EDITCHANGE && kNmDoubleClick == static_cast<int>(NM_DBLCLK));
static_assert(kNoEntry == CB_ERR);
static_assert(std::string_view(kTreeViewClass) == WC_TREEVIEWA);
static_assert(offsetof(NMTREEVIEWA, action) == offsetof(NMTREEVIEWW, action) &&
              offsetof(NMTREEVIEWA, itemOld.hItem) == offsetof(NMTREEVIEWW, itemOld.hItem));
static_assert(std::string_view(kProgressClass) == PROGRESS_CLASSA);

// Marks our dialogs, so the message loop finds the one a message belongs to.
constexpr wchar_t kHostProperty[] = L"dvdutil.DialogHost";
// A system command's low four bits are the system's own.
constexpr WPARAM kSysCommandMask = 0xFFF0;
// The longest tree item text read back, terminator included.
constexpr int kTreeTextCapacity = 1024;

// The keys with which a tree view moves its selection.
bool IsMovingKey(WORD key) {
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
      return true;
    default:
      return false;
  }
}

LPCDLGTEMPLATEW AsTemplate(const std::vector<std::uint8_t>& bytes) {
  return reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data());
}

// Centres a dialog over its owner, or over the work area when it has none,
// keeping its caption on the screen.
void CentreWindow(HWND window) {
  RECT self{};
  RECT area{};
  GetWindowRect(window, &self);
  RECT workArea{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  HWND owner = GetWindow(window, GW_OWNER);
  if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
    GetWindowRect(owner, &area);
  } else {
    area = workArea;
  }
  const int width = self.right - self.left;
  const int height = self.bottom - self.top;
  int x = area.left + ((area.right - area.left) - width) / 2;
  int y = area.top + ((area.bottom - area.top) - height) / 2;
  if (x + width > workArea.right) x = workArea.right - width;
  if (y + height > workArea.bottom) y = workArea.bottom - height;
  if (x < workArea.left) x = workArea.left;
  if (y < workArea.top) y = workArea.top;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

Win32DialogHost::Win32DialogHost(Win32Session& session, const DialogTemplate& dialog,
                                 DialogLogic& logic, Mode mode)
    : session_(session), dialog_(dialog), logic_(logic), mode_(mode) {}

Win32DialogHost::~Win32DialogHost() {
  if (window_ != nullptr) DestroyWindow(window_);
}

std::unique_ptr<Win32DialogHost> Win32DialogHost::CreateModeless(Win32Session& session,
                                                                 const DialogTemplate& dialog,
                                                                 DialogLogic& logic, HWND owner) {
  std::unique_ptr<Win32DialogHost> host(
      new Win32DialogHost(session, dialog, logic, Mode::kModeless));
  const std::vector<std::uint8_t> bytes = BuildDialogTemplateBytes(dialog, DialogForm::kPopup);
  if (bytes.empty()) return host;
  // The window is the host's from WM_INITDIALOG on; null if the logic ended it there.
  CreateDialogIndirectParamW(GetModuleHandleW(nullptr), AsTemplate(bytes), owner, DialogProc,
                             reinterpret_cast<LPARAM>(host.get()));
  if (host->window_ != nullptr) ShowWindow(host->window_, SW_SHOW);
  return host;
}

std::unique_ptr<Win32DialogHost> Win32DialogHost::CreateChild(Win32Session& session,
                                                              const DialogTemplate& dialog,
                                                              DialogLogic& logic, HWND parent) {
  std::unique_ptr<Win32DialogHost> host(new Win32DialogHost(session, dialog, logic, Mode::kChild));
  const std::vector<std::uint8_t> bytes = BuildDialogTemplateBytes(dialog, DialogForm::kChild);
  if (bytes.empty() || parent == nullptr) return host;
  CreateDialogIndirectParamW(GetModuleHandleW(nullptr), AsTemplate(bytes), parent, DialogProc,
                             reinterpret_cast<LPARAM>(host.get()));
  if (host->window_ != nullptr) ShowWindow(host->window_, SW_SHOW);
  return host;
}

int Win32DialogHost::RunModalDialog(Win32Session& session, const DialogTemplate& dialog,
                                    DialogLogic& logic, HWND owner) {
  const std::vector<std::uint8_t> bytes = BuildDialogTemplateBytes(dialog, DialogForm::kPopup);
  if (bytes.empty()) return -1;
  if (session.Scripted()) {
    session.RecordModal(dialog.caption != nullptr ? dialog.caption : "");
    // Created hidden (the template is not WS_VISIBLE), initialised, ended.
    Win32DialogHost host(session, dialog, logic, Mode::kModeless);
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr), AsTemplate(bytes), owner, DialogProc,
                               reinterpret_cast<LPARAM>(&host));
    if (!host.IsOpen()) return host.Result();
    host.EndDialog(IDOK);
    return host.Result();
  }
  Win32DialogHost host(session, dialog, logic, Mode::kModal);
  const INT_PTR result =
      DialogBoxIndirectParamW(GetModuleHandleW(nullptr), AsTemplate(bytes), owner, DialogProc,
                              reinterpret_cast<LPARAM>(&host));
  return static_cast<int>(result);
}

bool Win32DialogHost::TranslateDialogMessage(MSG& message) {
  // The outermost of our dialogs from the message's window up to its top-level
  // window: a form inside a frame, or a dialog of its own.
  HWND dialog = nullptr;
  for (HWND window = message.hwnd; window != nullptr; window = GetParent(window)) {
    if (GetPropW(window, kHostProperty) != nullptr) dialog = window;
    if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0) break;
  }
  return dialog != nullptr && IsDialogMessageW(dialog, &message) != FALSE;
}

INT_PTR CALLBACK Win32DialogHost::DialogProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* host = reinterpret_cast<Win32DialogHost*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    SetPropW(window, kHostProperty, host);
    host->window_ = window;
    return host->OnInitDialog();
  }
  auto* host = reinterpret_cast<Win32DialogHost*>(GetWindowLongPtrW(window, DWLP_USER));
  if (host == nullptr) return FALSE;
  const INT_PTR handled = host->Handle(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    RemovePropW(window, kHostProperty);
    SetWindowLongPtrW(window, DWLP_USER, 0);
    host->window_ = nullptr;
  }
  return handled;
}

BOOL Win32DialogHost::OnInitDialog() {
  HICON icon = session_.Icon();
  if (mode_ != Mode::kChild) {
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    CentreWindow(window_);
  }
  // The dialog's children are its template's controls, in order; icon
  // controls share IDC_STATIC, so they are found by place, not by id.
  HWND child = GetWindow(window_, GW_CHILD);
  for (const ControlTemplate& control : dialog_.controls) {
    if (child == nullptr) break;
    if (control.kind == ControlKind::kIcon) {
      SendMessageW(child, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
    child = GetWindow(child, GW_HWNDNEXT);
  }
  initialising_ = true;
  focusedDuringInit_ = false;
  logic_.OnInitDialog(*this);
  initialising_ = false;
  // FALSE keeps the focus the logic gave; TRUE lets the dialog manager choose.
  return focusedDuringInit_ ? FALSE : TRUE;
}

INT_PTR Win32DialogHost::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (logic_.OnCommand(id, code)) return TRUE;
      // What the dialog manager's default does; a form is not a dialog of its own.
      if (mode_ != Mode::kChild && (id == IDOK || id == IDCANCEL) && code == BN_CLICKED) {
        EndDialog(id);
        return TRUE;
      }
      return FALSE;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header == nullptr || !IsTree(static_cast<int>(header->idFrom))) return FALSE;
      return OnTreeNotify(*header);
    }
    case WM_SYSCOMMAND:
      // Unhandled: the system's default (DefWindowProc) through the dialog class.
      return logic_.OnSysCommand(static_cast<int>(wParam & kSysCommandMask)) ? TRUE : FALSE;
    case WM_TIMER:
      logic_.OnTimer(static_cast<int>(wParam));
      return TRUE;
    case WM_DESTROY:
      logic_.OnDestroy();
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR Win32DialogHost::OnTreeNotify(const NMHDR& header) {
  const int id = static_cast<int>(header.idFrom);
  if (header.code == static_cast<UINT>(NM_DBLCLK)) {
    return logic_.OnCommand(id, kNmDoubleClick) ? TRUE : FALSE;
  }
  HWND tree = header.hwndFrom;
  if (header.code == static_cast<UINT>(TVN_KEYDOWN)) {
    // With the focus selection refused, a tree with none selected moves on no
    // key: a moving key of the user's starts at the first item shown.
    const auto& key = reinterpret_cast<const NMTVKEYDOWN&>(header);
    if (IsMovingKey(key.wVKey) && SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) == 0) {
      SelectTreeHandle(tree, reinterpret_cast<HTREEITEM>(
                                 SendMessageW(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
    }
    return FALSE;
  }
  if (header.code != TVN_SELCHANGINGW && header.code != TVN_SELCHANGINGA) return FALSE;
  // A tree view selects its first item when it takes the focus with none
  // selected (action TVC_UNKNOWN): a drive the user never chose. Refused; a
  // click or key of the user's, or the logic's own choice, still selects.
  // The action and the old item lie alike in both character sets' forms.
  const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
  const bool unasked =
      change.action == TVC_UNKNOWN && change.itemOld.hItem == nullptr && !selectingTree_;
  SetWindowLongPtrW(window_, DWLP_MSGRESULT, unasked ? TRUE : FALSE);
  return TRUE;
}

bool Win32DialogHost::IsTree(int id) const {
  for (const ControlTemplate& control : dialog_.controls) {
    if (control.id == id) return control.kind == ControlKind::kTree;
  }
  return false;
}

void Win32DialogHost::SetItemText(int id, const std::string& text) {
  if (window_ != nullptr) SetDlgItemTextA(window_, id, Utf8ToAnsi(text).c_str());
}

std::string Win32DialogHost::ItemText(int id) const { return WindowTextUtf8(Item(id)); }

void Win32DialogHost::ScrollItemToEnd(int id) {
  HWND edit = Item(id);
  if (edit == nullptr) return;
  const int length = GetWindowTextLengthA(edit);
  SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
  SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}

void Win32DialogHost::EnableItem(int id, bool enabled) {
  if (HWND item = Item(id)) EnableWindow(item, enabled ? TRUE : FALSE);
}

bool Win32DialogHost::ItemEnabled(int id) const {
  HWND item = Item(id);
  return item != nullptr && IsWindowEnabled(item) != FALSE;
}

void Win32DialogHost::CheckItem(int id, bool checked) {
  if (HWND item = Item(id)) {
    SendMessageA(item, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

bool Win32DialogHost::ItemChecked(int id) const {
  HWND item = Item(id);
  return item != nullptr && SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32DialogHost::FocusItem(int id) {
  HWND item = Item(id);
  if (item == nullptr) return;
  // WM_NEXTDLGCTL, not SetFocus: the dialog manager moves the default button too.
  SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
  if (initialising_) focusedDuringInit_ = true;
}

void Win32DialogHost::SetItemProgress(int id, int position, int low, int high) {
  HWND bar = Item(id);
  if (bar == nullptr) return;
  SendMessageW(bar, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

ItemRect Win32DialogHost::ItemPlace(int id) const {
  HWND item = Item(id);
  if (item == nullptr) return {};
  RECT rect{};
  GetWindowRect(item, &rect);
  MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void Win32DialogHost::MoveItem(int id, const ItemRect& place) {
  if (HWND item = Item(id)) MoveWindow(item, place.x, place.y, place.width, place.height, TRUE);
}

void Win32DialogHost::ResetList(int id) {
  if (HWND list = Item(id)) SendMessageA(list, CB_RESETCONTENT, 0, 0);
}

void Win32DialogHost::AddListItem(int id, const std::string& text) {
  if (HWND list = Item(id)) {
    const std::string ansi = Utf8ToAnsi(text);
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ansi.c_str()));
  }
}

int Win32DialogHost::ListItemCount(int id) const {
  HWND list = Item(id);
  if (list == nullptr) return 0;
  const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
  return count > 0 ? static_cast<int>(count) : 0;
}

std::string Win32DialogHost::ListItemText(int id, int index) const {
  HWND list = Item(id);
  if (list == nullptr || index < 0) return {};
  const LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR || length < 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied = SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(buffer.data()));
  if (copied == CB_ERR || copied < 0 || copied > length) return {};
  return AnsiToUtf8(std::string(buffer.data(), static_cast<std::size_t>(copied)));
}

void Win32DialogHost::SelectListItem(int id, int index) {
  if (HWND list = Item(id)) {
    SendMessageA(list, CB_SETCURSEL, index < 0 ? static_cast<WPARAM>(-1) : index, 0);
  }
}

int Win32DialogHost::ListSelection(int id) const {
  HWND list = Item(id);
  if (list == nullptr) return kNoEntry;
  const LRESULT selection = SendMessageA(list, CB_GETCURSEL, 0, 0);
  if (selection == CB_ERR || selection < 0) return kNoEntry;
  const int index = static_cast<int>(selection);
  // Text typed into the edit field since is no choice from the list.
  if (WindowTextUtf8(list) != ListItemText(id, index)) return kNoEntry;
  return index;
}

HTREEITEM Win32DialogHost::TreeHandle(int id, int item) const {
  const auto found = treeItems_.find(id);
  if (found == treeItems_.end() || item < 0 ||
      static_cast<std::size_t>(item) >= found->second.size()) {
    return nullptr;
  }
  return found->second[static_cast<std::size_t>(item)];
}

int Win32DialogHost::TreeIndex(int id, HTREEITEM handle) const {
  const auto found = treeItems_.find(id);
  if (handle == nullptr || found == treeItems_.end()) return kNoEntry;
  for (std::size_t i = 0; i < found->second.size(); ++i) {
    if (found->second[i] == handle) return static_cast<int>(i);
  }
  return kNoEntry;
}

void Win32DialogHost::ResetTree(int id) {
  if (HWND tree = Item(id)) {
    SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  }
  treeItems_.erase(id);
}

int Win32DialogHost::InsertTreeItem(int id, int parent, const std::string& text, bool hasChildren) {
  HWND tree = Item(id);
  if (tree == nullptr) return kNoEntry;
  HTREEITEM parentHandle = TVI_ROOT;
  if (parent != kNoEntry) {
    parentHandle = TreeHandle(id, parent);
    if (parentHandle == nullptr) return kNoEntry;
  }
  std::string ansi = Utf8ToAnsi(text);
  TVINSERTSTRUCTA insert{};
  insert.hParent = parentHandle;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_CHILDREN;
  insert.item.pszText = ansi.data();
  insert.item.cChildren = hasChildren ? 1 : 0;
  auto handle = reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (handle == nullptr) return kNoEntry;
  std::vector<HTREEITEM>& items = treeItems_[id];
  items.push_back(handle);
  return static_cast<int>(items.size()) - 1;
}

void Win32DialogHost::SelectTreeItem(int id, int item) {
  HWND tree = Item(id);
  if (tree == nullptr) return;
  HTREEITEM handle = TreeHandle(id, item);
  if (handle == nullptr && item != kNoEntry) return;
  SelectTreeHandle(tree, handle);
}

void Win32DialogHost::SelectTreeHandle(HWND tree, HTREEITEM handle) {
  selectingTree_ = true;
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(handle));
  selectingTree_ = false;
}

int Win32DialogHost::TreeSelection(int id) const {
  HWND tree = Item(id);
  if (tree == nullptr) return kNoEntry;
  return TreeIndex(id,
                   reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

std::string Win32DialogHost::TreeItemText(int id, int item) const {
  HWND tree = Item(id);
  HTREEITEM handle = TreeHandle(id, item);
  if (tree == nullptr || handle == nullptr) return {};
  std::array<char, kTreeTextCapacity> buffer{};
  TVITEMA query{};
  query.mask = TVIF_TEXT;
  query.hItem = handle;
  query.pszText = buffer.data();
  query.cchTextMax = static_cast<int>(buffer.size());
  if (SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)) == FALSE) return {};
  buffer.back() = '\0';
  return AnsiToUtf8(buffer.data());
}

int Win32DialogHost::TreeItemParent(int id, int item) const {
  HWND tree = Item(id);
  HTREEITEM handle = TreeHandle(id, item);
  if (tree == nullptr || handle == nullptr) return kNoEntry;
  return TreeIndex(id, reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT,
                                                                reinterpret_cast<LPARAM>(handle))));
}

int Win32DialogHost::MessageBox(const std::string& text, const std::string& caption,
                                unsigned style) {
  return session_.MessageBox(window_, text, caption, style);
}

void Win32DialogHost::SetTimer(int timerId, unsigned milliseconds) {
  if (window_ != nullptr)
    ::SetTimer(window_, static_cast<UINT_PTR>(timerId), milliseconds, nullptr);
}

void Win32DialogHost::KillTimer(int timerId) {
  if (window_ != nullptr) ::KillTimer(window_, static_cast<UINT_PTR>(timerId));
}

void Win32DialogHost::AppendSystemMenuEntry(int command, const std::string& text) {
  if (window_ == nullptr) return;
  HMENU menu = GetSystemMenu(window_, FALSE);
  if (menu == nullptr) return;
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(command), Utf8ToAnsi(text).c_str());
}

void Win32DialogHost::SystemCommand(int command) {
  // SC_CLOSE sends WM_CLOSE, on which the dialog manager posts IDCANCEL.
  if (window_ != nullptr) DefWindowProcW(window_, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
}

void Win32DialogHost::EndDialog(int result) {
  if (window_ == nullptr) return;
  result_ = result;
  if (mode_ == Mode::kModal) {
    ::EndDialog(window_, result);
  } else {
    DestroyWindow(window_);
  }
}

int Win32DialogHost::RunModal(const DialogTemplate& dialog, DialogLogic& logic) {
  return RunModalDialog(session_, dialog, logic, window_);
}

}  // namespace ui::win32
