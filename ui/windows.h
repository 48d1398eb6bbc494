// What the program's windows share about being shown: where a window first appears, bringing
// it to the front, and the program's own notices.
#pragma once

#include <QPoint>
#include <QString>

class QWidget;

namespace ui {

// Top-left corner that centres `window` (its outer size) on the primary screen:
// truncate(screen width / 2 - width / 2), the same for the height, computed in floating
// point and truncated toward zero.
QPoint screenCentredPos(const QWidget* window);

// Top-left corner that centres `window` on `other`'s outer rectangle.
QPoint centredOnPos(const QWidget* window, const QWidget* other);

// Centres `window` on the screen the first time it is shown, unless centreOnceOn placed it
// before; from then on it stays where the user puts it.
void centreOnFirstShow(QWidget* window);

// Centres `window` on `other` when it was never placed before (and `other` is given).
void centreOnceOn(QWidget* window, const QWidget* other);

// Shows `window` (not modal) in front of the others, with the keyboard.
void showInFront(QWidget* window);

// The message window: the program's own notices, an icon chosen by `mode`, two lines of text
// and one button whose caption the caller chooses.
class NoticeWindow {
 public:
  virtual ~NoticeWindow() = default;
  virtual void StartHandle(const QString& mode, const QString& Text, const QString& Text2,
                           const QString& BtLabel) = 0;
};

// Shows a notice in `window`. Without a message window (none made yet) the notice still
// reaches the user, through the standard error report.
void notice(NoticeWindow* window, const QString& mode, const QString& text, const QString& text2,
            const QString& button);

}  // namespace ui
