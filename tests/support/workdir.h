// A fresh, empty working directory for one test; the previous one is restored after.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QString>
#include <QTemporaryDir>

namespace testing_support {

class WorkDir {
 public:
  WorkDir() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
  ~WorkDir() { QDir::setCurrent(previous_); }
  WorkDir(const WorkDir&) = delete;
  WorkDir& operator=(const WorkDir&) = delete;

  QString path() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

// Helpers for the bytes of files in the working directory.
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

// The bytes of a line file holding `lines`: each followed by CR LF, the last one included.
QByteArray crlf(const QList<QByteArray>& lines);

}  // namespace testing_support
