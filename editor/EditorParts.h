// Pieces of the editor window shared by its source files: its fixed texts, the font size
// limits, its check boxes and the installed font names.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

class QCheckBox;
class QWidget;

namespace editor {

inline const QString kWindowTitle = QStringLiteral("Quillnote - Editor");
// The title of a topic whose name was never set.
inline const QString kTitlePlaceholder = QStringLiteral("<!> Click here to edit topic name");

// The font size range of the track bar, in points.
inline constexpr int kSmallestFont = 5;
inline constexpr int kLargestFont = 30;

// A check box without caption whose whole rectangle takes clicks, so a click on the text
// beside it (drawn by a label underneath) ticks it too.
QCheckBox* makeCheckBox(QWidget* parent, const QString& name, const QRect& rect,
                        const QString& hint);

// The names of the fonts installed on the system, asked of the system once per run.
const QStringList& installedFonts();

}  // namespace editor
