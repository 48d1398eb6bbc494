#include "store/linefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <cstdlib>

#include "store/ioerror.h"
#include "store/narrow.h"
#include "store/tempfiles.h"

namespace store {

namespace {

QByteArray nativePath(const QString& path) {
  return QFile::encodeName(path);
}

// Closes the temporary file's descriptors (either may be -1), removes the unfinished file and
// throws the error `err`.
[[noreturn]] void abandonTemp(int fd, int lockFd, const QByteArray& temp, int err) {
  if (fd >= 0) ::close(fd);
  ::unlink(temp.constData());
  if (lockFd >= 0) ::close(lockFd);
  throwErrno(err);
}

// Throws the error that writing the existing file `target` in place would meet: replacing it
// needs only the folder's permission, but a file the user may not write (made read-only, say)
// must stay as it is.
void requireWritable(const QByteArray& target) {
  int fd;
  do {
    fd = ::open(target.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) throwErrno(errno);
  ::close(fd);
}

// Writes all of `bytes` to `fd`; 0, or the error that stopped it.
int writeAll(int fd, const QByteArray& bytes) {
  const char* p = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, size_t(left));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return ENOSPC;
    p += n;
    left -= n;
  }
  return 0;
}

// Sets element `index` of `lines` to `text` as one line, growing the list with empty lines
// when a file was shortened by hand below the line asked for.
void putLine(QStringList& lines, qsizetype index, const QString& text) {
  if (index < 0) throw IoError(kRangeCheck);
  while (lines.size() <= index) lines.append(QString());
  lines[index] = oneLine(text);
}

QByteArray encodeLines(const QStringList& lines) {
  QByteArray out;
  for (const QString& line : lines) {
    out += oneLine(line).toUtf8();
    out += "\r\n";
  }
  return out;
}

bool startsWithUtf16Mark(QByteArrayView bytes) {
  return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

// Where the lines of a file that is not UTF-16 start, after a UTF-8 byte-order mark.
qsizetype textStart(QByteArrayView bytes) {
  return bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
}

// One line of a file that is not UTF-16, as the whole-file reader splits it: its text is
// bytes [start, end), its line end (CR LF, LF, CR or nothing at the end of the file) bytes
// [end, next). In UTF-8, as in any 8-bit code page, CR and LF are never part of a longer
// character, so the bytes split where the text does.
struct LineSpan {
  qsizetype start, end, next;
};

QList<LineSpan> lineSpans(QByteArrayView bytes) {
  QList<LineSpan> spans;
  const qsizetype n = bytes.size();
  qsizetype start = textStart(bytes);
  for (qsizetype i = start; i < n; ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') continue;
    const qsizetype end = i;
    if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
    spans.append({start, end, i + 1});
    start = i + 1;
  }
  if (start < n) spans.append({start, n, n});  // the last line, without a line end
  return spans;
}

// `bytes` with element `index` of the whole-file reader's lines made to read `text`, followed
// by CR LF. Every other line keeps its bytes and its own line end, whatever the code page of
// each: nothing is decoded and encoded again that nobody changed. A file shorter than
// `index` is extended with empty lines. A UTF-8 byte-order mark is dropped, as the
// whole-file writer writes none, unless the text after it would then read as UTF-16; a
// UTF-16 file is written again whole in UTF-8 (each line
// keeps its text).
QByteArray replaceLine(const QByteArray& bytes, qsizetype index, const QString& text) {
  if (index < 0) throw IoError(kRangeCheck);
  if (startsWithUtf16Mark(bytes)) {
    QStringList lines = decodeWholeFile(bytes);
    putLine(lines, index, text);
    return encodeLines(lines);
  }
  const QByteArray line = oneLine(text).toUtf8() + "\r\n";
  const QList<LineSpan> spans = lineSpans(bytes);
  const qsizetype from = textStart(bytes);
  QByteArray out;
  if (index < spans.size()) {
    const LineSpan& at = spans[index];
    out = bytes.mid(from, at.start - from) + line + bytes.mid(at.next);
  } else {
    out = bytes.mid(from);
    if (!spans.isEmpty() && spans.last().end == spans.last().next) out += "\r\n";
    for (qsizetype k = spans.size(); k < index; ++k) out += "\r\n";
    out += line;
  }
  // Text that begins with the bytes FF FE or FE FF after the UTF-8 mark would read as
  // UTF-16 once the mark is gone: the mark stays in front of it.
  if (from > 0 && startsWithUtf16Mark(out)) out.prepend("\xEF\xBB\xBF");
  return out;
}

}  // namespace

QByteArray readFileBytes(const QString& path, FileStamp* stamp) {
  const QByteArray name = nativePath(path);
  int fd;
  // Without waiting: a named pipe in a file's place must not block the program.
  do {
    fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) throwErrno(errno);
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    throwErrno(err);
  }
  if (!S_ISREG(st.st_mode)) {
    // A folder, a named pipe or a device (a link to /dev/zero would never end) is not a
    // file of the program's.
    ::close(fd);
    throwErrno(S_ISDIR(st.st_mode) ? EISDIR : EACCES);
  }
  if (stamp) *stamp = stampOf(st);
  // Ask for one byte more than the file holds: a short read then means the end was reached
  // and a file of ordinary size is read with a single call.
  QByteArray data;
  data.resize(qsizetype(st.st_size > 0 ? st.st_size : 0) + 1);
  qsizetype used = 0;
  for (;;) {
    if (used == data.size()) data.resize(data.size() * 2);
    const ssize_t n = ::read(fd, data.data() + used, size_t(data.size() - used));
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      throwErrno(err);
    }
    if (n == 0) break;
    used += n;
    if (used < data.size()) break;
  }
  ::close(fd);
  data.truncate(used);
  return data;
}

FileStamp writeFileAtomic(const QString& path, const QByteArray& bytes, Flush flush) {
  QByteArray target = nativePath(path);
  if (target.isEmpty()) throwErrno(ENOENT);
  struct stat st;
  // A symbolic link keeps pointing at the file it names; that file is replaced.
  if (::lstat(target.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* real = ::realpath(target.constData(), nullptr)) {
      target = real;
      std::free(real);
    }
  }
  bool exists = false;
  mode_t mode = 0666;
  if (::stat(target.constData(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) throwErrno(EISDIR);
    // Only a file is replaced: never a named pipe or a device that a link points to.
    if (!S_ISREG(st.st_mode)) throwErrno(EACCES);
    requireWritable(target);
    exists = true;
    mode = st.st_mode & 07777;
  }
  const qsizetype slash = target.lastIndexOf('/');
  const QByteArray folder =
      slash < 0 ? QByteArray(".") : (slash == 0 ? QByteArray("/") : target.left(slash));
  const QByteArray base = target.mid(slash + 1);
  if (base.isEmpty()) throwErrno(EISDIR);

  // The temporary file sits beside the target so that the rename stays on one file system.
  // While it is written it is private to the user; a second descriptor keeps it locked (see
  // tempfiles.h) after the first is closed, until it has its place.
  QByteArray temp;
  const int fd = createTemporary(folder, base, exists ? 0600 : 0666, temp);
  const int lockFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (lockFd < 0) abandonTemp(fd, -1, temp, errno);

  if (const int err = writeAll(fd, bytes)) abandonTemp(fd, lockFd, temp, err);
  if (flush == Flush::Now && ::fsync(fd) != 0) abandonTemp(fd, lockFd, temp, errno);
  if (exists) (void)::fchmod(fd, mode);  // a replaced file keeps its permissions
  if (::close(fd) != 0) abandonTemp(-1, lockFd, temp, errno);
  if (::rename(temp.constData(), target.constData()) != 0) abandonTemp(-1, lockFd, temp, errno);
  FileStamp written;
  if (::fstat(lockFd, &st) == 0) written = stampOf(st);
  ::close(lockFd);
  // What earlier writes of this file that did not finish left behind goes now.
  removeStaleTemporaries(QFile::decodeName(folder), QFile::decodeName(base));
  if (flush == Flush::Later) return written;
  // Make the rename itself durable. The new content is already in place, so a folder that
  // cannot be flushed (some file systems refuse) is not reported as a failed write.
  const int dfd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    (void)::fsync(dfd);
    ::close(dfd);
  }
  return written;
}

void flushFileSystem(const QString& folder) {
  const int fd = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throwErrno(errno);
  if (::syncfs(fd) != 0) {
    const int err = errno;
    ::close(fd);
    throwErrno(err);
  }
  ::close(fd);
}

bool fileExists(const QString& path) {
  struct stat st;
  return ::stat(nativePath(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool folderExists(const QString& path) {
  struct stat st;
  return ::stat(nativePath(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

LineReader::LineReader(const QString& path) : data_(readFileBytes(path)) {}

LineReader LineReader::fromBytes(QByteArray bytes) {
  LineReader r;
  r.data_ = std::move(bytes);
  return r;
}

QString LineReader::next() {
  if (pos_ >= data_.size()) return QString();
  // A byte-order mark is skipped at the start of the file only: U+FEFF at the start of any
  // later line is a character of that line, as the line writer wrote it.
  const bool fileStart = pos_ == 0;
  const char* d = data_.constData();
  const qsizetype n = data_.size();
  qsizetype start = pos_;
  qsizetype end = n;
  qsizetype resume = n;
  QByteArray kept;  // used only when a lone CR has to be dropped from the middle
  for (qsizetype i = pos_; i < n; ++i) {
    const char c = d[i];
    if (c == '\n' || c == '\x1a') {
      end = i;
      resume = i + 1;
      break;
    }
    if (c == '\r') {
      if (i + 1 < n && d[i + 1] == '\n') {
        end = i;
        resume = i + 2;
        break;
      }
      kept.append(d + start, i - start);
      start = i + 1;
    }
  }
  pos_ = resume;
  if (kept.isEmpty()) {
    const QByteArrayView line(d + start, end - start);
    return fileStart ? decodeNarrow(line) : decodeUtf8OrBytes(line);
  }
  kept.append(d + start, end - start);
  return fileStart ? decodeNarrow(kept) : decodeUtf8OrBytes(kept);
}

QStringList readLineFile(const QString& path, int count) {
  LineReader reader(path);
  QStringList lines;
  lines.reserve(count > 0 ? count : 0);
  for (int i = 0; i < count; ++i) lines.append(reader.next());
  return lines;
}

QStringList splitLines(const QByteArray& bytes) {
  LineReader reader = LineReader::fromBytes(bytes);
  QStringList lines;
  while (!reader.atEnd()) lines.append(reader.next());
  return lines;
}

void writeLines(const QString& path, const QStringList& lines, Flush flush) {
  writeFileAtomic(path, encodeLines(lines), flush);
}

void writeNewLines(const QString& path, const QStringList& lines) {
  const QByteArray bytes = encodeLines(lines);
  const int fd =
      ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) throwErrno(errno);
  if (const int err = writeAll(fd, bytes)) {
    ::close(fd);
    throwErrno(err);
  }
  if (::close(fd) != 0) throwErrno(errno);
}

QStringList decodeWholeFile(const QByteArray& bytes) {
  if (startsWithUtf16Mark(bytes)) {
    const QString text = QStringDecoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                                     : QStringDecoder::Utf16BE)
                             .decode(QByteArrayView(bytes).sliced(2));
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
      const QChar c = text.at(i);
      if (c == u'\r' || c == u'\n') {
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') ++i;
        start = i + 1;
      }
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
  }
  QStringList lines;
  for (const LineSpan& span : lineSpans(bytes))
    lines.append(
        decodeUtf8OrBytes(QByteArrayView(bytes).sliced(span.start, span.end - span.start)));
  return lines;
}

QStringList readWholeFile(const QString& path) {
  return decodeWholeFile(readFileBytes(path));
}

void writeWholeFile(const QString& path, const QStringList& lines) {
  writeFileAtomic(path, encodeLines(lines));
}

QString oneLine(const QString& text) {
  if (!text.contains(u'\r') && !text.contains(u'\n') && !text.contains(u'\x1a')) return text;
  QString out;
  out.reserve(text.size());
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text.at(i);
    if (c == u'\r') {
      if (i + 1 < n && text.at(i + 1) == u'\n') ++i;
      out.append(u' ');
    } else if (c == u'\n' || c == u'\x1a') {
      // Byte 1A ends a line for the line reader: kept, it would split the line in two
      // and move every later topic name down by one slot.
      out.append(u' ');
    } else {
      out.append(c);
    }
  }
  return out;
}

QString readfromfile(const QString& filename, int line) {
  try {
    LineReader reader(filename);
    QString last;
    for (int i = 1; i <= line; ++i) {
      if (reader.atEnd()) return QString();  // every further line reads empty
      last = reader.next();
    }
    return last;
  } catch (...) {
    return QString();
  }
}

void writetofile(const QString& fn, int index, const QString& newText) {
  if (!fileExists(fn)) {
    writeLines(fn, {newText});
    return;
  }
  writeFileAtomic(fn, replaceLine(readFileBytes(fn), qsizetype(index) - 1, newText));
}

void ModifyLine(const QString& fn, int index, const QString& newText) {
  writeFileAtomic(fn, replaceLine(readFileBytes(fn), index, newText));
}

}  // namespace store
