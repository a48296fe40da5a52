// Library loading: reference counting as on Windows, Windows spellings of names,
// and failures reported as null or FALSE.
#include "afx.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>

namespace
{
const std::wstring kLibDir = CString(VEK_TEST_LIB_DIR).GetString();
const std::wstring kLibA = kLibDir + L"/a/vektestlib.so";
const std::wstring kLibB = kLibDir + L"/b/vektestlib.so";

int AttachCount(HMODULE hModule)
{
    auto pfn = reinterpret_cast<int (*)()>(GetProcAddress(hModule, "VekTestAttachCount"));
    return pfn ? pfn() : -1;
}

TEST(LoadLibrary, SecondLoadSharesTheLibraryAndNeedsASecondFree)
{
    HMODULE h1 = LoadLibraryW(kLibA.c_str());
    ASSERT_NE(nullptr, h1);
    EXPECT_EQ(h1, LoadLibraryW(kLibA.c_str()));
    EXPECT_EQ(h1, GetModuleHandleW(kLibA.c_str())); // does not count
    EXPECT_EQ(1, AttachCount(h1)) << "initialisation ran again";
    EXPECT_TRUE(FreeLibrary(h1));
    EXPECT_EQ(h1, GetModuleHandleW(kLibA.c_str())) << "unloaded while a reference was left";
    EXPECT_TRUE(FreeLibrary(h1));
    EXPECT_EQ(nullptr, GetModuleHandleW(kLibA.c_str()));
    EXPECT_FALSE(FreeLibrary(h1)) << "a freed handle is no longer valid";
}

TEST(LoadLibrary, WindowsSpellingsAndFolders)
{
    HMODULE hA = LoadLibraryW(kLibA.c_str());
    HMODULE hB = LoadLibraryW(kLibB.c_str());
    ASSERT_NE(nullptr, hA);
    EXPECT_NE(hA, hB) << "same file name in another folder is another library";
    EXPECT_EQ(1, AttachCount(hB));
    std::wstring windows = kLibA.substr(0, kLibA.size() - 3);
    for (auto& ch : windows)
        ch = ch == L'/' ? L'\\' : ch;
    for (const std::wstring& name :
         {windows + L".dll", windows + L".DLL", std::wstring(L"vektestlib.dll")})
    {
        if (name[0] == L'v')
            FreeLibrary(hB); // a bare name is ambiguous while both are loaded
        HMODULE h = LoadLibraryW(name.c_str());
        EXPECT_EQ(hA, h) << name;
        EXPECT_EQ(hA, GetModuleHandleW(name.c_str())) << name;
        FreeLibrary(h);
    }
    EXPECT_EQ(1, AttachCount(hA));
    FreeLibrary(hA);
    EXPECT_EQ(nullptr, GetModuleHandleW(L"VEKTESTLIB.dll"));
}

TEST(GetModuleHandle, MainProgramAndFileNames)
{
    void* hMain = dlopen(nullptr, RTLD_NOW);
    EXPECT_EQ(hMain, static_cast<void*>(GetModuleHandleW(nullptr)));
    dlclose(hMain);
    wchar_t szPath[4096];
    DWORD n = GetModuleFileNameW(nullptr, szPath, 4096);
    EXPECT_TRUE(n == std::wcslen(szPath) && CString(szPath).Right(22) == L"/platform_library_test")
        << szPath;

    HMODULE h = LoadLibraryW(kLibA.c_str());
    EXPECT_EQ(kLibA.size(), GetModuleFileNameW(h, szPath, 4096));
    EXPECT_EQ(kLibA, szPath);
    EXPECT_EQ(6u, GetModuleFileNameW(h, szPath, 6)); // cut and terminated
    EXPECT_EQ(kLibA.substr(0, 5), szPath);
    FreeLibrary(h);
}

TEST(GetProcAddress, FindsOnlyTheLibrarysOwnExports)
{
    HMODULE hPlatform = GetModuleHandleW(L"libvekplatform.so"); // loaded as a dependency
    ASSERT_NE(nullptr, hPlatform);
    EXPECT_NE(nullptr, GetProcAddress(hPlatform, "LoadLibraryW"));
    EXPECT_EQ(nullptr, GetProcAddress(GetModuleHandleW(nullptr), "LoadLibraryW"));
    EXPECT_EQ(nullptr, GetProcAddress(hPlatform, "NoSuchFunction"));
}

// Exports are read from the library's own table; the loader, asked through a
// handle of the library, must find the same ones: default versions of versioned
// symbols (and none for a symbol left only in an old version), data, indirect functions, and
// nothing the library only imports.
TEST(GetProcAddress, AgreesWithTheLoaderOnTheLibrarysOwnSymbols)
{
    struct Row
    {
        const char* pszLibrary;
        const char* pszName;
    } rows[] = {
        {"libc.so.6", "pthread_cond_wait"},
        {"libc.so.6", "__ctype_b"}, // only a version kept for old programs
        {"libc.so.6", "environ"},
        {"libc.so.6", "memcpy"},
        {"libc.so.6", "NoSuchFunction"},
        {"libvekplatform.so", "LoadLibraryW"},
        {"libvekplatform.so", "_Znwm"},
        {"libvekplatform.so", "dlopen"},
    };
    for (const Row& row : rows)
    {
        void* hLibrary = dlopen(row.pszLibrary, RTLD_NOW | RTLD_NOLOAD);
        ASSERT_NE(nullptr, hLibrary) << row.pszLibrary;
        void* pExpected = dlsym(hLibrary, row.pszName);
        Dl_info info;
        void* pOwner = nullptr;
        if (pExpected &&
            (!dladdr1(pExpected, &info, &pOwner, RTLD_DL_LINKMAP) || pOwner != hLibrary))
            pExpected = nullptr; // a dependency's symbol
        const std::wstring name = CString(row.pszLibrary).GetString();
        EXPECT_EQ(pExpected, reinterpret_cast<void*>(
                                 GetProcAddress(GetModuleHandleW(name.c_str()), row.pszName)))
            << row.pszLibrary << " " << row.pszName;
        dlclose(hLibrary);
    }
    // The two copies of one library each give their own function.
    HMODULE hA = LoadLibraryW(kLibA.c_str());
    HMODULE hB = LoadLibraryW(kLibB.c_str());
    FARPROC pfnA = GetProcAddress(hA, "VekTestAttachCount");
    FARPROC pfnB = GetProcAddress(hB, "VekTestAttachCount");
    EXPECT_NE(nullptr, pfnA);
    EXPECT_NE(nullptr, pfnB);
    EXPECT_NE(pfnA, pfnB);
    EXPECT_EQ(dlsym(hB, "VekTestAttachCount"), reinterpret_cast<void*>(pfnB));
    FreeLibrary(hA);
    FreeLibrary(hB);
}

TEST(LoadLibrary, FailuresGiveNullOrFalse)
{
    int nNotAModule = 0;
    HMODULE hBogus = reinterpret_cast<HMODULE>(&nNotAModule);
    for (LPCWSTR pszName : {L"", L"\\no\\such\\folder\\missing.dll", L"missing-library.dll"})
    {
        EXPECT_EQ(nullptr, LoadLibraryW(pszName));
        EXPECT_EQ(nullptr, GetModuleHandleW(pszName));
    }
    EXPECT_EQ(nullptr, LoadLibraryW(nullptr));
    EXPECT_FALSE(FreeLibrary(nullptr));
    EXPECT_FALSE(FreeLibrary(hBogus));
    EXPECT_EQ(nullptr, GetProcAddress(nullptr, "VekTestAttachCount"));
    EXPECT_EQ(nullptr, GetProcAddress(hBogus, "VekTestAttachCount"));
    wchar_t szPath[16];
    EXPECT_EQ(0u, GetModuleFileNameW(hBogus, szPath, 16));
}
} // namespace
