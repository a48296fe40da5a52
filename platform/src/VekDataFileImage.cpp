#include "VekDataFileImage.h"

#include "VekElfSymbols.h"
#include "errhandlingapi.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <memory>
#include <mutex>
#include <new>
#include <sys/stat.h>
#include <string>
#include <unistd.h>
#include <vector>

#ifndef DT_RELRSZ
#define DT_RELRSZ 35
#define DT_RELR 36
#define DT_RELRENT 37
#endif

namespace vek
{
namespace
{
#if defined(__x86_64__)
constexpr ElfW(Half) kMachine = EM_X86_64;
constexpr unsigned kRelativeRelocation = R_X86_64_RELATIVE;
constexpr unsigned kNoRelocation = R_X86_64_NONE;
#elif defined(__aarch64__)
constexpr ElfW(Half) kMachine = EM_AARCH64;
constexpr unsigned kRelativeRelocation = R_AARCH64_RELATIVE;
constexpr unsigned kNoRelocation = R_AARCH64_NONE;
#else
#error "data-file images: the machine's ELF constants are missing"
#endif

// Sizes beyond any resource library: a file or an image larger than this is
// refused before memory is taken for it.
constexpr off_t kMaxFileSize = off_t{64} << 20;
constexpr ElfW(Addr) kMaxImageSize = ElfW(Addr){64} << 20;
// Segments need no more alignment than a page gives; larger requests are capped.
constexpr size_t kMaxAlignment = 4096;
constexpr size_t kMinAlignment = 16;

struct DataFileImage
{
    unsigned char* pBlock = nullptr; // the image, from its lowest virtual address on
    size_t nSize = 0;
    ElfW(Addr) nBias = 0; // block address minus lowest virtual address
    const ElfW(Dyn) * pDynamic = nullptr;
    // The object found last, by name: strings are loaded by the thousand when
    // rules are read, each looking up the same table.
    std::string strFoundName;
    const void* pFound = nullptr;
};

// The live images. Handles are validated against this list, so a freed or
// foreign handle fails instead of being dereferenced.
std::mutex g_imagesLock;
std::vector<DataFileImage*> g_images;

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

bool ReadAt(int fd, void* pBuffer, size_t nBytes, off_t nOffset)
{
    auto* p = static_cast<unsigned char*>(pBuffer);
    while (nBytes > 0)
    {
        const ssize_t n = pread(fd, p, nBytes, nOffset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        nBytes -= static_cast<size_t>(n);
        nOffset += n;
    }
    return true;
}

DWORD OpenError(int nErrno)
{
    switch (nErrno)
    {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG:
        return ERROR_PATH_NOT_FOUND;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return ERROR_ACCESS_DENIED;
    }
}

bool IsSharedObjectOfThisMachine(const ElfW(Ehdr) & header)
{
    return std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
           header.e_ident[EI_CLASS] == ELFCLASS64 &&
           header.e_ident[EI_DATA] ==
               (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB) &&
           header.e_ident[EI_VERSION] == EV_CURRENT && header.e_type == ET_DYN &&
           header.e_machine == kMachine && header.e_phentsize == sizeof(ElfW(Phdr)) &&
           header.e_phnum > 0 && header.e_phnum < PN_XNUM;
}

// An image under construction: its block, and reads of it by virtual address
// that never leave it.
class ImageBuilder
{
public:
    ~ImageBuilder() { std::free(m_pBlock); }

    // Takes the zeroed block for the span of the loadable segments.
    DWORD Allocate(ElfW(Addr) nLowest, ElfW(Addr) nSize, size_t nAlignment)
    {
        void* pBlock = nullptr;
        if (posix_memalign(&pBlock, nAlignment, nSize) != 0)
            return ERROR_NOT_ENOUGH_MEMORY;
        std::memset(pBlock, 0, nSize);
        m_pBlock = static_cast<unsigned char*>(pBlock);
        m_nLowest = nLowest;
        m_nSize = nSize;
        return ERROR_SUCCESS;
    }

    // The bytes at virtual address nAddress, when nBytes of them lie in the image
    // and the address is aligned to nAlignment; null otherwise.
    unsigned char* At(ElfW(Addr) nAddress, size_t nBytes, size_t nAlignment = 1) const
    {
        if (nAddress < m_nLowest || nAddress - m_nLowest > m_nSize ||
            nBytes > m_nSize - (nAddress - m_nLowest) || nAddress % nAlignment != 0)
            return nullptr;
        return m_pBlock + (nAddress - m_nLowest);
    }

    ElfW(Addr) Bias() const { return reinterpret_cast<ElfW(Addr)>(m_pBlock) - m_nLowest; }

    // Writes nValue into the word at nAddress; false when that word is not in the image.
    bool Relocate(ElfW(Addr) nAddress, ElfW(Addr) nValue)
    {
        unsigned char* p = At(nAddress, sizeof nValue);
        if (!p)
            return false;
        std::memcpy(p, &nValue, sizeof nValue);
        return true;
    }

    DataFileImage* Release()
    {
        auto* pImage = new DataFileImage;
        pImage->pBlock = m_pBlock;
        pImage->nSize = m_nSize;
        pImage->nBias = Bias();
        m_pBlock = nullptr;
        return pImage;
    }

private:
    unsigned char* m_pBlock = nullptr;
    ElfW(Addr) m_nLowest = 0;
    ElfW(Addr) m_nSize = 0;
};

// The relocations and lookup tables an image's dynamic section names.
struct DynamicInfo
{
    ElfW(Addr) nRela = 0, nRelaSize = 0, nRelaEntry = sizeof(ElfW(Rela));
    ElfW(Addr) nRelr = 0, nRelrSize = 0, nRelrEntry = sizeof(ElfW(Addr));
    bool bNeedsMore = false; // other libraries, symbol-bound or REL relocations
};

// Reads the dynamic section; false when it is damaged (no end inside the
// image, or a table outside it).
bool ReadDynamic(const ImageBuilder& image, const ElfW(Dyn) * pDynamic, size_t nEntries,
                 DynamicInfo& info)
{
    for (size_t i = 0; i < nEntries; ++i)
    {
        const ElfW(Dyn)& entry = pDynamic[i];
        const ElfW(Addr) nValue = entry.d_un.d_ptr;
        switch (entry.d_tag)
        {
        case DT_NULL:
            return true;
        case DT_NEEDED:
        case DT_FILTER:
        case DT_AUXILIARY:
            info.bNeedsMore = true;
            break;
        case DT_REL:
        case DT_RELSZ:
        case DT_JMPREL:
        case DT_PLTRELSZ:
            // Relocations the platform does not apply; an empty table needs nothing.
            if (nValue != 0)
                info.bNeedsMore = true;
            break;
        case DT_RELA:
            info.nRela = nValue;
            break;
        case DT_RELASZ:
            info.nRelaSize = nValue;
            break;
        case DT_RELAENT:
            info.nRelaEntry = nValue;
            break;
        case DT_RELR:
            info.nRelr = nValue;
            break;
        case DT_RELRSZ:
            info.nRelrSize = nValue;
            break;
        case DT_RELRENT:
            info.nRelrEntry = nValue;
            break;
        case DT_SYMTAB:
            if (!image.At(nValue, sizeof(ElfW(Sym)), alignof(ElfW(Sym))))
                return false;
            break;
        case DT_STRTAB:
            if (!image.At(nValue, 1))
                return false;
            break;
        case DT_GNU_HASH: // its Bloom filter is of address-sized words
            if (!image.At(nValue, 4 * sizeof(Elf32_Word), alignof(ElfW(Addr))))
                return false;
            break;
        case DT_HASH:
            if (!image.At(nValue, 2 * sizeof(Elf32_Word), alignof(Elf32_Word)))
                return false;
            break;
        case DT_VERSYM:
            if (!image.At(nValue, sizeof(ElfW(Half)), alignof(ElfW(Half))))
                return false;
            break;
        default:
            break;
        }
    }
    return false; // no DT_NULL
}

bool ApplyRela(ImageBuilder& image, const DynamicInfo& info)
{
    if (info.nRelaSize == 0)
        return true;
    if (info.nRelaEntry != sizeof(ElfW(Rela)) || info.nRelaSize % sizeof(ElfW(Rela)) != 0)
        return false;
    const unsigned char* pTable = image.At(info.nRela, info.nRelaSize, alignof(ElfW(Rela)));
    if (!pTable)
        return false;
    // Read the whole table before writing: a relocation may target the table itself.
    std::vector<ElfW(Rela)> entries(info.nRelaSize / sizeof(ElfW(Rela)));
    std::memcpy(entries.data(), pTable, info.nRelaSize);
    const ElfW(Addr) nBias = image.Bias();
    for (const ElfW(Rela) & entry : entries)
    {
        const auto nType = static_cast<unsigned>(ELF64_R_TYPE(entry.r_info));
        if (nType == kNoRelocation)
            continue;
        if (nType != kRelativeRelocation || ELF64_R_SYM(entry.r_info) != 0)
            return false;
        if (!image.Relocate(entry.r_offset, nBias + static_cast<ElfW(Addr)>(entry.r_addend)))
            return false;
    }
    return true;
}

// The packed relative relocations: an address word, then bitmaps of the words
// after it that hold addresses too.
bool ApplyRelr(ImageBuilder& image, const DynamicInfo& info)
{
    if (info.nRelrSize == 0)
        return true;
    constexpr size_t kWord = sizeof(ElfW(Addr));
    if (info.nRelrEntry != kWord || info.nRelrSize % kWord != 0)
        return false;
    const unsigned char* pTable = image.At(info.nRelr, info.nRelrSize, kWord);
    if (!pTable)
        return false;
    std::vector<ElfW(Addr)> entries(info.nRelrSize / kWord);
    std::memcpy(entries.data(), pTable, info.nRelrSize);
    const ElfW(Addr) nBias = image.Bias();
    auto relocate = [&](ElfW(Addr) nAddress) {
        unsigned char* p = image.At(nAddress, kWord);
        if (!p)
            return false;
        ElfW(Addr) nValue;
        std::memcpy(&nValue, p, kWord);
        nValue += nBias;
        std::memcpy(p, &nValue, kWord);
        return true;
    };
    ElfW(Addr) nNext = 0; // the address the next bitmap's first bit stands for
    for (const ElfW(Addr) nEntry : entries)
    {
        if ((nEntry & 1) == 0)
        {
            if (!relocate(nEntry))
                return false;
            nNext = nEntry + kWord;
            continue;
        }
        ElfW(Addr) nBits = nEntry >> 1;
        for (ElfW(Addr) nAddress = nNext; nBits != 0; nBits >>= 1, nAddress += kWord)
            if ((nBits & 1) && !relocate(nAddress))
                return false;
        nNext += (8 * kWord - 1) * kWord;
    }
    return true;
}

// The whole file in one read (a resource library is some 20 KB): fewer system
// calls than reading the headers and each segment apart.
DWORD ReadWholeFile(const char* pszPath, std::unique_ptr<unsigned char[]>& pFile,
                    ElfW(Off) & nFileSize)
{
    FileDescriptor file(open(pszPath, O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        return OpenError(errno);
    struct stat status;
    if (fstat(file.Get(), &status) != 0)
        return OpenError(errno);
    if (!S_ISREG(status.st_mode))
        return ERROR_ACCESS_DENIED;
    if (status.st_size > kMaxFileSize)
        return ERROR_BAD_EXE_FORMAT;
    nFileSize = static_cast<ElfW(Off)>(status.st_size);
    pFile.reset(new (std::nothrow) unsigned char[nFileSize + 1]);
    if (!pFile)
        return ERROR_NOT_ENOUGH_MEMORY;
    return ReadAt(file.Get(), pFile.get(), nFileSize, 0) ? ERROR_SUCCESS : ERROR_BAD_EXE_FORMAT;
}

DWORD Load(const char* pszPath, DataFileImage*& pResult)
{
    std::unique_ptr<unsigned char[]> pFile;
    ElfW(Off) nFileSize = 0;
    if (const DWORD nError = ReadWholeFile(pszPath, pFile, nFileSize))
        return nError;
    ElfW(Ehdr) header;
    if (nFileSize < sizeof header)
        return ERROR_BAD_EXE_FORMAT;
    std::memcpy(&header, pFile.get(), sizeof header);
    if (!IsSharedObjectOfThisMachine(header))
        return ERROR_BAD_EXE_FORMAT;
    std::vector<ElfW(Phdr)> segments(header.e_phnum);
    const size_t nHeaderBytes = segments.size() * sizeof(ElfW(Phdr));
    if (header.e_phoff > nFileSize || nHeaderBytes > nFileSize - header.e_phoff)
        return ERROR_BAD_EXE_FORMAT;
    std::memcpy(segments.data(), pFile.get() + header.e_phoff, nHeaderBytes);

    // The span of the loadable segments, which must lie in the file as well.
    ElfW(Addr) nLowest = ~ElfW(Addr){0};
    ElfW(Addr) nHighest = 0;
    size_t nAlignment = kMinAlignment;
    const ElfW(Phdr)* pDynamicSegment = nullptr;
    for (const ElfW(Phdr) & segment : segments)
    {
        if (segment.p_type == PT_TLS)
            return ERROR_BAD_EXE_FORMAT;
        if (segment.p_type == PT_DYNAMIC)
            pDynamicSegment = &segment;
        if (segment.p_type != PT_LOAD)
            continue;
        // Alignments are powers of two (0 and 1 meaning none).
        if ((segment.p_align & (segment.p_align - 1)) != 0 || segment.p_filesz > segment.p_memsz ||
            segment.p_memsz > kMaxImageSize || segment.p_vaddr > kMaxImageSize ||
            segment.p_offset > nFileSize || segment.p_filesz > nFileSize - segment.p_offset)
            return ERROR_BAD_EXE_FORMAT;
        nLowest = std::min(nLowest, segment.p_vaddr);
        nHighest = std::max(nHighest, segment.p_vaddr + segment.p_memsz);
        nAlignment =
            std::max<size_t>(nAlignment, std::min<ElfW(Addr)>(segment.p_align, kMaxAlignment));
    }
    if (!pDynamicSegment || nHighest <= nLowest || nHighest - nLowest > kMaxImageSize)
        return ERROR_BAD_EXE_FORMAT;
    // The image starts on an alignment boundary, so that the segments' addresses
    // keep their alignment in the block.
    nLowest -= nLowest % nAlignment;

    ImageBuilder image;
    if (const DWORD nError = image.Allocate(nLowest, nHighest - nLowest, nAlignment))
        return nError;
    for (const ElfW(Phdr) & segment : segments)
        if (segment.p_type == PT_LOAD && segment.p_filesz > 0)
            std::memcpy(image.At(segment.p_vaddr, segment.p_filesz), pFile.get() + segment.p_offset,
                        segment.p_filesz);

    const auto* pDynamic = reinterpret_cast<const ElfW(Dyn)*>(
        image.At(pDynamicSegment->p_vaddr, pDynamicSegment->p_memsz, alignof(ElfW(Dyn))));
    DynamicInfo info;
    if (!pDynamic ||
        !ReadDynamic(image, pDynamic, pDynamicSegment->p_memsz / sizeof(ElfW(Dyn)), info) ||
        info.bNeedsMore || !ApplyRela(image, info) || !ApplyRelr(image, info))
        return ERROR_BAD_EXE_FORMAT;

    pResult = image.Release();
    pResult->pDynamic = pDynamic;
    return ERROR_SUCCESS;
}

DataFileImage* ImageOfHandle(const void* h)
{
    const auto nHandle = reinterpret_cast<uintptr_t>(h);
    if (!IsDataFileHandle(h))
        return nullptr;
    auto* pImage = reinterpret_cast<DataFileImage*>(nHandle & ~(kDataFileTag | kImageResourceTag));
    // Compared by address only; an image of the list is never dereferenced
    // through a handle that is not in it.
    return std::find(g_images.begin(), g_images.end(), pImage) != g_images.end() ? pImage : nullptr;
}
} // namespace

HMODULE LoadDataFileImage(const char* pszPath, uintptr_t nTag)
{
    DataFileImage* pImage = nullptr;
    if (const DWORD nError = Load(pszPath, pImage))
    {
        SetLastError(nError);
        return nullptr;
    }
    {
        std::lock_guard<std::mutex> lock(g_imagesLock);
        g_images.push_back(pImage);
    }
    return reinterpret_cast<HMODULE>(reinterpret_cast<uintptr_t>(pImage) | nTag);
}

bool FreeDataFileImage(HMODULE h)
{
    DataFileImage* pImage = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_imagesLock);
        pImage = ImageOfHandle(h);
        if (!pImage)
            return false;
        g_images.erase(std::find(g_images.begin(), g_images.end(), pImage));
    }
    std::free(pImage->pBlock);
    delete pImage;
    return true;
}

const void* FindDataFileObject(HMODULE h, const char* pszName, size_t nSize)
{
    std::lock_guard<std::mutex> lock(g_imagesLock);
    DataFileImage* pImage = ImageOfHandle(h);
    if (!pImage || !pszName)
        return nullptr;
    const ElfImageRange range{pImage->pBlock, pImage->pBlock + pImage->nSize};
    const void* pObject = nullptr;
    if (pImage->pFound != nullptr && pImage->strFoundName == pszName)
    {
        pObject = pImage->pFound;
    }
    else
    {
        bool bUnsure = false;
        pObject = FindDynamicSymbol(pImage->nBias, pImage->pDynamic, pszName, range, bUnsure);
        if (pObject != nullptr)
        {
            pImage->strFoundName = pszName;
            pImage->pFound = pObject;
        }
    }
    return pObject && range.Contains(pObject, nSize) ? pObject : nullptr;
}
} // namespace vek
