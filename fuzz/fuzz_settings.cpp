// The editor settings file as found on disk, whatever it holds: reading it never throws,
// stops at the first line that is not valid and says why; a number that reads well reads
// the same again once written in decimal; settings written are read back as they were.
#include <fuzzer/FuzzedDataProvider.h>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "fuzz_support.h"
#include "store/linefile.h"
#include "store/settings.h"

namespace {

// Whether `text` has the integer syntax of the settings file: blanks, sign, then decimal
// digits or hexadecimal digits after "$" or "0x", nothing after them.
bool integerSyntax(const QString& text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) ++i;
  bool hex = false;
  if (i < n && text[i] == u'$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }
  if (i == n) return false;
  for (; i < n; ++i) {
    const char16_t c = text[i].unicode();
    const bool digit = c >= u'0' && c <= u'9';
    const bool hexLetter = (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    if (!digit && !(hex && hexLetter)) return false;
  }
  return true;
}

// An error message as a C string carries it: up to a NUL character.
QString cString(const QString& message) {
  const qsizetype nul = message.indexOf(QChar(0));
  return fuzzing::asUtf8Holds(nul < 0 ? message : message.left(nul));
}

void checkValue(const QString& text) {
  bool isInteger = false;
  int value = 0;
  try {
    value = store::parseInteger(text);
    isInteger = true;
  } catch (const store::ConvertError& e) {
    const QString expected = u'\'' + text + QStringLiteral("' is not a valid integer value");
    FUZZ_CHECK(QString::fromUtf8(e.what()) == cString(expected), fuzzing::describe(text));
  }
  if (isInteger) {
    FUZZ_CHECK(integerSyntax(text), fuzzing::describe(text));
    FUZZ_CHECK(store::parseInteger(QString::number(value)) == value);
  }
  try {
    const bool b = store::parseBoolean(text);
    // What the settings writer writes for a boolean reads back the same.
    FUZZ_CHECK(store::parseBoolean(b ? QStringLiteral("-1") : QStringLiteral("0")) == b);
    // Every integer is also a number, true exactly when it is not zero.
    if (isInteger && !text.contains(u'$') && !text.contains(u'x') && !text.contains(u'X'))
      FUZZ_CHECK(b == (value != 0), fuzzing::describe(text));
  } catch (const store::ConvertError& e) {
    const QString expected = u'\'' + text + QStringLiteral("' is not a valid boolean value");
    FUZZ_CHECK(QString::fromUtf8(e.what()) == cString(expected), fuzzing::describe(text));
    FUZZ_CHECK(!isInteger || text.contains(u'$') || text.contains(u'x') || text.contains(u'X'),
               fuzzing::describe(text));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::privateFolder();
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const QString path = QStringLiteral("options.txt");

  // The file as found.
  fuzzing::writeFileRaw("options.txt", bytes);
  const store::SettingsRead read = store::readSettings(path);  // must not throw
  const QStringList lines = store::readLineFile(path, 4);
  for (const QString& line : {lines[0], lines[2], lines[3]}) checkValue(line);
  FUZZ_CHECK(!read.missing);
  FUZZ_CHECK(read.failed == !read.readOnly.has_value());
  FUZZ_CHECK(read.failed == !read.error.isEmpty());
  // Lines are taken in order up to the first that is not valid.
  FUZZ_CHECK(!read.fontName || read.fontSize);
  FUZZ_CHECK(!read.autoSave || read.fontName);
  FUZZ_CHECK(!read.readOnly || read.autoSave);
  if (read.fontSize) FUZZ_CHECK(*read.fontSize == store::parseInteger(lines[0]));
  if (read.fontName) FUZZ_CHECK(*read.fontName == lines[1]);
  if (read.autoSave) FUZZ_CHECK(*read.autoSave == store::parseBoolean(lines[2]));
  if (read.readOnly) FUZZ_CHECK(*read.readOnly == store::parseBoolean(lines[3]));

  // Settings the editor writes read back as written, whatever the font box holds.
  FuzzedDataProvider in(data, size);
  store::EditorSettings s;
  s.fontSize = in.ConsumeIntegral<int>();
  s.autoSave = in.ConsumeBool();
  s.readOnly = in.ConsumeBool();
  const std::string name = in.ConsumeRandomLengthString(80);
  s.fontName = QString::fromUtf8(name.data(), qsizetype(name.size()));
  store::writeSettings(path, s);
  const store::SettingsRead back = store::readSettings(path);
  FUZZ_CHECK(!back.failed && !back.missing, back.error + " " + fuzzing::describe(s.fontName));
  FUZZ_CHECK(*back.fontSize == s.fontSize);
  FUZZ_CHECK(*back.fontName == store::oneLine(s.fontName), fuzzing::describe(*back.fontName));
  FUZZ_CHECK(*back.autoSave == s.autoSave);
  FUZZ_CHECK(*back.readOnly == s.readOnly);
  return 0;
}
