// The home window's two looks: the saved theme applied just after start-up, the toggle by
// F4 and the theme button, the theme file, odd theme files, and editors keeping the look
// they were opened in.
#include <QPlainTextEdit>
#include <QtTest>
#include <optional>

#include "dialogs/Dialogs.h"
#include "editor/Editor_u.h"
#include "store/bootstrap.h"
#include "support/filesizelimit.h"
#include "support/testmain.h"
#include "tst_home_support.h"
#include "ui/build.h"
#include "ui/look.h"
#include "ui/pictures.h"

using home_testing::Home;

namespace {

// Pictures are made for the size of their controls.
bool shows(QLabel* image, const char* picture) {
  return image->pixmap().toImage() ==
         ui::picture(QString::fromLatin1(picture), image->size()).toImage();
}

// What the home window shows of a look.
struct Look {
  QColor marker;  // quick-action captions
  QColor footer;
  const char* wallpaper;
  const char* button;
};
const Look kLooks[] = {
    {ui::rgb::White, ui::rgb::White, "wlp_dark", "theme_dark"},
    {ui::rgb::Black, ui::rgb::Black, "wlp_light", "theme_light"},
    // Before any theme applies: dark, with the footer in its own system colour.
    {ui::rgb::White, ui::sys::WindowText, "wlp_dark", "theme_dark"},
    {ui::rgb::White, ui::sys::WindowText, "wlp_dark", "theme_light"},
};
constexpr int kIsDark = 0, kIsLight = 1, kIsDesigned = 2, kIsDesignedWithLightButton = 3;
const Look& kDark = kLooks[kIsDark];
const Look& kLight = kLooks[kIsLight];

void checkLook(const TQuillnoteForm& f, const Look& look) {
  const auto label = [&](const char* name) { return f.findChild<QLabel*>(name); };
  QCOMPARE(ui::textColor(f.findChild<QWidget*>("QuickActionsMenu")), look.marker);
  QCOMPARE(ui::textColor(label("Option1Text")), look.marker);  // the captions follow the panel
  QCOMPARE(ui::textColor(label("Option3Text")), look.marker);
  QCOMPARE(ui::textColor(label("copyright")), look.footer);
  QVERIFY(shows(label("BackGround"), look.wallpaper));
  QVERIFY(shows(label("Option1Image"), look.button));
}

void checkLook(Home& h, const Look& look) {
  checkLook(h.form, look);
}

QByteArray themeFile() {
  return testing_support::readBytes("Data/options.dat");
}

QList<TEditorForm*> editors() {
  QList<TEditorForm*> out;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* e = qobject_cast<TEditorForm*>(w)) out << e;
  return out;
}

// Opens topic 1 in a new editor and returns its memo background.
QColor openEditorMemo(Home& h) {
  const QList<TEditorForm*> before = editors();
  QPushButton* b = h.topic(1);
  QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
  for (TEditorForm* e : editors())
    if (!before.contains(e))
      return e->findChild<QPlainTextEdit*>("AllText")->palette().color(QPalette::Base);
  return {};
}

void clickImage(QWidget* w) {
  QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

}  // namespace

class HomeThemeTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { qDeleteAll(editors()); }
  void savedThemeAppliesAfterStart_data();
  void savedThemeAppliesAfterStart();
  void toggleTwiceReturns_data();
  void toggleTwiceReturns();
  void editorsKeepTheirLook();
  void fullDiskLeavesNoThemeFile_data();
  void fullDiskLeavesNoThemeFile();
};

void HomeThemeTest::savedThemeAppliesAfterStart_data() {
  QTest::addColumn<QByteArray>("file");  // empty: no theme file (first start)
  QTest::addColumn<QByteArray>("fileAfter");
  QTest::addColumn<int>("look");       // index into kLooks, once the saved theme applied
  QTest::addColumn<QColor>("editor");  // memo of an editor opened before any toggle
  QTest::addColumn<int>("toggled");    // index into kLooks, after one toggle
  QTest::addColumn<QByteArray>("afterToggle");
  QTest::newRow("first start") << QByteArray() << QByteArray("light\r\n") << kIsLight
                               << ui::rgb::MemoLight << kIsDark << QByteArray("dark\r\n");
  QTest::newRow("dark") << QByteArray("dark\r\n") << QByteArray("dark\r\n") << kIsDark
                        << ui::rgb::MemoDark << kIsLight << QByteArray("light\r\n");
  // An unknown name changes nothing on screen; the footer keeps its designed colour, which
  // is not white, so editors take the light look.
  QTest::newRow("blue") << QByteArray("blue\r\n") << QByteArray("blue\r\n") << kIsDesigned
                        << ui::rgb::MemoLight << kIsLight << QByteArray("light\r\n");
  QTest::newRow("empty line") << QByteArray("\r\n") << QByteArray("\r\n") << kIsDesigned
                              << ui::rgb::MemoLight << kIsLight << QByteArray("light\r\n");
  // Theme names are exact; picture names are not, so the button alone changes.
  QTest::newRow("Light") << QByteArray("Light\r\n") << QByteArray("Light\r\n")
                         << kIsDesignedWithLightButton << ui::rgb::MemoLight << kIsLight
                         << QByteArray("light\r\n");
}

void HomeThemeTest::savedThemeAppliesAfterStart() {
  QFETCH(QByteArray, file);
  QFETCH(QByteArray, fileAfter);
  QFETCH(int, look);
  QFETCH(QColor, editor);
  QFETCH(int, toggled);
  QFETCH(QByteArray, afterToggle);
  const QDateTime old = QDateTime::currentDateTime().addDays(-3);
  Home h([&] {
    if (file.isEmpty()) return;
    QDir().mkpath("Data");
    testing_support::writeBytes("Data/options.dat", file);
    QFile f("Data/options.dat");
    QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(old, QFileDevice::FileModificationTime));
  });
  Dialogs dialogs;
  h.form.setDialogs(&dialogs);
  checkLook(h, kLooks[kIsDesigned]);  // before the timer runs
  QTRY_VERIFY(!h.child<QTimer>("TIMERDELAYED")->isActive());
  checkLook(h, kLooks[look]);
  QCOMPARE(themeFile(), fileAfter);
  if (!file.isEmpty()) {  // applying the theme it holds leaves the file untouched
    QCOMPARE(QFileInfo("Data/options.dat").lastModified().toSecsSinceEpoch(),
             old.toSecsSinceEpoch());
  }
  QCOMPARE(openEditorMemo(h), editor);

  QTest::keyClick(&h.form, Qt::Key_F4);
  checkLook(h, kLooks[toggled]);
  QCOMPARE(themeFile(), afterToggle);
  QVERIFY(h.platform.errors.isEmpty());
}

void HomeThemeTest::toggleTwiceReturns_data() {
  QTest::addColumn<bool>("byKey");
  QTest::newRow("F4") << true;
  QTest::newRow("theme button") << false;
}

void HomeThemeTest::toggleTwiceReturns() {
  QFETCH(bool, byKey);
  Home h;
  QTRY_VERIFY(!h.child<QTimer>("TIMERDELAYED")->isActive());
  const auto toggle = [&] {
    if (byKey)
      QTest::keyClick(&h.form, Qt::Key_F4);
    else
      clickImage(h.label("Option1Image"));
  };
  toggle();
  checkLook(h, kDark);
  QCOMPARE(themeFile(), QByteArray("dark\r\n"));
  toggle();
  checkLook(h, kLight);
  QCOMPARE(themeFile(), QByteArray("light\r\n"));
}

void HomeThemeTest::editorsKeepTheirLook() {
  Home h;
  Dialogs dialogs;
  h.form.setDialogs(&dialogs);
  QTRY_VERIFY(!h.child<QTimer>("TIMERDELAYED")->isActive());
  QCOMPARE(openEditorMemo(h), ui::rgb::MemoLight);
  TEditorForm* lightOne = editors().first();
  QVERIFY(shows(lightOne->findChild<QLabel*>("BackGround2"), "wlp_light"));
  QTest::keyClick(&h.form, Qt::Key_F4);
  QCOMPARE(openEditorMemo(h), ui::rgb::MemoDark);
  QTest::keyClick(&h.form, Qt::Key_F4);
  QCOMPARE(lightOne->findChild<QPlainTextEdit*>("AllText")->palette().color(QPalette::Base),
           ui::rgb::MemoLight);
  QVERIFY(shows(lightOne->findChild<QLabel*>("BackGround2"), "wlp_light"));
  for (TEditorForm* e : editors()) {
    if (e != lightOne) {
      QCOMPARE(e->findChild<QPlainTextEdit*>("AllText")->palette().color(QPalette::Base),
               ui::rgb::MemoDark);
      QVERIFY(shows(e->findChild<QLabel*>("BackGround2"), "wlp_dark"));
    }
  }
  QCOMPARE(editors().size(), 2);
}

void HomeThemeTest::fullDiskLeavesNoThemeFile_data() {
  QTest::addColumn<bool>("treeFirst");    // the data tree is there before the start
  QTest::addColumn<int>("limit");         // bytes a file may hold during the first start
  QTest::addColumn<QStringList>("data");  // what the first start leaves in Data
  QStringList all = store::languageKeys();
  all << "UserSettings";
  all.sort();
  // A topic list (230 bytes) does not fit: the tree, and the theme step after it, fail.
  QTest::newRow("disk fills in the data tree") << false << 100 << QStringList{"UserSettings"};
  // "light" and its line end (7 bytes) are cut short after 3.
  QTest::newRow("disk fills in the theme file") << true << 3 << all;
}

// A first start on a disk that fills up: the theme file is whole or not there at all, so the
// next start makes it and turns light, instead of a file holding an empty line keeping the
// dark look for ever.
void HomeThemeTest::fullDiskLeavesNoThemeFile() {
  QFETCH(bool, treeFirst);
  QFETCH(int, limit);
  QFETCH(QStringList, data);
  std::optional<testing_support::FileSizeLimit> full;
  Home h([&] {
    if (treeFirst) {  // the tree without its theme file
      store::makeDataTree();
      QFile::remove(store::themePath());
    }
    full.emplace(limit);
  });
  QVERIFY(full && full->holds());
  QTRY_VERIFY(!h.child<QTimer>("TIMERDELAYED")->isActive());
  full.reset();
  QCOMPARE(h.platform.errors.size(), 1);  // the failed start is reported once
  checkLook(h, kLooks[kIsDesigned]);
  QVERIFY(!QFile::exists("Data/options.dat"));
  QCOMPARE(
      QDir("Data").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
      data);

  TQuillnoteForm next;  // the next start, with room on the disk
  next.waitForDataTree();
  QTRY_VERIFY(!next.findChild<QTimer*>("TIMERDELAYED")->isActive());
  checkLook(next, kLight);
  QCOMPARE(themeFile(), QByteArray("light\r\n"));
  QCOMPARE(h.platform.errors.size(), 1);
}

QUILL_TEST_MAIN(HomeThemeTest)
#include "tst_home_theme.moc"
