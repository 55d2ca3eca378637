#include "widgets/screen_readers.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>

#include "widgets/cr_label.h"
#include "widgets/text_colours.h"

namespace sacotin {
namespace {

constexpr const char* kStatusLineProperty = "sacotinStatusLine";

// A label whose lines are separated by carriage returns, as screen readers get it: its text with
// line feeds instead (else they read the last word of a line and the first of the next as one);
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
    QString shown = label->text();
    shown.replace(QChar(13), QChar(10));
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
  QLabel* label = shownLabel;
  if (!label) {
    label = new QLabel(name, control->parentWidget());
    label->setObjectName(control->objectName() + QStringLiteral("_name"));
    label->hide();
  }
  label->setBuddy(control);
}

void speakKeyboardChoices(QComboBox* chooser) {
  QObject::connect(chooser, &QComboBox::currentIndexChanged, chooser, [chooser](int row) {
    // Only the chooser the keyboard is on: another one refilled by that choice must not take
    // the screen reader's attention from it.
    if (!chooser->hasFocus()) return;
    QAbstractItemView* list = chooser->view();
    list->setCurrentIndex(chooser->model()->index(row, chooser->modelColumn()));
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
