#include "store/topicfile.h"

#include <QStringDecoder>

#include "store/ioerror.h"
#include "store/linefile.h"
#include "store/narrow.h"

namespace store {

namespace {

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

// What follows a byte-order mark; a further mark right after it is part of the text.
QString decodeAfterMark(QStringDecoder::Encoding encoding, QByteArrayView bytes) {
  return QStringDecoder(encoding, QStringDecoder::Flag::ConvertInitialBom).decode(bytes);
}

}  // namespace

QString decodeTopic(const QByteArray& bytes) {
  QByteArrayView view(bytes);
  QString text;
  if (view.startsWith("\xFF\xFE")) {
    text = decodeAfterMark(QStringDecoder::Utf16LE, view.sliced(2));
  } else if (view.startsWith("\xFE\xFF")) {
    text = decodeAfterMark(QStringDecoder::Utf16BE, view.sliced(2));
  } else {
    if (view.startsWith("\xEF\xBB\xBF")) view = view.sliced(3);
    // Text that is not UTF-8 (written by another editor in an 8-bit code page) shows one
    // character per byte, so that saving it again keeps every character.
    text = isValidUtf8(view) ? decodeAfterMark(QStringDecoder::Utf8, view) : decodeNarrow(view);
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
