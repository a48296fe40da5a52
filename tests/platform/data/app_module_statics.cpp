// A static object in another source file of the module than the application.
#include "app_module_log.h"

#include <cstdio>
#include <cstdlib>

void VekTestLog(const char* pszEvent)
{
    const char* pszPath = std::getenv("VEK_TEST_APP_LOG");
    if (!pszPath)
        return;
    if (FILE* pFile = std::fopen(pszPath, "a"))
    {
        std::fprintf(pFile, "%s\n", pszEvent);
        std::fclose(pFile);
    }
}

namespace
{
struct CStaticProbe
{
    CStaticProbe() { VekTestLog("static-ctor"); }
    ~CStaticProbe() { VekTestLog("static-dtor"); }
} g_probe;
} // namespace
