#pragma once

#include <QString>

class QComboBox;
class QLabel;
class QWidget;

namespace sacotin {

class CrLabel;

// Names a control for screen readers without drawing anything new: its accessible name and, for
// a chooser, the label relation through which Qt tells a screen reader on Linux what a combo box
// is for (there it names a combo box after its current entry). `shownLabel` is the layout's own
// label of the control, when it has one; otherwise a hidden label carries the name.
void nameForScreenReaders(QWidget* control, const QString& name, QLabel* shownLabel = nullptr);

// A choice made from the keyboard in a closed chooser (arrow keys, Home, End, a letter) is
// spoken as it changes: while the chooser has the keyboard, its own list follows its current
// entry, which is what screen readers watch.
void speakKeyboardChoices(QComboBox* chooser);

// Gives screen readers the texts of the program's labels of several lines (CrLabel) with their
// line breaks; to be called before any window is made.
void readLineBreaksOfCrLabels();

// Exposes a label as its window's status line: the status-bar role, its text as its name and,
// while it shows a failure (in red), the word "Erreur" before it. Screen readers are told of
// every new status.
void exposeAsStatusLine(CrLabel* label);

}  // namespace sacotin
