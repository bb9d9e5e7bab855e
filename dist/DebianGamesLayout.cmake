# Run by CPack on the staged files before it builds the .deb: Debian keeps the
# binaries of games in /usr/games. The program still finds its data there,
# through ../share/murmel-worlds.
set(usr ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
file(MAKE_DIRECTORY ${usr}/games)
file(RENAME ${usr}/bin/murmel-worlds ${usr}/games/murmel-worlds)
file(REMOVE_RECURSE ${usr}/bin)
