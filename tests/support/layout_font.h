#pragma once

#include <QGuiApplication>
#include <QString>

namespace sacotin::testing {

// The family a control whose layout font is MS Sans Serif must get: that name, but on Windows at
// a display scaling other than 100 %, where the bitmap font has no size to offer, its TrueType
// twin.
inline QString layoutSansSerif() {
#ifdef Q_OS_WIN
  if (!qFuzzyCompare(qApp->devicePixelRatio(), 1.0)) return QStringLiteral("Microsoft Sans Serif");
#endif
  return QStringLiteral("MS Sans Serif");
}

}  // namespace sacotin::testing
