#include "ui/application.h"

#include <QIcon>
#include <QPixmap>

#include "ui/look.h"
#include "ui/platform.h"

namespace ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Quillnote"));
  // The desktop groups the windows under the menu entry of this name and shows its icon.
  setDesktopFileName(QStringLiteral("org.quillnote.Quillnote"));
  const QPixmap icon(QStringLiteral(":/pictures/app_icon.png"));
  if (!icon.isNull()) setWindowIcon(QIcon(icon));
  installFonts();
}

bool Application::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  runReported([&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

}  // namespace ui
