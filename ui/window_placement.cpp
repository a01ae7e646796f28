// Frame-based placement of top-level windows.
#include "ui/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWindow>

namespace ui {
namespace {

QRect ScreenArea(const QWidget* near) {
  const QScreen* screen = near != nullptr ? near->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

}  // namespace

QMargins FrameMarginsOf(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                  frame.right() - client.right(), frame.bottom() - client.bottom());
}

QRect CentredRect(const QRect& area, const QSize& size) {
  return QRect(area.left() + (area.width() - size.width()) / 2,
               area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
}

void ShowCentredAbove(QWidget& window, const QWidget* anchor) {
  const QWidget* owner = anchor != nullptr ? anchor->window() : nullptr;
  const bool overOwner = owner != nullptr && owner->isVisible();
  // The window's own decoration is not known before it is shown; the owner's,
  // drawn by the same window manager, is the best guess.
  const QMargins margins = overOwner ? FrameMarginsOf(*owner) : QMargins();
  const QSize frameSize = window.size().grownBy(margins);
  const QRect area = overOwner ? owner->frameGeometry() : ScreenArea(owner);
  window.move(CentredRect(area, frameSize).topLeft());
  window.winId();  // the native window, to carry the transient hint
  if (overOwner && window.windowHandle() != nullptr) {
    window.windowHandle()->setTransientParent(owner->windowHandle());
  }
  window.show();
}

FramePlacer::FramePlacer(QWidget& window, Sizing sizing, MarginsSource margins)
    : QObject(&window), window_(window), sizing_(sizing), margins_(std::move(margins)) {
  window_.installEventFilter(this);
  settleTimer_.setSingleShot(true);
  settleTimer_.setInterval(kSettleMilliseconds);
  connect(&settleTimer_, &QTimer::timeout, this, [this] { pending_ = false; });
  restoreTimer_.setSingleShot(true);
  restoreTimer_.setInterval(kRestoreMilliseconds);
  connect(&restoreTimer_, &QTimer::timeout, this, &FramePlacer::RestoreSize);
}

QMargins FramePlacer::Margins() const { return margins_ ? margins_() : FrameMarginsOf(window_); }

void FramePlacer::Place(const QRect& frame) {
  // The window manager's decoration shows first as an expose of the native
  // window, which moves or resizes nothing when the window keeps its place.
  if (window_.windowHandle() != nullptr && window_.windowHandle() != nativeWindow_) {
    nativeWindow_ = window_.windowHandle();
    nativeWindow_->installEventFilter(this);
  }
  target_ = frame;
  pending_ = true;
  corrections_ = 0;
  if (window_.isVisible()) settleTimer_.start();
  if (window_.isMaximized() || window_.isFullScreen()) {
    // The window manager restores the window's earlier place and decoration
    // first; placing it before that would be undone, and measured against the
    // maximized window's decoration. The restore's move or resize places it.
    window_.showNormal();
    return;
  }
  Apply();
}

void FramePlacer::Apply() {
  applying_ = true;
  client_ = target_.size().shrunkBy(Margins()).expandedTo(QSize(1, 1));
  if (sizing_ == Sizing::kFixed) {
    window_.setFixedSize(client_);
  } else {
    // A window manager offers no maximize box for a window of fixed size, so
    // the size is held by resizing back instead (see eventFilter).
    window_.setMinimumSize(client_);
    window_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window_.resize(client_);
  }
  // A window's position is its frame's.
  window_.move(target_.topLeft());
  if (window_.layout() != nullptr) window_.layout()->activate();
  applying_ = false;
  Settle();
}

bool FramePlacer::InPlace() const {
  // The client size the frame needs with the decoration as it is now.
  const QSize client = target_.size().shrunkBy(Margins()).expandedTo(QSize(1, 1));
  return window_.size() == client && window_.frameGeometry().topLeft() == target_.topLeft();
}

void FramePlacer::Settle() {
  // An undecorated frame is "in place" only until the decoration arrives.
  if (InPlace() && !Margins().isNull()) pending_ = false;
}

bool FramePlacer::eventFilter(QObject* watched, QEvent* event) {
  if (applying_ || !target_.isValid()) return false;
  const QEvent::Type type = event->type();
  if (watched == nativeWindow_.data() && type == QEvent::Expose) {
    if (pending_ && !InPlace() && corrections_ < kMaxCorrections) {
      ++corrections_;
      Apply();
    }
    return false;
  }
  if (watched != &window_) return false;
  if (type != QEvent::Move && type != QEvent::Resize && type != QEvent::Show) return false;
  if (type == QEvent::Show && pending_) settleTimer_.start();
  if (pending_) {
    if (InPlace()) {
      Settle();
    } else if (corrections_ < kMaxCorrections) {
      ++corrections_;
      Apply();
    } else {
      pending_ = false;  // the window manager will not have it there: leave it
    }
    return false;
  }
  if (sizing_ == Sizing::kMaximizable && type == QEvent::Resize && OffSize()) {
    // A window manager ignores the window's own resizes while the user drags
    // its border: size back once the drag has stopped.
    restoreAttempts_ = 0;
    restoreTimer_.start();
  }
  return false;
}

bool FramePlacer::OffSize() const {
  return window_.windowState() == Qt::WindowNoState && window_.size() != client_;
}

void FramePlacer::RestoreSize() {
  if (!OffSize()) return;
  applying_ = true;
  window_.resize(client_);
  applying_ = false;
  if (++restoreAttempts_ < kMaxRestoreAttempts) restoreTimer_.start();
}

}  // namespace ui
