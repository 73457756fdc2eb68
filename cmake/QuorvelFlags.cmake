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
