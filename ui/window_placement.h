// Placing top-level windows by their frame (title bar and border included),
// the way Windows places them, on a desktop whose window manager decorates a
// window only after it has been shown.
#pragma once

#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>

namespace ui {

// The decoration around a top-level window's client area; empty while the
// window manager has not decorated it yet.
QMargins FrameMarginsOf(const QWidget& window);

// A rectangle of `size` centred on `area`.
QRect CentredRect(const QRect& area, const QSize& size);

// Shows a modeless window centred on the frame of `anchor`'s window and kept
// above that window (a transient of it, so the window manager never puts the
// anchor over it), or centred on the screen when the anchor is not shown.
// The window stays unowned: the anchor's destruction does not destroy it.
void ShowCentredAbove(QWidget& window, const QWidget* anchor);

// Keeps a top-level window's frame on a given rectangle. The client size
// follows from the frame's decoration, which is known only once the window
// manager has decorated the window: until the decorated frame sits on its
// rectangle, every move or resize of the window places it again (a few times
// at most, and only for a short while after the window is shown, since a
// window manager may never decorate it). Later moves by the user are left
// alone.
class FramePlacer : public QObject {
 public:
  enum class Sizing {
    kFixed,        // the client size is fixed
    kMaximizable,  // fixed while shown normally (a resize is undone), but the window
                   // may be maximized
  };
  // The decoration to assume; by default the window's own.
  using MarginsSource = std::function<QMargins()>;

  FramePlacer(QWidget& window, Sizing sizing, MarginsSource margins = {});

  void Place(const QRect& frame);

  const QRect& Target() const { return target_; }
  bool Pending() const { return pending_; }
  QSize ClientSize() const { return client_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static constexpr int kMaxCorrections = 4;
  static constexpr int kSettleMilliseconds = 2000;
  static constexpr int kRestoreMilliseconds = 200;
  static constexpr int kMaxRestoreAttempts = 10;

  QMargins Margins() const;
  void Apply();
  bool InPlace() const;
  void Settle();
  bool OffSize() const;
  void RestoreSize();

  QWidget& window_;
  Sizing sizing_;
  MarginsSource margins_;
  QRect target_;
  QSize client_;
  bool pending_ = false;
  bool applying_ = false;
  int corrections_ = 0;
  QTimer settleTimer_;
  QTimer restoreTimer_;
  int restoreAttempts_ = 0;
  QPointer<QWindow> nativeWindow_;
};

}  // namespace ui
