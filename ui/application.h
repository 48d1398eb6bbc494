// The program's application object. Any error a handler lets through ends that handler
// and reaches the standard error report here; the program then goes on with its events.
#pragma once

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <functional>
#include <future>
#include <vector>

#include "store/idlethread.h"

namespace ui {

// A picture the first window shows, and the size it shows it at.
struct ShownPicture {
  QString name;
  QSize size;
};

namespace detail {
// Reads the system's font configuration on a worker thread. Reading it takes longer than
// connecting to the display; as a base of the application object it starts first, so the
// two run side by side instead of one after the other.
class FontConfigReader {
 protected:
  FontConfigReader();
  void waitForFontConfig() { reader_.wait(); }

 private:
  store::IdleThread reader_;
};
}  // namespace detail

class Application : private detail::FontConfigReader, public QApplication {
 public:
  // `firstPictures` are decoded on a worker thread while the fonts are set up, for the first
  // window to take (ui::picture does) instead of decoding them itself.
  Application(int& argc, char** argv, QList<ShownPicture> firstPictures = {});
  ~Application() override;
  bool notify(QObject* receiver, QEvent* event) override;

  // The picture `name` decoded ahead at `pixels`, waiting for the worker if need be; each is
  // given once. A null image when it was not asked for or is already taken.
  QImage takePictureAhead(const QString& name, const QSize& pixels);

  // The picture stored under `key`, made by `make` when no window shows it yet. A picture
  // shown by several windows at once (the wallpaper of the home window and of each editor)
  // is thus held in memory once; it is let go once no window shows it any more.
  QPixmap sharedPicture(const QString& key, const std::function<QPixmap()>& make);

 private:
  QList<ShownPicture> ahead_;  // sizes in device pixels
  std::future<std::vector<QImage>> decoding_;
  std::vector<QImage> decoded_;
  QHash<QString, QPixmap> shared_;
  bool pruneQueued_ = false;
  void pruneShared();
};

}  // namespace ui
