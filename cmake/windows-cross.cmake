# Cross build of the whole program for 64-bit Windows: Debian's MinGW-w64 and a Qt for Windows
# built with it (shared libraries). Qt is taken from, in this order:
#   1. the folder named by the environment variable SACOTIN_QT_WINDOWS;
#   2. the cache folder that tools/build-qt-windows.sh installs into;
#   3. the prebuilt archive in ../shared/toolchains beside the checkout, unpacked into that
#      cache folder on first use.
# Qt's host tools (moc, rcc) come from Debian's qt6-base-dev (same Qt version).
set(sacotin_qt_name qt-6.4.2-windows-mingw64)

if(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
  set(sacotin_cache_dir "$ENV{XDG_CACHE_HOME}/sacotin")
else()
  set(sacotin_cache_dir "$ENV{HOME}/.cache/sacotin")
endif()
set(sacotin_cached_qt "${sacotin_cache_dir}/${sacotin_qt_name}")
set(sacotin_qt_archive "${CMAKE_CURRENT_LIST_DIR}/../../shared/toolchains/${sacotin_qt_name}.tar.xz")

if(DEFINED ENV{SACOTIN_QT_WINDOWS} AND NOT "$ENV{SACOTIN_QT_WINDOWS}" STREQUAL "")
  set(sacotin_qt_dir "$ENV{SACOTIN_QT_WINDOWS}")
elseif(EXISTS "${sacotin_cached_qt}/lib/cmake/Qt6/qt.toolchain.cmake")
  set(sacotin_qt_dir "${sacotin_cached_qt}")
elseif(EXISTS "${sacotin_qt_archive}")
  message(STATUS "Unpacking ${sacotin_qt_archive} into ${sacotin_cache_dir}")
  file(MAKE_DIRECTORY "${sacotin_cache_dir}")
  # Unpacked beside the final folder and renamed, so that an interrupted unpack is never taken
  # for a complete Qt.
  file(REMOVE_RECURSE "${sacotin_cache_dir}/unpacking")
  file(ARCHIVE_EXTRACT INPUT "${sacotin_qt_archive}" DESTINATION "${sacotin_cache_dir}/unpacking")
  file(RENAME "${sacotin_cache_dir}/unpacking/${sacotin_qt_name}" "${sacotin_cached_qt}")
  file(REMOVE_RECURSE "${sacotin_cache_dir}/unpacking")
  set(sacotin_qt_dir "${sacotin_cached_qt}")
else()
  message(FATAL_ERROR "No Qt for Windows: set SACOTIN_QT_WINDOWS, or run tools/build-qt-windows.sh "
                      "(it installs into ${sacotin_cached_qt}).")
endif()

set(QT_CHAINLOAD_TOOLCHAIN_FILE "${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake")
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
include("${sacotin_qt_dir}/lib/cmake/Qt6/qt.toolchain.cmake")
