// Loading a page from disk: topic lists and description files as a user may leave them
// (short, long, other line ends, missing, unreadable), and the half-second reload that
// makes changes written elsewhere appear.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QtTest>
#include <cerrno>
#include <cstring>

#include "store/ioerror.h"
#include "support/testmain.h"
#include "tst_home_support.h"
#include "ui/platform.h"

using home_testing::Home;
using home_testing::repeated;

namespace {

const QString kTopics = home_testing::page("Lg_Delphi", 1) + "/topics.txt";
const QString kAbout = QStringLiteral("Data/Lg_Delphi/aboutpages.txt");

QStringList numbered(const QString& prefix, int count) {
  QStringList out;
  for (int i = 1; i <= count; ++i) out << prefix + QString::number(i);
  return out;
}

QStringList padded(QStringList lines, int count) {
  while (lines.size() < count) lines << QString();
  return lines;
}

// Puts a socket where a file is expected: it exists, is no folder, and cannot be opened
// for reading, even by the superuser.
bool replaceBySocket(const QString& path) {
  QFile::remove(path);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  const QByteArray name = QFile::encodeName(path);
  if (name.size() >= qsizetype(sizeof(addr.sun_path))) return ::close(fd), false;
  std::memcpy(addr.sun_path, name.constData(), size_t(name.size()));
  const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

class HomeLoadDataTest : public QObject {
  Q_OBJECT

 private slots:
  void topicListAsFound_data();
  void topicListAsFound();
  void missingFolders_data();
  void missingFolders();
  void deletedDescriptionsStayShown();
  void shortDescriptionFile();
  void unreadableListIsReportedOnce();
  void handEditsShowWithinHalfASecond();
};

void HomeLoadDataTest::topicListAsFound_data() {
  QTest::addColumn<bool>("present");
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QStringList>("captions");
  const QByteArray ten = home_testing::crlf(numbered("t", 10));
  QTest::newRow("ten lines") << true << ten << numbered("t", 10);
  QTest::newRow("short: missing lines are empty")
      << true << QByteArray("a\r\nb\r\nc\r\n") << padded({"a", "b", "c"}, 10);
  QTest::newRow("long: the first ten")
      << true << home_testing::crlf(numbered("t", 12)) << numbered("t", 10);
  QTest::newRow("no line break at the end")
      << true << QByteArray("a\r\nb") << padded({"a", "b"}, 10);
  QTest::newRow("lone LF ends a line")
      << true << QByteArray("a\nb\nc") << padded({"a", "b", "c"}, 10);
  QTest::newRow("lone CR is dropped")
      << true << QByteArray("a\rb\rc\r\nd\r\n") << padded({"abc", "d"}, 10);
  QTest::newRow("byte 1A ends a line") << true
                                       << QByteArray(
                                              "a\x1A"
                                              "b\r\nc\r\n")
                                       << padded({"a", "b", "c"}, 10);
  QTest::newRow("empty file") << true << QByteArray() << repeated("", 10);
  QTest::newRow("blank lines") << true << QByteArray("\r\n\r\nthird\r\n")
                               << padded({"", "", "third"}, 10);
  QTest::newRow("UTF-8 names") << true << QByteArray("Schleifen f\xC3\xBCr \xE2\x80\x93 C#\r\n")
                               << padded({QString::fromUtf8("Schleifen für – C#")}, 10);
  QTest::newRow("ampersand and markup shown as written")
      << true << QByteArray("Pointers & References\r\n<b>bold</b>\r\n&&\r\n")
      << padded({"Pointers & References", "<b>bold</b>", "&&"}, 10);
  QTest::newRow("deleted: click to create")
      << false << QByteArray() << repeated("click to create", 10);
}

void HomeLoadDataTest::topicListAsFound() {
  QFETCH(bool, present);
  QFETCH(QByteArray, bytes);
  QFETCH(QStringList, captions);
  Home h;
  QFile::remove(kTopics);
  if (present) testing_support::writeBytes(kTopics, bytes);
  h.form.LoadData("Lg_Delphi");
  QStringList names;
  for (int k = 1; k <= 10; ++k) names << h.form.topicCaption(k);
  QCOMPARE(names, captions);
  QVERIFY(h.platform.errors.isEmpty());
  // The reload shows the same; the file is never rewritten by reading it.
  QVERIFY(h.waitTicks(1));
  names.clear();
  for (int k = 1; k <= 10; ++k) names << h.form.topicCaption(k);
  QCOMPARE(names, captions);
  if (present) QCOMPARE(testing_support::readBytes(kTopics), bytes);
}

void HomeLoadDataTest::missingFolders_data() {
  QTest::addColumn<QString>("removed");
  QTest::addColumn<bool>("folder");
  QTest::newRow("page folder") << home_testing::page("Lg_Delphi", 1) << true;
  QTest::newRow("language folder") << "Data/Lg_Delphi" << true;
  QTest::newRow("a folder named topics.txt") << kTopics << false;
}

void HomeLoadDataTest::missingFolders() {
  QFETCH(QString, removed);
  QFETCH(bool, folder);
  Home h;
  testing_support::writeBytes(kAbout, home_testing::crlf(numbered("about ", 15)));
  testing_support::writeBytes(kTopics, "Loops\r\n");
  h.form.LoadData("Lg_Delphi");
  QCOMPARE(h.topic(1)->text(), QStringLiteral("Loops"));
  if (folder) {
    QVERIFY(QDir(removed).removeRecursively());
  } else {
    QVERIFY(QFile::remove(removed));
    QVERIFY(QDir().mkdir(removed));
  }
  QTRY_COMPARE(h.captions(), repeated("click to create", 10));
  // The descriptions read last stay, on screen and in the hints.
  QCOMPARE(h.label("AboutPage")->text(), QStringLiteral("about 1"));
  QCOMPARE(h.hints(), numbered("about ", 15));
  QVERIFY(h.platform.errors.isEmpty());
  // Nothing is recreated behind the user's back.
  QVERIFY(h.waitTicks(1));
  QCOMPARE(QFileInfo(removed).exists(), !folder);
}

void HomeLoadDataTest::deletedDescriptionsStayShown() {
  Home h;
  testing_support::writeBytes(kAbout, home_testing::crlf(numbered("Generics ", 15)));
  QTRY_COMPARE(h.label("AboutPage")->text(), QStringLiteral("Generics 1"));
  QVERIFY(QFile::remove(kAbout));
  QVERIFY(h.waitTicks(2));
  QCOMPARE(h.label("AboutPage")->text(), QStringLiteral("Generics 1"));
  QCOMPARE(h.hints(), numbered("Generics ", 15));
  // Another page shows its description as last read.
  h.form.SetPage(3);
  QCOMPARE(h.label("AboutPage")->text(), QStringLiteral("Generics 3"));
  // A language without a description file keeps them too.
  QVERIFY(QFile::remove("Data/Lg_Java/aboutpages.txt"));
  h.form.setlanguage("Lg_Java");
  QCOMPARE(h.label("AboutPage")->text(), QStringLiteral("Generics 3"));
  QCOMPARE(h.topic(1)->text(), QStringLiteral("click to create topic"));
  QVERIFY(h.platform.errors.isEmpty());
}

void HomeLoadDataTest::shortDescriptionFile() {
  Home h;
  testing_support::writeBytes(kAbout, "first\nsecond\r\nthird");
  h.form.SetPage(5);
  QCOMPARE(h.hints(), padded({"first", "second", "third"}, 15));
  QCOMPARE(h.label("AboutPage")->text(), QString());
  h.form.SetPage(2);
  QCOMPARE(h.label("AboutPage")->text(), QStringLiteral("second"));
}

void HomeLoadDataTest::unreadableListIsReportedOnce() {
  Home h;
  QVERIFY(QTest::qWaitForWindowExposed(&h.form));
  testing_support::writeBytes(kTopics, "Loops\r\n");
  QTRY_COMPARE(h.topic(1)->text(), QStringLiteral("Loops"));

  // The user keeps the first report open for more than two reload periods.
  int shownMeanwhile = -1;
  h.platform.onError = [&](const QString&) {
    if (shownMeanwhile >= 0) return;
    QElapsedTimer open;
    open.start();
    if (!QTest::qWaitFor([&] { return open.elapsed() > 1200; }, 5000)) return;
    shownMeanwhile = h.platform.errors.size();
  };
  QVERIFY(replaceBySocket(kTopics));
  QTRY_VERIFY_WITH_TIMEOUT(shownMeanwhile >= 0, 5000);
  QCOMPARE(shownMeanwhile, 1);
  const QString expected = ui::reportText(store::IoError(store::codeFromErrno(ENXIO)).message());
  QCOMPARE(h.platform.errors.first(), expected);
  // What could not be read keeps what was shown.
  QCOMPARE(h.topic(1)->text(), QStringLiteral("Loops"));

  // Dismissed, and the list is still unreadable: the reloads that follow say nothing more.
  QVERIFY(h.waitTicks(4));
  QCOMPARE(h.platform.errors.size(), 1);

  // The user chooses the page again: told once more, once.
  QTest::mouseClick(h.label("pg_button_2"), Qt::LeftButton);
  QTest::mouseClick(h.label("pg_button_1"), Qt::LeftButton);
  QCOMPARE(h.platform.errors, QStringList({expected, expected}));
  QVERIFY(h.waitTicks(3));
  QCOMPARE(h.platform.errors.size(), 2);

  // Readable again: shown by the next reload, and no more reports.
  QVERIFY(QFile::remove(kTopics));
  testing_support::writeBytes(kTopics, "Loops again\r\n");
  QTRY_COMPARE(h.topic(1)->text(), QStringLiteral("Loops again"));
  QVERIFY(h.waitTicks(2));
  QCOMPARE(h.platform.errors.size(), 2);

  // Unreadable once more, after a read succeeded: a new failure, told once.
  QVERIFY(replaceBySocket(kTopics));
  QTRY_COMPARE(h.platform.errors.size(), 3);
  QVERIFY(h.waitTicks(3));
  QCOMPARE(h.platform.errors.size(), 3);
}

void HomeLoadDataTest::handEditsShowWithinHalfASecond() {
  Home h;
  QVERIFY(h.waitTicks(1));
  // Within one reload period, allowing the scheduler some slack.
  QStringList names = repeated("click to create topic", 10);
  names[6] = "Generics";
  testing_support::writeBytes(kTopics, home_testing::crlf(names));
  QTRY_COMPARE_WITH_TIMEOUT(h.topic(7)->text(), QStringLiteral("Generics"), 1000);
  QStringList about = repeated("click to edit page description", 15);
  about[0] = "Collections";
  testing_support::writeBytes(kAbout, home_testing::crlf(about));
  QTRY_COMPARE_WITH_TIMEOUT(h.label("AboutPage")->text(), QStringLiteral("Collections"), 1000);
  QCOMPARE(h.label("page_txt_1")->toolTip(), QStringLiteral("Collections"));
}

QUILL_TEST_MAIN(HomeLoadDataTest)
#include "tst_home_loaddata.moc"
