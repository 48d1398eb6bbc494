// What the program's windows share about being shown: where a window first appears, bringing
// it to the front, and the program's own notices.
#pragma once

#include <QPoint>
#include <QString>

class QWidget;

namespace ui {

// Top-left corner that centres `window` (its outer size) in the primary screen's available
// area (the screen less the desktop's panels): truncate(area width / 2 - width / 2), the same
// for the height, computed in floating point and truncated toward zero. A window wider or
// taller than the area is put at the area's top-left corner, so that its title strip and
// close label can be reached.
QPoint screenCentredPos(const QWidget* window);

// Top-left corner that centres `window` on `other`'s outer rectangle, kept inside the
// screen's available area (insideScreen).
QPoint centredOnPos(const QWidget* window, const QWidget* other);

// `pos` moved as little as needed for `window`, put there, to lie inside the primary
// screen's available area; where it is wider or taller than the area, at the area's left or
// top edge.
QPoint insideScreen(const QWidget* window, QPoint pos);

// Centres `window` on the screen the first time it is shown, unless centreOnceOn placed it
// before; from then on it stays where the user puts it.
void centreOnFirstShow(QWidget* window);

// Centres `window` on `other` when it was never placed before (and `other` is given).
void centreOnceOn(QWidget* window, const QWidget* other);

// Shows `window` (not modal) in front of the others, with the keyboard.
void showInFront(QWidget* window);

// Shows `window`, a dialog or notice, as showInFront does, on behalf of the window `opener`
// belongs to: the desktop keeps it above that window and gives it no task bar entry of its
// own. Without an opener it belongs to the program as a whole.
void showFor(QWidget* window, QWidget* opener);

// The message window: the program's own notices, an icon chosen by `mode`, two lines of text
// and one button whose caption the caller chooses.
class NoticeWindow {
 public:
  virtual ~NoticeWindow() = default;
  virtual void StartHandle(const QString& mode, const QString& Text, const QString& Text2,
                           const QString& BtLabel) = 0;
  // The window the next notices are shown on behalf of (see showFor); null: the program.
  virtual void setOpener(QWidget* opener) = 0;
};

// Shows a notice in `window` on behalf of `opener`. Without a message window (none made yet)
// the notice still reaches the user, through the standard error report.
void notice(NoticeWindow* window, const QString& mode, const QString& text, const QString& text2,
            const QString& button, QWidget* opener = nullptr);

}  // namespace ui
