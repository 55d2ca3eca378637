#pragma once

#include <QColor>

class QPalette;
class QWidget;

namespace sacotin {

// The colours the windows give their texts. On a light window background (lighter than
// mid-grey) they are the layout's own: black, red, purple 128, 0, 128 and magenta 192, 0, 192.
// On a dark one, a black text takes the colour scheme's own text colour, and the others keep
// their hue, lightened just enough to stand at a contrast of 4.5:1 (WCAG 2, level AA).
enum class TextColour {
  Plain,       // the status line and the other texts the layout makes black
  Failure,     // a failure shown in the status line
  Address,     // the contact e-mail address
  WebAddress,  // the author's web address
};

// The colour of a text drawn on the window background of `scheme`.
QColor textColourIn(const QPalette& scheme, TextColour colour);

// Gives the widget's text that colour in the current colour scheme, and again whenever the
// scheme changes while the widget lives (the desktop switching between light and dark).
void useTextColour(QWidget* widget, TextColour colour);

// The colour useTextColour last gave the widget's text (Plain when it gave none).
TextColour textColourOf(const QWidget* widget);

// WCAG 2 contrast ratio of two colours, from 1 to 21.
double contrastRatio(const QColor& first, const QColor& second);

}  // namespace sacotin
