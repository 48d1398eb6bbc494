#include "store/settings.h"

#include <QStringList>
#include <limits>

#include "store/ioerror.h"
#include "store/linefile.h"

namespace store {

namespace {

bool isBlank(QChar c) {
  return c == u' ' || c == u'\t';
}
bool isDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

int hexValue(QChar c) {
  if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
  if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
  return -1;
}

[[noreturn]] void notValid(const QString& text, const char* kind) {
  const QString message = u'\'' + text + QStringLiteral("' is not a valid ") + QLatin1String(kind) +
                          QStringLiteral(" value");
  throw ConvertError(message.toStdString());
}

// A decimal number with '.' as the decimal separator: optional blanks, sign, digits with an
// optional fraction (at least one digit in all), an optional exponent, optional blanks.
// Sets `nonZero` when some digit of the mantissa is not zero.
bool readDecimalNumber(const QString& s, bool& nonZero) {
  const qsizetype n = s.size();
  qsizetype i = 0;
  while (i < n && isBlank(s.at(i))) ++i;
  if (i < n && (s.at(i) == u'+' || s.at(i) == u'-')) ++i;
  int digits = 0;
  nonZero = false;
  auto mantissaDigits = [&] {
    while (i < n && isDigit(s.at(i))) {
      nonZero = nonZero || s.at(i) != u'0';
      ++digits;
      ++i;
    }
  };
  mantissaDigits();
  if (i < n && s.at(i) == u'.') {
    ++i;
    mantissaDigits();
  }
  if (digits == 0) return false;
  if (i < n && (s.at(i) == u'e' || s.at(i) == u'E')) {
    ++i;
    if (i < n && (s.at(i) == u'+' || s.at(i) == u'-')) ++i;
    const qsizetype first = i;
    while (i < n && isDigit(s.at(i))) ++i;
    if (i == first) return false;
  }
  while (i < n && isBlank(s.at(i))) ++i;
  return i == n;
}

}  // namespace

int parseInteger(const QString& text) {
  const qsizetype n = text.size();
  qsizetype i = 0;
  while (i < n && isBlank(text.at(i))) ++i;
  bool negative = false;
  if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
    negative = text.at(i) == u'-';
    ++i;
  }
  int base = 10;
  if (i < n && text.at(i) == u'$') {
    base = 16;
    ++i;
  } else if (i + 1 < n && text.at(i) == u'0' &&
             (text.at(i + 1) == u'x' || text.at(i + 1) == u'X')) {
    base = 16;
    i += 2;
  }
  if (i == n) notValid(text, "integer");
  // The magnitude may reach 2^31 only for a negative number.
  const qint64 limit = qint64(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
  qint64 value = 0;
  for (; i < n; ++i) {
    const int d = base == 10 ? (isDigit(text.at(i)) ? text.at(i).unicode() - u'0' : -1)
                             : hexValue(text.at(i));
    if (d < 0) notValid(text, "integer");
    value = value * base + d;
    if (value > limit) notValid(text, "integer");
  }
  return int(negative ? -value : value);
}

bool parseBoolean(const QString& text) {
  bool nonZero = false;
  if (readDecimalNumber(text, nonZero)) return nonZero;
  if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
  if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
  notValid(text, "boolean");
}

SettingsRead readSettings(const QString& path) {
  SettingsRead read;
  try {
    LineReader reader(path);
    read.fontSize = parseInteger(reader.next());
    read.fontName = reader.next();
    read.autoSave = parseBoolean(reader.next());
    read.readOnly = parseBoolean(reader.next());
  } catch (const IoError& e) {
    if (e.code() == kFileNotFound) {
      read.missing = true;
    } else {
      read.failed = true;
      read.error = e.message();
    }
  } catch (const ConvertError& e) {
    read.failed = true;
    read.error = QString::fromUtf8(e.what());
  }
  return read;
}

void writeSettings(const QString& path, const EditorSettings& s) {
  writeLines(path, {QString::number(s.fontSize), s.fontName,
                    s.autoSave ? QStringLiteral("-1") : QStringLiteral("0"),
                    s.readOnly ? QStringLiteral("-1") : QStringLiteral("0")});
}

}  // namespace store
