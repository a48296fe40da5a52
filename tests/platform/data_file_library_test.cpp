// Resource libraries loaded as data files: what they read, how they are
// released, and which files they refuse.
#include "afx.h"

#include <gtest/gtest.h>

#include <elf.h>
#include <link.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
const std::string kLibDir = VEK_TEST_LIB_DIR;
const std::string kResA = kLibDir + "/a/vektestres.so";
const std::string kResB = kLibDir + "/b/vektestres.so";
const std::string kCodeLibrary = kLibDir + "/a/vektestlib.so";
const std::string kModuleResources =
    std::string(VEK_BIN_DIR) + "/res/en-US/VEKInvestmentCastRulesResu.so";
constexpr DWORD kBothFlags = LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE;

std::wstring Wide(const std::string& str)
{
    return CString(str.c_str()).GetString();
}

HMODULE LoadAsData(const std::string& path, DWORD dwFlags = kBothFlags)
{
    return LoadLibraryExW(Wide(path).c_str(), nullptr, dwFlags);
}

const VEK_RES_TABLE* TableOfLoadedLibrary(HMODULE h)
{
    return reinterpret_cast<const VEK_RES_TABLE*>(GetProcAddress(h, "VekResourceTable"));
}

// Every string and dialog template of the normally loaded library must read the
// same through the data-file handle, from the image's own memory.
void ExpectSameResources(HMODULE hLoaded, HMODULE hData)
{
    const VEK_RES_TABLE* pTable = TableOfLoadedLibrary(hLoaded);
    ASSERT_NE(nullptr, pTable);
    for (UINT i = 0; i < pTable->nStrings; ++i)
    {
        const UINT nID = pTable->pStrings[i].nID;
        LPCWSTR pszLoaded = VekFindStringResource(hLoaded, nID);
        LPCWSTR pszData = VekFindStringResource(hData, nID);
        ASSERT_EQ(pszLoaded == nullptr, pszData == nullptr) << nID;
        if (!pszLoaded)
            continue;
        EXPECT_STREQ(pszLoaded, pszData) << nID;
        EXPECT_NE(pszLoaded, pszData) << "read from the image, not the loaded library";
        CString strLoaded, strData;
        EXPECT_TRUE(strData.LoadString(hData, nID));
        EXPECT_TRUE(strLoaded.LoadString(hLoaded, nID));
        EXPECT_EQ(strLoaded, strData);
    }
    for (UINT i = 0; i < pTable->nDialogs; ++i)
    {
        const VEK_RES_DIALOG* pLoaded = &pTable->pDialogs[i];
        const VEK_RES_DIALOG* pData = VekFindDialogResource(hData, pLoaded->nID);
        ASSERT_NE(nullptr, pData) << pLoaded->nID;
        EXPECT_STREQ(pLoaded->pszCaption, pData->pszCaption);
        EXPECT_STREQ(pLoaded->pszFontName, pData->pszFontName);
        EXPECT_EQ(pLoaded->dwStyle, pData->dwStyle);
        EXPECT_EQ(pLoaded->cx, pData->cx);
        ASSERT_EQ(pLoaded->nItems, pData->nItems);
        for (UINT j = 0; j < pLoaded->nItems; ++j)
        {
            const VEK_RES_DLGITEM& loaded = pLoaded->pItems[j];
            const VEK_RES_DLGITEM& data = pData->pItems[j];
            EXPECT_STREQ(loaded.pszClass, data.pszClass);
            EXPECT_STREQ(loaded.pszText, data.pszText);
            EXPECT_EQ(loaded.nID, data.nID);
            EXPECT_EQ(loaded.dwStyle, data.dwStyle);
            EXPECT_EQ(loaded.dwExStyle, data.dwExStyle);
            EXPECT_EQ(loaded.x, data.x);
            EXPECT_EQ(loaded.y, data.y);
            EXPECT_EQ(loaded.cx, data.cx);
            EXPECT_EQ(loaded.cy, data.cy);
        }
    }
}

TEST(DataFileLibrary, ReadsTheSameResourcesAsTheLoadedLibrary)
{
    const struct
    {
        const char* pszWhat;
        std::string loaded; // the library loaded normally
        std::string data;   // the file loaded as data: the same, or a build of the same source
    } rows[] = {
        {"test library a", kResA, kResA},
        {"test library b", kResB, kResB},
        {"the module's resources", kModuleResources, kModuleResources},
#ifdef VEK_TEST_PACKED_RELOCS
        {"a, SysV hash and packed relocations", kResA, kLibDir + "/packed/vektestres.so"},
#endif
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.pszWhat);
        HMODULE hLoaded = LoadLibraryW(Wide(row.loaded).c_str());
        HMODULE hData = LoadAsData(row.data);
        ASSERT_NE(nullptr, hLoaded);
        ASSERT_NE(nullptr, hData);
        EXPECT_NE(hLoaded, hData);
        ExpectSameResources(hLoaded, hData);
        EXPECT_TRUE(FreeLibrary(hData));
        EXPECT_TRUE(FreeLibrary(hLoaded));
    }
}

TEST(DataFileLibrary, HandlesAreTaggedAndOneImageEach)
{
    const struct
    {
        DWORD dwFlags;
        uintptr_t nTag;
    } rows[] = {{LOAD_LIBRARY_AS_DATAFILE, 1},
                {LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE, 1},
                {LOAD_LIBRARY_AS_IMAGE_RESOURCE, 2},
                {kBothFlags, 2}};
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.dwFlags);
        HMODULE h1 = LoadAsData(kResA, row.dwFlags);
        HMODULE h2 = LoadAsData(kResA, row.dwFlags);
        ASSERT_NE(nullptr, h1);
        ASSERT_NE(nullptr, h2);
        EXPECT_EQ(row.nTag, reinterpret_cast<uintptr_t>(h1) & 3);
        EXPECT_NE(h1, h2) << "each load is an image of its own";
        EXPECT_TRUE(FreeLibrary(h1));
        EXPECT_STREQ(L"Alpha", VekFindStringResource(h2, 100)) << "the other image stays";
        EXPECT_TRUE(FreeLibrary(h2));
    }
    // Without flags it is LoadLibraryW: the loader's handle, counted.
    HMODULE hLoaded = LoadLibraryW(Wide(kResA).c_str());
    HMODULE hAgain = LoadLibraryExW(Wide(kResA).c_str(), nullptr, 0);
    EXPECT_EQ(hLoaded, hAgain);
    EXPECT_TRUE(FreeLibrary(hAgain));
    EXPECT_TRUE(FreeLibrary(hLoaded));
}

TEST(DataFileLibrary, AFreedHandleReadsAsNotLoaded)
{
    HMODULE h = LoadAsData(kResA);
    ASSERT_NE(nullptr, h);
    AfxSetResourceHandle(h);
    CString str;
    EXPECT_TRUE(str.LoadString(100));
    EXPECT_STREQ(L"Alpha", str);
    EXPECT_NE(nullptr, VekFindDialogResource(h, 200));

    EXPECT_TRUE(FreeLibrary(h));
    EXPECT_FALSE(FreeLibrary(h)) << "released once only";
    wchar_t szBuf[8] = L"keep";
    EXPECT_EQ(0, LoadStringW(h, 100, szBuf, 8));
    EXPECT_STREQ(L"keep", szBuf);
    EXPECT_FALSE(str.LoadString(100));
    EXPECT_EQ(nullptr, VekFindDialogResource(h, 200));
    AfxSetResourceHandle(GetModuleHandleW(nullptr));

    // A new image may take the freed one's memory and so its handle: it must read
    // as itself, never as the image freed before.
    for (int i = 0; i < 4; ++i)
    {
        HMODULE hA = LoadAsData(kResA);
        ASSERT_STREQ(L"Alpha", VekFindStringResource(hA, 100));
        FreeLibrary(hA);
        HMODULE hB = LoadAsData(kResB);
        EXPECT_STREQ(L"Beta", VekFindStringResource(hB, 100)) << (hA == hB ? "same handle" : "");
        FreeLibrary(hB);
    }
}

TEST(DataFileLibrary, FunctionsOfLoadedImagesFailForTheHandle)
{
    HMODULE h = LoadAsData(kResA);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(nullptr, GetProcAddress(h, "VekResourceTable"));
    wchar_t szPath[256] = L"keep";
    EXPECT_EQ(0u, GetModuleFileNameW(h, szPath, 256));
    EXPECT_EQ(nullptr, GetModuleHandleW(L"vektestres.so")) << "no loaded module of that name";
    EXPECT_TRUE(FreeLibrary(h));

    // Handles with a tag that were never returned are unknown, not dereferenced.
    int nNotAnImage = 0;
    for (uintptr_t nTag : {uintptr_t{1}, uintptr_t{2}, uintptr_t{3}})
    {
        auto hBogus = reinterpret_cast<HMODULE>(reinterpret_cast<uintptr_t>(&nNotAnImage) | nTag);
        EXPECT_EQ(nullptr, VekFindStringResource(hBogus, 100));
        EXPECT_FALSE(FreeLibrary(hBogus));
    }
}

TEST(DataFileLibrary, WrongArgumentsAreRefused)
{
    int nFile = 0;
    const struct
    {
        const wchar_t* pszName;
        HANDLE hFile;
        DWORD dwFlags;
    } rows[] = {{nullptr, nullptr, kBothFlags},
                {L"", nullptr, kBothFlags},
                {L"x.so", &nFile, kBothFlags},
                {L"x.so", &nFile, 0},
                {L"x.so", nullptr, LOAD_LIBRARY_AS_DATAFILE | 0x8}};
    for (const auto& row : rows)
    {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(nullptr, LoadLibraryExW(row.pszName, row.hFile, row.dwFlags));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    }
}

// Damaged copies of a resource library, in a folder of their own.
class DataFileRefusal : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char szTemplate[] = "/tmp/vek_datafile_XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(szTemplate));
        m_folder = szTemplate;
        std::ifstream in(kResA, std::ios::binary);
        m_original.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ASSERT_GT(m_original.size(), sizeof(ElfW(Ehdr)));
    }
    void TearDown() override
    {
        for (const std::string& path : m_files)
            std::remove(path.c_str());
        rmdir(m_folder.c_str());
    }

    std::string Write(const std::string& name, const std::vector<char>& bytes)
    {
        const std::string path = m_folder + "/" + name;
        std::ofstream(path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        m_files.push_back(path);
        return path;
    }

    template <typename T> T& At(std::vector<char>& bytes, size_t nOffset)
    {
        return *reinterpret_cast<T*>(bytes.data() + nOffset);
    }

    // The first nBytes of the library.
    std::string Cut(const std::string& name, size_t nBytes)
    {
        return Write(name, std::vector<char>(m_original.begin(), m_original.begin() + nBytes));
    }

    std::vector<ElfW(Phdr)> Segments(std::vector<char>& bytes)
    {
        const auto& header = At<ElfW(Ehdr)>(bytes, 0);
        std::vector<ElfW(Phdr)> segments(header.e_phnum);
        std::memcpy(segments.data(), bytes.data() + header.e_phoff,
                    segments.size() * sizeof(ElfW(Phdr)));
        return segments;
    }

    // Where the file's last loaded byte ends.
    size_t LoadedEnd()
    {
        size_t nEnd = 0;
        for (const ElfW(Phdr) & segment : Segments(m_original))
            if (segment.p_type == PT_LOAD)
                nEnd = std::max<size_t>(nEnd, segment.p_offset + segment.p_filesz);
        return nEnd;
    }

    // The file offset of the library's first RELA relocation.
    size_t FirstRelocation(std::vector<char>& bytes)
    {
        const std::vector<ElfW(Phdr)> segments = Segments(bytes);
        auto fileOffset = [&](ElfW(Addr) nAddress) -> size_t {
            for (const ElfW(Phdr) & segment : segments)
                if (segment.p_type == PT_LOAD && nAddress >= segment.p_vaddr &&
                    nAddress < segment.p_vaddr + segment.p_filesz)
                    return nAddress - segment.p_vaddr + segment.p_offset;
            return 0;
        };
        for (const ElfW(Phdr) & segment : segments)
            if (segment.p_type == PT_DYNAMIC)
                for (size_t n = segment.p_offset; n < segment.p_offset + segment.p_filesz;
                     n += sizeof(ElfW(Dyn)))
                    if (At<ElfW(Dyn)>(bytes, n).d_tag == DT_RELA)
                        return fileOffset(At<ElfW(Dyn)>(bytes, n).d_un.d_ptr);
        return 0;
    }

    std::string m_folder;
    std::vector<std::string> m_files;
    std::vector<char> m_original;
};

TEST_F(DataFileRefusal, DamagedOrForeignFilesAreRefusedWithAReason)
{
#if defined(__x86_64__)
    constexpr ElfW(Half) kOtherMachine = EM_AARCH64;
    constexpr unsigned kSymbolRelocation = R_X86_64_64;
#else
    constexpr ElfW(Half) kOtherMachine = EM_X86_64;
    constexpr unsigned kSymbolRelocation = R_AARCH64_ABS64;
#endif
    std::vector<char> otherMachine = m_original;
    At<ElfW(Ehdr)>(otherMachine, 0).e_machine = kOtherMachine;
    std::vector<char> otherClass = m_original;
    otherClass[EI_CLASS] = ELFCLASS32;
    std::vector<char> notShared = m_original;
    At<ElfW(Ehdr)>(notShared, 0).e_type = ET_REL;

    std::vector<char> oddAlignment = m_original;
    const ElfW(Ehdr)& header = At<ElfW(Ehdr)>(oddAlignment, 0);
    for (size_t n = header.e_phoff; n < header.e_phoff + header.e_phnum * sizeof(ElfW(Phdr));
         n += sizeof(ElfW(Phdr)))
        if (At<ElfW(Phdr)>(oddAlignment, n).p_type == PT_LOAD)
            At<ElfW(Phdr)>(oddAlignment, n).p_align = 48;

    std::vector<char> symbolRelocation = m_original;
    const size_t nRelocation = FirstRelocation(symbolRelocation);
    ASSERT_NE(0u, nRelocation);
    At<ElfW(Rela)>(symbolRelocation, nRelocation).r_info = ELF64_R_INFO(1, kSymbolRelocation);
    std::vector<char> relocationOutside = m_original;
    At<ElfW(Rela)>(relocationOutside, nRelocation).r_offset = 0x7fff0000;

    const struct
    {
        const char* pszWhat;
        std::string path;
        DWORD dwError;
    } rows[] = {
        {"not ELF", Write("text.so", {'n', 'o', 't', ' ', 'E', 'L', 'F', '\n'}),
         ERROR_BAD_EXE_FORMAT},
        {"empty", Write("empty.so", {}), ERROR_BAD_EXE_FORMAT},
        {"only the header",
         Write("header.so",
               std::vector<char>(m_original.begin(), m_original.begin() + sizeof(ElfW(Ehdr)))),
         ERROR_BAD_EXE_FORMAT},
        {"program headers cut", Cut("headers.so", sizeof(ElfW(Ehdr)) + sizeof(ElfW(Phdr))),
         ERROR_BAD_EXE_FORMAT},
        {"last segment cut", Cut("segment.so", LoadedEnd() - 8), ERROR_BAD_EXE_FORMAT},
        {"another machine", Write("machine.so", otherMachine), ERROR_BAD_EXE_FORMAT},
        {"32-bit", Write("class.so", otherClass), ERROR_BAD_EXE_FORMAT},
        {"not a shared object", Write("rel.so", notShared), ERROR_BAD_EXE_FORMAT},
        {"a segment alignment not a power of two", Write("align.so", oddAlignment),
         ERROR_BAD_EXE_FORMAT},
        {"a symbol relocation", Write("symbol.so", symbolRelocation), ERROR_BAD_EXE_FORMAT},
        {"a relocation outside the image", Write("outside.so", relocationOutside),
         ERROR_BAD_EXE_FORMAT},
        {"code needing other libraries", kCodeLibrary, ERROR_BAD_EXE_FORMAT},
        {"missing", m_folder + "/missing.so", ERROR_FILE_NOT_FOUND},
        {"a folder", m_folder, ERROR_ACCESS_DENIED},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.pszWhat);
        SetLastError(ERROR_SUCCESS);
        HMODULE h = LoadAsData(row.path);
        EXPECT_EQ(nullptr, h);
        EXPECT_EQ(row.dwError, GetLastError());
        if (h)
            FreeLibrary(h);
    }
    // The undamaged copy loads from the same folder.
    HMODULE h = LoadAsData(Write("intact.so", m_original));
    EXPECT_NE(nullptr, h);
    EXPECT_STREQ(L"Alpha", VekFindStringResource(h, 100));
    EXPECT_TRUE(FreeLibrary(h));
}
} // namespace
