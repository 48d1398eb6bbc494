#include "ui/application.h"

#include <fontconfig/fontconfig.h>

#include <QIcon>
#include <QTimer>

#include "ui/access.h"
#include "ui/look.h"
#include "ui/pictures.h"
#include "ui/platform.h"

namespace ui {

namespace detail {

// The reader takes only time that is left over: connecting to the display needs the display
// server, which runs beside it, more.
FontConfigReader::FontConfigReader() {
  reader_.start([] { FcInit(); });
}

}  // namespace detail

Application::Application(int& argc, char** argv, QList<ShownPicture> firstPictures)
    : QApplication(argc, argv), ahead_(std::move(firstPictures)) {
  const qreal ratio = devicePixelRatio();
  for (ShownPicture& p : ahead_) p.size = (QSizeF(p.size) * ratio).toSize();
  if (!ahead_.isEmpty()) {
    decoding_ = std::async(std::launch::async, [pictures = ahead_] {
      std::vector<QImage> images;
      for (const ShownPicture& p : pictures) {
        try {
          images.push_back(shownImage(p.name, p.size));
        } catch (const PictureNotFound&) {
          images.emplace_back();  // asked for again, it fails where it is asked for
        }
      }
      return images;
    });
  }
  setApplicationName(QStringLiteral("Quillnote"));
  // The desktop groups the windows under the menu entry of this name and shows its icon.
  setDesktopFileName(QStringLiteral("org.quillnote.Quillnote"));
  // The window icon in the sizes window lists and switchers ask for; each is decoded when a
  // window first needs it.
  QIcon icon;
  for (int px : {16, 32, 48, 64})
    icon.addFile(QStringLiteral(":/icons/quillnote-%1.png").arg(px), QSize(px, px));
  setWindowIcon(icon);
  // Screen readers are told what the program's own controls are.
  access::install();
  // The bundled fonts join the configuration read meanwhile.
  waitForFontConfig();
  installFonts();
  // Controls without a font of their own (menus, hints) use the home window's face. An edit
  // box also lays out its text once in this font before it takes its own; the toolkit's
  // fallback face would be loaded for that alone.
  setFont(ui::font(Face::Tahoma, 11));
}

Application::~Application() {
  if (decoding_.valid()) decoding_.wait();
}

QImage Application::takePictureAhead(const QString& name, const QSize& pixels) {
  if (decoding_.valid()) decoded_ = decoding_.get();
  for (qsizetype i = 0; i < ahead_.size(); ++i) {
    if (i < qsizetype(decoded_.size()) && ahead_[i].size == pixels &&
        ahead_[i].name.compare(name, Qt::CaseInsensitive) == 0) {
      ahead_.removeAt(i);
      QImage image = std::move(decoded_[size_t(i)]);
      decoded_.erase(decoded_.begin() + i);
      return image;
    }
  }
  return QImage();
}

QPixmap Application::sharedPicture(const QString& key, const std::function<QPixmap()>& make) {
  pruneShared();
  auto it = shared_.constFind(key);
  if (it != shared_.constEnd()) return *it;
  const QPixmap picture = make();
  shared_.insert(key, picture);
  // A picture replaced in its control right after this (a theme switch) is let go soon after.
  if (!pruneQueued_) {
    pruneQueued_ = true;
    QTimer::singleShot(0, this, [this] {
      pruneQueued_ = false;
      pruneShared();
    });
  }
  return picture;
}

void Application::pruneShared() {
  // A picture held only here is shown by no window.
  for (auto it = shared_.begin(); it != shared_.end();)
    it = it->isDetached() ? shared_.erase(it) : std::next(it);
}

bool Application::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  runReported([&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

}  // namespace ui
