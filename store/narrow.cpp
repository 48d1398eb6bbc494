#include "store/narrow.h"

#include <cstdint>
#include <cstring>

namespace store {

// Whether `bytes` is well-formed UTF-8: no stray continuation bytes, no truncated or
// overlong sequences, no surrogates and nothing above U+10FFFF.
bool isValidUtf8(QByteArrayView bytes) {
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
      return false;
    }
    if (i + extra >= n) return false;  // truncated at the end
    if (p[i + 1] < lo || p[i + 1] > hi) return false;
    for (int k = 2; k <= extra; ++k) {
      if (p[i + k] < 0x80 || p[i + k] > 0xBF) return false;
    }
    i += extra + 1;
  }
  return true;
}

QString decodeNarrow(QByteArrayView bytes) {
  return isValidUtf8(bytes) ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

}  // namespace store
