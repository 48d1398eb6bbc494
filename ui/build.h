// Small builders for the controls the windows are made of, so each window can create its
// controls from a table: object name, geometry, font and colours.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QPushButton;
class QTimer;

namespace ui {

// How an image control fits its picture into its rectangle.
enum class Fit { Stretch, Proportional, None };

struct LabelLayout {
  QString name;
  QRect rect;  // a zero width or height means "size to the text" from rect's top-left
  QString text;
  QFont font;
  QColor color;
  Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
  std::optional<QColor> background = std::nullopt;  // opaque label when set
};

// A text label. Labels are transparent unless they have a background.
QLabel* makeLabel(QWidget* parent, const LabelLayout& layout);

// An image control showing `picture` (which may be null) fitted as `fit` says.
QLabel* makeImage(QWidget* parent, const QString& name, const QRect& rect, Fit fit,
                  const QPixmap& picture = QPixmap());

// Shows `picture` in an image control made by makeImage, fitted as it was made.
void setImage(QLabel* image, const QPixmap& picture);

// An image control (makeImage) that shows the embedded picture `picture` from the first time
// it is shown on. Windows made hidden at start-up that many runs never open (the dialogs, the
// page selector) thus decode their pictures, some of them large, only when needed: the
// program starts sooner and holds less memory.
QLabel* makeImageShownLater(QWidget* parent, const QString& name, const QRect& rect, Fit fit,
                            const QString& picture);

struct ButtonLayout {
  QString name;
  QRect rect;
  QString text = {};
  QString glyph = {};    // picture name; empty: no glyph
  QSize glyphSize = {};  // empty: the glyph's own size
  QString hint = {};
  std::optional<QColor> color = std::nullopt;  // text colour; without one, the parent's
  std::optional<QFont> font = std::nullopt;    // without one, the parent's
};

// A flat push button that takes no keyboard focus, with an optional glyph and hint. Given the
// focus (a focus policy set later), Enter and Space press it; it draws no focus mark of its
// own, so a window can draw its own.
QPushButton* makeFlatButton(QWidget* parent, const ButtonLayout& layout);

// A stopped timer with an object name, an interval in milliseconds, and whether it fires once.
QTimer* makeTimer(QObject* parent, const QString& name, int interval, bool singleShot = false);

// A button caption treats "&" as the mark of a shortcut: captionFor gives the caption that
// shows `text` as written, and captionText the text a caption shows.
QString captionFor(const QString& text);
QString captionText(const QString& caption);

// Text colour of a label or button (the palette's WindowText and ButtonText roles).
void setTextColor(QWidget* w, const QColor& c);
QColor textColor(const QWidget* w);

// Background colour; `opaque` decides whether it is painted.
void setBackground(QWidget* w, const QColor& c, bool opaque = true);

// Calls `fn` when the left button is pressed and released over `w` (a click), as a
// label or picture has no click of its own. A `w` that takes the focus by Tab (a focus
// policy set later) also calls `fn` on Enter or Space while it has the focus.
void onClick(QWidget* w, std::function<void()> fn);
// Runs what a click on `w` runs (see onClick), as a screen reader's press does.
void click(QWidget* w);
// Calls `fn` with the press event when any mouse button is pressed over `w`.
void onPress(QWidget* w, std::function<void(class QMouseEvent*)> fn);

}  // namespace ui
