// The topic editor: one window per opened topic, with saving, auto-save, restore to the
// last save, find, font settings, read-only mode and renaming.
#pragma once

#include <QWidget>

struct Dialogs;

class TEditorForm : public QWidget {
  Q_OBJECT
 public:
  // The creation step reads the editor settings (which may show the message window).
  explicit TEditorForm(Dialogs* dialogs, QWidget* parent = nullptr);

  // The light look: light memo colours and the light upper wallpaper.
  void applyLightTheme();

  // Shows topic `slot` of `page` of `language` titled `caption` (the home window's button
  // caption) and remembers its file path and address.
  void loadTopic(const QString& caption, const QString& language, int page, int slot);
};
