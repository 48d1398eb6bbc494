// bench_floor: the smallest Qt program with a window like the home window (a frameless
// 550 x 645 top-level widget), built with the same compiler and flags. Start-up time and
// memory of the program are measured against it.
//
//   bench_floor [--label]
//
// With --label the window also shows one line of text, sized to fit: what showing any text
// adds to the start-up (reading the font configuration, loading a face), for comparison.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
  const bool label = argc > 1 && std::strcmp(argv[1], "--label") == 0;
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowFlag(Qt::FramelessWindowHint, true);
  window.setWindowTitle(QStringLiteral("Quillnote floor"));
  window.resize(550, 645);
  if (label) (new QLabel(QStringLiteral("Quillnote"), &window))->adjustSize();
  window.show();
  return app.exec();
}
