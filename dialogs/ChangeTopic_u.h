// The topic rename dialog: writes a topic's new name into its page's topic list and hands
// the name back to the editor that opened it.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include "ui/chrome.h"

class TErrorFrame;

class TTopicEdit : public QWidget {
  Q_OBJECT
 public:
  explicit TTopicEdit(TErrorFrame* errorFrame, QWidget* parent = nullptr);

  // The message window for the dialog's notices, when it is created after the dialog.
  void setErrorFrame(TErrorFrame* errorFrame) { errorFrame_ = errorFrame; }

  // Set by the editor that opens the dialog.
  QString lgandpage;         // topic address up to the comma, e.g. "Lg_Delphi/3"
  int linen = 0;             // topic slot, 1..10
  bool done = false;         // a rename succeeded and its name waits for the opening editor
  QPointer<QObject> opener;  // the editor that opened the dialog last

  // OK: writes `name` as line `linen` of the page's topic list, hides the dialog and sets
  // `done`. An empty name, or a failed write, shows a notice and leaves the dialog open.
  void Button1Click();

  ui::Chrome* chrome = nullptr;
  QLabel* Image1 = nullptr;
  QLabel* Label4 = nullptr;
  QPushButton* Button1 = nullptr;
  QLineEdit* name = nullptr;

 private:
  TErrorFrame* errorFrame_;
};
