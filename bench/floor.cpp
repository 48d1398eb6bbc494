// bench_floor: the smallest Qt program with a window like the home window (a frameless
// 550 x 645 top-level widget), built with the same compiler and flags. Start-up time and
// memory of the program are measured against it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowFlag(Qt::FramelessWindowHint, true);
  window.setWindowTitle(QStringLiteral("Quillnote floor"));
  window.resize(550, 645);
  window.show();
  return app.exec();
}
