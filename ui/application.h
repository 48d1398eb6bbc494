// The program's application object. Any error a handler lets through ends that handler
// and reaches the standard error report here; the program then goes on with its events.
#pragma once

#include <QApplication>

namespace ui {

class Application : public QApplication {
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace ui
