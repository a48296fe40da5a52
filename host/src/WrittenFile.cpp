#include "WrittenFile.h"

namespace
{
std::string g_strExpected;
bool g_bWritten = false;
} // namespace

void ExpectFileWritten(const std::string& strPath)
{
    g_strExpected = strPath;
    g_bWritten = false;
}

void ConfirmFileWritten()
{
    g_bWritten = true;
}

const std::string* WrittenFile()
{
    return g_bWritten ? &g_strExpected : nullptr;
}

namespace
{
class CWrittenFileObserver : public IVekSaveObserver
{
public:
    void BeforeReplace(const std::string& strTarget) override { ExpectFileWritten(strTarget); }
    void Replaced() noexcept override { ConfirmFileWritten(); }
};
} // namespace

IVekSaveObserver& WrittenFileObserver()
{
    static CWrittenFileObserver observer;
    return observer;
}
