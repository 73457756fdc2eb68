# A Debian package from the install rules: cpack --preset deb (after a
# build) writes out/package/quorvel_<version>_<arch>.deb, installing under
# /usr. dpkg-shlibdeps works out the dependencies from the binaries
# themselves: libpng16-16, libjpeg62-turbo and libgif7 for the standard
# translators, and the C and C++ runtimes; the private kit libraries are found through their $ORIGIN
# RPATHs inside the package.
if(NOT TARGET quorvel)
	return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
	"PalmPilot image translator for the Translation Kit, and its command")
set(CPACK_PACKAGE_DESCRIPTION
	"Quorvel converts, in both directions, between the Translation Kit's bitmap
stream and PalmPilot images: Palm databases holding one black-and-white,
four-grey or sixteen-grey picture, optionally run-length packed. The
quorvel command loads the translator add-on through the kit's roster, as
an application on the platform does, and converts PNG, JPEG, PNM, BMP
and bitmap-stream files to and from Pilot images, and reads GIF
pictures. The package holds the command, the add-on, the kit's standard
PNG, JPEG, PNM, GIF and BMP translators and private stand-ins for the
platform's kit libraries, and brings Pilot images to the desktop: the
MIME type image/x-pilotimage, a gdk-pixbuf loader and a thumbnailer
entry.")
# Debian asks for a name and an address; whoever publishes the package
# gives theirs.
set(QUORVEL_DEBIAN_MAINTAINER
	"Quorvel developers <quorvel-maintainers@example.org>" CACHE STRING
	"The Maintainer field of the Debian package: Name <address>")
set(CPACK_PACKAGE_CONTACT ${QUORVEL_DEBIAN_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS bash-completion)
# The MIME database names Pilot images, without which gdk-pixbuf never
# picks their loader; the thumbnailer entry runs gdk-pixbuf-thumbnailer.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, libgdk-pixbuf2.0-bin")
# The MIME database and gdk-pixbuf's loader cache are refreshed by the
# file triggers their packages declare on /usr/share/mime/packages and on
# the loaders folder: dpkg fires them whenever this package puts files
# there or takes them away, so no maintainer script of ours is needed.

# Debian's policy wants every package to carry its licence as
# /usr/share/doc/<package>/copyright (in the machine-readable form) and,
# for a package that is its own upstream, its changelog.
set(doc_dir ${CMAKE_BINARY_DIR}/package-doc)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX REPLACE "\n$" "" licence "${licence}")
string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REGEX REPLACE "\n" "\n " licence " ${licence}")
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" holder "${licence}")
file(WRITE ${doc_dir}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: quorvel

Files: *
Copyright: ${CMAKE_MATCH_1}
License: Expat
${licence}
")
# The date honours SOURCE_DATE_EPOCH, so the bytes can be reproduced.
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${doc_dir}/changelog
"quorvel (${PROJECT_VERSION}) unstable; urgency=medium

  * Quorvel ${PROJECT_VERSION}.

 -- ${QUORVEL_DEBIAN_MAINTAINER}  ${changelog_date}
")
set(changelog ${doc_dir}/changelog.gz)
add_custom_command(OUTPUT ${changelog}
	COMMAND gzip -9 -n -c ${doc_dir}/changelog > ${changelog}
	DEPENDS ${doc_dir}/changelog
	VERBATIM)
add_custom_target(quorvel_changelog DEPENDS ${changelog})
add_dependencies(quorvel quorvel_changelog)
install(FILES ${doc_dir}/copyright ${changelog}
	DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quorvel)

# CPack gives a package that has a shared object in a folder directly
# under /usr/lib (here the private /usr/lib/quorvel/) a postinst and a
# postrm that run ldconfig, as it would for a library on the system's
# path. Nothing of quorvel is on that path (RPATHs find it), so the two
# scripts are taken out of the finished package.
set(CPACK_POST_BUILD_SCRIPTS
	${PROJECT_SOURCE_DIR}/cmake/QuorvelDebNoLdconfig.cmake)

include(CPack)
