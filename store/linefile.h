// Line files: short text files whose lines are addressed by number, and the routines that
// read them and replace single lines.
//
// Line writer: each line in the narrow code page followed by CR LF, no byte-order mark.
// Line reader: narrow code page, no byte-order mark detection; a line ends at LF or CR LF,
// a CR not followed by LF is dropped, a byte 1A also ends a line; reading past the last
// line yields empty lines.
// Whole-file reader: skips a UTF-8, UTF-16 LE or UTF-16 BE byte-order mark (narrow code
// page without one); CR LF, lone LF and lone CR each end a line; a final line break adds
// no element; an empty file has no lines.
// Whole-file writer: UTF-8 without byte-order mark, CR LF after every line, the last
// included. Every write replaces the file atomically: a failure leaves the old file whole.
// Line replacement: the new line is written in UTF-8 followed by CR LF; every other line
// keeps its bytes and its own line end, so a name in another code page is never garbled.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "store/filestamp.h"

namespace store {

// Reads a file line by line from the top. A UTF-8 byte-order mark at the start of the file
// is skipped; U+FEFF at the start of any other line is text. Opening a missing or unreadable
// file throws IoError; so does a read failure.
class LineReader {
 public:
  explicit LineReader(const QString& path);
  // A reader over bytes already in memory.
  static LineReader fromBytes(QByteArray bytes);
  // The next line; the empty text once the file is exhausted.
  QString next();
  bool atEnd() const { return pos_ >= data_.size(); }

 private:
  LineReader() = default;
  QByteArray data_;
  qsizetype pos_ = 0;
};

// The first `count` lines of `path` read with the line reader, lines missing at the end of
// a short file being empty. Throws IoError when the file cannot be opened or read.
QStringList readLineFile(const QString& path, int count);

// Whether `path` names an existing file (anything but a folder), or an existing folder.
bool fileExists(const QString& path);
bool folderExists(const QString& path);

// Splits bytes as the line reader does (all lines up to the end of the data).
QStringList splitLines(const QByteArray& bytes);

// When a write reaches the disk: before it returns (Now), or with the next
// flushFileSystem (Later, for many new files written in one go, such as a language folder).
enum class Flush { Now, Later };

// Line writer: creates or truncates `path` and writes `lines`, each followed by CR LF.
// A line break inside a line is written as a space (oneLine), so the file has exactly
// `lines.size()` lines. Throws IoError.
void writeLines(const QString& path, const QStringList& lines, Flush flush = Flush::Now);

// Creates `path`, where nothing may be yet, and writes `lines` as writeLines does, but in
// place and without flushing: for the files of a folder that is filled under a temporary
// name and then renamed into place whole. Throws IoError (kAlreadyExists when something is
// at `path`).
void writeNewLines(const QString& path, const QStringList& lines);

// Whole-file reader and writer. Both throw IoError.
QStringList readWholeFile(const QString& path);
QStringList decodeWholeFile(const QByteArray& bytes);
void writeWholeFile(const QString& path, const QStringList& lines);

// A line's text as stored: line breaks inside it (pasted text), and the character 1A that
// the line reader takes for a line end, become spaces, so a line file never gains or
// loses lines.
QString oneLine(const QString& text);

// Line `line` (1-based) of `filename`; the empty text for a missing file or line. Never throws.
QString readfromfile(const QString& filename, int line);

// Makes line `index` (1-based) of `fn` read `newText`, lines counted as the whole-file
// reader splits them; a missing file is created with the single line whatever `index` is.
// An existing file shorter than `index` is extended with empty lines; an `index` below 1
// on an existing file throws IoError (range check). Line breaks in `newText` become spaces.
// The other lines keep their bytes; a UTF-8 byte-order mark is dropped, and a UTF-16 file
// is written again in UTF-8 whole.
void writetofile(const QString& fn, int index, const QString& newText);

// Makes element `index` (0-based) of the existing file `fn` read `newText` as writetofile
// does, extending a shorter file with empty lines. Throws IoError (file not found) when `fn` is
// missing and IoError (range check) for a negative `index`. Line breaks in `newText` become spaces.
void ModifyLine(const QString& fn, int index, const QString& newText);

// Writes `bytes` to `path` atomically: a temporary file in the same folder (tempfiles.h),
// flushed to disk, then renamed over `path` (which keeps its permissions; a symbolic link is
// followed), then the folder flushed (with Flush::Later neither is flushed). Stale temporary
// files of `path` are removed after it. Only a file is replaced: a named pipe or device in its
// place gives "File access denied", and so does an existing file that the user may not write
// in place (read-only), as writing it in place would. Returns the stamp of the file written.
// Throws IoError; on failure `path` is untouched and the temporary file removed.
FileStamp writeFileAtomic(const QString& path, const QByteArray& bytes, Flush flush = Flush::Now);

// Flushes to disk everything written on the file system that holds `folder`. Throws IoError.
void flushFileSystem(const QString& folder);

// Reads a whole file with one read, and sets `stamp` (when given) to the stamp of the file
// read. Throws IoError (a folder, a named pipe or a device gives "File access denied").
QByteArray readFileBytes(const QString& path, FileStamp* stamp = nullptr);

}  // namespace store
