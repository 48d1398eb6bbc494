// Everything modal or system-dependent that windows ask of the desktop. Windows call
// these through ui::platform(); tests install their own Platform to see what would have
// been shown and to answer questions without a modal loop.
#pragma once

#include <QString>

class QWidget;
class QPoint;
class QMenu;

namespace ui {

enum class Answer { Yes, No, Cancel };

class Platform {
 public:
  virtual ~Platform() = default;

  // The standard error report: modal box captioned "Quillnote", error icon, one "OK", over
  // the active window. Enter and Escape answer it.
  virtual void errorReport(const QString& text);
  // A confirmation dialog captioned "Confirm" with an information icon and the buttons
  // "&Yes", "&No" and, when `withCancel`, "Cancel"; "&Yes" is the default. Esc and the
  // close box answer Cancel when offered, No otherwise; Enter answers Yes, the keys Y and N
  // (the underlined letters) Yes and No.
  virtual Answer confirm(QWidget* parent, const QString& text, bool withCancel);
  // The plain message box: caption "Quillnote", no icon, one "OK"; Enter and Escape close it.
  virtual void messageBox(QWidget* parent, const QString& text);
  // Hands `window` to the system's own move loop. Returns false where the platform has
  // none (a bare X server, the offscreen platform); the caller then follows the pointer.
  virtual bool systemMove(QWidget* window);
  // Minimises every window of the program together.
  virtual void minimiseAll();
  // Opens a popup menu at a screen point (modal in production).
  virtual void popupMenu(QMenu* menu, const QPoint& screenPos);
};

// The platform in use: the desktop's, unless a test has installed its own.
Platform& platform();

// Installs `p` for the lifetime of this object and restores the previous one after.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(Platform* p);
  ~ScopedPlatform();
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform* previous_;
};

// The text of a standard error report for `message`: a full stop is appended unless
// the message already ends in a character whose code is at or below that of ".".
QString reportText(const QString& message);

// Shows the standard error report for `message`. While one report is showing, further
// reports are dropped instead of stacking modal boxes on top of each other.
void reportError(const QString& message);

// Runs `step` and sends any error it raises to the standard error report. This and the
// application's event notification are the one way errors reach the user uncaught.
template <class F>
void runReported(F&& step);

}  // namespace ui

#include <exception>
#include <stdexcept>

namespace ui {
void reportCurrentException();

// A slot for a toolkit signal that runs `method` of `object` and sends any error it raises
// to the standard error report, so that no error unwinds through the toolkit's own code
// (which is built without clean-up for errors and would leak what it holds).
template <class T>
auto reported(T* object, void (T::*method)()) {
  return [object, method] { runReported([&] { (object->*method)(); }); };
}

template <class F>
void runReported(F&& step) {
  try {
    step();
  } catch (...) {
    reportCurrentException();
  }
}
}  // namespace ui
