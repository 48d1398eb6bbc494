// Shared pieces of the fuzz targets: a failed invariant aborts with a readable message (the
// fuzzer then saves the input), and a private folder for targets that go through files.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzing {

[[noreturn]] inline void fail(const char* what, const QString& detail = QString()) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  if (!detail.isEmpty()) std::fprintf(stderr, "  %s\n", detail.toUtf8().constData());
  std::abort();
}

#define FUZZ_CHECK(cond, ...)                                       \
  do {                                                              \
    if (!(cond)) ::fuzzing::fail(#cond __VA_OPT__(, ) __VA_ARGS__); \
  } while (0)

// Text for a failure message: the characters with their codes, so invisible ones show.
inline QString describe(const QString& s) {
  QString out = QStringLiteral("\"");
  for (QChar c : s) {
    if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
      out += c;
    } else {
      out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
  }
  return out + u'"';
}

inline QString describe(const QStringList& l) {
  QStringList parts;
  for (const QString& s : l) parts << describe(s);
  return u'[' + parts.join(QStringLiteral(", ")) + u']';
}

// `text` as UTF-8 can hold it: a lone surrogate (a UTF-16 unit that is no character, as in
// a damaged UTF-16 file) has no UTF-8 form and is written as a replacement.
inline QString asUtf8Holds(const QString& text) {
  // A leading U+FEFF is a character here, not a mark to skip.
  return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom)
      .decode(text.toUtf8());
}

// A private folder, created once per process: in memory when /dev/shm is there, so that
// the writes (each flushed to disk) stay fast. The process works inside it, so that the
// relative "./Data" paths of the store land there too.
inline const std::string& privateFolder() {
  // Never destroyed, so that the clean-up at exit can still read it.
  static const std::string* folder = [] {
    const char* base = std::getenv("QUILLNOTE_FUZZ_TMP");
    std::string pattern = base ? base : (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    pattern += "/quillnote-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) fail("no private folder");
    if (::chdir(pattern.c_str()) != 0) fail("cannot enter the private folder");
    auto* made = new std::string(pattern);
    std::atexit([] { QDir(QString::fromStdString(privateFolder())).removeRecursively(); });
    return made;
  }();
  return *folder;
}

inline void writeFileRaw(const char* path, const QByteArray& bytes) {
  std::FILE* f = std::fopen(path, "wb");
  if (!f) fail("cannot create a scratch file", QString::fromUtf8(path));
  if (!bytes.isEmpty() &&
      std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f) != size_t(bytes.size()))
    fail("cannot write a scratch file");
  std::fclose(f);
}

inline QByteArray readFileRaw(const char* path) {
  QByteArray out;
  std::FILE* f = std::fopen(path, "rb");
  if (!f) fail("cannot open a scratch file", QString::fromUtf8(path));
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, qsizetype(n));
  std::fclose(f);
  return out;
}

}  // namespace fuzzing
