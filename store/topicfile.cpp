#include "store/topicfile.h"

#include <QStringDecoder>
#include <cstring>

#include "store/ioerror.h"
#include "store/linefile.h"
#include "store/narrow.h"

namespace store {

namespace {

// CR LF and lone CR become '\n'. Two passes in place: a topic saved by the program has a
// CR LF after every line, so this runs over the whole of every topic opened.
QString normaliseBreaks(QString text) {
  if (!text.contains(u'\r')) return text;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
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
    // A byte that is not UTF-8 (a character typed in another editor in an 8-bit code page)
    // shows as one character and the UTF-8 around it as UTF-8, so that saving it again keeps
    // every character.
    text = decodeUtf8OrBytes(view);
  }
  return normaliseBreaks(text);
}

QByteArray encodeTopic(const QString& text) {
  // Encoded first, then each '\n' byte (never part of a longer UTF-8 sequence) widened to
  // CR LF, in one pass over a buffer of the final size.
  const QByteArray utf8 = text.toUtf8();
  QByteArray out;
  out.reserve(3 + utf8.size() + utf8.count('\n'));
  out.append("\xEF\xBB\xBF", 3);
  const char* p = utf8.constData();
  const char* const end = p + utf8.size();
  while (p < end) {
    const auto* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
    if (!nl) {
      out.append(p, end - p);
      break;
    }
    out.append(p, nl - p);
    out.append("\r\n", 2);
    p = nl + 1;
  }
  return out;
}

TopicRead readTopic(const QString& path) {
  TopicRead read;
  try {
    read.text = decodeTopic(readFileBytes(path, &read.stamp));
  } catch (const IoError& e) {
    read.stamp = FileStamp();
    if (e.code() == kFileNotFound) {
      read.missing = true;
    } else {
      read.error = e.code();
    }
  }
  return read;
}

std::optional<QString> loadTopic(const QString& path) {
  TopicRead read = readTopic(path);
  if (read.missing || read.error) return std::nullopt;
  return std::move(read.text);
}

FileStamp saveTopic(const QString& path, const QString& text) {
  return writeFileAtomic(path, encodeTopic(text));
}

}  // namespace store
