// The about window: the program's name, version and credits.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "ui/chrome.h"

class TAboutApp : public QWidget {
  Q_OBJECT
 public:
  explicit TAboutApp(QWidget* parent = nullptr);

  // Shows the window (not modal), centred on the screen the first time.
  void ShowAbout();

  ui::Chrome* chrome = nullptr;
  QLabel* BackGround = nullptr;
  QLabel* appname = nullptr;
  QLabel* icon = nullptr;
  QLabel* Image1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QPushButton* Button1 = nullptr;
};
