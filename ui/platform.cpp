#include "ui/platform.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <QWindow>

namespace ui {

namespace {
Platform* installed = nullptr;
bool reportShowing = false;

Platform& desktop() {
  static Platform p;
  return p;
}
}  // namespace

void Platform::errorReport(const QString& text) {
  // Shown over the window the user works in, which the desktop keeps it with.
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Quillnote"), text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

Answer Platform::confirm(QWidget* parent, const QString& text, bool withCancel) {
  QMessageBox box(QMessageBox::Information, QStringLiteral("Confirm"), text, QMessageBox::NoButton,
                  parent);
  QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
  QPushButton* cancel =
      withCancel ? box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole) : nullptr;
  box.setDefaultButton(yes);
  box.setEscapeButton(withCancel ? cancel : no);
  box.exec();
  if (box.clickedButton() == yes) return Answer::Yes;
  if (box.clickedButton() == no) return Answer::No;
  return withCancel ? Answer::Cancel : Answer::No;
}

void Platform::messageBox(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quillnote"), text, QMessageBox::Ok, parent);
  box.exec();
}

bool Platform::systemMove(QWidget* window) {
  QWindow* handle = window->windowHandle();
  return handle && handle->startSystemMove();
}

void Platform::minimiseAll() {
  // Only the program's own windows: a popup menu or a tooltip that is showing is not one.
  for (QWidget* w : QApplication::topLevelWidgets()) {
    const Qt::WindowType type = w->windowType();
    if (w->isVisible() && (type == Qt::Window || type == Qt::Dialog)) w->showMinimized();
  }
}

void Platform::popupMenu(QMenu* menu, const QPoint& screenPos) {
  menu->exec(screenPos);
}

Platform& platform() {
  return installed ? *installed : desktop();
}

ScopedPlatform::ScopedPlatform(Platform* p) : previous_(installed) {
  installed = p;
}
ScopedPlatform::~ScopedPlatform() {
  installed = previous_;
}

QString reportText(const QString& message) {
  if (!message.isEmpty() && message.back().unicode() <= u'.') return message;
  return message + u'.';
}

void reportError(const QString& message) {
  if (reportShowing) return;
  reportShowing = true;
  struct Reset {
    ~Reset() { reportShowing = false; }
  } reset;
  platform().errorReport(reportText(message));
}

void reportCurrentException() {
  try {
    throw;
  } catch (const std::exception& e) {
    reportError(QString::fromUtf8(e.what()));
  } catch (...) {
    reportError(QStringLiteral("Unknown error"));
  }
}

}  // namespace ui
