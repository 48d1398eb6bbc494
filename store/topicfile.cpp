#include "store/topicfile.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "store/ioerror.h"
#include "store/linefile.h"
#include "store/narrow.h"

namespace store {

namespace {

// CR LF and lone CR become '\n', in place: for the texts that are not read as UTF-8 below.
void normaliseBreaks(QString& text) {
  if (!text.contains(u'\r')) return;
  char16_t* const d = reinterpret_cast<char16_t*>(text.data());
  const qsizetype n = text.size();
  qsizetype w = 0;
  for (qsizetype r = 0; r < n; ++r) {
    if (d[r] != u'\r')
      d[w++] = d[r];
    else if (r + 1 >= n || d[r + 1] != u'\n')
      d[w++] = u'\n';  // a CR before LF goes; the LF stays
  }
  text.truncate(w);
}

// Decodes `bytes` as UTF-8 into `text`, CR LF and lone CR becoming '\n', in one pass: every
// topic the program saved has a CR LF after every line, so the line ends are converted over
// the whole of every topic opened. Returns false, leaving `text` alone, when some bytes are
// not well-formed UTF-8.
bool decodeUtf8Lines(QByteArrayView bytes, QString& text) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype n = bytes.size();
  // No byte gives more than one UTF-16 unit: the text never outgrows the bytes.
  QString out(n, Qt::Uninitialized);
  char16_t* const o = reinterpret_cast<char16_t*>(out.data());
  qsizetype i = 0, w = 0;
  for (;;) {
#ifdef __SSE2__
    // Sixteen bytes at a time, widened and stored whole; the run ends at the first CR or
    // byte of a longer sequence, which the code below handles.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= n) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o + w), _mm_unpacklo_epi8(v, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o + w + 8), _mm_unpackhi_epi8(v, zero));
      const int special = _mm_movemask_epi8(_mm_or_si128(v, _mm_cmpeq_epi8(v, cr)));
      if (special == 0) {
        i += 16;
        w += 16;
        continue;
      }
      const int plain = __builtin_ctz(unsigned(special));
      i += plain;
      w += plain;
      break;
    }
#endif
    if (i >= n) break;
    const unsigned c = p[i];
    if (c < 0x80) {
      ++i;
      if (c != '\r')
        o[w++] = char16_t(c);
      else if (i >= n || p[i] != '\n')
        o[w++] = u'\n';  // a CR before LF goes; the LF stays
      continue;
    }
    // A longer sequence, held to the rules of isValidUtf8 (store/narrow.h).
    int extra;
    unsigned lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    char32_t code;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
      code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      code = c & 0x0F;
      if (c == 0xE0) lo = 0xA0;  // overlong
      if (c == 0xED) hi = 0x9F;  // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      code = c & 0x07;
      if (c == 0xF0) lo = 0x90;  // overlong
      if (c == 0xF4) hi = 0x8F;  // above U+10FFFF
    } else {
      return false;
    }
    if (i + extra >= n || p[i + 1] < lo || p[i + 1] > hi) return false;
    for (int k = 1; k <= extra; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) return false;
      code = code << 6 | (p[i + k] & 0x3F);
    }
    i += extra + 1;
    if (code >= 0x10000) {
      o[w++] = QChar::highSurrogate(code);
      o[w++] = QChar::lowSurrogate(code);
    } else {
      o[w++] = char16_t(code);
    }
  }
  out.truncate(w);
  if (w < n - n / 4) out.squeeze();  // text of two- and three-byte letters
  text = std::move(out);
  return true;
}

// What follows a byte-order mark; a further mark right after it is part of the text.
QString decodeAfterMark(QStringDecoder::Encoding encoding, QByteArrayView bytes) {
  return QStringDecoder(encoding, QStringDecoder::Flag::ConvertInitialBom).decode(bytes);
}

#ifdef __SSE2__
// The number of bytes `c` in `bytes`, sixteen at a time.
qsizetype countByte(QByteArrayView bytes, char c) {
  const char* p = bytes.data();
  const qsizetype n = bytes.size();
  const __m128i needle = _mm_set1_epi8(c);
  const __m128i zero = _mm_setzero_si128();
  __m128i sums = zero;  // 0xFF for each match, added up in two halves
  qsizetype i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    sums = _mm_add_epi64(sums, _mm_sad_epu8(_mm_cmpeq_epi8(v, needle), zero));
  }
  alignas(16) long long halves[2];
  _mm_store_si128(reinterpret_cast<__m128i*>(halves), sums);
  qsizetype count = qsizetype((halves[0] + halves[1]) / 0xFF);
  for (; i < n; ++i) count += p[i] == c;
  return count;
}
#else
qsizetype countByte(QByteArrayView bytes, char c) {
  return std::count(bytes.begin(), bytes.end(), c);
}
#endif

}  // namespace

QString decodeTopic(const QByteArray& bytes) {
  QByteArrayView view(bytes);
  QString text;
  if (view.startsWith("\xFF\xFE")) {
    text = decodeAfterMark(QStringDecoder::Utf16LE, view.sliced(2));
  } else if (view.startsWith("\xFE\xFF")) {
    text = decodeAfterMark(QStringDecoder::Utf16BE, view.sliced(2));
  } else {
    if (view.startsWith("\xEF\xBB\xBF")) view = view.sliced(3);
    if (decodeUtf8Lines(view, text)) return text;
    // A byte that is not UTF-8 (a character typed in another editor in an 8-bit code page)
    // shows as one character and the UTF-8 around it as UTF-8, so that saving it again keeps
    // every character.
    text = decodeUtf8OrBytes(view);
  }
  normaliseBreaks(text);
  return text;
}

QByteArray encodeTopic(const QString& text) {
  // Encoded first, then each '\n' byte (never part of a longer UTF-8 sequence) widened to
  // CR LF, in one pass into a buffer of the final size.
  const QByteArray utf8 = text.toUtf8();
  const char* p = utf8.constData();
  const qsizetype n = utf8.size();
  QByteArray out(3 + n + countByte(utf8, '\n'), Qt::Uninitialized);
  char* o = out.data();
  std::memcpy(o, "\xEF\xBB\xBF", 3);
  o += 3;
  qsizetype i = 0;
#ifdef __SSE2__
  // Sixteen bytes at a time, stored whole: the line breaks still to come leave room for them.
  const __m128i lf = _mm_set1_epi8('\n');
  while (i + 16 <= n) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), v);
    const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(v, lf));
    if (hits == 0) {
      i += 16;
      o += 16;
      continue;
    }
    const int k = __builtin_ctz(unsigned(hits));
    o += k;
    *o++ = '\r';
    *o++ = '\n';
    i += k + 1;
  }
#endif
  for (; i < n; ++i) {
    if (p[i] == '\n') *o++ = '\r';
    *o++ = p[i];
  }
  return out;
}

TopicRead readTopic(const QString& path) {
  TopicRead read;
  try {
    read.text = decodeTopic(readFileBytes(path, &read.stamp));
  } catch (const IoError& e) {
    read.stamp = FileStamp();
    if (e.code() == kFileNotFound) {
      read.missing = true;
    } else {
      read.error = e.code();
    }
  }
  return read;
}

std::optional<QString> loadTopic(const QString& path) {
  TopicRead read = readTopic(path);
  if (read.missing || read.error) return std::nullopt;
  return std::move(read.text);
}

FileStamp saveTopic(const QString& path, const QString& text) {
  return writeFileAtomic(path, encodeTopic(text));
}

}  // namespace store
