// Pieces shared by the four dialog windows: their designed pictures, push buttons and
// edit boxes built from a table row, the Enter key for the default button, and placing a
// window at the centre of the screen or of another window.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPoint>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>

#include "ui/build.h"
#include "ui/chrome.h"

namespace dialogs {

// An image control (ui::makeImage) that shows the embedded picture `picture` from the first
// time it is shown on. The dialogs are made hidden at start-up and many runs never open
// them, so their pictures, some of them large, are decoded only when needed: the program
// starts sooner and holds less memory.
QLabel* makeImageShownLater(QWidget* parent, const QString& name, const QRect& rect, ui::Fit fit,
                            const QString& picture);

// The font of controls whose table gives none (push buttons, edit boxes).
QFont controlFont();

// The frame of a dialog: title text `title` (object name "title") in the dialogs' light
// colour, no minimise pieces, no resizing.
ui::ChromeLayout dialogChrome(const QString& title);

// Prepares a dialog window: frameless, caption `caption`, fixed client size `size`.
void setUpWindow(QWidget* window, const QString& caption, const QSize& size);

// A push button that is the window's default: Enter anywhere in `window` presses it
// (unless another push button has the focus, which then takes the key itself).
QPushButton* makeDefaultButton(QWidget* window, const QString& name, const QRect& rect,
                               const QString& caption);

// A single-line edit box with centred text, grey background, light text and a hint text.
QLineEdit* makeGreyEdit(QWidget* window, const QString& name, const QRect& rect,
                        const QString& hint);

// Top-left corner that centres `window` (its outer size) on the primary screen:
// truncate(screen width / 2 - width / 2), the same for the height, computed in floating
// point and truncated toward zero.
QPoint screenCentredPos(const QWidget* window);

// Top-left corner that centres `window` on `other`'s outer rectangle.
QPoint centredOnPos(const QWidget* window, const QWidget* other);

}  // namespace dialogs
