# Installs the catalogue (sacotin_catalogue_source) as liste.dat into sacotin_catalogue_folder
# below the install prefix, without ever losing the player's own: an existing liste.dat that
# differs from the new one is left as it is, and the new one is put beside it as liste.dat.new.
set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${sacotin_catalogue_folder}")
set(installed "${folder}/liste.dat")
if(EXISTS "${installed}" OR IS_SYMLINK "${installed}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${sacotin_catalogue_source}"
                          "${installed}" RESULT_VARIABLE differs OUTPUT_QUIET ERROR_QUIET)
  if(differs)
    message(STATUS "Kept: ${installed} (yours); the new catalogue is ${installed}.new")
    file(COPY_FILE "${sacotin_catalogue_source}" "${installed}.new")
  else()
    message(STATUS "Up-to-date: ${installed}")
  endif()
else()
  message(STATUS "Installing: ${installed}")
  file(MAKE_DIRECTORY "${folder}")
  file(COPY_FILE "${sacotin_catalogue_source}" "${installed}")
endif()
