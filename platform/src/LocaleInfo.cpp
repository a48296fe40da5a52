#include "winnls.h"

#include "VekModules.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace
{
std::mutex g_overrideMutex;
std::map<LCTYPE, std::wstring> g_overrides;

// The locale name the user chose for number formatting, by POSIX precedence.
std::string UserNumericLocaleName()
{
    for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"})
    {
        const char* value = std::getenv(var);
        if (value && *value)
            return value;
    }
    return "C";
}

// Text of a locale item in the locale's own encoding, as wide text.
std::wstring DecodeLocaleText(const char* psz, locale_t loc)
{
    const char* codeset = nl_langinfo_l(CODESET, loc);
    if (codeset && (strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "utf8") == 0))
        return vek::Utf8ToWide(psz);
    // Single-byte code sets: the separators in question are ASCII or Latin-1.
    std::wstring out;
    for (const char* p = psz; p && *p; ++p)
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
    return out;
}

// LOCALE_SDECIMAL or LOCALE_STHOUSAND from the user's locale, read into a locale
// object of our own so the C runtime's formatting is left alone. The character
// type category comes along to tell the text's encoding. Empty when the locale is
// not installed.
std::wstring LoadFromLocale(const std::string& name, LCTYPE lcType)
{
    locale_t loc =
        newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr))
        return std::wstring();
    std::wstring value =
        DecodeLocaleText(nl_langinfo_l(lcType == LOCALE_SDECIMAL ? RADIXCHAR : THOUSEP, loc), loc);
    freelocale(loc);
    return value;
}

// As LoadFromLocale for the user's current locale name. Opening a locale reads
// and maps its files, which costs far more than the formatting that asks for the
// separator, so each (name, item) is looked up once per process.
std::wstring FromUserLocale(LCTYPE lcType)
{
    static std::mutex s_cacheMutex;
    static std::map<std::pair<std::string, LCTYPE>, std::wstring> s_cache;
    const std::pair<std::string, LCTYPE> key(UserNumericLocaleName(), lcType);
    std::lock_guard<std::mutex> lock(s_cacheMutex);
    auto it = s_cache.find(key);
    if (it == s_cache.end())
        it = s_cache.emplace(key, LoadFromLocale(key.first, lcType)).first;
    return it->second;
}

bool LookUp(LCTYPE lcType, std::wstring& value)
{
    {
        std::lock_guard<std::mutex> lock(g_overrideMutex);
        auto it = g_overrides.find(lcType);
        if (it != g_overrides.end())
        {
            value = it->second;
            return true;
        }
    }
    if (lcType == LOCALE_SDECIMAL)
    {
        const char* env = std::getenv("VEK_DECIMAL_SEPARATOR");
        if (env && *env)
        {
            value = vek::Utf8ToWide(env);
            return true;
        }
        value = FromUserLocale(lcType);
        if (value.empty())
            value = L".";
        return true;
    }
    if (lcType == LOCALE_STHOUSAND)
    {
        // No grouping in the locale (the C locale) reads as "," like Windows' default.
        value = FromUserLocale(lcType);
        if (value.empty())
            value = L",";
        return true;
    }
    return false;
}
} // namespace

int GetLocaleInfoW(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData)
{
    (void)Locale; // the user's and the system's locale are the same here
    std::wstring value;
    if (cchData < 0 || !LookUp(LCType & ~static_cast<LCTYPE>(LOCALE_NOUSEROVERRIDE), value))
        return 0;
    const int nNeeded = static_cast<int>(value.size()) + 1;
    if (cchData == 0)
        return nNeeded;
    if (!lpLCData || cchData < nNeeded)
        return 0;
    std::wmemcpy(lpLCData, value.c_str(), value.size() + 1);
    return nNeeded;
}

void VekSetUserLocaleOverride(LCTYPE lcType, LPCWSTR value)
{
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    if (value)
        g_overrides[lcType] = value;
    else
        g_overrides.erase(lcType);
}
