#include "CLocationHelper.h"

#include <vekfilename.h>

#include <dlfcn.h>

#include <cstdlib>
#include <string>

namespace
{
const wchar_t kDefaultLanguage[] = L"en-US";

// Environment text, or empty when the variable is unset. Every value read here
// ends up in a file name, so its bytes are kept whatever the locale.
CString GetEnvironment(const char* pszName)
{
    const char* pszValue = std::getenv(pszName);
    return pszValue ? CString(VekFileNameToWide(pszValue).c_str()) : CString();
}

CString GetLibraryFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&GetLibraryFolder), &info) == 0 || info.dli_fname == nullptr)
        return CString();
    CString strPath(VekFileNameToWide(info.dli_fname).c_str());
    int nSlash = strPath.ReverseFind(L'/');
    if (nSlash < 0)
        return CString(L".");
    return nSlash == 0 ? CString(L"/") : strPath.Left(nSlash);
}

// Joins folder and name with one separator.
CString Join(const CString& strFolder, LPCWSTR pszName)
{
    CString strPath = strFolder;
    if (!strPath.IsEmpty() && strPath[strPath.GetLength() - 1] != L'/')
        strPath += L'/';
    strPath += pszName;
    return strPath;
}
} // namespace

CString CLocationHelper::LocaleToLanguageTag(const CString& strLocale)
{
    CString strTag = strLocale;
    strTag.Trim();
    int nCut = strTag.FindOneOf(L".@");
    if (nCut >= 0)
        strTag = strTag.Left(nCut);
    if (strTag == L"C" || strTag == L"POSIX" || (strTag.IsEmpty() && !strLocale.IsEmpty()))
        return CString(kDefaultLanguage);
    strTag.Replace(L'_', L'-');
    return strTag;
}

CString CLocationHelper::GetUserLanguage()
{
    CString strOverride = GetEnvironment("VEK_UI_LANGUAGE");
    strOverride.Trim();
    if (!strOverride.IsEmpty())
        return strOverride;

    // LANGUAGE is a priority list; its first non-empty entry counts.
    CString strLanguage = GetEnvironment("LANGUAGE");
    int nStart = 0;
    while (nStart < strLanguage.GetLength())
    {
        int nColon = strLanguage.Find(L':', nStart);
        int nEnd = nColon < 0 ? strLanguage.GetLength() : nColon;
        CString strEntry = strLanguage.Mid(nStart, nEnd - nStart);
        if (!strEntry.IsEmpty())
            return LocaleToLanguageTag(strEntry);
        nStart = nEnd + 1;
    }
    for (const char* pszName : {"LC_ALL", "LC_MESSAGES", "LANG"})
    {
        CString strLocale = GetEnvironment(pszName);
        if (!strLocale.IsEmpty())
            return LocaleToLanguageTag(strLocale);
    }
    return CString(kDefaultLanguage);
}

CString CLocationHelper::GetHomePath()
{
    CString strHome = GetEnvironment("VEK_HOME");
    if (strHome.IsEmpty())
        strHome = GetLibraryFolder();
    // No trailing separator, except for the root folder itself.
    while (strHome.GetLength() > 1 && strHome[strHome.GetLength() - 1] == L'/')
        strHome = strHome.Left(strHome.GetLength() - 1);
    return strHome;
}

CString CLocationHelper::GetLocalizedResPath()
{
    return Join(Join(GetHomePath(), L"res"), GetUserLanguage());
}

CString CLocationHelper::GetDefaultResPath()
{
    return Join(Join(GetHomePath(), L"res"), kDefaultLanguage);
}
