#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include "widgets/fonts.h"
#include "widgets/twips.h"

class QDialog;
class QLabel;
class QWidget;

namespace sacotin {

// Makes a parentless dialog a secondary window of the program: a fixed dialog frame with a
// close box only, no taskbar entry, the program's icon, and its client area at a fixed place of
// the screen. While visible it keeps the program running, as the main window does.
void makeSecondaryWindow(QDialog* window, QPoint clientTopLeftTwips, QSize clientSizeTwips);

// Shows a secondary window without blocking the others, in front, active, with `focus` holding
// the keyboard.
void showModeless(QWidget* window, QWidget* focus);

// The program's picture in a sunken 2-pixel border, the label sized to the picture; its
// top-left corner at the given place. It takes the focus like a control does.
QLabel* makePictureBox(QWidget* parent, QPoint topLeftTwips);

// A label that wraps at word boundaries within its rectangle and clips what doesn't fit.
QLabel* makeLabel(QWidget* parent, QRect rect);

}  // namespace sacotin
