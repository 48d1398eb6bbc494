// What the editor tests share: a fresh working directory with the folders of page 3 of
// Delphi and the settings folder, a recording platform, the dialog set, and editors opened
// the way the home window opens them.
#pragma once

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "dialogs/Dialogs.h"
#include "dialogs/Error_u.h"
#include "editor/Editor_u.h"
#include "support/fakeplatform.h"
#include "support/workdir.h"

namespace editor_tests {

inline const QString kLang = QStringLiteral("Lg_Delphi");
inline const QString kPageFolder = QStringLiteral("./Data/Lg_Delphi/3");
inline const QString kTopic7 = QStringLiteral("./Data/Lg_Delphi/3/topic7.txt");
inline const QString kSettings = QStringLiteral("./Data/UserSettings/options.txt");

// The bytes of a topic file holding `text` as saved: byte-order mark, UTF-8, CR LF.
inline QByteArray savedBytes(const QString& text) {
  QString crlf = text;
  crlf.replace(u'\n', QStringLiteral("\r\n"));
  return "\xEF\xBB\xBF" + crlf.toUtf8();
}

// The message window's control called `name` (a label unless said otherwise).
template <class T = QLabel>
T* noticeControl(const Dialogs& dialogs, const char* name) {
  return dialogs.ErrorFrame->findChild<T*>(QString::fromLatin1(name));
}
inline QString noticeLine(const Dialogs& dialogs, const char* name) {
  return noticeControl(dialogs, name)->text();
}

struct Fixture {
  testing_support::WorkDir dir;
  testing_support::FakePlatform platform;
  Dialogs dialogs;
  QList<QPointer<TEditorForm>> opened;

  explicit Fixture(bool makeFolders = true) {
    if (makeFolders) {
      QDir().mkpath(kPageFolder);
      QDir().mkpath(QStringLiteral("./Data/UserSettings"));
    }
  }
  ~Fixture() {
    for (const QPointer<TEditorForm>& e : opened) delete e.data();
  }
  Fixture(const Fixture&) = delete;
  Fixture& operator=(const Fixture&) = delete;

  // A new editor on topic `slot` of page 3, made, shown and filled in the home window's
  // order.
  TEditorForm* open(int slot = 7, const QString& caption = QStringLiteral("Pointers"),
                    bool light = false) {
    auto* e = new TEditorForm(&dialogs);
    opened << e;
    if (light) e->applyLightTheme();
    e->show();
    e->move(125, 125);
    e->loadTopic(caption, kLang, 3, slot);
    return e;
  }

  bool noticeShown(const QString& text, const QString& text2) const {
    return dialogs.ErrorFrame->isVisible() && noticeLine(dialogs, "errortext") == text &&
           noticeLine(dialogs, "errortext2") == text2;
  }
};

inline QPlainTextEdit* memo(TEditorForm* e) {
  return e->findChild<QPlainTextEdit*>(QStringLiteral("AllText"));
}
inline QPushButton* button(TEditorForm* e, const char* name) {
  return e->findChild<QPushButton*>(QString::fromLatin1(name));
}
inline QLabel* label(TEditorForm* e, const char* name) {
  return e->findChild<QLabel*>(QString::fromLatin1(name));
}
inline bool dirty(TEditorForm* e) {
  return button(e, "BtRestore")->isEnabled();
}

// Types `text` at the end of the memo.
inline void typeAtEnd(TEditorForm* e, const QString& text) {
  QPlainTextEdit* m = memo(e);
  m->moveCursor(QTextCursor::End);
  QTest::keyClicks(m, text);
}

}  // namespace editor_tests
