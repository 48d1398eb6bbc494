// The topic rename dialog: writes a topic's new name into its page's topic list and hands
// the name back to the editor that opened it.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QLineEdit;
class TErrorFrame;

class TTopicEdit : public QWidget {
  Q_OBJECT
 public:
  explicit TTopicEdit(TErrorFrame* errorFrame, QWidget* parent = nullptr);

  // The message window for the dialog's notices, when it is created after the dialog.
  void setErrorFrame(TErrorFrame* errorFrame) { errorFrame_ = errorFrame; }

  // Opens the dialog for topic slot `linen` of the page `lgandpage` (the topic address up to
  // its comma, e.g. "Lg_Delphi/3"), offering `text` as the new name with the keyboard in the
  // edit box, on behalf of the editor `opener`. A rename begun before and not yet taken back
  // is forgotten.
  void openFor(const QString& lgandpage, int linen, const QString& text, QWidget* opener);

  const QString& lgandpage() const { return lgandpage_; }
  int linen() const { return linen_; }  // topic slot, 1..10
  // A rename succeeded and its name waits for the editor that opened the dialog.
  bool done() const { return done_; }
  // The editor that opened the dialog last.
  const QObject* opener() const { return opener_.data(); }
  // The new name, taken by the opening editor: `done` is cleared.
  QString takeName();

 private:
  // OK: writes `name` as line `linen` of the page's topic list, hides the dialog and sets
  // `done`. An empty name, or a failed write, shows a notice and leaves the dialog open.
  void Button1Click();

  QLineEdit* name = nullptr;
  TErrorFrame* errorFrame_;
  QString lgandpage_;
  int linen_ = 0;
  bool done_ = false;
  QPointer<QWidget> opener_;
};
