#include "store/datatree.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>

#include "store/ioerror.h"
#include "store/linefile.h"

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

namespace {

void replaceLines(const QString& path, const QStringList& lines) {
  writeLines(path, lines, Flush::Later);
}

// Creates a language folder and its content, each line file written by `write`; the files
// reach the disk with the next flushFileSystem, one flush for the whole tree instead of one
// per file.
void createLanguage(const QString& lang,
                    void (*write)(const QString&, const QStringList&) = replaceLines) {
  const QString folder = lang.endsWith(u'/') ? lang : lang + u'/';
  makeFolder(folder);
  const QStringList topics = repeated(kTopicPlaceholder, kSlots);
  for (int i = 1; i <= kPages; ++i) {
    const QString page = folder + QString::number(i);
    makeFolder(page);
    write(page + QStringLiteral("/topics.txt"), topics);
  }
  write(folder + QStringLiteral("aboutpages.txt"), repeated(kDescriptionPlaceholder, kPages));
  write(folder + QStringLiteral("pageicons.txt"), repeated(kIconLine, kPages));
}

}  // namespace

void createstruture(const QString& lang) {
  createLanguage(lang);
  flushFileSystem(lang);
}

void bootstrapRoots() {
  if (!folderExists(dataRoot())) makeFolder(dataRoot());
  if (!folderExists(settingsFolder())) makeFolder(settingsFolder());
}

QStringList missingLanguages() {
  QStringList missing;
  for (const QString& key : languageKeys())
    if (!folderExists(languageFolder(key))) missing.append(key);
  return missing;
}

void createLanguageFolder(const QString& key) {
  const QString folder = dataRoot() + u'/' + key;
  const QByteArray target = QFile::encodeName(folder);
  struct stat st;
  if (::lstat(target.constData(), &st) == 0) throw IoError(kAlreadyExists);
  // The temporary name carries the process id, so two programs started at once never fill
  // the same folder. One left half-filled by a start that did not finish (its process is
  // gone) is removed; the language is made again.
  const QString prefix = QStringLiteral(".") + key + QStringLiteral(".new-");
  const QDir root(dataRoot());
  for (const QString& entry : root.entryList({prefix + u'*'}, QDir::Dirs | QDir::Hidden)) {
    bool number = false;
    const qint64 pid = entry.mid(prefix.size()).toLongLong(&number);
    if (number && pid > 0 && (pid > INT_MAX || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)))
      QDir(root.filePath(entry)).removeRecursively();
  }
  const QString temp = root.filePath(prefix + QString::number(::getpid()));
  if (QFileInfo::exists(temp)) QDir(temp).removeRecursively();
  try {
    // Nothing else writes into the temporary folder: its files are written in place.
    createLanguage(temp, writeNewLines);
  } catch (const IoError&) {
    QDir(temp).removeRecursively();
    throw;
  }
  if (::rename(QFile::encodeName(temp).constData(), target.constData()) != 0) {
    const int err = errno;
    QDir(temp).removeRecursively();
    throwErrno(err);
  }
}

bool bootstrapTree() {
  bootstrapRoots();
  const QStringList missing = missingLanguages();
  for (const QString& key : missing) createLanguageFolder(key);
  if (!missing.isEmpty()) flushFileSystem(dataRoot());
  return !missing.isEmpty();
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

void recordTheme(const QString& theme) {
  const QString path = themePath();
  if (!fileExists(path)) {
    if (!theme.isEmpty()) writeLines(path, {theme});
    return;
  }
  if (readfromfile(path, 1) != theme) writetofile(path, 1, theme);
}

}  // namespace store
