# Where things go in the build tree and in an installed tree.
#
# An installed tree keeps the stand-in kit libraries and the translator
# add-ons in a folder of their own under lib/, never on the system's
# library path. The program finds both relative to itself (its RPATH and
# QUORVEL_TRANSLATORS_FROM_BINDIR), so the tree works under any prefix and
# keeps working when moved.
include(GNUInstallDirs)

# Every translator add-on is built into this folder; the roster loads the
# folder, and the install rules take every module built there.
set(QUORVEL_TRANSLATORS_BUILD_DIR ${CMAKE_BINARY_DIR}/translators)

set(QUORVEL_INSTALL_PRIVATE_LIBDIR lib/quorvel)
set(QUORVEL_INSTALL_TRANSLATORSDIR ${QUORVEL_INSTALL_PRIVATE_LIBDIR}/translators)

file(RELATIVE_PATH QUORVEL_TRANSLATORS_FROM_BINDIR
	/${CMAKE_INSTALL_BINDIR} /${QUORVEL_INSTALL_TRANSLATORSDIR})
file(RELATIVE_PATH QUORVEL_PRIVATE_LIBDIR_FROM_BINDIR
	/${CMAKE_INSTALL_BINDIR} /${QUORVEL_INSTALL_PRIVATE_LIBDIR})
file(RELATIVE_PATH QUORVEL_PRIVATE_LIBDIR_FROM_TRANSLATORSDIR
	/${QUORVEL_INSTALL_TRANSLATORSDIR} /${QUORVEL_INSTALL_PRIVATE_LIBDIR})
string(REGEX REPLACE "/$" "" QUORVEL_PRIVATE_LIBDIR_FROM_TRANSLATORSDIR
	${QUORVEL_PRIVATE_LIBDIR_FROM_TRANSLATORSDIR})
