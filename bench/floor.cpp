// bench_floor: the smallest Qt program with a window like the home window (a frameless
// 550 x 645 top-level widget), built with the same compiler and flags. Start-up time and
// memory of the program are measured against it.
//
//   bench_floor [--label | --click | --poll | --sleep]
//
// With --label the window also shows one line of text, sized to fit: the start-up floor of
// any program that shows text (reading the font configuration, loading a face). With --click
// it shows the line too, and a click anywhere in it opens a second frameless window showing
// one line of text, titled "Quillnote floor editor": the floor of opening a window on a click.
// With --poll it shows the line and wakes every half second to do nothing: the floor of a
// window that polls as the home window does. With --sleep it makes no window and uses no Qt:
// it only sleeps half a second at a time, which shows what a wake-up alone costs here.
#include <poll.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstring>

namespace {

class ClickFloor : public QWidget {
 protected:
  void mousePressEvent(QMouseEvent*) override {
    auto* editor = new QWidget;
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->setWindowFlag(Qt::FramelessWindowHint, true);
    editor->setWindowTitle(QStringLiteral("Quillnote floor editor"));
    editor->resize(550, 645);
    (new QLabel(QStringLiteral("Quillnote"), editor))->adjustSize();
    editor->move(x() + 25, y() + 25);
    editor->show();
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--sleep") == 0) {
    for (;;) ::poll(nullptr, 0, 500);
  }
  const bool label = argc > 1 && std::strcmp(argv[1], "--label") == 0;
  const bool click = argc > 1 && std::strcmp(argv[1], "--click") == 0;
  const bool poll = argc > 1 && std::strcmp(argv[1], "--poll") == 0;
  QApplication app(argc, argv);
  ClickFloor clickable;
  QWidget plain;
  QWidget& window = click ? clickable : plain;
  window.setWindowFlag(Qt::FramelessWindowHint, true);
  window.setWindowTitle(QStringLiteral("Quillnote floor"));
  window.resize(550, 645);
  QTimer ticks;
  if (poll) {
    QObject::connect(&ticks, &QTimer::timeout, [] {});
    ticks.start(500);
  }
  if (label || click || poll) (new QLabel(QStringLiteral("Quillnote"), &window))->adjustSize();
  window.show();
  return app.exec();
}
