#include "ui/application.h"

#include "ui/look.h"
#include "ui/platform.h"

namespace ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Quillnote"));
  installFonts();
}

bool Application::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  runReported([&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

}  // namespace ui
