// Run-time classes, and the application object of a module: InitInstance after
// the module's static objects are constructed, ExitInstance before they go.
#include "afx.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

class CShape : public CObject
{
    DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape
{
    DECLARE_DYNCREATE(CCircle)
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CSquare : public CShape
{
    DECLARE_DYNAMIC(CSquare)
};
IMPLEMENT_DYNAMIC(CSquare, CShape)

namespace
{
const std::string kLibDir = VEK_TEST_LIB_DIR;
const std::string kAppModule = kLibDir + "/vektest_appmodule.so";
const std::string kNoAppModule = kLibDir + "/vektest_noappmodule.so";

TEST(RuntimeClass, IsKindOfFollowsTheBaseClasses)
{
    CCircle circle;
    CSquare square;
    EXPECT_STREQ("CCircle", circle.GetRuntimeClass()->m_lpszClassName);
    const struct
    {
        const CObject* pObject;
        CRuntimeClass* pClass;
        BOOL bKind;
    } rows[] = {{&circle, RUNTIME_CLASS(CCircle), TRUE},
                {&circle, RUNTIME_CLASS(CShape), TRUE},
                {&circle, RUNTIME_CLASS(CObject), TRUE},
                {&circle, RUNTIME_CLASS(CSquare), FALSE},
                {&circle, nullptr, FALSE},
                {&square, RUNTIME_CLASS(CShape), TRUE}};
    for (const auto& row : rows)
        EXPECT_EQ(row.bKind, row.pObject->IsKindOf(row.pClass))
            << (row.pClass ? row.pClass->m_lpszClassName : "-");
    EXPECT_TRUE(RUNTIME_CLASS(CWinApp)->IsDerivedFrom(RUNTIME_CLASS(CObject)));

    std::unique_ptr<CObject> pCreated(RUNTIME_CLASS(CCircle)->CreateObject());
    ASSERT_NE(nullptr, pCreated);
    EXPECT_EQ(RUNTIME_CLASS(CCircle), pCreated->GetRuntimeClass());
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CSquare)->CreateObject());
}

TEST(WinApp, ApplicationOutsideAModule)
{
    EXPECT_EQ(nullptr, AfxGetApp());
    {
        CWinApp app(L"Casting Rules");
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_STREQ(L"Casting Rules", AfxGetAppName());
        EXPECT_EQ(nullptr, app.m_hInstance);
        EXPECT_EQ(GetModuleHandleW(nullptr), AfxGetInstanceHandle());
    }
    EXPECT_EQ(nullptr, AfxGetApp());
    EXPECT_EQ(nullptr, AfxGetAppName());
}

class ModuleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
        m_strLog = ::testing::TempDir() + "vek_app_" + std::to_string(getpid()) + "_" +
                   pInfo->name() + ".log";
        std::remove(m_strLog.c_str());
        setenv("VEK_TEST_APP_LOG", m_strLog.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("VEK_TEST_APP_LOG");
        std::remove(m_strLog.c_str());
    }
    std::vector<std::string> Log() const
    {
        std::vector<std::string> lines;
        std::ifstream in(m_strLog);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    long Count(const std::string& event) const
    {
        auto lines = Log();
        return std::count(lines.begin(), lines.end(), event);
    }

    std::string m_strLog;
};

TEST_F(ModuleTest, InitAfterStaticObjectsExitBeforeTheirDestruction)
{
    HINSTANCE hCaller = LoadLibraryW(CString((kLibDir + "/a/vektestres.so").c_str()));
    AfxSetResourceHandle(hCaller);
    void* h = dlopen(kAppModule.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(nullptr, h) << dlerror();
    const std::vector<std::string> loaded = {"app-ctor",
                                             "static-ctor",
                                             "init",
                                             "init: is current app",
                                             "init: own resources",
                                             "init: name set",
                                             "init: named after file"};
    EXPECT_EQ(loaded, Log());
    EXPECT_EQ(hCaller, AfxGetResourceHandle())
        << "InitInstance changed the caller's resource handle";
    ASSERT_NE(nullptr, AfxGetApp());
    EXPECT_STREQ(L"vektest_appmodule", AfxGetApp()->m_pszAppName);
    EXPECT_EQ(static_cast<void*>(AfxGetApp()->m_hInstance), h);

    ASSERT_EQ(0, dlclose(h));
    std::vector<std::string> all = loaded;
    all.insert(all.end(), {"exit", "exit: own resources", "static-dtor", "app-dtor"});
    EXPECT_EQ(all, Log());
    EXPECT_EQ(nullptr, AfxGetApp());
    EXPECT_EQ(hCaller, AfxGetResourceHandle());
    AfxSetResourceHandle(GetModuleHandleW(nullptr));
    FreeLibrary(hCaller);
}

TEST_F(ModuleTest, SecondLoadDoesNotStartTheApplicationAgain)
{
    void* h1 = dlopen(kAppModule.c_str(), RTLD_NOW | RTLD_LOCAL);
    HMODULE h2 = LoadLibraryW(CString(kAppModule.c_str()));
    ASSERT_NE(nullptr, h1);
    EXPECT_EQ(h1, static_cast<void*>(h2));
    EXPECT_EQ(1, Count("init"));
    EXPECT_TRUE(FreeLibrary(h2));
    EXPECT_EQ(0, Count("exit"));
    dlclose(h1);
    EXPECT_EQ(1, Count("exit"));
    EXPECT_EQ(1, Count("app-dtor"));
}

TEST_F(ModuleTest, ExitInstanceRunsFirstWhenTheProcessExits)
{
    // The module stays loaded until exit(): the static destructors then run from
    // the exit handlers, and ExitInstance must still come before them.
    EXPECT_EXIT(
        {
            dlopen(kAppModule.c_str(), RTLD_NOW | RTLD_LOCAL);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    const std::vector<std::string> lines = Log();
    auto at = [&](const char* pszEvent) {
        return std::find(lines.begin(), lines.end(), pszEvent) - lines.begin();
    };
    ASSERT_EQ(1, Count("exit"));
    EXPECT_LT(at("exit"), at("static-dtor"));
    EXPECT_LT(at("exit"), at("app-dtor"));
    EXPECT_EQ(1, Count("app-dtor"));
}

TEST_F(ModuleTest, StartUpObjectLinkedFirstIsReported)
{
    ::testing::internal::CaptureStderr();
    void* h = dlopen((kLibDir + "/vektest_misordered.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    const std::string err = ::testing::internal::GetCapturedStderr();
    ASSERT_NE(nullptr, h) << dlerror();
    EXPECT_NE(std::string::npos, err.find("link vekplatform_dllmain last")) << err;
    EXPECT_EQ(0, Count("init"));
    EXPECT_EQ(0, dlclose(h));
    EXPECT_EQ(0, Count("exit"));
    EXPECT_EQ(1, Count("app-dtor"));
}

TEST_F(ModuleTest, ModuleWithoutApplicationLoadsAndUnloads)
{
    void* h = dlopen(kNoAppModule.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(nullptr, h) << dlerror();
    auto pfn = reinterpret_cast<int (*)()>(dlsym(h, "VekTestNoAppModule"));
    ASSERT_NE(nullptr, pfn);
    EXPECT_EQ(42, pfn());
    EXPECT_EQ(nullptr, AfxGetApp());
    EXPECT_EQ(0, dlclose(h));
}
} // namespace
