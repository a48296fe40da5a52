// Symbol lookup in an ELF image's own dynamic symbol table, through its GNU or
// SysV hash table: for modules the dynamic loader mapped, and for library files
// the platform laid out itself as data.
#pragma once

#include <cstddef>
#include <link.h>

namespace vek
{
// The memory a lookup may read. An empty range trusts the image (one the loader
// mapped); a set range makes every read of the tables and of the symbol found
// checked against it, so a damaged file yields null instead of a stray read.
struct ElfImageRange
{
    const unsigned char* pBegin = nullptr;
    const unsigned char* pEnd = nullptr;

    bool Contains(const void* p, size_t nBytes) const;
};

// The address of pszName as the image defines it itself: a global or weak
// definition of the default version, not a thread-local one. nBias is the
// difference between the image's addresses and its virtual addresses; pDynamic
// its dynamic section, ending in DT_NULL. Null when there is no such symbol or
// the image has no symbol or hash table. Sets bUnsure instead of answering for
// what only the loader can evaluate (indirect functions).
void* FindDynamicSymbol(ElfW(Addr) nBias, const ElfW(Dyn) * pDynamic, const char* pszName,
                        const ElfImageRange& range, bool& bUnsure);
} // namespace vek
