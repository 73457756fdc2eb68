# Run by cpack after it has made the Debian package (CPACK_POST_BUILD_SCRIPTS):
# rebuilds each .deb without the postinst and postrm that only call
# ldconfig (see QuorvelPackage.cmake). A script that does anything else is
# left alone.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
	if(NOT package MATCHES "\\.deb$")
		continue()
	endif()
	set(tree ${package}.tree)
	file(REMOVE_RECURSE ${tree})
	execute_process(COMMAND dpkg-deb -R ${package} ${tree}
		COMMAND_ERROR_IS_FATAL ANY)
	foreach(script postinst postrm)
		set(path ${tree}/DEBIAN/${script})
		if(EXISTS ${path})
			file(STRINGS ${path} lines)
			list(FILTER lines EXCLUDE REGEX
				"^(#!/bin/sh|set -e|if \\[ \"\\$1\" = \"(configure|remove)\" \\]; then|[ \t]*ldconfig|fi|)$")
			if(lines STREQUAL "")
				file(REMOVE ${path})
			else()
				message(WARNING "${script} does more than run ldconfig; kept")
			endif()
		endif()
	endforeach()
	execute_process(COMMAND dpkg-deb --root-owner-group -Zxz -b ${tree}
		${package} OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
	file(REMOVE_RECURSE ${tree})
endforeach()
