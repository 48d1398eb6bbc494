// The borderless frame every window draws for itself: a dark title strip with the window's
// title, thin side and bottom strips, "x" and "_" labels in the top right corner with hover
// colours, and an invisible corner area in the top left that opens a small menu. The strips
// move the window; on the two resizable windows the bottom strip makes them taller.
#pragma once

#include <QLabel>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>
#include <vector>

namespace ui {

struct ChromeLayout {
  QString title;
  // Object names of the title text and of the right and bottom strips (the dialogs call
  // some of them `title`, `Label2`, `Label3`).
  QString titleName = QStringLiteral("Application_Title");
  QString rightName = QStringLiteral("borderR");
  QString bottomName = QStringLiteral("borderB");
  // Geometry of the title strip; an empty rect means (0, 0, window width, 25).
  QRect borderRect;
  bool dialog = false;      // title text in clInactiveBorder instead of clActiveBorder
  bool minimise = false;    // "_" label and the corner menu
  bool bottomStrip = true;  // a 3-pixel strip along the bottom edge
  bool resizable = false;   // the bottom strip makes the window taller
  int minHeight = 0;        // shortest height of a resizable window
  bool titleDrags = true;   // pressing the title text moves the window
  bool rightStrip = true;   // a 3-pixel strip down the right edge
};

class Chrome : public QObject {
  Q_OBJECT
 public:
  // Creates the pieces as children of `window`, which must already have its designed size.
  Chrome(QWidget* window, const ChromeLayout& layout);

  // Makes `piece` move the window when pressed with any button.
  void addDragPiece(QWidget* piece);

  // The pieces, named as in the window's control list.
  QLabel* border = nullptr;
  QLabel* title = nullptr;  // Application_Title or title
  QLabel* winbt_Close = nullptr;
  QLabel* winbt_minimise = nullptr;  // null unless layout.minimise
  QLabel* borderL = nullptr;
  QLabel* borderR = nullptr;  // null unless layout.rightStrip
  QLabel* borderB = nullptr;  // null unless layout.bottomStrip
  QLabel* CloseMN = nullptr;  // null unless layout.minimise
  QMenu* MenuCL = nullptr;    // null unless layout.minimise

  // Bottom-edge resize state.
  bool beginsize = false;
  QPoint FMouseDownLocation;  // pointer position (screen) when the drag began
  QPoint Pos1;                // left and top of the bottom strip when the drag began

 signals:
  // The bottom strip changed the window's height (after the height limit applied).
  void heightDragged(int height);

 protected:
  bool eventFilter(QObject* obj, QEvent* ev) override;

 private:
  void layoutEdges(int height);
  void hover(QLabel* label, bool inside, const QColor& back);
  void borderBMouseDown(QPoint global);
  void borderBMouseMove(QPoint global);

  QWidget* window_;
  ChromeLayout layout_;
  std::vector<QWidget*> dragPieces_;
  QWidget* following_ = nullptr;  // drag piece moving the window by following the pointer
  QPoint followOffset_;
};

}  // namespace ui
