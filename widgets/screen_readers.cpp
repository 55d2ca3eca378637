#include "widgets/screen_readers.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>

#include "widgets/text_colours.h"

namespace sacotin {
namespace {

constexpr const char* kStatusLineProperty = "sacotinStatusLine";

class StatusLineAccessible final : public QAccessibleWidget {
 public:
  explicit StatusLineAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StatusBar) {}

  QString text(QAccessible::Text kind) const override {
    if (kind != QAccessible::Name) return QAccessibleWidget::text(kind);
    auto* label = static_cast<QLabel*>(widget());
    // The program's line breaks are carriage returns; screen readers expect line feeds.
    QString shown = label->text();
    shown.replace(QChar(13), QChar(10));
    if (textColourOf(label) == TextColour::Failure) return QStringLiteral("Erreur : ") + shown;
    return shown;
  }
};

QAccessibleInterface* statusLineFactory(const QString&, QObject* object) {
  auto* label = qobject_cast<QLabel*>(object);
  if (label && label->property(kStatusLineProperty).toBool()) {
    return new StatusLineAccessible(label);
  }
  return nullptr;
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
    QAbstractItemView* list = chooser->view();
    list->setCurrentIndex(chooser->model()->index(row, chooser->modelColumn()));
  });
}

void exposeAsStatusLine(QLabel* label) {
  static const bool installed = [] {
    QAccessible::installFactory(statusLineFactory);
    return true;
  }();
  (void)installed;
  label->setProperty(kStatusLineProperty, true);
}

}  // namespace sacotin
