// Whether a file can be handed to the dynamic loader as an add-on, judged
// from its bytes before the loader maps it.
//
// The loader maps a shared object's segments as its program headers say
// and trusts them: a segment that reaches past the end of a cut-short file
// is mapped all the same, and the first touch of it kills the process with
// SIGBUS. Loading a library also runs its initialisers, so a library that
// does not define the add-on's entry points is better left unloaded. The
// check reads the headers and the dynamic symbol table with plain reads,
// never through a mapping, and bounds every size by the file's own.
#ifndef _SHARED_OBJECT_CHECK_H
#define _SHARED_OBJECT_CHECK_H

#include <string>
#include <vector>

namespace BPrivate {

// Empty when the open file is a complete shared object of this process's
// kind (ELF class, byte order and machine) whose segments lie within the
// file and whose dynamic symbol table defines every one of requiredSymbols;
// otherwise why not, in a few words ("not a shared object", "cut short:
// ...", "defines no Identify", ...). A file without section headers (a
// rare, stripped-to-the-bone library) is taken on its segments alone, and
// the loader's lookups then decide.
std::string SharedObjectProblem(int fd,
	const std::vector<const char *> &requiredSymbols);

} // namespace BPrivate

#endif // _SHARED_OBJECT_CHECK_H
