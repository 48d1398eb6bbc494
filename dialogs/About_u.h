// The about window: the program's name, version and credits.
#pragma once

#include <QWidget>

class TAboutApp : public QWidget {
  Q_OBJECT
 public:
  explicit TAboutApp(QWidget* parent = nullptr);

  // Shows the window (not modal) on behalf of `opener`, centred on the screen the first time.
  void ShowAbout(QWidget* opener = nullptr);
};
