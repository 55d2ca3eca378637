# Run by CPack on the installed tree of the Debian package before it is packed. The catalogue
# moves to /etc/sacotin/liste.dat, a configuration file (listed in the package's conffiles) that
# an upgrade keeps when the player edited it; the program's folder keeps a link to it, since the
# program reads the liste.dat beside it. The command moves to /usr/games, where Debian puts
# games.
file(GLOB_RECURSE trees LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*/lib/sacotin")
foreach(program_folder IN LISTS trees)
  get_filename_component(usr "${program_folder}/../.." ABSOLUTE)
  get_filename_component(root "${usr}/.." ABSOLUTE)
  file(MAKE_DIRECTORY "${root}/etc/sacotin")
  file(RENAME "${program_folder}/liste.dat" "${root}/etc/sacotin/liste.dat")
  file(CREATE_LINK /etc/sacotin/liste.dat "${program_folder}/liste.dat" SYMBOLIC)
  file(MAKE_DIRECTORY "${usr}/games")
  file(RENAME "${usr}/bin/sacotin" "${usr}/games/sacotin")
  file(REMOVE_RECURSE "${usr}/bin")  # it held the command alone
endforeach()
