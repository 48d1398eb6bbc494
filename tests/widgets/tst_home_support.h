// A home window in a fresh working directory with a recording platform, shown on the
// offscreen screen, and small helpers to read what it shows.
#pragma once

#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "home/Quillnote_u.h"
#include "support/fakeplatform.h"
#include "support/workdir.h"

namespace home_testing {

struct Home {
  // Runs `prepare` in the new working directory before the window is created.
  struct Before {
    explicit Before(const std::function<void()>& prepare) {
      if (prepare) prepare();
    }
  };

  testing_support::WorkDir dir;  // first: the window creates its data tree in it
  testing_support::FakePlatform platform;
  Before before;
  TQuillnoteForm form;
  int ticks = 0;  // half-second reloads that completed

  explicit Home(const std::function<void()>& prepare = {}) : before(prepare) {
    // A first start makes most of the tree beside the window; the tests start from all of it.
    form.waitForDataTree();
    QObject::connect(child<QTimer>("AutoReload"), &QTimer::timeout, &form, [this] { ++ticks; });
    form.show();
  }

  // The window's control or timer called `name`.
  template <class T = QWidget>
  T* child(const QString& name) const {
    return form.findChild<T*>(name);
  }
  QLabel* label(const QString& name) const { return child<QLabel>(name); }
  QPushButton* topic(int k) const { return child<QPushButton>(QStringLiteral("Topic_%1").arg(k)); }
  QStringList captions() const {
    QStringList out;
    for (int k = 1; k <= 10; ++k) out << topic(k)->text();
    return out;
  }
  QStringList hints() const {
    QStringList out;
    for (int n = 1; n <= 15; ++n) out << label(QStringLiteral("page_txt_%1").arg(n))->toolTip();
    return out;
  }
  // Waits until `count` more reloads have run.
  bool waitTicks(int count, int timeoutMs = 5000) {
    const int target = ticks + count;
    return QTest::qWaitFor([&] { return ticks >= target; }, timeoutMs);
  }
};

inline QString page(const QString& lang, int n) {
  return QStringLiteral("Data/%1/%2").arg(lang).arg(n);
}

// A file's bytes as lines ended by CR LF.
inline QByteArray crlf(const QStringList& lines) {
  QByteArray out;
  for (const QString& l : lines) out += l.toUtf8() + "\r\n";
  return out;
}

inline QStringList repeated(const QString& text, int count) {
  QStringList out;
  for (int i = 0; i < count; ++i) out << text;
  return out;
}

// Every file and folder under `root` with its size, time of last change and content.
inline QMap<QString, QString> snapshot(const QString& root) {
  QMap<QString, QString> out;
  QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    const QFileInfo info = it.fileInfo();
    QString entry =
        QStringLiteral("%1 %2 ").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
    if (info.isFile()) entry += QString::fromLatin1(testing_support::readBytes(path).toHex());
    out.insert(path, entry);
  }
  return out;
}

}  // namespace home_testing
