# The core: text encodings, the registry and catalogue readers and, on Linux, the search for the
# Wine prefix the game runs in. Qt Core only: a header of Qt Gui or Qt Widgets (a widget header)
# included by a core file does not build. Included by the program's project and by the fuzzers'.
cmake_path(GET CMAKE_CURRENT_LIST_DIR PARENT_PATH sacotin_source_root)

# Keeps of the given files those built on this platform: files ending in _win32.cpp on Windows
# only; files ending in _posix.cpp, and the folders that only serve Wine prefixes (wine/, the
# reader of Wine's registry file, and prefix_search/, the search for the prefix the game runs
# in), everywhere else. The one place the platforms' sources are told apart.
function(sacotin_platform_sources out)
  set(files ${ARGN})
  if(WIN32)
    list(FILTER files EXCLUDE REGEX "_posix\\.cpp$|/wine/|/prefix_search/")
  else()
    list(FILTER files EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

set(sacotin_core_folders files encodings registry registry/wine catalogue game_data prefix_search
    current_user)
list(TRANSFORM sacotin_core_folders PREPEND ${sacotin_source_root}/ OUTPUT_VARIABLE core_globs)
list(TRANSFORM core_globs APPEND /*.cpp)
file(GLOB sacotin_core_all_sources CONFIGURE_DEPENDS ${core_globs})
sacotin_platform_sources(sacotin_core_sources ${sacotin_core_all_sources})

find_package(Qt6 REQUIRED COMPONENTS Core)
add_library(sacotin_core STATIC ${sacotin_core_sources})
target_include_directories(sacotin_core PUBLIC ${sacotin_source_root})
target_link_libraries(sacotin_core PUBLIC Qt6::Core)
if(WIN32)
  target_link_libraries(sacotin_core PUBLIC advapi32)
else()
  # Lutris's and Bottles' files are YAML.
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(YAML REQUIRED IMPORTED_TARGET yaml-0.1)
  target_link_libraries(sacotin_core PUBLIC PkgConfig::YAML)
endif()
