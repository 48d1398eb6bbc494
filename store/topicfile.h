// Topic files: the free text of one topic, read and written whole.
// Stored as the UTF-8 byte-order mark followed by the text in UTF-8, lines separated by
// CR LF, no line break after the last line.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "store/filestamp.h"

namespace store {

// The text of a topic file's bytes, with '\n' between lines (CR LF, lone CR and lone LF
// all end a line). A UTF-8 byte-order mark is skipped; a UTF-16 one (LE or BE) decodes
// UTF-16; otherwise valid UTF-8 sequences decode as UTF-8 and each byte that is not part of
// one as one character (Latin-1), so that nothing is lost when the topic is saved again.
QString decodeTopic(const QByteArray& bytes);

// The bytes of a topic file for `text` ('\n' between lines).
QByteArray encodeTopic(const QString& text);

// What reading a topic file gave. A file that does not exist (or whose folder does not) is
// `missing`: nothing was written yet. A file that exists but could not be read (no permission,
// a folder or a named pipe in its place, a device error) has the program's error code in
// `error`; its content is unknown, so nothing may be written over it.
struct TopicRead {
  QString text;  // empty unless the file was read
  bool missing = false;
  int error = 0;
  FileStamp stamp;  // the file as read; `exists` false when missing
};
TopicRead readTopic(const QString& path);

// The topic at `path`, or nothing when the file does not exist or cannot be read.
std::optional<QString> loadTopic(const QString& path);

// Saves `text` to `path` atomically and returns the stamp of the file written. Throws
// IoError; on failure the old file is whole.
FileStamp saveTopic(const QString& path, const QString& text);

}  // namespace store
