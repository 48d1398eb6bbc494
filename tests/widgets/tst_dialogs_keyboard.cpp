// The dialogs without a mouse and on the desktop: Escape closes each of them without writing,
// Enter keeps its meaning, the two that ask for a line open with the keyboard in their edit
// box, and each belongs to the window it was opened for.
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <QtTest>
#include <functional>

#include "dialogs/About_u.h"
#include "dialogs/ChangePgDes_u.h"
#include "dialogs/ChangeTopic_u.h"
#include "dialogs/Dialogs.h"
#include "dialogs/Error_u.h"
#include "support/fakeplatform.h"
#include "support/testmain.h"
#include "support/workdir.h"

namespace {

using testing_support::readBytes;

const QString kTopics = QStringLiteral("./Data/Lg_Delphi/3/topics.txt");
const QString kAbout = QStringLiteral("./Data/Lg_Delphi/aboutpages.txt");
const QByteArray kTopicsBytes = QByteArray("topic\r\n").repeated(10);
const QByteArray kAboutBytes = QByteArray("page\r\n").repeated(15);

// The dialog set, the files the two writing dialogs write, and a window opening them.
struct Fixture {
  testing_support::WorkDir dir;
  testing_support::FakePlatform platform;
  Dialogs dialogs;
  QWidget opener;

  Fixture() {
    QDir().mkpath(QStringLiteral("./Data/Lg_Delphi/3"));
    testing_support::writeBytes(kTopics, kTopicsBytes);
    testing_support::writeBytes(kAbout, kAboutBytes);
    opener.resize(200, 200);
    opener.show();
  }

  // Opens the dialog `which` for `from` and returns it.
  QWidget* open(const QString& which, QWidget* from) {
    if (which == "page description") {
      dialogs.ChangePA->openFor(kAbout, 3, QStringLiteral("old"), from);
      return dialogs.ChangePA.get();
    }
    if (which == "rename") {
      dialogs.TopicEdit->openFor(QStringLiteral("Lg_Delphi/3"), 7, QStringLiteral("old"), from);
      return dialogs.TopicEdit.get();
    }
    if (which == "about") {
      dialogs.AboutApp->ShowAbout(from);
      return dialogs.AboutApp.get();
    }
    dialogs.ErrorFrame->setOpener(from);
    dialogs.ErrorFrame->StartHandle(QStringLiteral("information"), QStringLiteral("a"),
                                    QStringLiteral("b"), QStringLiteral("Fine"));
    return dialogs.ErrorFrame.get();
  }

  bool filesUnchanged() const {
    return readBytes(kTopics) == kTopicsBytes && readBytes(kAbout) == kAboutBytes;
  }
};

// A key as the window system delivers it: to the control of `window` with the focus.
void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(window->windowHandle(), key, modifiers);
}

void typeInto(QWidget* window, const QString& text) {
  QTest::keyClicks(window->focusWidget(), text);
}

void allDialogs() {
  QTest::addColumn<QString>("dialog");
  for (const char* name : {"page description", "rename", "about", "message"})
    QTest::newRow(name) << name;
}

}  // namespace

class DialogsKeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  void escapeClosesWithoutWriting_data() { allDialogs(); }
  void escapeClosesWithoutWriting();
  void enterKeepsItsMeaning_data();
  void enterKeepsItsMeaning();
  void belongsToTheWindowItWasOpenedFor_data() { allDialogs(); }
  void belongsToTheWindowItWasOpenedFor();
};

void DialogsKeyboardTest::escapeClosesWithoutWriting() {
  QFETCH(QString, dialog);
  Fixture f;
  QWidget* d = f.open(dialog, &f.opener);
  QVERIFY(QTest::qWaitForWindowActive(d));
  typeInto(d, QStringLiteral("new"));
  press(d, Qt::Key_Escape);
  QVERIFY(d->isHidden());
  QVERIFY(f.filesUnchanged());
  QVERIFY(!f.dialogs.TopicEdit->done());
  QVERIFY(f.platform.errors.isEmpty());
}

void DialogsKeyboardTest::enterKeepsItsMeaning_data() {
  QTest::addColumn<QString>("dialog");
  QTest::addColumn<QString>("file");  // the file Enter writes; empty: none
  QTest::addColumn<QByteArray>("written");
  // The edit box opens with its text selected: typing replaces it.
  QTest::newRow("page description writes the description")
      << "page description" << kAbout
      << QByteArray("page\r\n").repeated(3) + "new\r\n" + QByteArray("page\r\n").repeated(11);
  QTest::newRow("rename writes the name")
      << "rename" << kTopics
      << QByteArray("topic\r\n").repeated(6) + "new\r\n" + QByteArray("topic\r\n").repeated(3);
  QTest::newRow("about closes") << "about" << QString() << QByteArray();
  QTest::newRow("message closes") << "message" << QString() << QByteArray();
}

void DialogsKeyboardTest::enterKeepsItsMeaning() {
  QFETCH(QString, dialog);
  QFETCH(QString, file);
  QFETCH(QByteArray, written);
  Fixture f;
  QWidget* d = f.open(dialog, &f.opener);
  QVERIFY(QTest::qWaitForWindowActive(d));
  if (!file.isEmpty()) {
    QVERIFY(qobject_cast<QLineEdit*>(d->focusWidget()));
    typeInto(d, QStringLiteral("new"));
  }
  press(d, Qt::Key_Return);
  QVERIFY(d->isHidden());
  if (file.isEmpty())
    QVERIFY(f.filesUnchanged());
  else
    QCOMPARE(readBytes(file), written);
}

void DialogsKeyboardTest::belongsToTheWindowItWasOpenedFor() {
  QFETCH(QString, dialog);
  Fixture f;
  QWidget* d = f.open(dialog, &f.opener);
  QCOMPARE(d->windowType(), Qt::Dialog);
  QVERIFY(d->windowFlags().testFlag(Qt::FramelessWindowHint));
  QCOMPARE(d->windowHandle()->transientParent(), f.opener.windowHandle());
  // Opened again for another window, it goes over to that one, and stays open.
  QWidget other;
  other.show();
  f.open(dialog, &other);
  QVERIFY(d->isVisible());
  QCOMPARE(d->windowHandle()->transientParent(), other.windowHandle());
  // For nobody in particular: for the program as a whole.
  f.open(dialog, nullptr);
  QCOMPARE(d->windowHandle()->transientParent(), nullptr);
}

QUILL_TEST_MAIN(DialogsKeyboardTest)
#include "tst_dialogs_keyboard.moc"
