// The home window: one language and one page of notes at a time, the page's description and
// its ten topic names, reloaded from disk every half second so that whatever the editors and
// dialogs write shows up without any notification between windows.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>

#include "store/datatree.h"
#include "store/topicsearch.h"
#include "ui/chrome.h"

struct Dialogs;

class TQuillnoteForm : public QWidget {
  Q_OBJECT
 public:
  // The creation step: builds the controls, then the data tree, and selects page 1 of
  // "Lg_Delphi". An error there is reported once and the window still opens.
  explicit TQuillnoteForm(QWidget* parent = nullptr);
  ~TQuillnoteForm() override;

  // The dialogs created at start-up, handed to every editor this window opens.
  void setDialogs(Dialogs* dialogs);

  // Reads the page descriptions of language `di` and the topic names of `currentpage`, and
  // shows them. Only what changed is touched on screen, so repeating it is cheap.
  void LoadData(const QString& di);
  // Selects a language (ignored while the page selector is open) and reloads the page.
  void setlanguage(const QString& LGID);
  // Selects page `pg` (normally 1..15) and reloads it.
  void SetPage(int pg);
  // Opens topic slot `k` (1..10) of the current page in a new editor window.
  void BPress(int k);

  // Timer handlers.
  void AutoReloadTimer();
  void TIMERDELAYEDTimer();
  void BHighLightTimer();
  void HighLight2secTimer();

  // The window's state. Editors and the page description dialog read the first two.
  QString currentLG;    // key of the current language, e.g. "Lg_Delphi"
  int currentpage = 0;  // 1..15; 0 until the first SetPage
  std::array<QString, store::kPages + 1> pageabout;  // [1..15]: descriptions as last read
  store::SearchState searchState;                    // prevsearchquery, searchcnt, tohighlight

  // Controls, in creation order.
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
  QWidget* SearchPanel = nullptr;
  QWidget* PageSelect = nullptr;

  QTimer* AutoReload = nullptr;
  QTimer* TIMERDELAYED = nullptr;
  QTimer* BHighLight = nullptr;
  QTimer* HighLight2sec = nullptr;

  // The language circle and logo of the language with key `key` (null for an unknown key).
  QLabel* languageCircle(const QString& key) const;
  QLabel* languageLogo(const QString& key) const;

  // The name a topic button shows (its caption as written, without display escaping).
  QString topicCaption(int k) const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void createControls();
  void FormCreate();
  void setTopicCaption(int k, const QString& name);

  struct LanguageControls {
    QString key;
    QLabel* circle = nullptr;
    QLabel* logo = nullptr;
  };
  std::array<LanguageControls, 9> languages_;  // in the order of store::languageKeys()
  Dialogs* dialogs_ = nullptr;
};
