# Compiler settings for all of the project's own code.
#
# -ffp-contract=off: the writer's grey arithmetic must give the same bytes
# on every build, so the compiler may not fuse a multiply and an add.
add_library(quorvel_flags INTERFACE)
target_compile_options(quorvel_flags INTERFACE
	-Wall -Wextra -Werror
	# Four-character codes ('bits', 'PPiv') are the platform's idiom.
	-Wno-multichar)
add_compile_options(-ffp-contract=off -fno-fast-math)

if(QUORVEL_SANITIZE)
	add_compile_options(-fsanitize=${QUORVEL_SANITIZE} -fno-omit-frame-pointer
		-fno-sanitize-recover=all)
	add_link_options(-fsanitize=${QUORVEL_SANITIZE})
endif()

# Hardened as Debian builds its packages: glibc's checked string, memory
# and I/O functions where the compiler knows the sizes, and every symbol
# bound at load so that the relocations can be made read-only. Left out
# of the sanitizer builds, whose own checks replace glibc's, and of the
# unoptimised build, where the checks cannot work.
if(NOT QUORVEL_SANITIZE)
	add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
	add_link_options(LINKER:-z,relro,-z,now)
endif()
