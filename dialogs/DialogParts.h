// Pieces shared by the four dialog windows: the table each builds its controls from, the
// frame of a dialog, push buttons that Enter presses, and grey edit boxes.
#pragma once

#include <QColor>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <array>
#include <span>

#include "ui/build.h"
#include "ui/chrome.h"
#include "ui/look.h"

namespace dialogs {

// One control of a dialog, a row of the table the dialog is built from.
struct ControlRow {
  enum Kind {
    Picture,        // an image control showing `text`, the picture's name, once first shown
    Text,           // a label: `text` in Tahoma of `px` pixels and `colour`
    Frame,          // the dialog's frame (ui::Chrome)
    DefaultButton,  // the push button Enter presses, captioned `text`
    GreyEdit,       // a grey single-line edit box with `text` as its hint
  };
  Kind kind;
  const char* name = "";
  QRect rect = {};
  const char* text = "";
  ui::Fit fit = ui::Fit::Stretch;  // Picture
  int px = 11;                     // Text
  const QColor* colour = nullptr;  // Text
  Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
  bool hide = false;
  // Picture, GreyEdit: what screen readers call it. A picture without a name only decorates
  // and is left out of what they are told.
  const char* spoken = "";

  static constexpr ControlRow picture(const char* name, QRect rect, const char* picture,
                                      ui::Fit fit = ui::Fit::Stretch) {
    return {Picture, name, rect, picture, fit};
  }
  static constexpr ControlRow label(const char* name, QRect rect, const char* text, int px,
                                    const QColor& colour,
                                    Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop) {
    return {Text, name, rect, text, ui::Fit::None, px, &colour, align};
  }
  static constexpr ControlRow frame() { return {Frame}; }
  static constexpr ControlRow defaultButton(const char* name, QRect rect, const char* caption) {
    return {DefaultButton, name, rect, caption};
  }
  static constexpr ControlRow greyEdit(const char* name, QRect rect, const char* hint) {
    return {GreyEdit, name, rect, hint};
  }
  // The same control, made hidden.
  constexpr ControlRow hidden() const {
    ControlRow row = *this;
    row.hide = true;
    return row;
  }
  // The same control, called `name` by screen readers.
  constexpr ControlRow named(const char* name) const {
    ControlRow row = *this;
    row.spoken = name;
    return row;
  }
};

// The controls of a dialog that asks for one line of text (the rename and the page
// description dialogs): the background, the frame, the question `question`, the OK button
// at `ok` and the edit box `field`.
constexpr std::array<ControlRow, 5> oneLineDialog(const char* question, QRect ok,
                                                  const char* field) {
  return {{
      ControlRow::picture("Image1", {0, 0, 321, 169}, "dialog_bg"),
      ControlRow::frame(),
      ControlRow::label("Label4", {0, 48, 313, 16}, question, 13, ui::sys::Light3D,
                        Qt::AlignHCenter | Qt::AlignTop),
      ControlRow::defaultButton("Button1", ok, "OK"),
      ControlRow::greyEdit(field, {24, 96, 265, 21}, "Type Here").named(question),
  }};
}

// Makes `window` a dialog (frameless, caption `caption`, fixed client size `size`) and builds
// its controls from `rows`, in order; the Frame row is the frame `frame`. Escape closes the
// dialog as its "x" does. Returns the frame.
ui::Chrome* build(QWidget* window, const QString& caption, const QSize& size,
                  std::span<const ControlRow> rows, const ui::ChromeLayout& frame);

// The control `name` of `window`, built from its table.
template <class T>
T* control(const QWidget* window, const char* name) {
  return window->findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

// The frame of a dialog: title text `title` (object name "title") in the dialogs' light
// colour, no minimise pieces, no resizing.
ui::ChromeLayout dialogChrome(const QString& title);

// A push button that is the window's default: Enter anywhere in `window` presses it
// (unless another push button has the focus, which then takes the key itself).
QPushButton* makeDefaultButton(QWidget* window, const QString& name, const QRect& rect,
                               const QString& caption);

// A single-line edit box with centred text, grey background, light text and a hint text.
QLineEdit* makeGreyEdit(QWidget* window, const QString& name, const QRect& rect,
                        const QString& hint);

}  // namespace dialogs
