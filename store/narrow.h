// Text in the narrow code page (UTF-8 here). Bytes that are not part of a valid UTF-8
// sequence (a file written or edited by hand in an 8-bit code page) decode one character
// per byte, while the valid sequences around them decode as UTF-8: the text shows as written
// and a file rewritten from it keeps every character.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace store {

bool isValidUtf8(QByteArrayView bytes);
// The length of the longest start of `bytes` made of whole, valid UTF-8 sequences.
qsizetype validUtf8Prefix(QByteArrayView bytes);

// Valid UTF-8 sequences as UTF-8, every other byte as the character of the same code
// (Latin-1). A U+FEFF anywhere, the first character included, is kept as a character.
QString decodeUtf8OrBytes(QByteArrayView bytes);

// decodeUtf8OrBytes after a leading UTF-8 byte-order mark, which is skipped.
QString decodeNarrow(QByteArrayView bytes);

}  // namespace store
