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

std::wstring WindowsSpelling(std::wstring path, const wchar_t* pszSuffix)
{
    for (auto& ch : path)
        if (ch == L'/')
            ch = L'\\';
    return path.substr(0, path.size() - 3) + pszSuffix;
}

TEST(LoadLibrary, SecondLoadSharesTheLibraryAndNeedsASecondFree)
{
    HMODULE h1 = LoadLibraryW(kLibA.c_str());
    ASSERT_NE(nullptr, h1);
    HMODULE h2 = LoadLibraryW(kLibA.c_str());
    EXPECT_EQ(h1, h2);
    EXPECT_EQ(1, AttachCount(h1)) << "initialisation ran again";

    EXPECT_TRUE(FreeLibrary(h1));
    EXPECT_EQ(h1, GetModuleHandleW(kLibA.c_str())) << "unloaded while a reference was left";
    EXPECT_EQ(1, AttachCount(h2));
    EXPECT_TRUE(FreeLibrary(h2));
    EXPECT_EQ(nullptr, GetModuleHandleW(kLibA.c_str()));
    EXPECT_FALSE(FreeLibrary(h2)) << "a freed handle is no longer valid";
}

TEST(LoadLibrary, AcceptsBackslashesAndTheDllSuffix)
{
    HMODULE h = LoadLibraryW(kLibA.c_str());
    ASSERT_NE(nullptr, h);
    for (const wchar_t* pszSuffix : {L".dll", L".DLL", L".so"})
    {
        const std::wstring name = WindowsSpelling(kLibA, pszSuffix);
        EXPECT_EQ(h, GetModuleHandleW(name.c_str())) << name;
        HMODULE hAgain = LoadLibraryW(name.c_str());
        EXPECT_EQ(h, hAgain) << name;
        FreeLibrary(hAgain);
    }
    // A bare file name matches the loaded library (letter case ignored) and counts.
    EXPECT_EQ(h, GetModuleHandleW(L"VEKTESTLIB.dll"));
    HMODULE hBare = LoadLibraryW(L"vektestlib.dll");
    EXPECT_EQ(h, hBare);
    EXPECT_TRUE(FreeLibrary(hBare));
    EXPECT_EQ(1, AttachCount(h));
    EXPECT_TRUE(FreeLibrary(h));
    EXPECT_EQ(nullptr, GetModuleHandleW(L"vektestlib.dll"));
}

TEST(LoadLibrary, SameFileNameInAnotherFolderIsAnotherLibrary)
{
    HMODULE hA = LoadLibraryW(kLibA.c_str());
    HMODULE hB = LoadLibraryW(kLibB.c_str());
    ASSERT_NE(nullptr, hA);
    ASSERT_NE(nullptr, hB);
    EXPECT_NE(hA, hB);
    EXPECT_EQ(1, AttachCount(hA));
    EXPECT_EQ(1, AttachCount(hB));
    EXPECT_TRUE(FreeLibrary(hA));
    EXPECT_EQ(hB, GetModuleHandleW(kLibB.c_str()));
    EXPECT_TRUE(FreeLibrary(hB));
}

TEST(GetModuleHandle, DoesNotCountAReference)
{
    HMODULE h = LoadLibraryW(kLibA.c_str());
    ASSERT_NE(nullptr, h);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(h, GetModuleHandleW(kLibA.c_str()));
    EXPECT_TRUE(FreeLibrary(h));
    EXPECT_EQ(nullptr, GetModuleHandleW(kLibA.c_str()));
}

TEST(GetModuleHandle, NullIsTheMainProgram)
{
    void* hMain = dlopen(nullptr, RTLD_NOW);
    EXPECT_EQ(hMain, static_cast<void*>(GetModuleHandleW(nullptr)));
    dlclose(hMain);

    wchar_t szPath[4096];
    DWORD n = GetModuleFileNameW(nullptr, szPath, 4096);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(n, std::wcslen(szPath));
    EXPECT_TRUE(CString(szPath).Right(22) == L"/platform_library_test") << szPath;
}

TEST(GetModuleFileName, CutsToTheBufferAsWindowsDoes)
{
    HMODULE h = LoadLibraryW(kLibA.c_str());
    ASSERT_NE(nullptr, h);
    wchar_t szPath[4096];
    EXPECT_EQ(kLibA.size(), GetModuleFileNameW(h, szPath, 4096));
    EXPECT_EQ(kLibA, szPath);
    wchar_t szShort[6];
    EXPECT_EQ(6u, GetModuleFileNameW(h, szShort, 6));
    EXPECT_EQ(kLibA.substr(0, 5), szShort);
    FreeLibrary(h);
}

TEST(GetProcAddress, FindsOnlyTheLibrarysOwnExports)
{
    HMODULE hPlatform = GetModuleHandleW(L"libvekplatform.so");
    ASSERT_NE(nullptr, hPlatform);
    EXPECT_NE(nullptr, GetProcAddress(hPlatform, "LoadLibraryW"));
    // The main program links the platform but does not export its functions.
    EXPECT_EQ(nullptr, GetProcAddress(GetModuleHandleW(nullptr), "LoadLibraryW"));
    EXPECT_EQ(nullptr, GetProcAddress(hPlatform, "NoSuchFunction"));
    EXPECT_EQ(nullptr, GetProcAddress(hPlatform, nullptr));
}

TEST(LoadLibrary, FailuresGiveNullOrFalse)
{
    int nNotAModule = 0;
    HMODULE hBogus = reinterpret_cast<HMODULE>(&nNotAModule);
    EXPECT_EQ(nullptr, LoadLibraryW(nullptr));
    EXPECT_EQ(nullptr, LoadLibraryW(L""));
    EXPECT_EQ(nullptr, LoadLibraryW(L"\\no\\such\\folder\\missing.dll"));
    EXPECT_EQ(nullptr, LoadLibraryW(L"missing-library.dll"));
    EXPECT_EQ(nullptr, GetModuleHandleW(L"missing-library.dll"));
    EXPECT_EQ(nullptr, GetModuleHandleW(L"/no/such/folder/missing.so"));
    EXPECT_FALSE(FreeLibrary(nullptr));
    EXPECT_FALSE(FreeLibrary(hBogus));
    EXPECT_EQ(nullptr, GetProcAddress(nullptr, "VekTestAttachCount"));
    EXPECT_EQ(nullptr, GetProcAddress(hBogus, "VekTestAttachCount"));
    wchar_t szPath[16];
    EXPECT_EQ(0u, GetModuleFileNameW(hBogus, szPath, 16));
}
} // namespace
