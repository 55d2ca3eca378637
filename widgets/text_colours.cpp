#include "widgets/text_colours.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QWidget>
#include <cmath>

namespace sacotin {
namespace {

constexpr double kMinimumContrast = 4.5;
// A little above the minimum, so that rounding to 8-bit colours and anti-aliasing can't take
// the drawn text below it.
constexpr double kTargetContrast = 4.7;
constexpr const char* kColourProperty = "sacotinTextColour";

QColor layoutColour(TextColour colour) {
  switch (colour) {
    case TextColour::Failure:
      return QColor(255, 0, 0);
    case TextColour::Address:
      return QColor(128, 0, 128);
    case TextColour::WebAddress:
      return QColor(192, 0, 192);
    case TextColour::Plain:
      break;
  }
  return QColor(0, 0, 0);
}

double relativeLuminance(const QColor& colour) {
  const auto linear = [](double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
         0.0722 * linear(colour.blueF());
}

// The same hue and saturation, lighter until the contrast with the background is reached.
QColor lightenedFor(const QColor& colour, const QColor& background) {
  const QColor hsl = colour.toHsl();
  QColor lighter = colour;
  for (int lightness = hsl.lightness(); lightness <= 255; ++lightness) {
    lighter = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness).toRgb();
    if (contrastRatio(lighter, background) >= kTargetContrast) break;
  }
  return lighter;
}

// Re-applies a widget's text colour when the application's colours change.
class SchemeWatcher : public QObject {
 public:
  static SchemeWatcher* instance() {
    static auto* watcher = new SchemeWatcher(QCoreApplication::instance());
    return watcher;
  }

  // A new application palette reaches the windows, which hand it down to their controls as a
  // palette change.
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::PaletteChange ||
        event->type() == QEvent::ApplicationPaletteChange) {
      if (auto* widget = qobject_cast<QWidget*>(object)) apply(widget);
    }
    return false;
  }

  static void apply(QWidget* widget) {
    const auto colour = static_cast<TextColour>(widget->property(kColourProperty).toInt());
    // The scheme as the application gives it to this kind of widget, without this widget's own
    // text colour.
    const QColor text = textColourIn(QApplication::palette(widget), colour);
    // Setting the colour is itself a palette change: stop once it is right.
    if (widget->testAttribute(Qt::WA_SetPalette) &&
        widget->palette().color(QPalette::Active, QPalette::WindowText) == text) {
      return;
    }
    // Only the text colour is the widget's own: every other colour follows the scheme.
    QPalette own;
    own.setColor(QPalette::WindowText, text);
    widget->setPalette(own);
  }

 private:
  using QObject::QObject;
};

}  // namespace

double contrastRatio(const QColor& first, const QColor& second) {
  const double a = relativeLuminance(first);
  const double b = relativeLuminance(second);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor textColourIn(const QPalette& scheme, TextColour colour) {
  const QColor background = scheme.color(QPalette::Active, QPalette::Window);
  const bool dark = background.lightness() < 128;
  if (!dark) return layoutColour(colour);
  if (colour == TextColour::Plain) return scheme.color(QPalette::Active, QPalette::WindowText);
  const QColor own = layoutColour(colour);
  return contrastRatio(own, background) >= kMinimumContrast ? own : lightenedFor(own, background);
}

TextColour textColourOf(const QWidget* widget) {
  return static_cast<TextColour>(widget->property(kColourProperty).toInt());
}

void useTextColour(QWidget* widget, TextColour colour) {
  widget->setProperty(kColourProperty, static_cast<int>(colour));
  SchemeWatcher::apply(widget);
  SchemeWatcher* watcher = SchemeWatcher::instance();
  widget->removeEventFilter(watcher);  // once per widget, however often its colour changes
  widget->installEventFilter(watcher);
}

}  // namespace sacotin
