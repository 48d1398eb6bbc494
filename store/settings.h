// The editor settings file "Data/UserSettings/options.txt": four lines shared by all
// editors (font size, font name, auto-save, read-only), read with the line reader and
// written with the line writer.
#pragma once

#include <QString>
#include <optional>
#include <stdexcept>

namespace store {

class ConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An integer as the settings file holds it: optional leading blanks (spaces, tabs), an
// optional sign, decimal digits, or hexadecimal digits after "$" or "0x". Anything else
// (trailing blanks included), and a value outside the 32-bit range whether written in
// decimal or hexadecimal, throws ConvertError "'<text>' is not a valid integer value".
int parseInteger(const QString& text);

// A boolean: a decimal number ('.' as separator, optional exponent, blanks around it) is
// true when it is not zero; "True"/"False" in any letter case.
// Anything else throws ConvertError "'<text>' is not a valid boolean value".
bool parseBoolean(const QString& text);

struct EditorSettings {
  int fontSize = 15;
  QString fontName = QStringLiteral("Calibri");
  bool autoSave = false;
  bool readOnly = false;
};

// What reading the settings file gave: each line that read well, in order, up to the
// first that did not. `failed` is set when reading stopped early on an error;
// `missing` when the file does not exist (the normal state before any setting changed).
struct SettingsRead {
  std::optional<int> fontSize;
  std::optional<QString> fontName;
  std::optional<bool> autoSave;
  std::optional<bool> readOnly;
  bool missing = false;
  bool failed = false;
  QString error;
};

// Never throws: a file that exists but cannot be read gives `failed` with the I/O message.
SettingsRead readSettings(const QString& path);

// Rewrites the settings file whole: size in decimal, font name, "-1"/"0", "-1"/"0".
// Throws IoError.
void writeSettings(const QString& path, const EditorSettings& s);

}  // namespace store
