// The quick actions at the bottom of the home window and its function keys, and the
// wallpaper following the window's height.
#include <QtTest>

#include "dialogs/About_u.h"
#include "dialogs/Dialogs.h"
#include "dialogs/Error_u.h"
#include "support/testmain.h"
#include "tst_home_support.h"
#include "ui/build.h"
#include "ui/look.h"
#include "ui/pictures.h"

using home_testing::Home;

namespace {

void click(QWidget* w) {
  QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

// A key as the window system delivers it: to the widget that has the keyboard focus, or to
// the window itself when none has.
void press(Home& h, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(h.form.windowHandle(), key, modifiers);
}

// The home window shown, active and with its dialogs.
struct ActiveHome : Home {
  Dialogs dialogs;
  ActiveHome() {
    form.setDialogs(&dialogs);
    form.activateWindow();
  }
};

int visibleAboutWindows() {
  int count = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<TAboutApp*>(w) && w->isVisible()) ++count;
  return count;
}

}  // namespace

class HomeKeysTest : public QObject {
  Q_OBJECT

 private slots:
  void quickActionControls();
  void f1ShowsTheOneAboutWindow();
  void f3TogglesSearchBarAndSearchPictureOnlyShows();
  void keysGoToTheSearchBoxWhileItHasFocus();
  void f7ShowsTheNotice();
  void exitClosesTheProgram();
  void tallerWindowStretchesWallpaper();
};

void HomeKeysTest::quickActionControls() {
  Home h;
  QWidget* panel = h.child("QuickActionsMenu");
  QCOMPARE(panel->geometry(), QRect(48, 576, 422, 60));
  QCOMPARE(panel->font().pixelSize(), 8);
  QVERIFY(panel->font().bold());
  QLabel* exitText = h.label("Option3Text");
  QLabel* themeText = h.label("Option1Text");
  QLabel* searchText = h.label("Option2Text");
  struct Action {
    QLabel* image;
    QLabel* text;
    int left;
    const char* caption;
    const char* hint;
    const char* picture;
  };
  const Action actions[] = {
      {h.label("Option3Image"), exitText, 164, "Exit", "Exit Program (ALT+F4)", "exit_icon"},
      {h.label("Option1Image"), themeText, 200, "Theme", "Switch Themes (F4)", "theme_dark"},
      {h.label("Option2Image"), searchText, 236, "Search", "Search Topics (F3)", "search_icon"},
  };
  for (const Action& a : actions) {
    QCOMPARE(a.image->parentWidget(), panel);
    QCOMPARE(a.image->geometry(), QRect(a.left, 4, 30, 30));
    QCOMPARE(a.image->toolTip(), QString::fromLatin1(a.hint));
    QCOMPARE(a.image->pixmap().toImage(), ui::picture(a.picture, a.image->size()).toImage());
    QCOMPARE(a.text->text(), QString::fromLatin1(a.caption));
    QCOMPARE(a.text->font(), panel->font());
    // Centred under its picture, wide enough for its caption.
    QCOMPARE(a.text->y(), 34);
    QCOMPARE(a.text->height(), 13);
    QVERIFY(qAbs(a.text->geometry().center().x() - a.image->geometry().center().x()) <= 1);
    QVERIFY(a.text->width() >= a.text->sizeHint().width());
  }
  // Left to right: Exit, Theme, Search, the captions not overlapping.
  QVERIFY(exitText->geometry().right() < themeText->geometry().left());
  QVERIFY(themeText->geometry().right() < searchText->geometry().left());
}

void HomeKeysTest::f1ShowsTheOneAboutWindow() {
  ActiveHome h;
  press(h, Qt::Key_F1);
  press(h, Qt::Key_F1);
  QVERIFY(h.dialogs.AboutApp->isVisible());
  QCOMPARE(visibleAboutWindows(), 1);
  click(h.dialogs.AboutApp->findChild<QPushButton*>("Button1"));
  QCOMPARE(visibleAboutWindows(), 0);
}

void HomeKeysTest::f3TogglesSearchBarAndSearchPictureOnlyShows() {
  ActiveHome h;
  QVERIFY(QTest::qWaitForWindowActive(&h.form));
  QWidget* bar = h.child("SearchPanel");
  QWidget* box = h.child("SearchBox");
  // F3 opens the bar with the cursor in the box, where a second F3 is the box's.
  press(h, Qt::Key_F3);
  QVERIFY(bar->isVisible());
  QVERIFY(box->hasFocus());
  press(h, Qt::Key_F3);
  QVERIFY(bar->isVisible());
  // Escape closes it and gives the keys back to the window; F3 toggles while the box does
  // not have them.
  press(h, Qt::Key_Escape);
  QVERIFY(bar->isHidden());
  QVERIFY(h.form.hasFocus());
  press(h, Qt::Key_F3, Qt::ShiftModifier);  // modifiers are not looked at
  QVERIFY(bar->isVisible());
  h.form.setFocus();
  press(h, Qt::Key_F3);
  QVERIFY(bar->isHidden());
  click(h.label("Option2Image"));
  QVERIFY(bar->isVisible());
  QVERIFY(box->hasFocus());
  click(h.label("Option2Image"));
  QVERIFY(bar->isVisible());
}

void HomeKeysTest::keysGoToTheSearchBoxWhileItHasFocus() {
  ActiveHome h;
  QVERIFY(QTest::qWaitForWindowActive(&h.form));
  click(h.label("Option2Image"));
  h.child<QLineEdit>("SearchBox")->setFocus();
  QVERIFY(h.child<QLineEdit>("SearchBox")->hasFocus());
  press(h, Qt::Key_L);
  press(h, Qt::Key_F3);
  press(h, Qt::Key_F4);
  QVERIFY(h.child("SearchPanel")->isVisible());
  QCOMPARE(h.child<QLineEdit>("SearchBox")->text(), QStringLiteral("l"));
  QTRY_VERIFY(!h.child<QTimer>("TIMERDELAYED")->isActive());
  QCOMPARE(testing_support::readBytes("Data/options.dat"), QByteArray("light\r\n"));

  // Once the bar is closed the keys reach the window again.
  click(h.child<QPushButton>("CloseSearch"));
  QVERIFY(h.child("SearchPanel")->isHidden());
  press(h, Qt::Key_F4);
  QCOMPARE(testing_support::readBytes("Data/options.dat"), QByteArray("dark\r\n"));
  press(h, Qt::Key_F3);
  QVERIFY(h.child("SearchPanel")->isVisible());
}

void HomeKeysTest::f7ShowsTheNotice() {
  ActiveHome h;
  press(h, Qt::Key_F7);
  TErrorFrame* notice = h.dialogs.ErrorFrame.get();
  const auto line = [&](const char* name) { return notice->findChild<QLabel*>(name)->text(); };
  QVERIFY(notice->isVisible());
  QCOMPARE(line("errortext"), QStringLiteral("A Error has occured. Acess Denied"));
  QCOMPARE(line("errortext2"), QStringLiteral("Error Code: Not-a-Bug, A-Feature"));
  QCOMPARE(notice->findChild<QPushButton*>("e_Button")->text(), QStringLiteral("Sure!"));
  for (const char* icon : {"image_error", "image_info", "image_warning", "image_sucess"})
    QVERIFY(notice->findChild<QLabel*>(icon)->isHidden());
}

void HomeKeysTest::exitClosesTheProgram() {
  ActiveHome h;
  QVERIFY(QTest::qWaitForWindowExposed(&h.form));
  QTimer::singleShot(0, &h.form, [&] { click(h.label("Option3Image")); });
  QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // not ended: fail, not hang
  QCOMPARE(QCoreApplication::exec(), 0);
  QVERIFY(!h.form.isVisible());
}

void HomeKeysTest::tallerWindowStretchesWallpaper() {
  Home h;
  QWidget* strip = h.form.findChild<QWidget*>("borderB");
  const auto mouse = [&](QEvent::Type type, const QPoint& global) {
    const QPointF local = strip->mapFromGlobal(QPointF(global));
    QMouseEvent ev(type, local, local, QPointF(global), Qt::LeftButton,
                   type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                   Qt::NoModifier);
    QApplication::sendEvent(strip, &ev);
  };
  const QPoint start = strip->mapToGlobal(QPoint(300, 1));
  mouse(QEvent::MouseButtonPress, start);
  mouse(QEvent::MouseMove, start + QPoint(0, 120));
  mouse(QEvent::MouseButtonRelease, start + QPoint(0, 120));
  QVERIFY(h.form.height() > 700);
  QCOMPARE(h.label("BackGround")->geometry(), QRect(-6, 0, 556, h.form.height()));
}

QUILL_TEST_MAIN(HomeKeysTest)
#include "tst_home_keys.moc"
