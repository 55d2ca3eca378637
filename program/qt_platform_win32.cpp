#include "program/qt_platform.h"

namespace sacotin {

void chooseQtPlatform() {}  // Windows has one platform

}  // namespace sacotin
