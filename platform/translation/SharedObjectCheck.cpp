#include "SharedObjectCheck.h"

#include <dlfcn.h>
#include <elf.h>
#include <errno.h>
#include <link.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdint.h>

namespace BPrivate {

namespace {

typedef ElfW(Ehdr) ElfHeader;
typedef ElfW(Phdr) ProgramHeader;
typedef ElfW(Shdr) SectionHeader;
typedef ElfW(Sym) SymbolEntry;

// A translator's dynamic symbols and their names take a few kilobytes; a
// table larger than this is no add-on's.
const uint64_t kMaxTableBytes = 64 << 20;

const char *const kNotSharedObject = "not a shared object";
const char *const kDamaged = "a damaged shared object";


std::string CutShort(uint64_t fileSize)
{
	return "cut short: its headers describe more than its "
		+ std::to_string(fileSize) + " bytes";
}


bool WithinFile(uint64_t offset, uint64_t size, uint64_t fileSize)
{
	return offset <= fileSize && size <= fileSize - offset;
}


bool ReadAt(int fd, uint64_t offset, void *buffer, size_t size)
{
	uint8_t *bytes = static_cast<uint8_t *>(buffer);
	while (size > 0) {
		ssize_t count = pread(fd, bytes, size, (off_t)offset);
		if (count < 0 && errno == EINTR) {
			continue;
		}
		if (count <= 0) {
			return false;
		}
		bytes += count;
		offset += (uint64_t)count;
		size -= (size_t)count;
	}
	return true;
}


// The ELF header of the library this code is in: what the process itself
// is built for.
const ElfHeader *OwnHeader()
{
	Dl_info info;
	if (dladdr(reinterpret_cast<void *>(&OwnHeader), &info) == 0
		|| info.dli_fbase == NULL) {
		return NULL;
	}
	return static_cast<const ElfHeader *>(info.dli_fbase);
}


// The header of a file that starts with the ELF magic.
std::string HeaderProblem(const ElfHeader &header, uint64_t fileSize)
{
	if (header.e_type != ET_DYN) {
		return kNotSharedObject;
	}
	const ElfHeader *own = OwnHeader();
	if (own != NULL && (header.e_ident[EI_CLASS] != own->e_ident[EI_CLASS]
			|| header.e_ident[EI_DATA] != own->e_ident[EI_DATA]
			|| header.e_machine != own->e_machine)) {
		return "a shared object for another kind of machine";
	}
	if (header.e_phentsize != sizeof(ProgramHeader) || header.e_phnum == 0) {
		return kDamaged;
	}
	if (!WithinFile(header.e_phoff,
			(uint64_t)header.e_phnum * sizeof(ProgramHeader), fileSize)) {
		return CutShort(fileSize);
	}
	return "";
}


// Every segment's bytes must be in the file: the loader maps them blindly.
std::string SegmentProblem(int fd, const ElfHeader &header,
	uint64_t fileSize)
{
	std::vector<ProgramHeader> segments(header.e_phnum);
	if (!ReadAt(fd, header.e_phoff, segments.data(),
			segments.size() * sizeof(ProgramHeader))) {
		return CutShort(fileSize);
	}
	bool anyLoaded = false;
	for (const ProgramHeader &segment : segments) {
		if (!WithinFile(segment.p_offset, segment.p_filesz, fileSize)) {
			return CutShort(fileSize);
		}
		if (segment.p_type == PT_LOAD) {
			if (segment.p_filesz > segment.p_memsz) {
				return kDamaged;
			}
			anyLoaded = true;
		}
	}
	return anyLoaded ? "" : kDamaged;
}


// Whether name, an offset into the string table, is one of the wanted
// names; marks it found.
void MarkName(const std::vector<char> &strings, uint32_t name,
	const std::vector<const char *> &wanted, std::vector<bool> *found)
{
	if (name >= strings.size()) {
		return;
	}
	const char *start = strings.data() + name;
	size_t room = strings.size() - name;
	if (memchr(start, '\0', room) == NULL) {
		return;
	}
	for (size_t i = 0; i < wanted.size(); i++) {
		if (strcmp(start, wanted[i]) == 0) {
			(*found)[i] = true;
		}
	}
}


// Reads a section's bytes, bounded by the file and the table limit.
std::string ReadSection(int fd, const SectionHeader &section,
	uint64_t fileSize, std::vector<char> *bytes)
{
	if (section.sh_size > kMaxTableBytes) {
		return kDamaged;
	}
	if (!WithinFile(section.sh_offset, section.sh_size, fileSize)) {
		return CutShort(fileSize);
	}
	bytes->resize(section.sh_size);
	return ReadAt(fd, section.sh_offset, bytes->data(), bytes->size())
		? "" : CutShort(fileSize);
}


// Marks the wanted names that a dynamic symbol table defines (a symbol
// the module itself provides: not undefined, not local).
std::string MarkDefinedSymbols(int fd,
	const std::vector<SectionHeader> &sections, const SectionHeader &table,
	uint64_t fileSize, const std::vector<const char *> &wanted,
	std::vector<bool> *found)
{
	if (table.sh_link >= sections.size()
		|| sections[table.sh_link].sh_type != SHT_STRTAB) {
		return kDamaged;
	}
	std::vector<char> symbols;
	std::string problem = ReadSection(fd, table, fileSize, &symbols);
	std::vector<char> strings;
	if (problem.empty()) {
		problem = ReadSection(fd, sections[table.sh_link], fileSize,
			&strings);
	}
	if (!problem.empty()) {
		return problem;
	}
	size_t count = symbols.size() / sizeof(SymbolEntry);
	for (size_t i = 0; i < count; i++) {
		SymbolEntry symbol;
		memcpy(&symbol, symbols.data() + i * sizeof(SymbolEntry),
			sizeof(symbol));
		if (symbol.st_shndx != SHN_UNDEF
			&& ELF32_ST_BIND(symbol.st_info) != STB_LOCAL) {
			MarkName(strings, symbol.st_name, wanted, found);
		}
	}
	return "";
}


std::string SymbolProblem(int fd, const ElfHeader &header,
	uint64_t fileSize, const std::vector<const char *> &wanted)
{
	// Without section headers only the loader can look the names up.
	if (header.e_shoff == 0 || header.e_shnum == 0) {
		return "";
	}
	if (header.e_shentsize != sizeof(SectionHeader)) {
		return kDamaged;
	}
	if (!WithinFile(header.e_shoff,
			(uint64_t)header.e_shnum * sizeof(SectionHeader), fileSize)) {
		return CutShort(fileSize);
	}
	std::vector<SectionHeader> sections(header.e_shnum);
	if (!ReadAt(fd, header.e_shoff, sections.data(),
			sections.size() * sizeof(SectionHeader))) {
		return CutShort(fileSize);
	}
	std::vector<bool> found(wanted.size(), false);
	for (const SectionHeader &section : sections) {
		if (section.sh_type != SHT_DYNSYM) {
			continue;
		}
		std::string problem = MarkDefinedSymbols(fd, sections, section,
			fileSize, wanted, &found);
		if (!problem.empty()) {
			return problem;
		}
	}
	for (size_t i = 0; i < wanted.size(); i++) {
		if (!found[i]) {
			return std::string("defines no ") + wanted[i];
		}
	}
	return "";
}

} // namespace


std::string
SharedObjectProblem(int fd, const std::vector<const char *> &requiredSymbols)
{
	struct stat info;
	if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
		return "not a regular file";
	}
	const uint64_t fileSize = (uint64_t)info.st_size;
	ElfHeader header;
	memset(&header, 0, sizeof(header));
	size_t headerBytes = fileSize < sizeof(header) ? (size_t)fileSize
		: sizeof(header);
	if (!ReadAt(fd, 0, &header, headerBytes)
		|| memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) {
		return kNotSharedObject;
	}
	if (headerBytes < sizeof(header)) {
		return CutShort(fileSize);
	}
	std::string problem = HeaderProblem(header, fileSize);
	if (problem.empty()) {
		problem = SegmentProblem(fd, header, fileSize);
	}
	if (problem.empty()) {
		problem = SymbolProblem(fd, header, fileSize, requiredSymbols);
	}
	return problem;
}

} // namespace BPrivate
