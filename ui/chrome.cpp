#include "ui/chrome.h"

#include <QAction>
#include <QMouseEvent>
#include <QWidget>

#include "ui/access.h"
#include "ui/build.h"
#include "ui/look.h"
#include "ui/platform.h"

namespace ui {

Chrome::Chrome(QWidget* window, const ChromeLayout& layout)
    : QObject(window), window_(window), layout_(layout) {
  const int w = window->width();
  const int h = window->height();
  window->setWindowFlag(Qt::FramelessWindowHint, true);

  const QRect strip = layout.borderRect.isEmpty() ? QRect(0, 0, w, 25) : layout.borderRect;
  border = makeLabel(window, {QStringLiteral("border"), strip, QString(), font(Face::Tahoma, 11),
                              sys::WindowText, Qt::AlignLeft | Qt::AlignTop, rgb::Strip});

  // The title text is as wide as its text and centred over the strip, 19 pixels high.
  title = makeLabel(
      window, {layout.titleName, QRect(strip.left(), 4, 0, 0), layout.title, font(Face::Tahoma, 16),
               layout.dialog ? sys::InactiveBorder : sys::ActiveBorder});
  title->resize(title->width(), 19);
  title->move(strip.left() + (strip.width() - title->width()) / 2, 4);

  winbt_Close = makeLabel(
      window, {QStringLiteral("winbt_Close"), QRect(w - 20, 0, 20, 25), QStringLiteral("x"),
               font(Face::Tahoma, 19), sys::ActiveBorder, Qt::AlignHCenter | Qt::AlignTop});
  setBackground(winbt_Close, rgb::Red, false);
  winbt_Close->installEventFilter(this);
  onClick(winbt_Close, [this] { window_->close(); });

  if (layout.minimise) {
    winbt_minimise = makeLabel(
        window, {QStringLiteral("winbt_minimise"), QRect(w - 40, 0, 20, 25), QStringLiteral("_"),
                 font(Face::Tahoma, 16, true), sys::ActiveBorder, Qt::AlignHCenter | Qt::AlignTop});
    setBackground(winbt_minimise, rgb::MinimiseHover, false);
    winbt_minimise->installEventFilter(this);
    onClick(winbt_minimise, [] { platform().minimiseAll(); });
  }

  borderL = makeLabel(
      window, {QStringLiteral("borderL"), QRect(0, 25, 3, h - 15), QString(),
               font(Face::Tahoma, 11), sys::WindowText, Qt::AlignLeft | Qt::AlignTop, rgb::Strip});
  if (layout.rightStrip) {
    borderR = makeLabel(
        window, {layout.rightName, QRect(w - 3, 25, 3, h - 15), QString(), font(Face::Tahoma, 11),
                 sys::WindowText, Qt::AlignLeft | Qt::AlignTop, rgb::Strip});
  }
  if (layout.bottomStrip) {
    borderB = makeLabel(
        window, {layout.bottomName, QRect(-7, h - 3, w + 10, 3), QString(), font(Face::Tahoma, 11),
                 sys::WindowText, Qt::AlignLeft | Qt::AlignTop, rgb::Strip});
    if (layout.resizable) {
      borderB->setCursor(Qt::SizeVerCursor);
      borderB->installEventFilter(this);
      if (layout.minHeight > window->minimumHeight()) window->setMinimumHeight(layout.minHeight);
    }
  }

  if (layout.minimise) {
    CloseMN = makeImage(window, QStringLiteral("CloseMN"), QRect(2, 0, 23, 25), Fit::None);
    MenuCL = new QMenu(window);
    MenuCL->setObjectName(QStringLiteral("MenuCL"));
    QAction* minimise = MenuCL->addAction(QStringLiteral("Minimise"));
    minimise->setObjectName(QStringLiteral("Minimise1"));
    MenuCL->addSeparator();
    QAction* close = MenuCL->addAction(QStringLiteral("Close"));
    close->setObjectName(QStringLiteral("Close1"));
    connect(minimise, &QAction::triggered, this, [] { platform().minimiseAll(); });
    connect(close, &QAction::triggered, this, [this] { window_->close(); });
    onPress(CloseMN, [this](QMouseEvent* e) {
      const QPoint at = window_->pos() + e->position().toPoint();
      platform().popupMenu(MenuCL, at);
    });
  }

  addDragPiece(border);
  if (layout.titleDrags) addDragPiece(title);
  window->installEventFilter(this);

  // Screen readers hear the two corner labels as buttons; the strips and the invisible
  // corner area are not for them.
  access::button(winbt_Close, QStringLiteral("Close"));
  if (winbt_minimise) access::button(winbt_minimise, QStringLiteral("Minimise"));
  for (QWidget* piece : {static_cast<QWidget*>(border), static_cast<QWidget*>(borderL),
                         static_cast<QWidget*>(borderR), static_cast<QWidget*>(borderB),
                         static_cast<QWidget*>(CloseMN)}) {
    if (piece) access::leaveOut(piece);
  }
}

void Chrome::addDragPiece(QWidget* piece) {
  dragPieces_.push_back(piece);
  piece->installEventFilter(this);
}

void Chrome::layoutEdges(int height) {
  if (borderB) borderB->move(borderB->x(), height - 3);
  if (borderR) borderR->resize(borderR->width(), height - 15);
  borderL->resize(borderL->width(), height - 15);
}

void Chrome::hover(QLabel* label, bool inside, const QColor& back) {
  setTextColor(label, inside ? rgb::White : sys::ActiveBorder);
  setBackground(label, back, inside);
}

void Chrome::borderBMouseDown(QPoint global) {
  FMouseDownLocation = global;
  Pos1 = borderB->pos();
  beginsize = true;
}

void Chrome::borderBMouseMove(QPoint global) {
  const int wanted = Pos1.y() + (global.y() - FMouseDownLocation.y());
  window_->resize(window_->width(), std::max(wanted, layout_.minHeight));
  layoutEdges(window_->height());
  borderB->update();
  emit heightDragged(window_->height());
}

bool Chrome::eventFilter(QObject* obj, QEvent* ev) {
  if (obj == window_) {
    if (ev->type() == QEvent::Resize) layoutEdges(window_->height());
    // A window hidden while the pointer was over a corner label gets no leave for it: the
    // label shows plain again the next time the window appears.
    if (ev->type() == QEvent::Hide) {
      hover(winbt_Close, false, rgb::Red);
      if (winbt_minimise) hover(winbt_minimise, false, rgb::MinimiseHover);
    }
    return false;
  }
  if (obj == winbt_Close || (winbt_minimise && obj == winbt_minimise)) {
    const QColor back = obj == winbt_Close ? rgb::Red : rgb::MinimiseHover;
    if (ev->type() == QEvent::Enter) hover(static_cast<QLabel*>(obj), true, back);
    if (ev->type() == QEvent::Leave) hover(static_cast<QLabel*>(obj), false, back);
    return false;
  }
  // The event is a mouse event only for the mouse event types checked before this is used.
  const auto pointer = [ev] { return static_cast<QMouseEvent*>(ev)->globalPosition().toPoint(); };
  if (borderB && obj == borderB && layout_.resizable) {
    switch (ev->type()) {
      case QEvent::MouseButtonPress:
        borderBMouseDown(pointer());
        return true;
      case QEvent::MouseMove:
        if (beginsize) borderBMouseMove(pointer());
        return true;
      case QEvent::MouseButtonRelease:
        beginsize = false;
        return true;
      default:
        return false;
    }
  }
  for (QWidget* piece : dragPieces_) {
    if (obj != piece) continue;
    if (ev->type() == QEvent::MouseButtonPress) {
      if (!platform().systemMove(window_)) {
        following_ = piece;
        followOffset_ = pointer() - window_->pos();
      }
    } else if (ev->type() == QEvent::MouseMove && following_ == piece) {
      window_->move(pointer() - followOffset_);
    } else if (ev->type() == QEvent::MouseButtonRelease && following_ == piece) {
      following_ = nullptr;
    }
    return false;
  }
  return false;
}

}  // namespace ui
