// Choosing a language with the circles and logos and a page with the dots and numbers: what
// is shown, the selection marks, and the language row held still while the page selector
// is open.
#include <QLineEdit>
#include <QtTest>

#include "support/testmain.h"
#include "tst_home_support.h"
#include "ui/build.h"
#include "ui/look.h"
#include "ui/pictures.h"

using home_testing::Home;

namespace {

const QStringList kCircles = {"LG_Chash", "LG_JS",   "LG_Python", "LG_Gm2", "LG_Delphi",
                              "LG_Cplus", "LG_Java", "LG_CSS",    "LG_Html"};

QImage shown(const QLabel* image) {
  return image->pixmap().toImage();
}

// The picture `name` as an image control of the size of `image` shows it.
QImage picture(const char* name, const QLabel* image) {
  return ui::picture(QString::fromLatin1(name), image->size()).toImage();
}

// Gives page `n` of `lang` the topic names "<lang> <n>.<k>".
void nameTopics(const QString& lang, int n) {
  QStringList names;
  for (int k = 1; k <= 10; ++k) names << QStringLiteral("%1 %2.%3").arg(lang).arg(n).arg(k);
  testing_support::writeBytes(home_testing::page(lang, n) + "/topics.txt",
                              home_testing::crlf(names));
}

void click(QWidget* w) {
  QVERIFY2(w, "no such control");
  QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

}  // namespace

class HomeSelectionTest : public QObject {
  Q_OBJECT

 private slots:
  void startupMarksFirstLanguageAndPage();
  void clickSelects_data();
  void clickSelects();
  void languageChangeKeepsPage();
  void openPageSelectorHoldsLanguage();
  void pageOutsideRangeMarksNoDot_data();
  void pageOutsideRangeMarksNoDot();

 private:
  // The marks show `key` and page `pg` selected and nothing else.
  static void checkMarks(const Home& h, const QString& circle, int pg);
};

void HomeSelectionTest::checkMarks(const Home& h, const QString& circle, int pg) {
  for (const QString& name : kCircles) {
    QLabel* c = h.label(name);
    QCOMPARE(shown(c), picture(name == circle ? "crc_1" : "crc_bl", c));
  }
  for (int n = 1; n <= 15; ++n) {
    QLabel* d = h.label(QStringLiteral("pg_button_%1").arg(n));
    QCOMPARE(shown(d), picture(n == pg ? "crc_1" : "crc_0", d));
    const QColor colour = ui::textColor(h.label(QStringLiteral("page_txt_%1").arg(n)));
    QCOMPARE(colour, n == pg ? ui::rgb::Black : ui::rgb::White);
  }
}

void HomeSelectionTest::startupMarksFirstLanguageAndPage() {
  Home h;
  checkMarks(h, "LG_Delphi", 1);
  // The logos show their pictures over the circles.
  QCOMPARE(shown(h.label("LG_Image_Python")), picture("logo_python", h.label("LG_Image_Python")));
  QCOMPARE(shown(h.label("LG_Image_Cplus")), picture("logo_cplus", h.label("LG_Image_Cplus")));
}

void HomeSelectionTest::clickSelects_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("language");
  QTest::addColumn<QString>("circle");
  QTest::addColumn<int>("page");
  const QList<std::array<const char*, 3>> languages = {
      {"Lg_C#", "LG_Chash", "LG_Image_Chash"},       {"Lg_JS", "LG_JS", "LG_Image_JS"},
      {"Lg_Python", "LG_Python", "LG_Image_Python"}, {"Lg_GM2", "LG_Gm2", "LG_Image_GM2"},
      {"Lg_Delphi", "LG_Delphi", "LG_Image_Delphi"}, {"Lg_C++", "LG_Cplus", "LG_Image_Cplus"},
      {"Lg_Java", "LG_Java", "LG_Image_Java"},       {"Lg_CSS", "LG_CSS", "LG_Image_CSS"},
      {"Lg_Html", "LG_Html", "LG_Image_Html"}};
  for (const auto& [key, circle, logo] : languages) {
    QTest::addRow("circle %s", circle) << circle << key << circle << 1;
    QTest::addRow("logo %s", logo) << logo << key << circle << 1;
  }
  QTest::newRow("dot 7") << "pg_button_7"
                         << "Lg_Delphi"
                         << "LG_Delphi" << 7;
  QTest::newRow("number 12") << "page_txt_12"
                             << "Lg_Delphi"
                             << "LG_Delphi" << 12;
  QTest::newRow("dot 15") << "pg_button_15"
                          << "Lg_Delphi"
                          << "LG_Delphi" << 15;
  QTest::newRow("selected dot again") << "pg_button_1"
                                      << "Lg_Delphi"
                                      << "LG_Delphi" << 1;
}

void HomeSelectionTest::clickSelects() {
  QFETCH(QString, control);
  QFETCH(QString, language);
  QFETCH(QString, circle);
  QFETCH(int, page);
  Home h;
  QVERIFY(QTest::qWaitForWindowExposed(&h.form));
  // A search in progress: it finds the first topic of the page shown.
  click(h.label("Option2Image"));
  QTest::keyClicks(h.child<QLineEdit>("SearchBox"), "click");
  QTest::keyClick(h.child<QLineEdit>("SearchBox"), Qt::Key_Return);
  QCOMPARE(h.form.currentpage(), 1);
  QCOMPARE(h.form.searchState().prevsearchquery, QStringLiteral("click"));
  nameTopics(language, page);
  testing_support::writeBytes(
      "Data/" + language + "/aboutpages.txt",
      home_testing::crlf({"one", "two", "three", "four", "five", "six", "seven", "eight", "nine",
                          "ten", "eleven", "twelve", "thirteen", "fourteen", "fifteen"}));
  click(h.form.findChild<QWidget*>(control));
  QCOMPARE(h.form.currentLG(), language);
  QCOMPARE(h.form.currentpage(), page);
  checkMarks(h, circle, page);
  // The page is read at once, not at the next reload.
  QCOMPARE(h.topic(1)->text(), QStringLiteral("%1 %2.1").arg(language).arg(page));
  QCOMPARE(h.topic(10)->text(), QStringLiteral("%1 %2.10").arg(language).arg(page));
  QCOMPARE(h.hints().at(2), QStringLiteral("three"));
  QCOMPARE(h.label("AboutPage")->text(), h.hints().at(page - 1));
  // A new language starts the next search afresh; a new page does not.
  QCOMPARE(h.form.searchState().prevsearchquery.isEmpty(), control.startsWith("LG_"));
  QVERIFY(h.platform.errors.isEmpty());
}

void HomeSelectionTest::languageChangeKeepsPage() {
  Home h;
  QVERIFY(QTest::qWaitForWindowExposed(&h.form));
  nameTopics("Lg_Java", 7);
  click(h.label("pg_button_7"));
  click(h.label("LG_Java"));
  QCOMPARE(h.form.currentLG(), QStringLiteral("Lg_Java"));
  QCOMPARE(h.form.currentpage(), 7);
  QCOMPARE(h.topic(4)->text(), QStringLiteral("Lg_Java 7.4"));
  checkMarks(h, "LG_Java", 7);
}

void HomeSelectionTest::openPageSelectorHoldsLanguage() {
  Home h;
  QVERIFY(QTest::qWaitForWindowExposed(&h.form));
  nameTopics("Lg_JS", 3);
  h.child("PageSelect")->show();
  click(h.label("LG_JS"));  // the circles stay above the open selector, and do nothing
  click(h.label("LG_Image_JS"));
  QCOMPARE(h.form.currentLG(), QStringLiteral("Lg_Delphi"));
  checkMarks(h, "LG_Delphi", 1);
  // Pages still change: the selector jumps through them (the dots are under it now).
  h.form.SetPage(3);
  QCOMPARE(h.form.currentpage(), 3);
  checkMarks(h, "LG_Delphi", 3);

  h.child("PageSelect")->hide();
  click(h.label("LG_JS"));
  QCOMPARE(h.form.currentLG(), QStringLiteral("Lg_JS"));
  QCOMPARE(h.topic(1)->text(), QStringLiteral("Lg_JS 3.1"));
  checkMarks(h, "LG_JS", 3);
}

void HomeSelectionTest::pageOutsideRangeMarksNoDot_data() {
  QTest::addColumn<int>("page");
  QTest::newRow("0") << 0;
  QTest::newRow("16") << 16;
  QTest::newRow("-1") << -1;
}

void HomeSelectionTest::pageOutsideRangeMarksNoDot() {
  QFETCH(int, page);
  Home h;
  h.form.SetPage(page);
  QCOMPARE(h.form.currentpage(), page);
  for (int n = 1; n <= 15; ++n) {
    const QLabel* d = h.label(QStringLiteral("pg_button_%1").arg(n));
    QCOMPARE(shown(d), picture("crc_0", d));
    QCOMPARE(ui::textColor(h.label(QStringLiteral("page_txt_%1").arg(n))), ui::rgb::White);
  }
  // No such page: its topics are not there and the description shown stays.
  QCOMPARE(h.captions(), home_testing::repeated("click to create", 10));
  QCOMPARE(h.label("AboutPage")->text(), QStringLiteral("click to edit page description"));
  QVERIFY(h.platform.errors.isEmpty());
}

QUILL_TEST_MAIN(HomeSelectionTest)
#include "tst_home_selection.moc"
