#include "support/workdir.h"

#include <QFile>

namespace testing_support {

QByteArray readBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

QByteArray crlf(const QList<QByteArray>& lines) {
  QByteArray out;
  for (const QByteArray& l : lines) out += l + "\r\n";
  return out;
}

}  // namespace testing_support
