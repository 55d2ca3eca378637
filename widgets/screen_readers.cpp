#include "widgets/screen_readers.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>

#include "widgets/cr_label.h"
#include "widgets/text_colours.h"

namespace sacotin {
namespace {

constexpr const char* kStatusLineProperty = "sacotinStatusLine";

// A label whose lines are separated by carriage returns, as screen readers get it: its text with
// line feeds (else they read the last word of a line and the first of the next as one);
// the status line as the window's status bar, with the word "Erreur" before a failure.
class CrLabelAccessible final : public QAccessibleWidget {
 public:
  explicit CrLabelAccessible(CrLabel* label)
      : QAccessibleWidget(label, label->property(kStatusLineProperty).toBool()
                                     ? QAccessible::StatusBar
                                     : QAccessible::StaticText) {}

  QString text(QAccessible::Text kind) const override {
    if (kind != QAccessible::Name) return QAccessibleWidget::text(kind);
    auto* label = static_cast<CrLabel*>(widget());
    const QString shown = label->textWithLineFeeds();
    if (role() == QAccessible::StatusBar && textColourOf(label) == TextColour::Failure) {
      return QStringLiteral("Erreur : ") + shown;
    }
    return shown;
  }
};

QAccessibleInterface* crLabelFactory(const QString&, QObject* object) {
  auto* label = qobject_cast<CrLabel*>(object);
  return label ? new CrLabelAccessible(label) : nullptr;
}

}  // namespace

void nameForScreenReaders(QWidget* control, const QString& name, QLabel* shownLabel) {
  control->setAccessibleName(name);
  if (!qobject_cast<QComboBox*>(control)) return;
  auto* chooser = static_cast<QComboBox*>(control);
  QLabel* label = shownLabel;
  if (!label) {
    label = new QLabel(name, control->parentWidget());
    label->setObjectName(control->objectName() + QStringLiteral("_name"));
    label->hide();
    // A screen reader says the label in place of the chooser's name, its entry: the label says
    // both, "Personnage : Aélis".
    QObject::connect(
        chooser, &QComboBox::currentTextChanged, label, [label, name](const QString& entry) {
          label->setText(entry.isEmpty() ? name : name + QStringLiteral(" : ") + entry);
        });
  }
  label->setBuddy(chooser);
}

void speakKeyboardChoices(QComboBox* chooser) {
  QObject::connect(chooser, &QComboBox::currentIndexChanged, chooser, [chooser](int row) {
    QAbstractItemView* list = chooser->view();
    const QModelIndex entry = chooser->model()->index(row, chooser->modelColumn());
    // The entry is selected in the list, where a screen reader reads the chooser's value...
    list->selectionModel()->select(entry, QItemSelectionModel::ClearAndSelect);
    // ... and becomes its current entry, which is spoken, only in the chooser the keyboard is
    // on: another one refilled by that choice must not take the reader's attention from it.
    if (chooser->hasFocus()) list->setCurrentIndex(entry);
  });
}

void readLineBreaksOfCrLabels() {
  static const bool installed = [] {
    QAccessible::installFactory(crLabelFactory);
    return true;
  }();
  (void)installed;
}

void exposeAsStatusLine(CrLabel* label) { label->setProperty(kStatusLineProperty, true); }

}  // namespace sacotin
