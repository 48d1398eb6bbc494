// Text in the narrow code page (UTF-8 here). Bytes that do not form valid UTF-8 (a file
// written by hand in an 8-bit code page) decode one character per byte instead of turning
// into replacement characters, so a file rewritten after a line change keeps every
// character.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace store {

bool isValidUtf8(QByteArrayView bytes);
QString decodeNarrow(QByteArrayView bytes);

}  // namespace store
