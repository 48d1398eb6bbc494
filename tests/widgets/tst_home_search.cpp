// Topic search on the home window: stepping through the matches page by page with Enter or
// the Search button, wrapping, starting afresh, and the two-second green mark on the topic
// found.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QtTest>

#include "support/testmain.h"
#include "tst_home_support.h"
#include "ui/build.h"
#include "ui/look.h"

using home_testing::Home;

namespace {

void writeTopics(const QString& lang, int page, const QStringList& names) {
  testing_support::writeBytes(home_testing::page(lang, page) + "/topics.txt",
                              home_testing::crlf(names));
}

// 'Loops' on page 2 slot 4 and 'for loops' on page 5 slot 1 of the first language; every
// other slot keeps its placeholder name.
void loopTopics() {
  QStringList two = home_testing::repeated("click to create topic", 10);
  two[3] = "Loops";
  QStringList five = home_testing::repeated("click to create topic", 10);
  five[0] = "for loops";
  writeTopics("Lg_Delphi", 2, two);
  writeTopics("Lg_Delphi", 5, five);
}

void click(QWidget* w) {
  QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

// Counts the key presses that reach `w` (from a child that did not take them).
class KeyCounter : public QObject {
 public:
  explicit KeyCounter(QWidget* w) { w->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* ev) override {
    if (ev->type() == QEvent::KeyPress) ++count;
    return false;
  }
};

// Opens the search bar with its quick action and types `term` into an emptied box.
void typeTerm(Home& h, const QString& term) {
  if (!h.child("SearchPanel")->isVisible()) click(h.label("Option2Image"));
  h.child<QLineEdit>("SearchBox")->clear();
  QTest::keyClicks(h.child<QLineEdit>("SearchBox"), term);
}

void pressEnter(Home& h) {
  QTest::keyClick(h.child<QLineEdit>("SearchBox"), Qt::Key_Return);
}

// The slot shown green once the mark has been set after a search (0: none).
int greenSlot(Home& h) {
  if (!QTest::qWaitFor([&] { return !h.child<QTimer>("BHighLight")->isActive(); }, 2000)) return -1;
  int green = 0;
  for (int k = 1; k <= 10; ++k) {
    const QColor c = ui::textColor(h.topic(k));
    if (c == ui::rgb::Highlight) {
      if (green != 0) return -2;  // two marks
      green = k;
    } else if (c != ui::sys::InactiveBorder) {
      return -3;
    }
  }
  return green;
}

}  // namespace

class HomeSearchTest : public QObject {
  Q_OBJECT

 private slots:
  void searchBarControls();
  void stepsThroughMatchesAndWraps();
  void termWithoutMatchKeepsPageAndFlashesNothing();
  void restartsAtFirstMatch_data();
  void restartsAtFirstMatch();
  void placeholderNamesCount();
  void emptyBoxDoesNothing();
  void markClearsAfterTwoSeconds();
  void repeatAfterListsChangedStaysOnPage();
};

void HomeSearchTest::searchBarControls() {
  Home h;
  QWidget* bar = h.child("SearchPanel");
  auto* start = h.child<QPushButton>("StartSearch");
  auto* close = h.child<QPushButton>("CloseSearch");
  QLabel* frame = h.label("LabelBgText");
  auto* box = h.child<QLineEdit>("SearchBox");
  const QList<std::tuple<QWidget*, QRect, QString>> controls = {
      {start, QRect(312, 5, 30, 30), "Search"},
      {close, QRect(13, 5, 30, 30), "Close Search"},
      {frame, QRect(62, 9, 236, 27), ""},
      {box, QRect(63, 10, 234, 25), ""},
  };
  for (const auto& [w, rect, hint] : controls) {
    QCOMPARE(w->parentWidget(), bar);
    QCOMPARE(w->geometry(), rect);
    QCOMPARE(w->toolTip(), hint);
  }
  QVERIFY(!start->icon().isNull());
  QVERIFY(!close->icon().isNull());
  QVERIFY(frame->autoFillBackground());
  QCOMPARE(frame->palette().color(QPalette::Window), ui::rgb::SearchFrame);
  QCOMPARE(box->palette().color(QPalette::Base), ui::rgb::SearchBox);
  QCOMPARE(box->palette().color(QPalette::Text), ui::rgb::Grey);
  QCOMPARE(box->font().pixelSize(), 16);
  QCOMPARE(box->alignment(), Qt::AlignCenter);
  QVERIFY(!box->hasFrame());
  QCOMPARE(box->placeholderText(), QStringLiteral("Type here to search"));
  // The box lies over its frame.
  QCOMPARE(bar->childAt(150, 20), box);

  // Open, the bar covers the quick actions under it with the wallpaper: the strip above the
  // box, across the Search picture, shows the wallpaper alone.
  QTRY_VERIFY(!h.child<QTimer>("TIMERDELAYED")->isActive());
  const QRect strip(284, 581, 30, 8);
  const QImage wallpaper = h.label("BackGround")->grab(strip.translated(6, 0)).toImage();
  const auto differs = [&] {
    const QImage shown = h.form.grab(strip).toImage().convertToFormat(wallpaper.format());
    int most = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x) {
        const QColor a = shown.pixelColor(x, y), b = wallpaper.pixelColor(x, y);
        most = std::max({most, qAbs(a.red() - b.red()), qAbs(a.green() - b.green()),
                         qAbs(a.blue() - b.blue())});
      }
    return most;
  };
  QVERIFY(differs() > 64);  // closed: the picture shows
  bar->show();
  QVERIFY(differs() <= 8);
}

void HomeSearchTest::stepsThroughMatchesAndWraps() {
  Home h;
  loopTopics();
  QVERIFY(QTest::qWaitForWindowExposed(&h.form));
  struct Step {
    const char* term;  // letter case differs: still the same search
    bool button;       // the Search button instead of Enter
    int page;
    int slot;
  };
  const Step steps[] = {
      {"LOOP", false, 2, 4},  // first match
      {"loop", false, 5, 1},  // second
      {"Loop", true, 2, 4},   // after the last: wraps to the first
      {"LOOP", false, 5, 1},  // and goes on from there
  };
  for (const Step& s : steps) {
    typeTerm(h, s.term);
    if (s.button)
      click(h.child<QPushButton>("StartSearch"));
    else
      pressEnter(h);
    QCOMPARE(h.form.currentpage(), s.page);
    QCOMPARE(greenSlot(h), s.slot);
  }
  QCOMPARE(h.child<QLineEdit>("SearchBox")->text(), QStringLiteral("LOOP"));
  QVERIFY(h.child("SearchPanel")->isVisible());
  QVERIFY(h.platform.errors.isEmpty());
}

void HomeSearchTest::termWithoutMatchKeepsPageAndFlashesNothing() {
  Home h;
  loopTopics();
  typeTerm(h, "loops");
  pressEnter(h);
  QCOMPARE(h.form.currentpage(), 2);
  QCOMPARE(greenSlot(h), 4);
  h.form.SetPage(7);
  typeTerm(h, "while");
  pressEnter(h);
  QCOMPARE(h.form.currentpage(), 7);
  QCOMPARE(greenSlot(h), 0);
  QCOMPARE(h.form.searchState().prevsearchquery, QString());
  // Searching it again finds nothing again; the state stays cleared.
  pressEnter(h);
  QCOMPARE(h.form.currentpage(), 7);
  QCOMPARE(greenSlot(h), 0);
  QCOMPARE(h.form.searchState().searchcnt, 0);
}

void HomeSearchTest::restartsAtFirstMatch_data() {
  QTest::addColumn<QString>("between");
  QTest::addColumn<QString>("language");
  QTest::addColumn<int>("page");
  QTest::addColumn<int>("slot");
  // Without the restart the next search would show the second match of the language.
  QTest::newRow("switching language") << "LG_Delphi"
                                      << "Lg_Delphi" << 2 << 4;
  QTest::newRow("clicking the same language") << "LG_JS"
                                              << "Lg_JS" << 3 << 2;
  QTest::newRow("closing the search bar") << "CloseSearch"
                                          << "Lg_JS" << 3 << 2;
}

void HomeSearchTest::restartsAtFirstMatch() {
  QFETCH(QString, between);
  QFETCH(QString, language);
  QFETCH(int, page);
  QFETCH(int, slot);
  Home h;
  loopTopics();
  QStringList three = home_testing::repeated("x", 10);
  three[1] = "Loop labels";
  QStringList nine = home_testing::repeated("y", 10);
  nine[5] = "Event loop";
  writeTopics("Lg_JS", 3, three);
  writeTopics("Lg_JS", 9, nine);
  h.form.setlanguage("Lg_JS");
  typeTerm(h, "loop");
  pressEnter(h);
  QCOMPARE(h.form.currentpage(), 3);
  QCOMPARE(greenSlot(h), 2);

  click(h.form.findChild<QWidget*>(between));
  if (!h.child("SearchPanel")->isVisible()) click(h.label("Option2Image"));
  QCOMPARE(h.child<QLineEdit>("SearchBox")->text(),
           QStringLiteral("loop"));  // the box keeps its text
  pressEnter(h);
  QCOMPARE(h.form.currentLG(), language);
  QCOMPARE(h.form.currentpage(), page);
  QCOMPARE(greenSlot(h), slot);
}

void HomeSearchTest::placeholderNamesCount() {
  // Page 1 has two names, a placeholder and seven empty slots; the pages after it keep
  // their placeholders.
  Home h;
  writeTopics("Lg_Delphi", 1, {"Loops", "Arrays", "click to create topic"});
  typeTerm(h, "CLICK");
  const QList<std::pair<int, int>> expected = {{1, 3}, {2, 1}, {2, 2}};
  for (const auto& [page, slot] : expected) {
    pressEnter(h);
    QCOMPARE(h.form.currentpage(), page);
    QCOMPARE(greenSlot(h), slot);
  }
}

void HomeSearchTest::emptyBoxDoesNothing() {
  Home h;
  loopTopics();
  h.form.SetPage(6);
  QTRY_VERIFY(!h.child<QTimer>("BHighLight")->isActive());  // the start-up run is over
  typeTerm(h, "");
  KeyCounter reaching(h.child("SearchPanel"));
  pressEnter(h);
  QTest::keyClick(h.child<QLineEdit>("SearchBox"), Qt::Key_Enter);  // the keypad's Enter
  click(h.child<QPushButton>("StartSearch"));
  QCOMPARE(h.form.currentpage(), 6);
  QVERIFY(!h.child<QTimer>("BHighLight")->isActive());
  QCOMPARE(reaching.count, 0);
  // Enter is swallowed also when it runs a search.
  typeTerm(h, "loop");
  pressEnter(h);
  QCOMPARE(h.form.currentpage(), 2);
  QCOMPARE(reaching.count, 0);
}

void HomeSearchTest::markClearsAfterTwoSeconds() {
  Home h;
  loopTopics();
  typeTerm(h, "for");
  QElapsedTimer since;
  pressEnter(h);
  since.start();
  QCOMPARE(greenSlot(h), 1);
  QTRY_COMPARE_WITH_TIMEOUT(ui::textColor(h.topic(1)), ui::sys::InactiveBorder, 4000);
  QVERIFY2(since.elapsed() >= 1900, qPrintable(QString::number(since.elapsed())));
  QVERIFY(!h.child<QTimer>("HighLight2sec")->isActive());
  QCOMPARE(h.form.currentpage(), 5);  // the page stays
}

void HomeSearchTest::repeatAfterListsChangedStaysOnPage() {
  Home h;
  loopTopics();
  typeTerm(h, "loop");
  pressEnter(h);
  pressEnter(h);
  QCOMPARE(h.form.currentpage(), 5);
  writeTopics("Lg_Delphi", 2, {"Recursion"});
  writeTopics("Lg_Delphi", 5, {"Iteration"});
  pressEnter(h);
  QCOMPARE(h.form.currentpage(), 5);
  QCOMPARE(greenSlot(h), 0);
  QCOMPARE(h.topic(1)->text(), QStringLiteral("Iteration"));
  // With the name back, the next search starts at the first match.
  writeTopics("Lg_Delphi", 8, {"", "", "Loop unrolling"});
  pressEnter(h);
  QCOMPARE(h.form.currentpage(), 8);
  QCOMPARE(greenSlot(h), 3);
}

QUILL_TEST_MAIN(HomeSearchTest)
#include "tst_home_search.moc"
