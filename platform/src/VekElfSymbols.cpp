#include "VekElfSymbols.h"

#include <cstdint>
#include <cstring>
#include <elf.h>

namespace vek
{
bool ElfImageRange::Contains(const void* p, size_t nBytes) const
{
    if (!pBegin)
        return true;
    const auto* pByte = static_cast<const unsigned char*>(p);
    return pByte >= pBegin && pByte <= pEnd && nBytes <= static_cast<size_t>(pEnd - pByte);
}

namespace
{
// The tables of an image's dynamic section that a symbol lookup needs.
struct DynamicSymbols
{
    ElfW(Addr) nBias = 0;
    const ElfW(Sym) * pSymbols = nullptr;
    const char* pszStrings = nullptr;
    const ElfW(Half) * pVersions = nullptr;
    const Elf32_Word* pGnuHash = nullptr;
    const Elf32_Word* pSysvHash = nullptr;
};

DynamicSymbols ReadDynamicSymbols(ElfW(Addr) nBias, const ElfW(Dyn) * pDynamic)
{
    // The loader adjusts the addresses in a writable dynamic section by the load
    // bias; a read-only one (and every one the platform lays out itself) keeps
    // offsets from it. An adjusted address is never below the bias, an offset
    // always is (the bias of an image is far beyond its size, and zero where
    // nothing needs adjusting).
    auto address = [nBias](ElfW(Addr) nValue) { return nValue < nBias ? nValue + nBias : nValue; };
    DynamicSymbols tables;
    tables.nBias = nBias;
    for (const ElfW(Dyn)* pEntry = pDynamic; pEntry && pEntry->d_tag != DT_NULL; ++pEntry)
    {
        const ElfW(Addr) nAddress = address(pEntry->d_un.d_ptr);
        switch (pEntry->d_tag)
        {
        case DT_SYMTAB:
            tables.pSymbols = reinterpret_cast<const ElfW(Sym)*>(nAddress);
            break;
        case DT_STRTAB:
            tables.pszStrings = reinterpret_cast<const char*>(nAddress);
            break;
        case DT_VERSYM:
            tables.pVersions = reinterpret_cast<const ElfW(Half)*>(nAddress);
            break;
        case DT_GNU_HASH:
            tables.pGnuHash = reinterpret_cast<const Elf32_Word*>(nAddress);
            break;
        case DT_HASH:
            tables.pSysvHash = reinterpret_cast<const Elf32_Word*>(nAddress);
            break;
        default:
            break;
        }
    }
    return tables;
}

// Whether the name at pszName is pszWanted, reading no further than the range allows.
bool NameIs(const char* pszName, const char* pszWanted, const ElfImageRange& range)
{
    const size_t nLength = std::strlen(pszWanted);
    return range.Contains(pszName, nLength + 1) && std::memcmp(pszName, pszWanted, nLength) == 0 &&
           pszName[nLength] == '\0';
}

// What dlsym would give for this entry of the image's table, if it names
// pszName: a definition of the default version, not a thread-local one.
void* Definition(const DynamicSymbols& tables, Elf32_Word nIndex, const char* pszName,
                 const ElfImageRange& range, bool& bUnsure)
{
    const ElfW(Sym)* pSym = tables.pSymbols + nIndex;
    if (!range.Contains(pSym, sizeof *pSym))
        return nullptr;
    const ElfW(Sym)& sym = *pSym;
    if (sym.st_shndx == SHN_UNDEF || !NameIs(tables.pszStrings + sym.st_name, pszName, range))
        return nullptr;
    const unsigned char nBind = ELF64_ST_BIND(sym.st_info);
    if (nBind != STB_GLOBAL && nBind != STB_WEAK && nBind != STB_GNU_UNIQUE)
        return nullptr;
    // A hidden version is reachable only by its version name.
    if (tables.pVersions)
    {
        if (!range.Contains(tables.pVersions + nIndex, sizeof(ElfW(Half))))
            return nullptr;
        if ((tables.pVersions[nIndex] & 0x8000) != 0)
            return nullptr;
    }
    switch (ELF64_ST_TYPE(sym.st_info))
    {
    case STT_FUNC:
    case STT_OBJECT:
    case STT_NOTYPE:
    case STT_COMMON:
        break;
    case STT_TLS:
        return nullptr;
    default:
        bUnsure = true;
        return nullptr;
    }
    void* pSymbol = reinterpret_cast<void*>(sym.st_shndx == SHN_ABS ? sym.st_value
                                                                    : tables.nBias + sym.st_value);
    // In a checked image the whole object must lie inside it.
    return range.Contains(pSymbol, sym.st_size ? sym.st_size : 1) ? pSymbol : nullptr;
}

void* FindInGnuHash(const DynamicSymbols& tables, const char* pszName, const ElfImageRange& range,
                    bool& bUnsure)
{
    const Elf32_Word* pHeader = tables.pGnuHash;
    if (!range.Contains(pHeader, 4 * sizeof(Elf32_Word)))
        return nullptr;
    const Elf32_Word nBuckets = pHeader[0];
    const Elf32_Word nFirstHashed = pHeader[1];
    const Elf32_Word nBloomWords = pHeader[2];
    if (nBuckets == 0)
        return nullptr;
    const auto* pBloom = reinterpret_cast<const ElfW(Addr)*>(pHeader + 4);
    if (!range.Contains(pBloom, size_t{nBloomWords} * sizeof(ElfW(Addr))))
        return nullptr;
    const auto* pBuckets = reinterpret_cast<const Elf32_Word*>(pBloom + nBloomWords);
    if (!range.Contains(pBuckets, size_t{nBuckets} * sizeof(Elf32_Word)))
        return nullptr;
    const Elf32_Word* pChain = pBuckets + nBuckets;
    uint32_t nHash = 5381;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(pszName); *p; ++p)
        nHash = nHash * 33 + *p;
    for (Elf32_Word nIndex = pBuckets[nHash % nBuckets]; nIndex >= nFirstHashed && nIndex != 0;
         ++nIndex)
    {
        const Elf32_Word* pEntryHash = pChain + (nIndex - nFirstHashed);
        if (!range.Contains(pEntryHash, sizeof *pEntryHash))
            return nullptr;
        const Elf32_Word nEntryHash = *pEntryHash;
        if ((nEntryHash | 1) == (nHash | 1))
            if (void* pSymbol = Definition(tables, nIndex, pszName, range, bUnsure))
                return pSymbol;
        if (nEntryHash & 1)
            break; // the end of this bucket's chain
    }
    return nullptr;
}

void* FindInSysvHash(const DynamicSymbols& tables, const char* pszName, const ElfImageRange& range,
                     bool& bUnsure)
{
    if (!range.Contains(tables.pSysvHash, 2 * sizeof(Elf32_Word)))
        return nullptr;
    const Elf32_Word nBuckets = tables.pSysvHash[0];
    const Elf32_Word nChain = tables.pSysvHash[1];
    const Elf32_Word* pBuckets = tables.pSysvHash + 2;
    const Elf32_Word* pChain = pBuckets + nBuckets;
    if (nBuckets == 0 ||
        !range.Contains(pBuckets, (size_t{nBuckets} + nChain) * sizeof(Elf32_Word)))
        return nullptr;
    uint32_t nHash = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(pszName); *p; ++p)
    {
        nHash = (nHash << 4) + *p;
        const uint32_t nHigh = nHash & 0xf0000000u;
        nHash ^= nHigh >> 24;
        nHash &= ~nHigh;
    }
    // A chain visits each entry at most once; a longer walk means a damaged table.
    Elf32_Word nSteps = 0;
    for (Elf32_Word nIndex = pBuckets[nHash % nBuckets]; nIndex != STN_UNDEF && nSteps <= nChain;
         nIndex = pChain[nIndex], ++nSteps)
    {
        if (range.pBegin && nIndex >= nChain)
            return nullptr;
        if (void* pSymbol = Definition(tables, nIndex, pszName, range, bUnsure))
            return pSymbol;
    }
    return nullptr;
}
} // namespace

void* FindDynamicSymbol(ElfW(Addr) nBias, const ElfW(Dyn) * pDynamic, const char* pszName,
                        const ElfImageRange& range, bool& bUnsure)
{
    const DynamicSymbols tables = ReadDynamicSymbols(nBias, pDynamic);
    if (!tables.pSymbols || !tables.pszStrings || !(tables.pGnuHash || tables.pSysvHash))
    {
        bUnsure = true;
        return nullptr;
    }
    return tables.pGnuHash ? FindInGnuHash(tables, pszName, range, bUnsure)
                           : FindInSysvHash(tables, pszName, range, bUnsure);
}
} // namespace vek
