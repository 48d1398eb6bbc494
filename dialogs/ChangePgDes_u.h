// The page description dialog: writes the one-line description of a page.
#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;

class TChangePA : public QWidget {
  Q_OBJECT
 public:
  explicit TChangePA(QWidget* parent = nullptr);

  // Opens the dialog on line `linen` (0-based: page - 1) of the page description file
  // `filetoedit`, offering `description` for editing, with the keyboard in the edit box, on
  // behalf of `home`. The first time it is shown it is centred on `home` (on the screen
  // without one). Switching page or language meanwhile does not retarget it.
  void openFor(const QString& filetoedit, int linen, const QString& description, QWidget* home);

  const QString& filetoedit() const { return filetoedit_; }  // "./Data/<language>/aboutpages.txt"
  int linen() const { return linen_; }

 private:
  // OK: writes the description, then hides the dialog. Errors go to the standard error
  // report and leave the dialog open.
  void Button1Click();

  QLineEdit* Edit1 = nullptr;
  QString filetoedit_;
  int linen_ = 0;
};
