// The home window without a mouse: Tab and Shift+Tab in reading order, the arrow keys along
// the rows, Enter and Space on every kind of control, Escape leaving the page selector and
// the search bar, the function keys from any control, and the focus mark, drawn only once
// the keyboard is used.
#include <QtTest>
#include <functional>

#include "dialogs/About_u.h"
#include "dialogs/ChangePgDes_u.h"
#include "dialogs/Dialogs.h"
#include "dialogs/Error_u.h"
#include "editor/Editor_u.h"
#include "support/testmain.h"
#include "tst_home_support.h"
#include "ui/look.h"

using home_testing::Home;

namespace {

// The home window shown, active and with its dialogs.
struct ActiveHome : Home {
  Dialogs dialogs;
  ActiveHome() {
    form.setDialogs(&dialogs);
    form.activateWindow();
  }
};

// A key as the window system delivers it: to the control with the keyboard focus.
void press(Home& h, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(h.form.windowHandle(), key, modifiers);
}

QString focused(const Home& h) {
  QWidget* w = QApplication::focusWidget();
  if (w == &h.form) return QStringLiteral("(window)");
  return w ? w->objectName() : QStringLiteral("(none)");
}

QStringList names(const QString& pattern, int from, int to) {
  QStringList out;
  for (int n = from; n <= to; ++n) out << pattern.arg(n);
  return out;
}

// Languages left to right on screen, pages, the selector icon, the description, the topics.
QStringList pageControls() {
  return QStringList{"LG_Chash", "LG_JS",   "LG_Python", "LG_Gm2", "LG_Delphi",
                     "LG_Cplus", "LG_Java", "LG_CSS",    "LG_Html"} +
         names(QStringLiteral("pg_button_%1"), 1, 15) + QStringList{"pg_pages_view", "AboutPage"} +
         names(QStringLiteral("Topic_%1"), 1, 10);
}

QList<TEditorForm*> editors() {
  QList<TEditorForm*> out;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* e = qobject_cast<TEditorForm*>(w)) out << e;
  return out;
}

QWidget* focusMark(const Home& h) {
  return h.child("FocusMark");
}

// Whether the row of pixels just above `control` (where the mark's ring lies) shows the
// mark's colour along the control's width.
bool ringAbove(Home& h, const QWidget* control) {
  const QImage shot = h.form.grab().toImage();
  const QRect r(control->mapTo(&h.form, QPoint(0, 0)), control->size());
  for (int x = r.left() + 8; x < r.right() - 8; ++x) {
    if (shot.pixelColor(x, r.top() - 2) != ui::rgb::Highlight) return false;
  }
  return true;
}

}  // namespace

class HomeKeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { qDeleteAll(editors()); }
  void tabGoesInReadingOrder_data();
  void tabGoesInReadingOrder();
  void shiftTabGoesBack();
  void arrowsMoveAlongARow_data();
  void arrowsMoveAlongARow();
  void enterAndSpaceActivate();
  void escapeLeavesOverlays();
  void functionKeysWorkFromEveryControl_data();
  void functionKeysWorkFromEveryControl();
  void mouseUseLeavesTheFocusAlone();
  void focusMarkShowsOnlyForTheKeyboard();
};

void HomeKeyboardTest::tabGoesInReadingOrder_data() {
  QTest::addColumn<QString>("open");  // what is open: nothing, the search bar, the page selector
  QTest::addColumn<QStringList>("order");
  QTest::newRow("page") << ""
                        << pageControls() +
                               QStringList{"Option3Image", "Option1Image", "Option2Image"};
  QTest::newRow("search bar over the quick actions")
      << "search" << pageControls() + QStringList{"CloseSearch", "SearchBox", "StartSearch"};
  QTest::newRow("page selector over the page")
      << "selector" << names(QStringLiteral("jump_page_%1"), 1, 15);
}

void HomeKeyboardTest::tabGoesInReadingOrder() {
  QFETCH(QString, open);
  QFETCH(QStringList, order);
  ActiveHome h;
  QVERIFY(QTest::qWaitForWindowActive(&h.form));
  if (open == "search") h.child("SearchPanel")->show();
  if (open == "selector") h.child("PageSelect")->show();
  QCOMPARE(focused(h), QStringLiteral("(window)"));
  QStringList seen;
  for (int i = 0; i < order.size(); ++i) {
    press(h, Qt::Key_Tab);
    seen << focused(h);
  }
  QCOMPARE(seen, order);
  press(h, Qt::Key_Tab);  // round again
  QCOMPARE(focused(h), order.first());
}

void HomeKeyboardTest::shiftTabGoesBack() {
  ActiveHome h;
  QVERIFY(QTest::qWaitForWindowActive(&h.form));
  press(h, Qt::Key_Backtab);
  QCOMPARE(focused(h), QStringLiteral("Option2Image"));
  press(h, Qt::Key_Tab, Qt::ShiftModifier);
  QCOMPARE(focused(h), QStringLiteral("Option1Image"));
  press(h, Qt::Key_Tab);
  press(h, Qt::Key_Tab);
  press(h, Qt::Key_Backtab);
  QCOMPARE(focused(h), QStringLiteral("Option2Image"));
}

void HomeKeyboardTest::arrowsMoveAlongARow_data() {
  QTest::addColumn<QString>("from");
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("to");
  QTest::newRow("next language") << "LG_Chash" << int(Qt::Key_Right) << "LG_JS";
  QTest::newRow("first language stays") << "LG_Chash" << int(Qt::Key_Left) << "LG_Chash";
  QTest::newRow("last language stays") << "LG_Html" << int(Qt::Key_Right) << "LG_Html";
  QTest::newRow("previous language") << "LG_Cplus" << int(Qt::Key_Left) << "LG_Delphi";
  QTest::newRow("next page") << "pg_button_9" << int(Qt::Key_Right) << "pg_button_10";
  QTest::newRow("down also goes on") << "pg_button_1" << int(Qt::Key_Down) << "pg_button_2";
  QTest::newRow("last page stays") << "pg_button_15" << int(Qt::Key_Right) << "pg_button_15";
  QTest::newRow("next topic") << "Topic_3" << int(Qt::Key_Down) << "Topic_4";
  QTest::newRow("last topic stays") << "Topic_10" << int(Qt::Key_Down) << "Topic_10";
  QTest::newRow("quick actions left to right")
      << "Option3Image" << int(Qt::Key_Right) << "Option1Image";
}

void HomeKeyboardTest::arrowsMoveAlongARow() {
  QFETCH(QString, from);
  QFETCH(int, key);
  QFETCH(QString, to);
  ActiveHome h;
  QVERIFY(QTest::qWaitForWindowActive(&h.form));
  h.child(from)->setFocus(Qt::TabFocusReason);
  press(h, Qt::Key(key));
  QCOMPARE(focused(h), to);
  // Moving the focus selects nothing.
  QCOMPARE(h.form.currentLG(), QStringLiteral("Lg_Delphi"));
  QCOMPARE(h.form.currentpage(), 1);
}

void HomeKeyboardTest::enterAndSpaceActivate() {
  struct Case {
    const char* control;
    Qt::Key key;
    std::function<bool(ActiveHome&)> done;  // what the key did
  };
  const Case cases[] = {
      {"LG_Python", Qt::Key_Return,
       [](ActiveHome& h) { return h.form.currentLG() == QStringLiteral("Lg_Python"); }},
      {"LG_Java", Qt::Key_Space,
       [](ActiveHome& h) { return h.form.currentLG() == QStringLiteral("Lg_Java"); }},
      {"pg_button_4", Qt::Key_Enter, [](ActiveHome& h) { return h.form.currentpage() == 4; }},
      {"pg_button_12", Qt::Key_Space, [](ActiveHome& h) { return h.form.currentpage() == 12; }},
      {"Topic_3", Qt::Key_Return,
       [](ActiveHome&) { return editors().size() == 1 && editors().first()->isVisible(); }},
      {"Topic_4", Qt::Key_Space, [](ActiveHome&) { return editors().size() == 1; }},
      {"AboutPage", Qt::Key_Return, [](ActiveHome& h) { return h.dialogs.ChangePA->isVisible(); }},
      {"Option1Image", Qt::Key_Space,
       [](ActiveHome&) {
         return testing_support::readBytes("Data/options.dat") == QByteArray("dark\r\n");
       }},
      {"Option2Image", Qt::Key_Return,
       [](ActiveHome& h) { return h.child("SearchBox")->hasFocus(); }},
      // Opened from the keyboard, the page selector takes it to the page shown.
      {"pg_pages_view", Qt::Key_Return,
       [](ActiveHome& h) {
         return h.child("PageSelect")->isVisible() && h.child("jump_page_1")->hasFocus();
       }},
  };
  for (const Case& c : cases) {
    ActiveHome h;
    QVERIFY(QTest::qWaitForWindowActive(&h.form));
    QTRY_VERIFY(!h.child<QTimer>("TIMERDELAYED")->isActive());  // the saved theme applied
    h.child(c.control)->setFocus(Qt::TabFocusReason);
    press(h, c.key);
    QVERIFY2(c.done(h), c.control);
    QVERIFY2(h.platform.errors.isEmpty(), c.control);
    qDeleteAll(editors());
  }

  // A page chosen in the selector: the selector closes and the keyboard goes back to its
  // icon.
  ActiveHome h;
  QVERIFY(QTest::qWaitForWindowActive(&h.form));
  h.child("pg_pages_view")->setFocus(Qt::TabFocusReason);
  press(h, Qt::Key_Return);
  press(h, Qt::Key_Down);
  press(h, Qt::Key_Down);
  press(h, Qt::Key_Space);
  QCOMPARE(h.form.currentpage(), 3);
  QVERIFY(h.child("PageSelect")->isHidden());
  QCOMPARE(focused(h), QStringLiteral("pg_pages_view"));
}

void HomeKeyboardTest::escapeLeavesOverlays() {
  ActiveHome h;
  QVERIFY(QTest::qWaitForWindowActive(&h.form));
  // The page selector, from its icon: back to the icon, no page chosen.
  h.child("pg_pages_view")->setFocus(Qt::TabFocusReason);
  press(h, Qt::Key_Return);
  press(h, Qt::Key_Down);
  press(h, Qt::Key_Escape);
  QVERIFY(h.child("PageSelect")->isHidden());
  QCOMPARE(focused(h), QStringLiteral("pg_pages_view"));
  QCOMPARE(h.form.currentpage(), 1);

  // The search bar, from the search picture: the keyboard goes back there and the next
  // search starts afresh; the box keeps its text.
  h.child("Option2Image")->setFocus(Qt::TabFocusReason);
  press(h, Qt::Key_Space);
  QTest::keyClicks(h.child("SearchBox"), QStringLiteral("click"));
  press(h, Qt::Key_Return);
  QVERIFY(!h.form.searchState().prevsearchquery.isEmpty());
  press(h, Qt::Key_Escape);
  QVERIFY(h.child("SearchPanel")->isHidden());
  QCOMPARE(focused(h), QStringLiteral("Option2Image"));
  QVERIFY(h.form.searchState().prevsearchquery.isEmpty());
  QCOMPARE(h.child<QLineEdit>("SearchBox")->text(), QStringLiteral("click"));

  // Opened by F3 from the window itself, and from a button of the bar.
  h.form.setFocus();
  press(h, Qt::Key_F3);
  press(h, Qt::Key_Escape);
  QVERIFY(h.child("SearchPanel")->isHidden());
  QCOMPARE(focused(h), QStringLiteral("(window)"));
  press(h, Qt::Key_F3);
  h.child("StartSearch")->setFocus(Qt::TabFocusReason);
  press(h, Qt::Key_Escape);
  QVERIFY(h.child("SearchPanel")->isHidden());
  // Escape with nothing open changes nothing.
  press(h, Qt::Key_Escape);
  QVERIFY(h.form.isVisible());
}

void HomeKeyboardTest::functionKeysWorkFromEveryControl_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<bool>("works");
  QTest::newRow("window") << "" << true;
  QTest::newRow("language") << "LG_Delphi" << true;
  QTest::newRow("page") << "pg_button_7" << true;
  QTest::newRow("selector icon") << "pg_pages_view" << true;
  QTest::newRow("description") << "AboutPage" << true;
  QTest::newRow("topic") << "Topic_5" << true;
  QTest::newRow("quick action") << "Option3Image" << true;
  QTest::newRow("search bar button") << "CloseSearch" << true;
  QTest::newRow("search box, where they are typing") << "SearchBox" << false;
}

void HomeKeyboardTest::functionKeysWorkFromEveryControl() {
  QFETCH(QString, control);
  QFETCH(bool, works);
  ActiveHome h;
  QVERIFY(QTest::qWaitForWindowActive(&h.form));
  h.child("SearchPanel")->show();
  if (!control.isEmpty()) h.child(control)->setFocus(Qt::TabFocusReason);
  press(h, Qt::Key_F7);
  QCOMPARE(h.dialogs.ErrorFrame->isVisible(), works);
  press(h, Qt::Key_F1);
  QCOMPARE(h.dialogs.AboutApp->isVisible(), works);
}

void HomeKeyboardTest::mouseUseLeavesTheFocusAlone() {
  ActiveHome h;
  QVERIFY(QTest::qWaitForWindowActive(&h.form));
  for (const char* name : {"LG_Python", "pg_button_5", "Topic_2", "Option1Image"}) {
    QWidget* w = h.child(name);
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    QCOMPARE(focused(h), QStringLiteral("(window)"));
  }
  QVERIFY(focusMark(h)->isHidden());
}

void HomeKeyboardTest::focusMarkShowsOnlyForTheKeyboard() {
  ActiveHome h;
  QVERIFY(QTest::qWaitForWindowActive(&h.form));
  QWidget* topic = h.child("Topic_2");
  QTRY_VERIFY(!h.child<QTimer>("TIMERDELAYED")->isActive());  // the saved theme applied
  const QImage fresh = h.form.grab().toImage();
  QVERIFY(!ringAbove(h, topic));

  // Focus given without the keyboard draws nothing.
  topic->setFocus(Qt::OtherFocusReason);
  QCOMPARE(h.form.grab().toImage(), fresh);

  // Once a key moves the focus, the mark is drawn around the focused topic only.
  press(h, Qt::Key_Up);
  press(h, Qt::Key_Down);
  QVERIFY(topic->hasFocus());
  QVERIFY(ringAbove(h, topic));
  QVERIFY(!ringAbove(h, h.child("Topic_1")));
  QVERIFY(!ringAbove(h, h.child("Topic_3")));

  // A press of the mouse takes it away again; the window looks as before.
  QTest::mousePress(h.child("Title"), Qt::LeftButton);
  QTest::mouseRelease(h.child("Title"), Qt::LeftButton);
  QCOMPARE(h.form.grab().toImage(), fresh);
}

QUILL_TEST_MAIN(HomeKeyboardTest)
#include "tst_home_keyboard.moc"
