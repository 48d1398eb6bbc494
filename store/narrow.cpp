#include "store/narrow.h"

#include <QStringDecoder>
#include <cstdint>
#include <cstring>

namespace store {

// Well-formed UTF-8: no stray continuation bytes, no truncated or overlong sequences, no
// surrogates and nothing above U+10FFFF.
qsizetype validUtf8Prefix(QByteArrayView bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype n = bytes.size();
  qsizetype i = 0;
  while (i < n) {
    // Runs of plain ASCII, the bulk of any note, eight bytes at a time.
    while (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, p + i, 8);
      if (word & 0x8080808080808080ull) break;
      i += 8;
    }
    if (i >= n) break;
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    int extra;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      if (c == 0xE0) lo = 0xA0;  // overlong
      if (c == 0xED) hi = 0x9F;  // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      if (c == 0xF0) lo = 0x90;  // overlong
      if (c == 0xF4) hi = 0x8F;  // above U+10FFFF
    } else {
      return i;
    }
    if (i + extra >= n) return i;  // truncated at the end
    if (p[i + 1] < lo || p[i + 1] > hi) return i;
    for (int k = 2; k <= extra; ++k) {
      if (p[i + k] < 0x80 || p[i + k] > 0xBF) return i;
    }
    i += extra + 1;
  }
  return n;
}

bool isValidUtf8(QByteArrayView bytes) {
  return validUtf8Prefix(bytes) == bytes.size();
}

QString decodeUtf8OrBytes(QByteArrayView bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8,
                      QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  qsizetype valid = validUtf8Prefix(bytes);
  if (valid == bytes.size()) return utf8.decode(bytes);  // the common case: one pass
  QString text;
  text.reserve(bytes.size());
  for (;;) {
    text += utf8.decode(bytes.first(valid));
    bytes = bytes.sliced(valid);
    if (bytes.isEmpty()) return text;
    // A byte that starts no valid sequence stands for itself.
    text += QChar(uchar(bytes.front()));
    bytes = bytes.sliced(1);
    valid = validUtf8Prefix(bytes);
  }
}

QString decodeNarrow(QByteArrayView bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
  return decodeUtf8OrBytes(bytes);
}

}  // namespace store
