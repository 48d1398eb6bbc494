// The editor window: its designed controls, the two looks, what opening a topic sets,
// the bottom strip making the memo taller, and renaming from the title.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include "dialogs/ChangeTopic_u.h"
#include "support/testmain.h"
#include "tst_editor_fixture.h"
#include "ui/build.h"
#include "ui/look.h"

using namespace editor_tests;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {
QByteArray tenTopics() {
  QByteArray out;
  for (int i = 1; i <= 10; ++i) out += "topic " + QByteArray::number(i) + "\r\n";
  return out;
}
}  // namespace

class EditorWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void designedControls_data();
  void designedControls();
  void openingSetsTitleAndIdentity_data();
  void openingSetsTitleAndIdentity();
  void lightAndDarkLooks();
  void bottomStripMakesMemoTaller();
  void renamedNameGoesToOpeningWindow();
  void placeholderTitleOpensEmptyName();
  void damagedAddressShowsError302_data();
  void damagedAddressShowsError302();
};

void EditorWindowTest::designedControls_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QRect>("rect");
  QTest::addColumn<QString>("hint");
  QTest::newRow("BackGround") << "BackGround" << QRect(0, 0, 556, 645) << "";
  QTest::newRow("BackGround2") << "BackGround2" << QRect(0, 17, 558, 256) << "";
  QTest::newRow("border") << "border" << QRect(-10, 0, 560, 25) << "";
  QTest::newRow("TitleInfo") << "TitleInfo" << QRect(8, 31, 537, 23) << "Click to edit";
  QTest::newRow("TXTText") << "TXTText" << QRect(8, 150, 537, 23) << "";
  QTest::newRow("SaveBt") << "SaveBt" << QRect(192, 113, 71, 22) << "Save Changes (Ctrl+S)";
  QTest::newRow("storelocation") << "storelocation" << QRect(416, 144, 0, 13) << "";
  QTest::newRow("saved_icon") << "saved_icon" << QRect(250, 167, 13, 16) << "";
  QTest::newRow("lgpage") << "lgpage" << QRect(424, 152, 0, 13) << "";
  QTest::newRow("BtRestore") << "BtRestore" << QRect(265, 113, 72, 22) << "Restore to last save";
  QTest::newRow("SearchBt") << "SearchBt" << QRect(495, 118, 21, 21)
                            << "Click to search. Click again to search next";
  QTest::newRow("borderB") << "borderB" << QRect(-7, 642, 560, 3) << "";
  QTest::newRow("AllText") << "AllText" << QRect(3, 189, 544, 453) << "";
  QTest::newRow("TrackBar1") << "TrackBar1" << QRect(372, 76, 150, 36) << "";
  QTest::newRow("FontBox") << "FontBox" << QRect(192, 76, 145, 21) << "";
  QTest::newRow("AutoSave") << "AutoSave" << QRect(34, 78, 119, 17)
                            << "Saves changes once every minute";
  QTest::newRow("ReadOnly") << "ReadOnly" << QRect(34, 113, 119, 17) << "Disables editing document";
  QTest::newRow("RestoreMemo") << "RestoreMemo" << QRect(600, 94, 185, 89) << "";
  QTest::newRow("STXT") << "STXT" << QRect(380, 118, 109, 21) << "";
}

void EditorWindowTest::designedControls() {
  QFETCH(QString, control);
  QFETCH(QRect, rect);
  QFETCH(QString, hint);
  Fixture f;
  TEditorForm* e = f.open();
  QCOMPARE(e->size(), QSize(550, 645));
  QVERIFY(e->windowFlags().testFlag(Qt::FramelessWindowHint));
  QWidget* w = e->findChild<QWidget*>(control);
  QVERIFY2(w, qPrintable(control));
  QCOMPARE(w->geometry(), rect);
  QCOMPARE(w->toolTip(), hint);

  QCOMPARE(label(e, "Application_Title")->text(), QStringLiteral("Quillnote - Editor"));
  QCOMPARE(label(e, "TXTText")->text(), QStringLiteral("Text"));
  QCOMPARE(e->findChild<QLineEdit*>("STXT")->placeholderText(),
           QStringLiteral("Type Here to Search"));
  QCOMPARE(e->findChild<QSlider*>("TrackBar1")->minimum(), 5);
  QCOMPARE(e->findChild<QSlider*>("TrackBar1")->maximum(), 30);
  QVERIFY(!label(e, "saved_text")->isVisible());
  QVERIFY(!label(e, "FindText")->isVisible());
  QVERIFY(!button(e, "BtRestore")->isEnabled());
  QVERIFY(!e->findChild<QWidget*>("RestoreMemo")->isVisible());
  for (const char* name : {"SaveAutoT", "IconHide", "Check"}) {
    QVERIFY2(!e->findChild<QTimer*>(name)->isActive(), name);
  }
  // Tab goes from the memo through the settings to the find box.
  QWidget* next = memo(e)->nextInFocusChain();
  QStringList order;
  for (; next != memo(e) && order.size() < 40; next = next->nextInFocusChain()) {
    if (next->focusPolicy() & Qt::TabFocus && next->isVisible()) order << next->objectName();
  }
  order.removeAll(QString());  // parts inside the font box
  QCOMPARE(order, (QStringList{"TrackBar1", "FontBox", "ReadOnly", "AutoSave", "STXT"}));
}

void EditorWindowTest::openingSetsTitleAndIdentity_data() {
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("title");
  QTest::newRow("topic without a name") << "click to create topic"
                                        << "<!> Click here to edit topic name";
  QTest::newRow("list file missing") << "click to create"
                                     << "click to create";
  QTest::newRow("named topic") << "Pointers & arrays"
                               << "Pointers & arrays";
}

void EditorWindowTest::openingSetsTitleAndIdentity() {
  QFETCH(QString, caption);
  QFETCH(QString, title);
  Fixture f;
  TEditorForm* e = f.open(7, caption);
  QCOMPARE(label(e, "TitleInfo")->text(), title);
  QCOMPARE(label(e, "storelocation")->text(), kTopic7);
  QCOMPARE(label(e, "lgpage")->text(), QStringLiteral("Lg_Delphi/3,7"));
  // The task bar names the topic; the title strip keeps its caption.
  QCOMPARE(e->windowTitle(), title + QStringLiteral(" - Quillnote"));
  QCOMPARE(label(e, "Application_Title")->text(), QStringLiteral("Quillnote - Editor"));
}

void EditorWindowTest::lightAndDarkLooks() {
  Fixture f;
  TEditorForm* dark = f.open();
  QCOMPARE(memo(dark)->palette().color(QPalette::Base), ui::rgb::MemoDark);
  QCOMPARE(memo(dark)->palette().color(QPalette::Text), ui::sys::Window);
  const QImage darkUpper = label(dark, "BackGround2")->pixmap().toImage();
  QVERIFY(!darkUpper.isNull());

  TEditorForm* light = f.open(7, QStringLiteral("Pointers"), true);
  QCOMPARE(memo(light)->palette().color(QPalette::Base), ui::rgb::MemoLight);
  QCOMPARE(memo(light)->palette().color(QPalette::Text), ui::rgb::Black);
  const QImage lightUpper = label(light, "BackGround2")->pixmap().toImage();
  QVERIFY(!lightUpper.isNull());
  QVERIFY(lightUpper != darkUpper);
  // The lower wallpaper stays dark in both looks.
  QCOMPARE(label(light, "BackGround")->pixmap().toImage(),
           label(dark, "BackGround")->pixmap().toImage());
}

void EditorWindowTest::bottomStripMakesMemoTaller() {
  Fixture f;
  TEditorForm* e = f.open();
  QLabel* strip = label(e, "borderB");
  QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(100, 1));
  QTest::mouseMove(strip, QPoint(100, 101));
  QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(100, 101));
  QCOMPARE(e->height(), 642 + 100);
  QCOMPARE(memo(e)->height(), e->height() - 192);
  // Never shorter than 250.
  strip = label(e, "borderB");
  QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(100, 1));
  QTest::mouseMove(strip, QPoint(100, -900));
  QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(100, -900));
  QCOMPARE(e->height(), 250);
  QCOMPARE(memo(e)->height(), 250 - 192);
}

void EditorWindowTest::renamedNameGoesToOpeningWindow() {
  Fixture f;
  writeBytes(QStringLiteral("./Data/Lg_Delphi/3/topics.txt"), tenTopics());
  TTopicEdit* dialog = f.dialogs.TopicEdit.get();
  TEditorForm* other = f.open(8, QStringLiteral("topic 8"));
  TEditorForm* opener = f.open(7, QStringLiteral("topic 7"));

  // Both titles clicked; the dialog serves the last one.
  QTest::mouseClick(label(other, "TitleInfo"), Qt::LeftButton);
  QCOMPARE(dialog->linen(), 8);
  QTest::mouseClick(label(opener, "TitleInfo"), Qt::LeftButton);
  QVERIFY(dialog->isVisible());
  QCOMPARE(dialog->findChild<QLineEdit*>("name")->text(), QStringLiteral("topic 7"));
  QCOMPARE(dialog->lgandpage(), QStringLiteral("Lg_Delphi/3"));
  QCOMPARE(dialog->linen(), 7);
  QVERIFY(opener->findChild<QTimer*>("Check")->isActive());

  // A pasted line break is stored as a space, and shown as one.
  dialog->findChild<QLineEdit*>("name")->setText(QStringLiteral("Generics\nand more"));
  QTest::mouseClick(dialog->findChild<QPushButton*>("Button1"), Qt::LeftButton);
  QVERIFY(readBytes(QStringLiteral("./Data/Lg_Delphi/3/topics.txt"))
              .contains("\r\nGenerics and more\r\n"));
  QTRY_COMPARE(label(opener, "TitleInfo")->text(), QStringLiteral("Generics and more"));
  QCOMPARE(opener->windowTitle(), QStringLiteral("Generics and more - Quillnote"));
  QCOMPARE(memo(opener)->accessibleName(), QStringLiteral("Generics and more"));
  QVERIFY(!dialog->done());
  QVERIFY(!opener->findChild<QTimer*>("Check")->isActive());
  QTRY_VERIFY(!other->findChild<QTimer*>("Check")->isActive());
  QCOMPARE(label(other, "TitleInfo")->text(), QStringLiteral("topic 8"));
}

void EditorWindowTest::placeholderTitleOpensEmptyName() {
  Fixture f;
  TTopicEdit* dialog = f.dialogs.TopicEdit.get();
  dialog->findChild<QLineEdit*>("name")->setText(QStringLiteral("left over"));
  TEditorForm* e = f.open(7, QStringLiteral("click to create topic"));
  QTest::mouseClick(label(e, "TitleInfo"), Qt::LeftButton);
  QVERIFY(dialog->isVisible());
  QCOMPARE(dialog->findChild<QLineEdit*>("name")->text(), QString());
}

void EditorWindowTest::damagedAddressShowsError302_data() {
  QTest::addColumn<QString>("address");
  QTest::newRow("letter after the comma") << "Lg_Delphi/3,x";
  QTest::newRow("nothing after the comma") << "Lg_Delphi/3,";
  QTest::newRow("no comma") << "Lg_Delphi/3";
}

void EditorWindowTest::damagedAddressShowsError302() {
  QFETCH(QString, address);
  Fixture f;
  TEditorForm* e = f.open();
  label(e, "lgpage")->setText(address);
  QTest::mouseClick(label(e, "TitleInfo"), Qt::LeftButton);
  QCOMPARE(f.platform.messages, QStringList{QStringLiteral("Error. (302)")});
  QVERIFY(!f.dialogs.TopicEdit->isVisible());
  QVERIFY(!e->findChild<QTimer*>("Check")->isActive());
}

QUILL_TEST_MAIN(EditorWindowTest)
#include "tst_editor_window.moc"
