#include "store/datatree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>

#include "store/ioerror.h"
#include "store/linefile.h"
#include "store/settings.h"

namespace store {

namespace {

void makeFolder(const QString& path) {
  if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0) throwErrno(errno);
}

QStringList repeated(const QString& line, int count) {
  QStringList lines;
  lines.reserve(count);
  for (int i = 0; i < count; ++i) lines.append(line);
  return lines;
}

}  // namespace

const QStringList& languageKeys() {
  static const QStringList keys = {
      QStringLiteral("Lg_Delphi"), QStringLiteral("Lg_C++"), QStringLiteral("Lg_GM2"),
      QStringLiteral("Lg_Python"), QStringLiteral("Lg_JS"),  QStringLiteral("Lg_C#"),
      QStringLiteral("Lg_Java"),   QStringLiteral("Lg_CSS"), QStringLiteral("Lg_Html"),
  };
  return keys;
}

QString dataRoot() {
  return QStringLiteral("./Data");
}
QString settingsFolder() {
  return QStringLiteral("./Data/UserSettings");
}
QString settingsPath() {
  return QStringLiteral("./Data/UserSettings/options.txt");
}
QString themePath() {
  return QStringLiteral("./Data/options.dat");
}

QString languageFolder(const QString& key) {
  return QStringLiteral("./Data/") + key + u'/';
}

QString aboutPagesPath(const QString& key) {
  return languageFolder(key) + QStringLiteral("aboutpages.txt");
}

QString pageIconsPath(const QString& key) {
  return languageFolder(key) + QStringLiteral("pageicons.txt");
}

QString pageFolder(const QString& key, int page) {
  return languageFolder(key) + QString::number(page);
}

QString topicsPath(const QString& key, int page) {
  return pageFolder(key, page) + QStringLiteral("/topics.txt");
}

QString topicPath(const QString& key, int page, int slot) {
  return pageFolder(key, page) + QStringLiteral("/topic") + QString::number(slot) +
         QStringLiteral(".txt");
}

QString topicAddress(const QString& key, int page, int slot) {
  return key + u'/' + QString::number(page) + u',' + QString::number(slot);
}

TopicAddress splitTopicAddress(const QString& address) {
  const qsizetype comma = address.indexOf(u',');
  TopicAddress split;
  split.slot = parseInteger(address.mid(comma + 1, 3));
  if (comma >= 0) split.lgandpage = address.left(comma);
  return split;
}

QString topicsPathFor(const QString& lgandpage) {
  return dataRoot() + u'/' + lgandpage + QStringLiteral("/topics.txt");
}

namespace {

// Fills the new language folder `folder` (with its trailing separator). Nothing else writes
// into it, so its files are written in place; they reach the disk with the next
// flushFileSystem, one flush for the whole tree instead of one per file.
void fillLanguage(const QString& folder) {
  const QStringList topics = repeated(kTopicPlaceholder, kSlots);
  for (int i = 1; i <= kPages; ++i) {
    const QString page = folder + QString::number(i);
    makeFolder(page);
    writeNewLines(page + QStringLiteral("/topics.txt"), topics);
  }
  writeNewLines(folder + QStringLiteral("aboutpages.txt"),
                repeated(kDescriptionPlaceholder, kPages));
  writeNewLines(folder + QStringLiteral("pageicons.txt"), repeated(kIconLine, kPages));
}

// A language is made under a hidden name beside its own, ".<key>.new-<process id>", and put
// in place whole. While it is being made, its maker holds a lock on the file ".making" in it:
// that, not the process id (which another program may have by now), tells a folder being
// made from one an interrupted start left behind.
QString makingPrefix(const QString& key) {
  return QStringLiteral(".") + key + QStringLiteral(".new-");
}

const char kMakingLock[] = "/.making";

// Opens the lock file of the folder being made at `folder` and takes its lock without
// waiting: the descriptor holding it, or -1 with errno set.
int lockMaking(const QByteArray& folder, int createFlags) {
  const int fd = ::open((folder + kMakingLock).constData(),
                        O_RDWR | O_CLOEXEC | O_NOFOLLOW | createFlags, 0666);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    errno = err;
    return -1;
  }
  return fd;
}

// Makes an empty hidden folder to fill with language `key` and takes its lock. A name that
// is taken, or that a clean-up is removing as a leftover right now, is passed over for the
// next one. Returns the folder; `lock` holds the lock (-1 where the file system has no
// locks). Throws IoError.
QString makeLockedFolder(const QString& key, int& lock) {
  const QString base = dataRoot() + u'/' + makingPrefix(key) + QString::number(::getpid());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QString folder = attempt == 0 ? base : base + u'-' + QString::number(attempt);
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), 0777) != 0) {
      if (errno == EEXIST) continue;
      throwErrno(errno);
    }
    lock = lockMaking(name, O_CREAT | O_EXCL);
    if (lock < 0) {
      // A clean-up took the folder for a leftover before the lock was there: it removes it.
      if (errno == EEXIST || errno == EWOULDBLOCK || errno == ENOENT) continue;
      if (errno != ENOLCK && errno != EINVAL && errno != EOPNOTSUPP) {
        const int err = errno;
        QDir(folder).removeRecursively();
        throwErrno(err);
      }
    }
    struct stat st;
    if (lock >= 0 && (::fstat(lock, &st) != 0 || st.st_nlink == 0)) {
      ::close(lock);  // removed by a clean-up between its lock and ours
      continue;
    }
    return folder + u'/';
  }
  throwErrno(EEXIST);
}

// Removes what interrupted starts left of languages being made: every hidden folder of a
// language's temporary name in the data root whose lock nobody holds. One read of the data
// root; nothing more unless something is left over.
void removeLeftoverLanguages() {
  DIR* dir = ::opendir(QFile::encodeName(dataRoot()).constData());
  if (!dir) return;
  QList<QByteArray> leftovers;
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] != '.') continue;
    const QString name = QFile::decodeName(entry->d_name);
    for (const QString& key : languageKeys())
      if (name.startsWith(makingPrefix(key))) leftovers.append(entry->d_name);
  }
  ::closedir(dir);
  for (const QByteArray& name : leftovers) {
    const QByteArray folder = QFile::encodeName(dataRoot()) + '/' + name;
    struct stat st;
    // Only a folder of its own: a link in its place is not followed.
    if (::lstat(folder.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
    const int lock = lockMaking(folder, O_CREAT);
    if (lock < 0) continue;  // a live Quillnote is making it (or it cannot be told)
    QDir(QFile::decodeName(folder)).removeRecursively();
    ::close(lock);
  }
}

}  // namespace

void bootstrapRoots() {
  if (!folderExists(dataRoot())) makeFolder(dataRoot());
  if (!folderExists(settingsFolder())) makeFolder(settingsFolder());
  removeLeftoverLanguages();
}

QStringList missingLanguages() {
  QStringList missing;
  for (const QString& key : languageKeys())
    if (!folderExists(languageFolder(key))) missing.append(key);
  return missing;
}

void createstruture(const QString& lang) {
  const QString folder = lang.endsWith(u'/') ? lang.chopped(1) : lang;
  const QString key = folder.mid(folder.lastIndexOf(u'/') + 1);
  const QByteArray target = QFile::encodeName(folder);
  struct stat st;
  if (::lstat(target.constData(), &st) == 0) throw IoError(kAlreadyExists);
  int lock = -1;
  const QString temp = makeLockedFolder(key, lock);
  const auto abandon = [&] {
    QDir(temp).removeRecursively();
    if (lock >= 0) ::close(lock);
  };
  try {
    fillLanguage(temp);
  } catch (const IoError&) {
    abandon();
    throw;
  }
  if (::rename(QFile::encodeName(temp).constData(), target.constData()) != 0) {
    const int err = errno;
    abandon();
    throwErrno(err);
  }
  // The lock file goes once the language is in place, so no clean-up ever finds its folder
  // without it.
  ::unlink((target + kMakingLock).constData());
  if (lock >= 0) ::close(lock);
}

bool bootstrapThemeFile(Flush flush) {
  if (fileExists(themePath())) return false;
  writeLines(themePath(), {QStringLiteral("light")}, flush);
  return true;
}

Sweep removeStaleTemporariesOfTree() {
  Sweep all = removeStaleTemporaries(dataRoot());
  all += removeStaleTemporaries(settingsFolder());
  for (const QString& key : languageKeys()) {
    all += removeStaleTemporaries(languageFolder(key));
    for (int page = 1; page <= kPages; ++page) all += removeStaleTemporaries(pageFolder(key, page));
  }
  return all;
}

}  // namespace store
