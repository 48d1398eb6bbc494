// Opening topics from the home window: a new editor per click, placed beside the home
// window, in the home window's look, showing the clicked topic; and closing the home window
// while an editor holds unsaved text.
#include <QPlainTextEdit>
#include <QtTest>

#include "dialogs/Dialogs.h"
#include "editor/Editor_u.h"
#include "support/testmain.h"
#include "tst_home_support.h"
#include "ui/build.h"
#include "ui/look.h"

using home_testing::Home;

namespace {

QList<TEditorForm*> editors() {
  QList<TEditorForm*> out;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* e = qobject_cast<TEditorForm*>(w)) out << e;
  return out;
}

// Editors outlive the window that opened them; each test starts without any.
void closeEditors() {
  qDeleteAll(editors());
}

QPlainTextEdit* memoOf(TEditorForm* e) {
  return e->findChild<QPlainTextEdit*>("AllText");
}

void clickTopic(Home& h, int k) {
  QPushButton* b = h.topic(k);
  QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}

}  // namespace

class HomeEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { closeEditors(); }
  void eachClickOpensAnEditorBeside();
  void editorShowsTheClickedTopic_data();
  void editorShowsTheClickedTopic();
  void editorTakesTheHomeLook_data();
  void editorTakesTheHomeLook();
  void closingHomeAsksEditorsFirst();
};

void HomeEditorTest::eachClickOpensAnEditorBeside() {
  Home h;
  Dialogs dialogs;
  h.form.setDialogs(&dialogs);
  h.form.move(140, 90);
  clickTopic(h, 3);
  clickTopic(h, 3);
  const QList<TEditorForm*> opened = editors();
  QCOMPARE(opened.size(), 2);
  for (TEditorForm* e : opened) {
    QVERIFY(e->isVisible());
    QVERIFY(!e->parentWidget());
    QCOMPARE(e->pos(), QPoint(165, 115));
    QCOMPARE(e->windowTitle(), QStringLiteral("<!> Click here to edit topic name - Quillnote"));
  }
  QVERIFY(h.platform.errors.isEmpty());
}

void HomeEditorTest::editorShowsTheClickedTopic_data() {
  QTest::addColumn<QString>("language");
  QTest::addColumn<int>("page");
  QTest::addColumn<int>("slot");
  QTest::addColumn<QByteArray>("topics");  // empty: the page's list is deleted
  QTest::addColumn<QString>("title");
  QTest::newRow("placeholder name")
      << "Lg_Delphi" << 1 << 1 << QByteArray("click to create topic\r\n")
      << "<!> Click here to edit topic name";
  QTest::newRow("named, page 7 of Python")
      << "Lg_Python" << 7 << 4 << QByteArray("a\r\nb\r\nc\r\nGenerators\r\n") << "Generators";
  QTest::newRow("ampersand") << "Lg_C++" << 15 << 2 << QByteArray("x\r\nPointers & References\r\n")
                             << "Pointers & References";
  QTest::newRow("list deleted") << "Lg_Html" << 2 << 10 << QByteArray() << "click to create";
}

void HomeEditorTest::editorShowsTheClickedTopic() {
  QFETCH(QString, language);
  QFETCH(int, page);
  QFETCH(int, slot);
  QFETCH(QByteArray, topics);
  QFETCH(QString, title);
  Home h;
  Dialogs dialogs;
  h.form.setDialogs(&dialogs);
  const QString list = home_testing::page(language, page) + "/topics.txt";
  QFile::remove(list);
  if (!topics.isEmpty()) testing_support::writeBytes(list, topics);
  testing_support::writeBytes(
      home_testing::page(language, page) + QStringLiteral("/topic%1.txt").arg(slot),
      "\xEF\xBB\xBFline one\r\nline two");
  h.form.setlanguage(language);
  h.form.SetPage(page);
  clickTopic(h, slot);
  QCOMPARE(editors().size(), 1);
  TEditorForm* e = editors().first();
  QCOMPARE(e->findChild<QLabel*>("TitleInfo")->text(), title);
  QCOMPARE(e->topicAddress(), QStringLiteral("%1/%2,%3").arg(language).arg(page).arg(slot));
  QCOMPARE(memoOf(e)->toPlainText(), QStringLiteral("line one\nline two"));
}

void HomeEditorTest::editorTakesTheHomeLook_data() {
  QTest::addColumn<QColor>("footer");
  QTest::addColumn<QColor>("memo");
  QTest::newRow("designed footer colour: light") << ui::sys::WindowText << ui::rgb::MemoLight;
  QTest::newRow("black footer: light") << ui::rgb::Black << ui::rgb::MemoLight;
  QTest::newRow("white footer: dark") << ui::rgb::White << ui::rgb::MemoDark;
}

void HomeEditorTest::editorTakesTheHomeLook() {
  QFETCH(QColor, footer);
  QFETCH(QColor, memo);
  Home h;
  Dialogs dialogs;
  h.form.setDialogs(&dialogs);
  QTRY_VERIFY(!h.child<QTimer>("TIMERDELAYED")->isActive());  // the saved theme has been applied
  ui::setTextColor(h.label("copyright"), footer);
  clickTopic(h, 1);
  QCOMPARE(editors().size(), 1);
  QCOMPARE(memoOf(editors().first())->palette().color(QPalette::Base), memo);
}

void HomeEditorTest::closingHomeAsksEditorsFirst() {
  Home h;
  Dialogs dialogs;
  h.form.setDialogs(&dialogs);
  QVERIFY(QTest::qWaitForWindowExposed(&h.form));
  clickTopic(h, 2);  // clean: closes without a question
  const QList<TEditorForm*> clean = editors();
  clickTopic(h, 5);
  TEditorForm* dirty = nullptr;
  for (TEditorForm* e : editors())
    if (!clean.contains(e)) dirty = e;
  QVERIFY(dirty);
  memoOf(dirty)->setPlainText("unsaved words");
  QVERIFY(dirty->unsaved());

  h.platform.answers = {ui::Answer::Cancel};
  QVERIFY(!h.form.close());
  QCOMPARE(h.platform.questions, QStringList{"Do you wish to save changes?"});
  QVERIFY(h.form.isVisible());
  QVERIFY(dirty->isVisible());
  QCOMPARE(memoOf(dirty)->toPlainText(), QStringLiteral("unsaved words"));

  h.platform.answers = {ui::Answer::Yes};
  QVERIFY(h.form.close());
  QVERIFY(!h.form.isVisible());
  QCOMPARE(testing_support::readBytes(home_testing::page("Lg_Delphi", 1) + "/topic5.txt"),
           QByteArray("\xEF\xBB\xBFunsaved words"));
  QCOMPARE(h.platform.questions.size(), 2);
}

QUILL_TEST_MAIN(HomeEditorTest)
#include "tst_home_editor.moc"
