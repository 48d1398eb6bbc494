// UTF-8 validation of the narrow code page: a character that is not plain ASCII is judged
// the same wherever it falls, before, inside or after a long run of ASCII.
#include <gtest/gtest.h>

#include "store/narrow.h"
#include "store/topicfile.h"

namespace {

struct Case {
  const char* name;
  QByteArray tail;  // follows the ASCII run
  bool valid;
};

TEST(Narrow, NonAsciiJudgedTheSameAtEveryOffset) {
  const Case cases[] = {
      {"two-byte letter", "\xC3\xA9", true},          {"three-byte sign", "\xE2\x82\xAC", true},
      {"four-byte symbol", "\xF0\x9F\x98\x80", true}, {"lone continuation byte", "\x80", false},
      {"Latin-1 letter", "\xE9t\xE9", false},         {"truncated at the end", "\xE2\x82", false},
      {"overlong slash", "\xC0\xAF", false},          {"surrogate", "\xED\xA0\x80", false},
  };
  for (const Case& c : cases) {
    for (int run = 0; run <= 17; ++run) {
      SCOPED_TRACE(testing::Message() << c.name << " after " << run << " ASCII bytes");
      const QByteArray ascii(run, 'a');
      const QByteArray bytes = ascii + c.tail + QByteArray("plain text after it");
      EXPECT_EQ(store::isValidUtf8(bytes), c.valid);
      // A topic decodes as UTF-8 when valid, else one character per byte: never lost.
      const QString text = store::decodeTopic(bytes);
      EXPECT_EQ(text, c.valid ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes));
    }
  }
}

TEST(Narrow, LargeTopicRoundTripsWithEveryLineEnd) {
  // Line ends of every kind in a text large enough to cross many 8-byte runs.
  QByteArray bytes("\xEF\xBB\xBF");
  QString expected;
  for (int i = 0; i < 3000; ++i) {
    const QByteArray line = QByteArray::number(i) + " caf\xC3\xA9 notes";
    const char* ends[] = {"\r\n", "\n", "\r"};
    bytes += line + ends[i % 3];
    expected += QString::fromUtf8(line) + u'\n';
  }
  EXPECT_EQ(store::decodeTopic(bytes), expected);
  QByteArray saved = bytes;
  saved.replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
  EXPECT_EQ(store::encodeTopic(expected), saved);
}

}  // namespace
