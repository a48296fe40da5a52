// CLocationHelper: where the installation keeps its resource libraries.
#pragma once

#include "VekFrameworkApi.h"
#include "afxstr.h"

// The installation folder <home> is $VEK_HOME when set and non-empty, else the
// folder holding the utility library. The user's language is $VEK_UI_LANGUAGE
// when set and non-empty, else the first set and non-empty one of LANGUAGE
// (its first non-empty entry of the colon list), LC_ALL, LC_MESSAGES and LANG,
// turned into a tag ("de_DE.UTF-8" gives "de-DE", "C" and "POSIX" give
// "en-US"), else "en-US". Paths carry no trailing separator.
class VEK_UTILITY_API CLocationHelper
{
public:
    // <home>/res/<language>
    static CString GetLocalizedResPath();
    // <home>/res/en-US
    static CString GetDefaultResPath();
    // <home>; empty only when the library's own folder cannot be found.
    static CString GetHomePath();
    // The user's language tag, as described above.
    static CString GetUserLanguage();
    // A locale name as a language tag: codeset and modifier dropped, "_" becomes
    // "-"; "C", "POSIX" and "C.<codeset>" give "en-US"; empty text gives empty text.
    static CString LocaleToLanguageTag(const CString& strLocale);
};
