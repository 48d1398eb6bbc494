// Topic files as found on disk and texts as typed: decoding gives a text with '\n' between
// lines; saving a decoded text and opening it again gives the same text; a text saved
// through the store opens with exactly that text.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "store/topicfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::privateFolder();
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

  // Any file: what the editor shows is kept whole by the next save.
  const QString shown = store::decodeTopic(bytes);
  FUZZ_CHECK(!shown.contains(u'\r'), fuzzing::describe(shown));
  const QByteArray saved = store::encodeTopic(shown);
  FUZZ_CHECK(saved.startsWith("\xEF\xBB\xBF"));
  FUZZ_CHECK(!saved.mid(3).contains("\n") ||
             saved.mid(3).count("\n") == saved.mid(3).count("\r\n"));
  FUZZ_CHECK(store::decodeTopic(saved) == fuzzing::asUtf8Holds(shown), fuzzing::describe(shown));

  // Any text without CR, as the memo hands it over (the bytes read as UTF-8, or as UTF-16
  // to reach characters beyond what valid UTF-8 input gives).
  const QString typed =
      bytes.size() % 2 == 0
          ? QString(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2)
          : QString::fromUtf8(bytes);
  QString text = fuzzing::asUtf8Holds(typed);
  text.remove(u'\r');
  const QByteArray file = store::encodeTopic(text);
  FUZZ_CHECK(store::decodeTopic(file) == text, fuzzing::describe(text));

  // Through the file itself.
  const QString path = QStringLiteral("topic1.txt");
  store::saveTopic(path, text);
  FUZZ_CHECK(fuzzing::readFileRaw("topic1.txt") == file);
  const std::optional<QString> loaded = store::loadTopic(path);
  FUZZ_CHECK(loaded && *loaded == text);
  return 0;
}
