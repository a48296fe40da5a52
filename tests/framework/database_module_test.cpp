// The database library is loaded the way the host loads it, by file, and
// exports only its name function.
#include "afxstr.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>

TEST(DatabaseModule, ExportsModuleNameWithCLinkage)
{
    std::string strPath = std::string(VEK_BIN_DIR) + "/VEKDatabaseu.so";
    void* hLibrary = dlopen(strPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(nullptr, hLibrary) << dlerror();
    typedef void (*GetModuleNameFn)(CString&);
    auto pfnGetModuleName = reinterpret_cast<GetModuleNameFn>(dlsym(hLibrary, "GetModuleName"));
    ASSERT_NE(nullptr, pfnGetModuleName);
    CString strName(L"previous");
    pfnGetModuleName(strName);
    EXPECT_EQ(L"Investment Casting Materials", strName.str());
    dlclose(hLibrary);
}
