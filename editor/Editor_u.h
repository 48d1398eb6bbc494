// The topic editor: one window per opened topic, with saving, auto-save, restore to the
// last save, find, font settings, read-only mode and renaming.
#pragma once

#include <QFont>
#include <QString>
#include <QWidget>
#include <optional>

#include "store/filestamp.h"
#include "ui/chrome.h"
#include "ui/platform.h"

struct Dialogs;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTimer;

class TEditorForm : public QWidget {
  Q_OBJECT
 public:
  // The creation step reads the editor settings (which may show the message window).
  // The window is released when it closes.
  explicit TEditorForm(Dialogs* dialogs, QWidget* parent = nullptr);

  // The light look: light memo colours and the light upper wallpaper.
  void applyLightTheme();

  // Shows topic `slot` of `page` of `language` titled `caption` (the home window's button
  // caption) and remembers its file path and address. A topic file that exists but cannot be
  // read opens empty, the message window says why, and this window never writes over it.
  void loadTopic(const QString& caption, const QString& language, int page, int slot);

  // Saves the memo to the topic file. On success the text becomes the new last-saved
  // state and "Saved!" shows; on failure the message window says why, and the unsaved
  // changes stay marked. When the file was changed on disk since this window last read or
  // saved it, the user is asked first whether to replace it. Returns whether the topic was
  // written.
  bool SaveText();

  // Selects the next occurrence of `ATextToSearch` (any letter case) after the memo's
  // selection; with `ACicle`, starts once more from the top when none follows.
  void SearchNext(QPlainTextEdit* AMemo, const QString& ATextToSearch, bool ACicle);

  // The memo's text as it is saved: '\n' between lines.
  QString memoText() const;
  // The text as last loaded, saved or restored.
  const QString& lastSaved() const { return restoreText_; }
  // Whether the memo changed since it was last loaded, saved or restored: the Restore button
  // is enabled exactly then.
  bool unsaved() const;
  // The topic's file path and its address ("Lg_Delphi/3,7"), kept as the texts of two labels
  // without width.
  QString topicPath() const;
  QString topicAddress() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Keys of the whole window: Ctrl+S saves, Ctrl+F goes to the find box, F3 finds again.
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  bool AllOK = false;    // the creation step is over: setting changes are written
  bool shifton = false;  // a Ctrl+S key-down waits for its character to be swallowed

  Dialogs* dialogs_;
  QString restoreText_;
  store::FileStamp diskStamp_;  // the topic file as this window last read or saved it
  QString unreadable_;          // why the topic file could not be read; empty when it was read
  int questionsOpen_ = 0;
  bool conflictTold_ = false;  // an auto-save told that the file changed on disk meanwhile
  // A notice asked for before the window was shown, shown once it is (above it).
  struct Notice {
    QString mode, text, text2, button;
  };
  std::optional<Notice> noticeAfterShow_;
  quint64 textEdits_ = 0;  // changes of the memo's text so far
  // The last count of lines found, and what it was counted for.
  struct FoundLines {
    QString query;
    quint64 textEdits = 0;
    QFont font;
    int wrapMode = -1;
    int width = -1;  // of the memo's text area
    int count = -1;  // none yet
  };
  FoundLines found_;

  void createControls();
  void createMemo();
  void createSettingsControls();
  void createFindBox();
  void connectHandlers();
  // What screen readers call the controls.
  void nameControls();
  // Shows the topic's name (line breaks as spaces) in the title, the window's title and the
  // memo's name.
  void showTitle(const QString& name);
  // Marks the memo as changed since the last load, save or restore (or not): the Restore
  // button and what screen readers are told of the memo.
  void markUnsaved(bool unsaved);
  // Ctrl+Tab in the memo types a tab; Enter in the find box finds.
  bool memoKey(const QKeyEvent* key);
  bool findBoxKey(const QKeyEvent* key);
  // Finds the next occurrence as the find button does; started in the find box, the
  // keyboard stays there.
  void findFromKeyboard();
  void readSettings();
  // Rewrites the settings file from the controls (nothing while the window is being built).
  void WriteSettings();
  void notice(const QString& mode, const QString& text, const QString& text2,
              const QString& button);
  // Saves as SaveText does; an auto-save never replaces a file changed on disk meanwhile.
  bool saveTopicFile(bool automatic);
  // Asks a question of this window; auto-save waits while it is open.
  ui::Answer ask(const QString& question, bool withCancel);
  bool AllTextKeyDown(int key, Qt::KeyboardModifiers modifiers);
  bool AllTextKeyPress();
  // The lines shown that hold `query`; counted again only when the text, the query or the
  // way the memo lays its lines out changed since the last count.
  int countFoundLines(const QString& query);
  int countShownLines(const QString& query) const;
  // Puts `text` in the memo.
  void showText(const QString& text);

  // Handlers.
  void SaveBtClick();
  void SaveAutoTTimer();
  void AllTextChange();
  void BtRestoreClick();
  void IconHideTimer();
  void FormCloseQuery(bool& CanClose);
  void TrackBar1Change();
  void FontBoxChange();
  void AutoSaveClick();
  void ReadOnlyClick();
  void SearchBtClick();
  void TitleInfoClick();
  void CheckTimer();

  // Controls, in creation order.
  QLabel* BackGround = nullptr;
  QLabel* BackGround2 = nullptr;
  ui::Chrome* chrome = nullptr;
  QLabel* TitleInfo = nullptr;
  QLabel* TXTText = nullptr;
  QLabel* FontSizeText = nullptr;
  QLabel* AUSAVEText = nullptr;
  QLabel* RDOnly = nullptr;
  QPushButton* SaveBt = nullptr;
  QLabel* storelocation = nullptr;
  QLabel* saved_text = nullptr;
  QLabel* saved_icon = nullptr;
  QLabel* lgpage = nullptr;
  QPushButton* BtRestore = nullptr;
  QPushButton* SearchBt = nullptr;
  QLabel* FindText = nullptr;
  QPlainTextEdit* AllText = nullptr;
  QSlider* TrackBar1 = nullptr;
  QComboBox* FontBox = nullptr;
  QCheckBox* AutoSave = nullptr;
  QCheckBox* ReadOnly = nullptr;
  QWidget* RestoreMemo = nullptr;  // holds no text itself; the snapshot is restoreText_
  QLineEdit* STXT = nullptr;
  QTimer* SaveAutoT = nullptr;
  QTimer* IconHide = nullptr;
  QTimer* Check = nullptr;
};
