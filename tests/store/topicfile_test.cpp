// Topic files: decoding what is on disk, encoding what the editor holds, saving and loading.
#include "store/topicfile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>

#include <QDir>
#include <QFile>
#include <functional>
#include <vector>

#include "store/ioerror.h"
#include "store_test_util.h"
#include "support/workdir.h"

using store_test::ioCodeOf;
using store_test::ioCodeWithoutRoot;
using testing_support::readBytes;
using testing_support::WorkDir;
using testing_support::writeBytes;

namespace {

QString u8(const char* s) {
  return QString::fromUtf8(s);
}

struct DecodeCase {
  const char* name;
  QByteArray bytes;
  QString text;
};

TEST(TopicFile, DecodesWhatIsOnDisk) {
  const std::vector<DecodeCase> cases = {
      {"bom and crlf",
       "\xEF\xBB\xBF"
       "one\r\ntwo",
       "one\ntwo"},
      {"no bom", "one\r\ntwo", "one\ntwo"},
      {"lone lf and lone cr", "a\nb\rc\r\n\r\nd", "a\nb\nc\n\nd"},
      {"final break kept",
       "\xEF\xBB\xBF"
       "x\r\n",
       "x\n"},
      {"utf-8 text", "\xEF\xBB\xBF\xC3\xBC \xE2\x82\xAC \xF0\x9F\x98\x80", u8("ü € 😀")},
      {"utf-16 le",
       QByteArray("\xFF\xFE"
                  "a\0\r\0\n\0\xAC\x20",
                  10),
       u8("a\n€")},
      {"utf-16 be", QByteArray("\xFE\xFF\0a\0\r\0b", 8), "a\nb"},
      {"latin-1 byte", "caf\xE9\r\n", u8("café\n")},
      // A UTF-8 text with a byte or two from elsewhere: only those bytes fall back.
      {"stray bytes in utf-8 text", "Caf\xC3\xA9 \xE2\x9C\x93 na\xEFve \xE2\x82 \xC3\xA9t\xC3\xA9",
       u8("Café ✓ naïve â\xC2\x82 été")},
      {"truncated sequence", "a\xC3", u8("aÃ")},
      {"overlong", "\xC0\xAF", u8("À¯")},
      {"third byte no continuation",
       "\xE2\x82"
       "A",
       u8("â\xC2\x82"
          "A")},
      {"encoded surrogate", "\xED\xA0\x80", u8("í\xC2\xA0\xC2\x80")},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u8("ô\xC2\x90\xC2\x80\xC2\x80")},
      {"bom then latin-1", "\xEF\xBB\xBF\xFC", u8("ü")},
      {"replacement character itself", "\xEF\xBF\xBD\r\nx\ry", u8("\uFFFD\nx\ny")},
      {"latin-1 byte and breaks", "a\r\nb\r\r\nc\xE9\rd", u8("a\nb\n\ncé\nd")},
      {"empty", "", ""},
      {"bom only", "\xEF\xBB\xBF", ""},
      // After the file's own mark, U+FEFF is a character of the text (QString::fromUtf8
      // would skip it, so these texts are built from the character itself).
      {"second mark is text",
       "\xEF\xBB\xBF\xEF\xBB\xBF"
       "x",
       QChar(0xFEFF) + QString("x")},
      {"utf-16 le second mark", QByteArray("\xFF\xFE\xFF\xFEx\0", 6), QChar(0xFEFF) + QString("x")},
      {"utf-16 be second mark", QByteArray("\xFE\xFF\xFE\xFF\0x", 6), QChar(0xFEFF) + QString("x")},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(store::decodeTopic(c.bytes), c.text);
  }
}

// Line breaks of every kind, at every distance from the start and from each other, in text
// long enough to be converted in runs: each becomes exactly one '\n'.
TEST(TopicFile, DecodesBreaksAnywhere) {
  const char* const breaks[] = {"\r\n", "\r", "\n"};
  for (const char* brk : breaks) {
    for (int gap = 0; gap <= 20; ++gap) {
      QByteArray bytes = "\xEF\xBB\xBF";
      QString text;
      for (int line = 0; line < 40; ++line) {
        // Line lengths that drift against any run length; one line ends in a letter that is
        // two bytes in the file.
        const QByteArray letters((gap + line) % 23, 'a' + char(line % 26));
        bytes += letters + (line == 7 ? "\xC3\xBC" : "") + brk;
        text += QString::fromLatin1(letters) + (line == 7 ? u8("ü") : QString()) + u'\n';
      }
      SCOPED_TRACE(testing::Message()
                   << "break " << QByteArray(brk).toHex().data() << " gap " << gap);
      EXPECT_EQ(store::decodeTopic(bytes), text);
      EXPECT_EQ(store::decodeTopic(store::encodeTopic(text)), text);
    }
  }
}

// Every length of UTF-8 sequence at its smallest and largest code, with line breaks between,
// at every distance from the start: encoded as Qt's own encoder does, with CR LF, and decoded
// back. A surrogate without its partner is encoded as Qt's encoder does it.
TEST(TopicFile, EncodesAndDecodesEveryFormOfUtf8) {
  const char32_t codes[] = {0x7F,   0x80,   0x7FF,  0x800,   0xD7FF,
                            0xE000, 0xFFFD, 0xFFFF, 0x10000, 0x10FFFF};
  for (int lead = 0; lead < 18; ++lead) {
    QString text(lead, u'x');
    for (const char32_t code : codes) text += QString::fromUcs4(&code, 1) + u'\n';
    SCOPED_TRACE(lead);
    const QByteArray file = "\xEF\xBB\xBF" + text.toUtf8().replace("\n", "\r\n");
    EXPECT_EQ(store::encodeTopic(text), file);
    EXPECT_EQ(store::decodeTopic(file), text);
  }
  for (const QString& lone : {QString(QChar(0xD800)) + "\nx", "x\n" + QString(QChar(0xDC00))}) {
    EXPECT_EQ(store::encodeTopic(lone), "\xEF\xBB\xBF" + lone.toUtf8().replace("\n", "\r\n"));
  }
}

TEST(TopicFile, LatinFallbackKeepsEveryByte) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) {
    if (b != '\r') all += char(b);  // CR alone is a line break
  }
  const QString text = store::decodeTopic(all);
  ASSERT_EQ(text.size(), all.size());
  for (qsizetype i = 0; i < all.size(); ++i) EXPECT_EQ(text.at(i).unicode(), uchar(all.at(i)));
  // Saved again, the file reads back as the same text.
  EXPECT_EQ(store::decodeTopic(store::encodeTopic(text)), text);
}

TEST(TopicFile, EncodesBomUtf8AndCrLf) {
  EXPECT_EQ(store::encodeTopic("a\nb"), QByteArray("\xEF\xBB\xBF"
                                                   "a\r\nb"));
  EXPECT_EQ(store::encodeTopic(""), QByteArray("\xEF\xBB\xBF"));
  EXPECT_EQ(store::encodeTopic(u8("€\n\n")), QByteArray("\xEF\xBB\xBF\xE2\x82\xAC\r\n\r\n"));
}

TEST(TopicFile, RoundTrips) {
  const QString texts[] = {"",
                           "x",
                           "x\n",
                           "\n\n",
                           u8("line 1\n  indented\tü 😀\n"),
                           QString(100000, u'a') + "\nend",
                           QChar(0xFEFF) + QString("starts with a zero-width no-break space")};
  for (const QString& text : texts) {
    SCOPED_TRACE(text.left(20).toStdString());
    EXPECT_EQ(store::decodeTopic(store::encodeTopic(text)), text);
  }
}

TEST(TopicFile, SavesAndLoads) {
  WorkDir wd;
  QDir().mkpath("Data/Lg_Delphi/3");
  const QString path = "./Data/Lg_Delphi/3/topic7.txt";
  EXPECT_EQ(store::loadTopic(path), std::nullopt);
  store::saveTopic(path, u8("for i := 1 to 10 do\n  Writeln(i);"));
  EXPECT_EQ(readBytes(path), QByteArray("\xEF\xBB\xBF"
                                        "for i := 1 to 10 do\r\n  Writeln(i);"));
  EXPECT_EQ(store::loadTopic(path), u8("for i := 1 to 10 do\n  Writeln(i);"));
  store::saveTopic(path, "shorter");
  EXPECT_EQ(store::loadTopic(path), QString("shorter"));

  // A file with the mark and one without load with the same text.
  writeBytes("Data/Lg_Delphi/3/topic8.txt", "shorter");
  EXPECT_EQ(store::loadTopic("./Data/Lg_Delphi/3/topic8.txt"), QString("shorter"));

  // A page folder deleted by hand: the save fails and creates nothing.
  EXPECT_EQ(ioCodeOf([] { store::saveTopic("./Data/Lg_Delphi/4/topic1.txt", "x"); }),
            store::kFileNotFound);
  EXPECT_FALSE(QDir("Data/Lg_Delphi/4").exists());
  // A folder in the topic file's place loads as nothing.
  QDir().mkpath("Data/Lg_Delphi/3/topic9.txt");
  EXPECT_EQ(store::loadTopic("./Data/Lg_Delphi/3/topic9.txt"), std::nullopt);
}

// Reading a topic tells a file that is not there yet from one that is there but could not be
// read: only the first may be written without the user having seen its text.
TEST(TopicFile, ReadTellsMissingFromUnreadable) {
  WorkDir wd;
  QDir().mkpath("Data/Lg_Delphi/3");
  writeBytes("Data/Lg_Delphi/3/topic1.txt", "\xEF\xBB\xBFnotes");
  QDir().mkpath("Data/Lg_Delphi/3/topic2.txt");
  ASSERT_EQ(::mkfifo("Data/Lg_Delphi/3/topic3.txt", 0644), 0);
  // Reading the memory of the reading process at address 0 fails with a device error.
  ASSERT_TRUE(QFile::link("/proc/self/mem", "Data/Lg_Delphi/3/topic4.txt"));
  writeBytes("Data/Lg_Delphi/3/topic6.txt", "x");  // a file, not a folder, on the path
  struct Case {
    const char* name;
    QString path;
    bool missing;
    int error;
  };
  const std::vector<Case> cases = {
      {"readable", "Data/Lg_Delphi/3/topic1.txt", false, 0},
      {"not written yet", "Data/Lg_Delphi/3/topic5.txt", true, 0},
      {"page folder missing", "Data/Lg_Delphi/4/topic1.txt", true, 0},
      {"a file where the folder goes", "Data/Lg_Delphi/3/topic6.txt/topic1.txt", true, 0},
      {"folder in its place", "Data/Lg_Delphi/3/topic2.txt", false, store::kAccessDenied},
      {"named pipe in its place", "Data/Lg_Delphi/3/topic3.txt", false, store::kAccessDenied},
      {"device error", "Data/Lg_Delphi/3/topic4.txt", false, store::kDeviceError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const store::TopicRead read = store::readTopic(c.path);
    EXPECT_EQ(read.missing, c.missing);
    EXPECT_EQ(read.error, c.error);
    EXPECT_EQ(read.text, c.missing || c.error ? QString() : QString("notes"));
    EXPECT_EQ(store::loadTopic(c.path).has_value(), !c.missing && !c.error);
  }

  // A file its reader may not read, "precious notes" made unreadable with chmod 000.
  ::chmod(QFile::encodeName(wd.path()).constData(), 0755);  // reachable for "nobody"
  writeBytes("Data/Lg_Delphi/3/topic7.txt", "precious notes");
  ::chmod("Data/Lg_Delphi/3/topic7.txt", 0);
  const int code = ioCodeWithoutRoot([] {
    const store::TopicRead read = store::readTopic("Data/Lg_Delphi/3/topic7.txt");
    if (read.missing) throw store::IoError(store::kFileNotFound);
    if (read.error) throw store::IoError(read.error);
  });
  EXPECT_EQ(code, store::kAccessDenied);
}

// The stamp taken when a topic is read or saved tells whether anyone wrote the file since.
TEST(TopicFile, StampShowsEveryChangeMadeElsewhere) {
  const QString path = "Data/Lg_Delphi/3/topic7.txt";
  struct Case {
    const char* name;
    bool existsFirst;
    std::function<void()> change;  // nothing: no change
  };
  const std::vector<Case> cases = {
      {"read again, unchanged", true, nullptr},
      {"still missing", false, nullptr},
      {"saved by another window, same text", true, [&] { store::saveTopic(path, "first text"); }},
      {"written in place by another program", true,
       [&] {
         writeBytes(path,
                    "\xEF\xBB\xBF"
                    "first text, longer");
       }},
      {"same size, modification time set back", true,
       [&] {
         const timeval old[2] = {{1000000000, 0}, {1000000000, 0}};
         ::utimes(QFile::encodeName(path).constData(), old);
       }},
      {"deleted", true, [&] { QFile::remove(path); }},
      {"created", false, [&] { store::saveTopic(path, "first text"); }},
      {"folder in its place", true,
       [&] {
         QFile::remove(path);
         QDir().mkdir(path);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir wd;
    QDir().mkpath("Data/Lg_Delphi/3");
    store::FileStamp seen;
    if (c.existsFirst) {
      // As a window has it after its own save, and after reading the file.
      seen = store::saveTopic(path, "first text");
      EXPECT_EQ(seen, store::stampOf(path));
      EXPECT_EQ(store::readTopic(path).stamp, seen);
    } else {
      seen = store::readTopic(path).stamp;
      EXPECT_FALSE(seen.exists);
    }
    if (c.change) c.change();
    EXPECT_EQ(store::stampOf(path) == seen, !c.change);
  }
}

}  // namespace
