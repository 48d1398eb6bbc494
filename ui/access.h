// What screen readers are told about the program's own controls. Most of the windows'
// controls are labels and pictures that act on a click; here they become buttons or choices
// with a name, a description and a press action, and the pictures and strips that only
// decorate are left out of what a screen reader walks through.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace ui::access {

// Installs, once, the roles given below. The application object does it.
void install();

// `control`, a label or picture that acts on a click (ui::onClick), is a push button named
// `name`. Its description is its hint, unless `describe` gives one.
void button(QWidget* control, const QString& name, std::function<QString()> describe = {});

// `control`, a label or picture that acts on a click, is one of a row of choices (the
// languages, the pages), named `name`, announced as selected while `selected()` holds. Its
// description is its hint, unless `describe` gives one.
void choice(QWidget* control, const QString& name, std::function<bool()> selected,
            std::function<QString()> describe = {});

// Tells screen readers that the choice `control` was selected or unselected.
void selectionChanged(QWidget* control);

// Leaves `w` out of what screen readers are told: a picture or strip that only decorates,
// a caption that another control already carries, a label that only keeps data.
void leaveOut(QWidget* w);

// Names `w` and, with a hint, describes it by the hint.
void name(QWidget* w, const QString& name, const QString& hint = {});

}  // namespace ui::access
