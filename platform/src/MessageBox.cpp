#include "vekmsgbox.h"

#include "afxwinapp.h"
#include "VekModules.h"

#include <cstdio>
#include <utility>

namespace
{
VekMessageBoxResponder g_responder;
VekMessageBoxOwnerProvider g_pfnOwnerProvider = nullptr;

const char* ButtonName(int nID)
{
    switch (nID)
    {
    case IDOK:
        return "OK";
    case IDCANCEL:
        return "Cancel";
    case IDABORT:
        return "Abort";
    case IDRETRY:
        return "Retry";
    case IDIGNORE:
        return "Ignore";
    case IDYES:
        return "Yes";
    case IDNO:
        return "No";
    case IDTRYAGAIN:
        return "Try Again";
    case IDCONTINUE:
        return "Continue";
    default:
        return "?";
    }
}

// One line of standard error: line breaks of the text are shown as "\n".
std::string OneLine(const CString& str)
{
    std::string out;
    for (char ch : vek::WideToUtf8(str))
    {
        if (ch == '\n')
            out += "\\n";
        else if (ch != '\r')
            out.push_back(ch);
    }
    return out;
}
} // namespace

VekMessageBoxResponder VekSetMessageBoxResponder(VekMessageBoxResponder pfn)
{
    VekMessageBoxResponder previous = std::move(g_responder);
    g_responder = std::move(pfn);
    return previous;
}

VekMessageBoxOwnerProvider VekSetMessageBoxOwnerProvider(VekMessageBoxOwnerProvider pfn)
{
    VekMessageBoxOwnerProvider previous = g_pfnOwnerProvider;
    g_pfnOwnerProvider = pfn;
    return previous;
}

int VekDefaultMessageBoxButton(UINT nType)
{
    static const int kButtons[][3] = {
        {IDOK, 0, 0},                       // MB_OK
        {IDOK, IDCANCEL, 0},                // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE},       // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},            // MB_YESNOCANCEL
        {IDYES, IDNO, 0},                   // MB_YESNO
        {IDRETRY, IDCANCEL, 0},             // MB_RETRYCANCEL
        {IDCANCEL, IDTRYAGAIN, IDCONTINUE}, // MB_CANCELTRYCONTINUE
    };
    UINT nButtons = nType & MB_TYPEMASK;
    if (nButtons >= sizeof(kButtons) / sizeof(kButtons[0]))
        nButtons = MB_OK;
    const UINT nDefault = (nType & MB_DEFMASK) >> 8;
    // A default beyond the last button falls back to the first, as on Windows.
    if (nDefault < 3 && kButtons[nButtons][nDefault] != 0)
        return kButtons[nButtons][nDefault];
    return kButtons[nButtons][0];
}

int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType)
{
    const CString strText(lpText);
    const CString strCaption(lpCaption ? lpCaption : L"Error");
    if (g_responder)
    {
        // A copy, so that a responder may replace itself while it runs.
        VekMessageBoxResponder responder = g_responder;
        return responder(hWnd, strText, strCaption, uType);
    }
    const int nAnswer = VekDefaultMessageBoxButton(uType);
    std::fprintf(stderr, "[message box] %s: %s -> %s\n", OneLine(strCaption).c_str(),
                 OneLine(strText).c_str(), ButtonName(nAnswer));
    return nAnswer;
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp)
{
    (void)nIDHelp; // there is no help system to connect the box to
    if ((nType & MB_ICONMASK) == 0)
    {
        switch (nType & MB_TYPEMASK)
        {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    HWND hOwner = g_pfnOwnerProvider ? g_pfnOwnerProvider() : nullptr;
    return MessageBoxW(hOwner, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString strPrompt;
    strPrompt.LoadString(nIDPrompt);
    return AfxMessageBox(strPrompt, nType, nIDHelp == UINT(-1) ? nIDPrompt : nIDHelp);
}
