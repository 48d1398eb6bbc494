// The theme file "Data/options.dat": one line, the name of the look ("light" or "dark"),
// read with the line reader and replaced like any line of a line file.
#pragma once

#include <QString>

namespace store {

// Line 1 of the theme file at `path`: the empty text when the file is missing or cannot be
// read. Never throws.
QString readTheme(const QString& path);

// Makes the theme file at `path` hold `theme`, whatever the text: line 1 is replaced, or the
// file is created with that one line. A file that already holds it is left as it is, so
// applying the saved theme writes nothing. A missing file is made only for a theme with a
// name: the empty text read from a theme file that is not there (its creation failed, on a
// full disk) is no theme, and a file made with it would keep the dark look on every later
// start, where the next start makes the file with "light". Throws IoError.
void writeTheme(const QString& path, const QString& theme);

}  // namespace store
