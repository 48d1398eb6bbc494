// The home window: one language and one page of notes at a time, the page's description and
// its ten topic names, reloaded from disk every half second so that whatever the editors and
// dialogs write shows up without any notification between windows.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>

#include "store/bootstrap.h"
#include "store/datatree.h"
#include "store/linewatch.h"
#include "store/topicsearch.h"
#include "ui/application.h"
#include "ui/chrome.h"

struct Dialogs;
namespace home {
class FocusMark;
}

class TQuillnoteForm : public QWidget {
  Q_OBJECT
 public:
  // The creation step: builds the controls, then the data tree, and selects page 1 of
  // "Lg_Delphi". An error there is reported once and the window still opens.
  explicit TQuillnoteForm(QWidget* parent = nullptr);
  ~TQuillnoteForm() override;

  // The pictures the window shows when it opens, for the application to decode ahead.
  static QList<ui::ShownPicture> picturesAtStart();

  // Waits until the data tree that a first start is still making is complete on disk.
  void waitForDataTree();

  // The dialogs created at start-up, handed to every editor this window opens.
  void setDialogs(Dialogs* dialogs);

  // Reads the page descriptions of language `di` and the topic names of `currentpage`, and
  // shows them. A file is read only when it may have changed since it was last read, and only
  // what changed is touched on screen, so repeating it is cheap.
  void LoadData(const QString& di);
  // Selects a language (ignored while the page selector is open) and reloads the page.
  void setlanguage(const QString& LGID);
  // Selects page `pg` (normally 1..15) and reloads it.
  void SetPage(int pg);

  // The window's state. Editors and the page description dialog are given the first two.
  const QString& currentLG() const { return currentLG_; }  // e.g. "Lg_Delphi"
  int currentpage() const { return currentpage_; }         // 1..15; 0 until the first SetPage
  // prevsearchquery, searchcnt, tohighlight.
  const store::SearchState& searchState() const { return searchState_; }

  // The look, as the window's controls record it; no variable holds it. The toggle goes by
  // the quick-action captions, white in the dark look; an editor opens in the look of the
  // footer, white in the dark look. Until a theme applies (or after an unknown theme name)
  // the footer keeps its designed colour, so the captions then say dark and the footer light.
  struct Look {
    bool dark;         // the quick-action captions are white
    bool editorsDark;  // the footer is white
  };
  Look look() const;

  // The name topic button `k` (1..10) shows, as written.
  QString topicCaption(int k) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Tab and Shift+Tab: the next or previous control in reading order (focusRows).
  bool focusNextPrevChild(bool next) override;

 private:
  // Controls, in creation order.
  void createControls();
  void createLanguageRow();
  void createPageRow();
  void createFrame();
  void createTopics();
  void createPanels();
  void createTimers();
  void createQuickActions();
  void createSearchBar();
  void createPageSelector();

  // Keyboard use and screen readers: which controls take the focus, what they are called.
  void createKeyboardAccess();
  // The controls the keyboard reaches, in reading order, as the window shows them now: with
  // the page selector open its fifteen pages, otherwise the languages, the pages, the page
  // selector icon, the page description, the topics and the quick actions (the search bar
  // instead while it is open). Each inner list is a row the arrow keys move along.
  QList<QList<QWidget*>> focusRows() const;
  // Keys that move the focus (Tab, the arrows) or leave an overlay (Escape), pressed on a
  // control of the window or the window itself. Returns whether the key was used.
  bool navigationKey(QWidget* on, const QKeyEvent* key);
  // Shows the focus mark around the control with the focus, once the keyboard is used.
  void updateFocusMark();
  // The search bar with the keyboard in its box; closing it gives the keyboard back.
  void openSearchBar();
  void hideSearchBar();
  // Closes the page selector; the keyboard goes back to the selector icon.
  void hidePageSelector();

  // Opens topic slot `k` (1..10) of the current page in a new editor window.
  void BPress(int k);
  // Opens the page description dialog on the current page.
  void AboutPageClick();

  // Topic search: one search step over the current language's topic lists; returns the
  // page to show and arms the highlight of the found slot.
  int search(const QString& term);
  // Enter in the search box (swallowed whether or not a search runs).
  void SearchBoxKeyPress();
  void StartSearchClick();
  // Hides the search bar; the next search starts at the first match. The box keeps its text.
  void CloseSearchClick();

  // Page selector: refreshes the fifteen captions from the page hints, then opens or closes
  // the overlay.
  void pg_pages_viewClick();
  // A jump button: shows page `tag` and closes the overlay.
  void PageJump(int tag);
  void fadepageClick();

  // Themes: applies "light" or "dark" (any other text changes nothing on screen) and writes
  // it to the theme file.
  void SetProgramTheme(const QString& theme);
  // Switches to the other look, judged by the quick-action captions.
  void toggleTheme();

  // Quick actions and keys.
  void Option1ImageClick();
  void Option2ImageClick();
  void Option3ImageClick();
  // The window's own key-down handler (F1, F3, F4, F7); modifiers are not examined.
  void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);

  // Timer handlers.
  void AutoReloadTimer();
  void TIMERDELAYEDTimer();
  void BHighLightTimer();
  void HighLight2secTimer();

  // The creation step, once the controls are made: the data tree's start, page 1 of the first
  // language and the theme file; the rest of the tree is scheduled.
  void FormCreate();
  // The end of the data tree's worker: its error goes to the standard error report.
  Q_INVOKABLE void treeDone();
  void setTopicCaption(int k, const QString& name);
  // Loads the page shown. A failure is reported once: the same failure again is not
  // reported until a load succeeded or, with `chosen` (a language or page the user chose),
  // at once.
  void loadShown(bool chosen);

  // Makes what is missing of the data tree; begun when the window is created.
  store::Bootstrap tree_;
  QString currentLG_;
  int currentpage_ = 0;
  std::array<QString, store::kPages + 1> pageabout;  // [1..15]: descriptions as last read
  // The description file and topic list as last read, and the page whose description the
  // window shows (0: none yet, or the descriptions were read again since).
  store::WatchedLineFile aboutFile_;
  store::WatchedLineFile topicsFile_;
  int aboutShownFor_ = 0;
  // The paths of those two files, made again only when the language or page changes.
  struct LoadPaths {
    QString language;
    int page = 0;
    QString about, topics;
  } loadPaths_;
  store::SearchState searchState_;

  QLabel* BackGround = nullptr;
  QLabel* Title = nullptr;
  QLabel* LanguageTitle = nullptr;
  QLabel* PageTitle = nullptr;
  std::array<QLabel*, store::kPages> pg_button{};  // pg_button_1..15
  QLabel* temp = nullptr;
  std::array<QLabel*, store::kPages> page_txt{};  // page_txt_1..15
  QLabel* AboutPage = nullptr;
  QLabel* AboutPageTitle = nullptr;
  QLabel* TopicsTitle = nullptr;
  ui::Chrome* chrome = nullptr;
  std::array<QPushButton*, store::kSlots> Topic{};  // Topic_1..10
  QLabel* pg_pages_view = nullptr;
  QLabel* copyright = nullptr;
  QWidget* QuickActionsMenu = nullptr;
  QLabel* Option1Image = nullptr;
  QLabel* Option1Text = nullptr;
  QLabel* Option2Image = nullptr;
  QLabel* Option2Text = nullptr;
  QLabel* Option3Image = nullptr;
  QLabel* Option3Text = nullptr;
  QWidget* SearchPanel = nullptr;
  QPushButton* StartSearch = nullptr;
  QPushButton* CloseSearch = nullptr;
  QLabel* LabelBgText = nullptr;
  QLineEdit* SearchBox = nullptr;
  QWidget* PageSelect = nullptr;
  QLabel* fadepage = nullptr;
  std::array<QPushButton*, store::kPages> jump_page{};  // jump_page_1..15
  QLabel* Label1 = nullptr;

  QTimer* AutoReload = nullptr;
  QTimer* TIMERDELAYED = nullptr;
  QTimer* BHighLight = nullptr;
  QTimer* HighLight2sec = nullptr;

  struct LanguageControls {
    QString key;
    QLabel* circle = nullptr;
  };
  std::array<LanguageControls, store::kLanguages>
      languages_;  // in the order of store::languageKeys()
  Dialogs* dialogs_ = nullptr;
  // Keyboard use: the mark around the focused control, shown from the first key that moves
  // the focus until the mouse is pressed; and where the keyboard was before the search bar.
  home::FocusMark* focusMark_ = nullptr;
  bool keyboardUsed_ = false;
  QPointer<QWidget> beforeSearch_;
  int loadFailure_ = 0;  // the error code of the last failed load of the page shown; 0: none
};
