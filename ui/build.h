// Small builders for the controls the windows are made of, so each window can create its
// controls from a table: object name, geometry, font and colours.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>

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

// Text colour of a label or button (the palette's WindowText and ButtonText roles).
void setTextColor(QWidget* w, const QColor& c);
QColor textColor(const QWidget* w);

// Background colour; `opaque` decides whether it is painted.
void setBackground(QWidget* w, const QColor& c, bool opaque = true);

// Calls `fn` when the left button is pressed and released over `w` (a click), as a
// label or picture has no click of its own.
void onClick(QWidget* w, std::function<void()> fn);
// Calls `fn` with the press event when any mouse button is pressed over `w`.
void onPress(QWidget* w, std::function<void(class QMouseEvent*)> fn);

}  // namespace ui
