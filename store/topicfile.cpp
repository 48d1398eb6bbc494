#include "store/topicfile.h"

#include <QStringDecoder>

#include "store/ioerror.h"
#include "store/linefile.h"

namespace store {

namespace {

// Whether `bytes` is well-formed UTF-8: no stray continuation bytes, no truncated or
// overlong sequences, no surrogates and nothing above U+10FFFF.
bool isValidUtf8(QByteArrayView bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype n = bytes.size();
  qsizetype i = 0;
  while (i < n) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    int extra;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      if (c == 0xE0) lo = 0xA0;  // overlong
      if (c == 0xED) hi = 0x9F;  // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      if (c == 0xF0) lo = 0x90;  // overlong
      if (c == 0xF4) hi = 0x8F;  // above U+10FFFF
    } else {
      return false;
    }
    if (i + extra >= n) return false;  // truncated at the end
    if (p[i + 1] < lo || p[i + 1] > hi) return false;
    for (int k = 2; k <= extra; ++k) {
      if (p[i + k] < 0x80 || p[i + k] > 0xBF) return false;
    }
    i += extra + 1;
  }
  return true;
}

// CR LF and lone CR become '\n'.
QString normaliseBreaks(const QString& text) {
  if (!text.contains(u'\r')) return text;
  QString out;
  out.reserve(text.size());
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text.at(i);
    if (c == u'\r') {
      if (i + 1 < n && text.at(i + 1) == u'\n') ++i;
      out.append(u'\n');
    } else {
      out.append(c);
    }
  }
  return out;
}

}  // namespace

QString decodeTopic(const QByteArray& bytes) {
  QByteArrayView view(bytes);
  QString text;
  if (view.startsWith("\xFF\xFE")) {
    text = QStringDecoder(QStringDecoder::Utf16LE).decode(view.sliced(2));
  } else if (view.startsWith("\xFE\xFF")) {
    text = QStringDecoder(QStringDecoder::Utf16BE).decode(view.sliced(2));
  } else {
    if (view.startsWith("\xEF\xBB\xBF")) view = view.sliced(3);
    // Text that is not UTF-8 (written by another editor in an 8-bit code page) shows one
    // character per byte, so that saving it again keeps every character.
    text = isValidUtf8(view) ? QString::fromUtf8(view) : QString::fromLatin1(view);
  }
  return normaliseBreaks(text);
}

QByteArray encodeTopic(const QString& text) {
  QByteArray out("\xEF\xBB\xBF");
  QString crlf = text;
  crlf.replace(u'\n', QStringLiteral("\r\n"));
  out += crlf.toUtf8();
  return out;
}

std::optional<QString> loadTopic(const QString& path) {
  try {
    return decodeTopic(readFileBytes(path));
  } catch (const IoError&) {
    return std::nullopt;
  }
}

void saveTopic(const QString& path, const QString& text) {
  writeFileAtomic(path, encodeTopic(text));
}

}  // namespace store
