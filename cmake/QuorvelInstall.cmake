# cmake --install: the quorvel command in bin/, the stand-in kit libraries
# and the translator add-ons in lib/quorvel/, the manual page and the bash
# completion under share/. RPATHs are relative ($ORIGIN), so the installed
# tree needs nothing on the system's library path and can be moved.
if(NOT TARGET quorvel)
	return()
endif()

# Every module built into the translators folder, in whichever folder of
# the project it is defined: the Quorvel add-on and the kit's standard
# translators alike.
function(quorvel_collect_translators directory result)
	set(found ${${result}})
	get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
	foreach(target IN LISTS targets)
		get_target_property(type ${target} TYPE)
		get_target_property(output ${target} LIBRARY_OUTPUT_DIRECTORY)
		if(type STREQUAL "MODULE_LIBRARY" AND output)
			cmake_path(NORMAL_PATH output)
			cmake_path(NORMAL_PATH QUORVEL_TRANSLATORS_BUILD_DIR
				OUTPUT_VARIABLE translators)
			if(output STREQUAL translators)
				list(APPEND found ${target})
			endif()
		endif()
	endforeach()
	get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
	foreach(subdirectory IN LISTS subdirectories)
		quorvel_collect_translators(${subdirectory} found)
	endforeach()
	set(${result} ${found} PARENT_SCOPE)
endfunction()

set(QUORVEL_TRANSLATOR_TARGETS "")
quorvel_collect_translators(${PROJECT_SOURCE_DIR} QUORVEL_TRANSLATOR_TARGETS)
# Building the program builds every translator it is installed with (and
# loads from the build tree), so that building only the program is enough
# to install it.
add_dependencies(quorvel ${QUORVEL_TRANSLATOR_TARGETS}
	${QUORVEL_TRANSLATOR_CODECS})

# Each installed binary is built with its final RPATH, followed by where
# the build tree keeps the kit libraries ($ORIGIN/../lib from both host/
# and translators/). Left to itself CMake would pad the build tree's RPATH
# with empty entries, to rewrite it in place at install, and the loader
# reads an empty entry as the current folder: a library planted where the
# program is run would be loaded.
set(build_libdir_from_binaries "$ORIGIN/../lib")
set_target_properties(quorvel PROPERTIES
	BUILD_WITH_INSTALL_RPATH ON
	INSTALL_RPATH
		"$ORIGIN/${QUORVEL_PRIVATE_LIBDIR_FROM_BINDIR}:${build_libdir_from_binaries}")
set_target_properties(be translation ${QUORVEL_TRANSLATOR_CODECS} PROPERTIES
	BUILD_WITH_INSTALL_RPATH ON
	INSTALL_RPATH "$ORIGIN")
set_target_properties(${QUORVEL_TRANSLATOR_TARGETS} PROPERTIES
	BUILD_WITH_INSTALL_RPATH ON
	INSTALL_RPATH
		"$ORIGIN/${QUORVEL_PRIVATE_LIBDIR_FROM_TRANSLATORSDIR}:${build_libdir_from_binaries}")

install(TARGETS quorvel
	RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS be translation ${QUORVEL_TRANSLATOR_CODECS}
	LIBRARY DESTINATION ${QUORVEL_INSTALL_PRIVATE_LIBDIR})
install(TARGETS ${QUORVEL_TRANSLATOR_TARGETS}
	LIBRARY DESTINATION ${QUORVEL_INSTALL_TRANSLATORSDIR})

# Manual pages are installed compressed, as Debian's policy asks; man reads
# them either way. -n keeps the time stamp out, so the bytes are
# reproducible.
set(manual ${CMAKE_BINARY_DIR}/quorvel.1.gz)
add_custom_command(OUTPUT ${manual}
	COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/host/quorvel.1 > ${manual}
	DEPENDS ${PROJECT_SOURCE_DIR}/host/quorvel.1
	VERBATIM)
add_custom_target(quorvel_manual DEPENDS ${manual})
add_dependencies(quorvel quorvel_manual)
install(FILES ${manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# bash-completion loads completions on demand from
# <prefix>/share/bash-completion/completions for every <prefix>/bin on PATH,
# and from the system's and the user's folders of that name.
install(FILES ${PROJECT_SOURCE_DIR}/host/quorvel.bash-completion
	DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
	RENAME quorvel)
