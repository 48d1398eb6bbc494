// Describing a page from the home window: the page description dialog opened by a click on
// the description, writing the page's line, and the home window showing it.
#include <QtTest>

#include "dialogs/ChangePgDes_u.h"
#include "dialogs/Dialogs.h"
#include "support/testmain.h"
#include "tst_home_support.h"

using home_testing::Home;

namespace {

struct DescribingHome : Home {
  Dialogs dialogs;
  DescribingHome() { form.setDialogs(&dialogs); }
  TChangePA* dialog() const { return dialogs.ChangePA.get(); }
  QLineEdit* field() const { return dialog()->findChild<QLineEdit*>("Edit1"); }
  void openDialog() {
    QLabel* about = label("AboutPage");
    QTest::mouseClick(about, Qt::LeftButton, {}, about->rect().center());
  }
  void enter(const QString& text) {
    field()->clear();
    QTest::keyClicks(field(), text);
    QTest::mouseClick(dialog()->findChild<QPushButton*>("Button1"), Qt::LeftButton);
  }
};

QStringList placeholders() {
  return home_testing::repeated("click to edit page description", 15);
}

}  // namespace

class HomePageDescriptionTest : public QObject {
  Q_OBJECT

 private slots:
  void describingPageShowsOnHome();
  void fieldStartsFromTheShownDescription_data();
  void fieldStartsFromTheShownDescription();
  void switchingWhileOpenDoesNotRetarget();
};

void HomePageDescriptionTest::describingPageShowsOnHome() {
  DescribingHome h;
  h.form.SetPage(4);
  h.openDialog();
  QVERIFY(h.dialog()->isVisible());
  QCOMPARE(h.dialog()->filetoedit(), QStringLiteral("./Data/Lg_Delphi/aboutpages.txt"));
  QCOMPARE(h.dialog()->linen(), 3);
  QCOMPARE(h.field()->text(), QString());  // the placeholder is not offered for editing
  h.enter("Generics");
  QVERIFY(h.dialog()->isHidden());
  QStringList expected = placeholders();
  expected[3] = "Generics";
  QCOMPARE(testing_support::readBytes("Data/Lg_Delphi/aboutpages.txt"),
           home_testing::crlf(expected));
  // The next half-second reload shows it.
  QVERIFY(h.waitTicks(1));
  QCOMPARE(h.label("AboutPage")->text(), QStringLiteral("Generics"));
  QCOMPARE(h.label("page_txt_4")->toolTip(), QStringLiteral("Generics"));
  QVERIFY(h.platform.errors.isEmpty());
}

void HomePageDescriptionTest::fieldStartsFromTheShownDescription_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<QString>("field");
  QTest::newRow("placeholder") << "click to edit page description"
                               << "";
  QTest::newRow("described") << "Closures & scope"
                             << "Closures & scope";
  QTest::newRow("placeholder in other case") << "Click to edit page description"
                                             << "Click to edit page description";
}

void HomePageDescriptionTest::fieldStartsFromTheShownDescription() {
  QFETCH(QString, line);
  QFETCH(QString, field);
  DescribingHome h;
  QStringList about = placeholders();
  about[1] = line;
  testing_support::writeBytes("Data/Lg_Java/aboutpages.txt", home_testing::crlf(about));
  h.form.setlanguage("Lg_Java");
  h.form.SetPage(2);
  h.openDialog();
  QCOMPARE(h.field()->text(), field);
  // Closed with its "x", the file stays and the next opening fills the field afresh.
  h.field()->setText("never written");
  QLabel* x = h.dialog()->findChild<QLabel*>("winbt_Close");
  QTest::mouseClick(x, Qt::LeftButton, {}, x->rect().center());
  QVERIFY(h.dialog()->isHidden());
  h.openDialog();
  QCOMPARE(h.field()->text(), field);
  QCOMPARE(h.label("page_txt_2")->toolTip(), line);
}

void HomePageDescriptionTest::switchingWhileOpenDoesNotRetarget() {
  DescribingHome h;
  h.form.SetPage(4);
  h.openDialog();
  h.form.SetPage(9);
  h.form.setlanguage("Lg_JS");
  h.enter("Generics");
  QStringList delphi = placeholders();
  delphi[3] = "Generics";
  QCOMPARE(testing_support::readBytes("Data/Lg_Delphi/aboutpages.txt"), home_testing::crlf(delphi));
  QCOMPARE(testing_support::readBytes("Data/Lg_JS/aboutpages.txt"),
           home_testing::crlf(placeholders()));
  QCOMPARE(h.label("AboutPage")->text(), QStringLiteral("click to edit page description"));
}

QUILL_TEST_MAIN(HomePageDescriptionTest)
#include "tst_home_pagedescription.moc"
