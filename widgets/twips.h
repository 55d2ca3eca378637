#pragma once

#include <QRect>

namespace sacotin {

// The windows are laid out in twips: 1/1440 inch, 15 to a device-independent pixel (Qt scales
// pixels on high-DPI screens).
constexpr int twipsToPixels(int twips) { return (twips + 7) / 15; }

inline QRect twipsRect(int left, int top, int width, int height) {
  return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
               twipsToPixels(height));
}

}  // namespace sacotin
