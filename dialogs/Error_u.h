// The message window: the program's own notices, an icon chosen by a keyword, two lines
// of text and one button whose caption the caller chooses. One instance, reused.
#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/windows.h"

class QLabel;
class QPushButton;

class TErrorFrame : public QWidget, public ui::NoticeWindow {
  Q_OBJECT
 public:
  explicit TErrorFrame(QWidget* parent = nullptr);

  // Fills the window and shows it, centred on the screen, not modal, on behalf of the window
  // given to setOpener. `mode` is one of "error", "sucess", "information", "warning" (any
  // other text: no icon).
  void StartHandle(const QString& mode, const QString& Text, const QString& Text2,
                   const QString& BtLabel) override;
  void setOpener(QWidget* opener) override;

 private:
  QLabel* errortext = nullptr;
  QLabel* image_error = nullptr;
  QLabel* errortext2 = nullptr;
  QLabel* image_info = nullptr;
  QLabel* image_warning = nullptr;
  QLabel* image_sucess = nullptr;
  QPushButton* e_Button = nullptr;
  QPointer<QWidget> opener_;
};
