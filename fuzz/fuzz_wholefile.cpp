// The whole-file reader and the line replacement over arbitrary files: no element holds a
// line end, and replacing one line of a file keeps every other line's text and the line
// count (growing it only up to the line asked for). The new line is written in UTF-8 with
// CR LF; a file that is not UTF-16 keeps the bytes of every other line, a UTF-16 file is
// written again in UTF-8 with CR LF after every line.
#include <fuzzer/FuzzedDataProvider.h>
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "store/ioerror.h"
#include "store/linefile.h"

namespace {

QString textFrom(FuzzedDataProvider& in) {
  const std::string raw = in.ConsumeRandomLengthString(64);
  return QString::fromUtf8(raw.data(), qsizetype(raw.size()));
}

// A first line that begins with U+FEFF is written as the bytes of a byte-order mark, which
// the reader then skips: the one character a rewrite cannot keep.
QString afterMark(QString first) {
  while (first.startsWith(QChar(0xFEFF))) first.remove(0, 1);
  return first;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::privateFolder();
  FuzzedDataProvider in(data, size);
  const int index = in.ConsumeIntegralInRange<int>(-2, 24);
  const QString newText = textFrom(in);
  const std::string rest = in.ConsumeRemainingBytesAsString();
  const QByteArray bytes(rest.data(), qsizetype(rest.size()));

  const QStringList lines = store::decodeWholeFile(bytes);
  for (const QString& line : lines)
    FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'), fuzzing::describe(line));
  if (bytes.isEmpty()) FUZZ_CHECK(lines.isEmpty());

  fuzzing::writeFileRaw("list.txt", bytes);
  const QString path = QStringLiteral("list.txt");
  FUZZ_CHECK(store::readWholeFile(path) == lines);

  int code = 0;
  try {
    store::ModifyLine(path, index, newText);
  } catch (const store::IoError& e) {
    code = e.code();
  }
  if (index < 0) {
    FUZZ_CHECK(code == store::kRangeCheck);
    FUZZ_CHECK(fuzzing::readFileRaw("list.txt") == bytes);  // a refused change writes nothing
    return 0;
  }
  FUZZ_CHECK(code == 0, QString::number(code));

  const QByteArray written = fuzzing::readFileRaw("list.txt");
  const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
  const QString newLine = fuzzing::asUtf8Holds(store::oneLine(newText));
  FUZZ_CHECK(written.contains(newLine.toUtf8() + "\r\n"));
  if (utf16) FUZZ_CHECK(written.endsWith("\r\n"));  // every line rewritten, the last included

  QStringList expected = lines;
  while (expected.size() <= index) expected << QString();
  expected[index] = newLine;
  // A rewrite of every line stores 1A, a line end for the line reader, as a space; lines
  // kept as they were keep it.
  if (utf16) {
    for (QString& line : expected) line = fuzzing::asUtf8Holds(line).replace(u'\x1a', u' ');
  } else {
    // The kept lines are there once: the file grows by no more than the new line and the
    // line ends added to reach it.
    FUZZ_CHECK(written.size() <= bytes.size() + newLine.toUtf8().size() + 2 * (index + 2));
  }
  expected[0] = afterMark(expected[0]);
  QStringList after = store::readWholeFile(path);
  if (!after.isEmpty()) after[0] = afterMark(after[0]);
  FUZZ_CHECK(after == expected, fuzzing::describe(after) + " vs " + fuzzing::describe(expected));
  return 0;
}
