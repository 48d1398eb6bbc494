// Colours and fonts shared by every window, as named constants.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

namespace ui {

// The desktop's system colours, with the values of the default desktop look the
// windows were designed against.
namespace sys {
inline const QColor InactiveBorder{0xF4, 0xF7, 0xFC};  // clInactiveBorder
inline const QColor ActiveBorder{0xB4, 0xB4, 0xB4};    // clActiveBorder
inline const QColor Window{0xFF, 0xFF, 0xFF};          // clWindow
inline const QColor WindowText{0x00, 0x00, 0x00};      // clWindowText
inline const QColor AppWorkSpace{0xAB, 0xAB, 0xAB};    // clAppWorkSpace
inline const QColor Light3D{0xE3, 0xE3, 0xE3};         // cl3DLight
inline const QColor HighlightText{0xFF, 0xFF, 0xFF};   // clHighlightText
inline const QColor MenuHighlight{0x33, 0x99, 0xFF};   // clMenuHighlight
}  // namespace sys

// Colours given as RGB values.
namespace rgb {
inline const QColor White{0xFF, 0xFF, 0xFF};
inline const QColor Black{0x00, 0x00, 0x00};
inline const QColor Red{0xFF, 0x00, 0x00};
inline const QColor Strip{0x17, 0x17, 0x17};          // title, side and bottom strips
inline const QColor MinimiseHover{0x4F, 0x4F, 0x4F};  // behind "_" while hovered
inline const QColor Highlight{0x53, 0xFF, 0x53};      // a found topic
inline const QColor SearchFrame{0xF0, 0xCA, 0xA6};
inline const QColor SearchBox{0xF8, 0xE4, 0xD3};
inline const QColor Grey{0x80, 0x80, 0x80};
inline const QColor ControlBack{0xE2, 0xE2, 0xE2};  // editor font box and find box
inline const QColor MemoDark{0x1E, 0x1E, 0x1E};
inline const QColor MemoLight{0xDB, 0xDB, 0xDB};
}  // namespace rgb

// The faces the windows are designed in. Where a face is not on the system, the
// program uses a bundled or installed substitute with the same character.
enum class Face { NexaLight, NexaBold, Tahoma, SegoeUI, Calibri };

// A font of the given face with a character height of `px` pixels.
QFont font(Face face, int px, bool bold = false);

// Registers the bundled fonts and the substitutes for the designed face names.
// Call once after the application object exists.
void installFonts();

}  // namespace ui
