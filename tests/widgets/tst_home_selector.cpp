// The page selector overlay: its fifteen jump buttons captioned from the page descriptions,
// opening and closing it, jumping to a page, and the language row inert while it is open.
#include <QtTest>

#include "support/testmain.h"
#include "tst_home_support.h"
#include "ui/look.h"
#include "ui/pictures.h"

using home_testing::Home;

namespace {

void click(QWidget* w, QPoint at = QPoint(-1, -1)) {
  if (at == QPoint(-1, -1)) at = w->rect().center();
  QTest::mouseClick(w, Qt::LeftButton, {}, at);
}

// The jump buttons' captions as the user reads them.
QStringList captions(Home& h) {
  QStringList out;
  for (int n = 1; n <= 15; ++n)
    out << h.child<QPushButton>(QStringLiteral("jump_page_%1").arg(n))->text().replace("&&", "&");
  return out;
}

QStringList nothingHere() {
  QStringList out;
  for (int n = 1; n <= 15; ++n) out << QStringLiteral("%1. Nothing Here").arg(n);
  return out;
}

}  // namespace

class HomeSelectorTest : public QObject {
  Q_OBJECT

 private slots:
  void overlayControls();
  void captionsComeFromDescriptionsWhenOpened();
  void iconToggles();
  void jumpShowsPageAndCloses();
  void backdropCloses();
  void languagesInertWhileOpen();
};

void HomeSelectorTest::overlayControls() {
  Home h;
  QWidget* selector = h.child("PageSelect");
  QLabel* fadepage = h.label("fadepage");
  QLabel* title = h.label("Label1");
  QCOMPARE(fadepage->parentWidget(), selector);
  QCOMPARE(fadepage->geometry(), QRect(0, 0, 433, 449));
  // The backdrop is decoded when the selector is first opened, and shown from then on.
  QVERIFY(fadepage->pixmap().isNull());
  click(h.label("pg_pages_view"));
  QVERIFY(selector->isVisible());
  QCOMPARE(fadepage->pixmap().toImage(), ui::picture("selector_card").toImage());
  for (int n = 1; n <= 15; ++n) {
    QPushButton* b = h.child<QPushButton>(QStringLiteral("jump_page_%1").arg(n));
    QVERIFY(b);
    QCOMPARE(b->parentWidget(), selector);
    QCOMPARE(b->geometry(), QRect(19, 53 + 25 * (n - 1), 390, 22));
    QCOMPARE(b->property("tag").toInt(), n);
    QVERIFY(b->isFlat());
  }
  QCOMPARE(title->parentWidget(), selector);
  QCOMPARE(title->geometry().topLeft(), QPoint(136, 14));
  QCOMPARE(title->width(), 178);
  QVERIFY(title->height() >= 33);
  QVERIFY(title->height() >= title->sizeHint().height());  // nothing cut off
  QCOMPARE(title->text(), QStringLiteral("Page Selector"));
  QCOMPARE(title->font().pixelSize(), 27);
  QCOMPARE(title->palette().color(QPalette::WindowText), ui::sys::WindowText);
  // The buttons lie over the backdrop.
  QCOMPARE(selector->childAt(200, 64), h.child<QPushButton>("jump_page_1"));
}

void HomeSelectorTest::captionsComeFromDescriptionsWhenOpened() {
  Home h;
  click(h.label("pg_pages_view"));
  QVERIFY(h.child("PageSelect")->isVisible());
  QCOMPARE(captions(h), nothingHere());

  QStringList about = home_testing::repeated("click to edit page description", 15);
  about[3] = "Generics";
  about[5] = "";
  about[6] = "R&D notes";
  testing_support::writeBytes("Data/Lg_Delphi/aboutpages.txt", home_testing::crlf(about));
  QTRY_COMPARE(h.label("page_txt_4")->toolTip(), QStringLiteral("Generics"));
  // The open overlay keeps what it was opened with.
  QCOMPARE(captions(h), nothingHere());

  click(h.label("pg_pages_view"));  // closes
  click(h.label("pg_pages_view"));  // opens with the new descriptions
  QVERIFY(h.child("PageSelect")->isVisible());
  QStringList expected = nothingHere();
  expected[3] = "4. Generics";
  expected[5] = "6. ";
  expected[6] = "7. R&D notes";
  QCOMPARE(captions(h), expected);
}

void HomeSelectorTest::iconToggles() {
  Home h;
  QVERIFY(QTest::qWaitForWindowExposed(&h.form));
  click(h.label("pg_pages_view"));
  QVERIFY(h.child("PageSelect")->isVisible());
  // The icon's right part stays clear of the open overlay, so it can close it again.
  const QPoint iconCentre = h.label("pg_pages_view")->geometry().center();
  QCOMPARE(h.form.childAt(iconCentre), h.label("pg_pages_view"));
  click(h.label("pg_pages_view"));
  QVERIFY(h.child("PageSelect")->isHidden());
  QCOMPARE(h.form.currentpage(), 1);
}

void HomeSelectorTest::jumpShowsPageAndCloses() {
  Home h;
  testing_support::writeBytes(home_testing::page("Lg_Delphi", 9) + "/topics.txt", "Streams\r\n");
  click(h.label("pg_pages_view"));
  click(h.child<QPushButton>("jump_page_9"));
  QVERIFY(h.child("PageSelect")->isHidden());
  QCOMPARE(h.form.currentpage(), 9);
  QCOMPARE(h.topic(1)->text(), QStringLiteral("Streams"));
  QCOMPARE(h.label("page_txt_9")->palette().color(QPalette::WindowText), ui::rgb::Black);
  QCOMPARE(h.label("page_txt_1")->palette().color(QPalette::WindowText), ui::rgb::White);
}

void HomeSelectorTest::backdropCloses() {
  Home h;
  click(h.label("pg_pages_view"));
  click(h.label("fadepage"), QPoint(8, 440));  // beside and below the buttons
  QVERIFY(h.child("PageSelect")->isHidden());
  QCOMPARE(h.form.currentpage(), 1);
}

void HomeSelectorTest::languagesInertWhileOpen() {
  Home h;
  click(h.label("pg_pages_view"));
  click(h.label("LG_Python"));
  QCOMPARE(h.form.currentLG(), QStringLiteral("Lg_Delphi"));
  click(h.label("fadepage"), QPoint(8, 440));
  click(h.label("LG_Python"));
  QCOMPARE(h.form.currentLG(), QStringLiteral("Lg_Python"));
}

QUILL_TEST_MAIN(HomeSelectorTest)
#include "tst_home_selector.moc"
