# Turns system-palette.txt into a C++ table of the 256 colours of the
# system colour map. Run as: cmake -DINPUT=<txt> -DOUTPUT=<cpp> -P <this>.
#
# The text holds comment lines (#) and 256 lines "index red green blue
# alpha", the indices 0 to 255 in order, every value 0 to 255. Anything
# else stops the build: a wrong palette must not reach the screen's map.
if(NOT INPUT OR NOT OUTPUT)
	message(FATAL_ERROR "INPUT and OUTPUT must be given")
endif()

file(STRINGS "${INPUT}" lines)
set(expected 0)
set(entries "")
foreach(line IN LISTS lines)
	string(STRIP "${line}" line)
	if(line STREQUAL "" OR line MATCHES "^#")
		continue()
	endif()
	if(NOT line MATCHES
			"^([0-9]+)[ \t]+([0-9]+)[ \t]+([0-9]+)[ \t]+([0-9]+)[ \t]+([0-9]+)$")
		message(FATAL_ERROR "${INPUT}: malformed line \"${line}\"")
	endif()
	set(index ${CMAKE_MATCH_1})
	set(values ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4}
		${CMAKE_MATCH_5})
	if(NOT index EQUAL expected)
		message(FATAL_ERROR
			"${INPUT}: entry ${index} where ${expected} was expected")
	endif()
	foreach(value IN LISTS values)
		if(value GREATER 255)
			message(FATAL_ERROR "${INPUT}: value ${value} of entry ${index}")
		endif()
	endforeach()
	list(JOIN values ", " joined)
	string(APPEND entries "\t{${joined}},\n")
	math(EXPR expected "${expected} + 1")
endforeach()
if(NOT expected EQUAL 256)
	message(FATAL_ERROR "${INPUT}: ${expected} entries, 256 expected")
endif()

set(content "// Generated from system-palette.txt by GenerateSystemPalette.cmake.
#include \"SystemPalette.h\"

namespace BPrivate {

const rgb_color kSystemPalette[256] = {
${entries}};

} // namespace BPrivate
")

# Rewrite only on change, so that an unchanged palette rebuilds nothing.
if(EXISTS "${OUTPUT}")
	file(READ "${OUTPUT}" previous)
	if(previous STREQUAL content)
		return()
	endif()
endif()
file(WRITE "${OUTPUT}" "${content}")
