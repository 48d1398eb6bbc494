// The page description dialog: writes the one-line description of a page.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "ui/chrome.h"

class TChangePA : public QWidget {
  Q_OBJECT
 public:
  explicit TChangePA(QWidget* parent = nullptr);

  // Set by the home window when it opens the dialog; not changed while it is open.
  QString filetoedit;  // "./Data/<language>/aboutpages.txt"
  int linen = 0;       // 0-based line index: page - 1

  // OK: writes the description, then hides the dialog. Errors go to the standard error
  // report and leave the dialog open.
  void Button1Click();

  // Shows the dialog; the first time it is shown it is centred on `home`.
  void showCentredOn(const QWidget* home);

  ui::Chrome* chrome = nullptr;
  QLabel* Image1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label4 = nullptr;
  QPushButton* Button1 = nullptr;
  QLineEdit* Edit1 = nullptr;
};
