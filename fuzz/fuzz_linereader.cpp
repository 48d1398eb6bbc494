// The line reader over arbitrary bytes: lines never hold a line end, reading past the end
// keeps giving empty lines, the file reader and the in-memory reader agree, and the lines
// are exactly those of a plain model of the rules (LF, CR LF and byte 1A end a line; a lone
// CR is dropped; a final line end adds no line; a UTF-8 byte-order mark is skipped at the
// start of the file only).
#include <QStringDecoder>
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "store/linefile.h"
#include "store/narrow.h"

namespace {

QStringList modelLines(const QByteArray& b) {
  QStringList lines;
  QByteArray cur;
  qsizetype i = 0;
  const qsizetype n = b.size();
  bool open = false;  // a line has started and not ended
  // Only the file's first line may start with a byte-order mark to skip.
  const auto decode = [&lines](const QByteArray& line) {
    return lines.isEmpty() ? store::decodeNarrow(line) : store::decodeUtf8OrBytes(line);
  };
  while (i < n) {
    const char c = b[i];
    open = true;
    if (c == '\n' || c == '\x1a') {
      lines << decode(cur);
      cur.clear();
      open = false;
      ++i;
    } else if (c == '\r' && i + 1 < n && b[i + 1] == '\n') {
      lines << decode(cur);
      cur.clear();
      open = false;
      i += 2;
    } else {
      if (c != '\r') cur += c;
      ++i;
    }
  }
  if (open) lines << decode(cur);
  return lines;
}

// The decoding of the narrow code page, modelled with Qt's own decoder: from the left, the
// shortest run of bytes that Qt decodes to one character without error, or else one byte as
// the character of the same code.
QString modelDecode(const QByteArray& b) {
  QString out;
  qsizetype i = 0;
  while (i < b.size()) {
    qsizetype taken = 0;
    for (qsizetype len = 1; len <= 4 && i + len <= b.size() && !taken; ++len) {
      QStringDecoder one(QStringDecoder::Utf8,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
      const QString c = one.decode(QByteArrayView(b).sliced(i, len));
      if (!one.hasError() && c.size() == (c.at(0).isHighSurrogate() ? 2 : 1)) {
        out += c;
        taken = len;
      }
    }
    if (!taken) {
      out += QChar(uchar(b[i]));
      taken = 1;
    }
    i += taken;
  }
  return out;
}

void checkNarrow(const QByteArray& b) {
  // Valid UTF-8 is what Qt's own decoder accepts without error, and decoding never loses a
  // byte: valid text encodes back to the same bytes, and any other byte is one character
  // between the UTF-8 around it.
  QStringDecoder utf8(QStringDecoder::Utf8,
                      QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  const QString viaQt = utf8.decode(b);
  const bool valid = store::isValidUtf8(b);
  FUZZ_CHECK(valid == !utf8.hasError(), QString::fromLatin1(b.toHex()));
  const QString text = store::decodeUtf8OrBytes(b);
  FUZZ_CHECK(text == modelDecode(b), QString::fromLatin1(b.toHex()));
  if (valid) FUZZ_CHECK(text == viaQt && text.toUtf8() == b);
  const qsizetype prefix = store::validUtf8Prefix(b);
  FUZZ_CHECK(prefix == b.size() || !store::isValidUtf8(b.first(prefix + 1)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  fuzzing::privateFolder();
  checkNarrow(bytes);

  const QStringList model = modelLines(bytes);
  const QStringList split = store::splitLines(bytes);
  FUZZ_CHECK(split == model, fuzzing::describe(split) + " vs " + fuzzing::describe(model));
  for (const QString& line : split) {
    FUZZ_CHECK(!line.contains(u'\n') && !line.contains(u'\x1a'), fuzzing::describe(line));
    FUZZ_CHECK(!line.contains(QStringLiteral("\r\n")));
  }

  // Reading on past the last line gives empty lines, however often.
  store::LineReader reader = store::LineReader::fromBytes(bytes);
  for (const QString& line : model) FUZZ_CHECK(reader.next() == line);
  FUZZ_CHECK(reader.atEnd());
  for (int i = 0; i < 3; ++i) FUZZ_CHECK(reader.next().isEmpty());

  // The same through a file: the first lines as asked, padded with empty ones.
  fuzzing::writeFileRaw("lines.txt", bytes);
  const int count = int(model.size()) + 2;
  const QStringList fromFile = store::readLineFile(QStringLiteral("lines.txt"), count);
  FUZZ_CHECK(fromFile.size() == count);
  for (int i = 0; i < count; ++i)
    FUZZ_CHECK(fromFile[i] == (i < model.size() ? model[i] : QString()));
  for (int line : {0, 1, 2, int(model.size()), int(model.size()) + 1}) {
    const QString expected = line >= 1 && line <= model.size() ? model[line - 1] : QString();
    FUZZ_CHECK(store::readfromfile(QStringLiteral("lines.txt"), line) == expected);
  }
  return 0;
}
