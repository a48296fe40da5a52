#include "vekmsgbox.h"

#include "afxwinapp.h"
#include "VekModules.h"
#include "VekSnapshotInternal.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace
{
VekMessageBoxResponder g_responder;
VekMessageBoxOwnerProvider g_pfnOwnerProvider = nullptr;

// A box shown and not yet answered: the responder is running.
struct PendingBox
{
    HWND hOwner;
    CString strText;
    CString strCaption;
    UINT nType;
};
std::vector<PendingBox> g_pending; // innermost last

// Keeps a box on the pending list while its responder runs, also when the responder throws.
class PendingBoxScope
{
public:
    PendingBoxScope(HWND hOwner, const CString& strText, const CString& strCaption, UINT nType)
    {
        g_pending.push_back(PendingBox{hOwner, strText, strCaption, nType});
    }
    ~PendingBoxScope() { g_pending.pop_back(); }
    PendingBoxScope(const PendingBoxScope&) = delete;
    PendingBoxScope& operator=(const PendingBoxScope&) = delete;
};

// The buttons of a box type, left to right. MB_HELP's Help button is not offered: it ends no
// box, and there is no help system to send its WM_HELP to.
std::vector<int> Buttons(UINT nType)
{
    std::vector<int> ids;
    switch (nType & MB_TYPEMASK)
    {
    case MB_OKCANCEL:
        ids = {IDOK, IDCANCEL};
        break;
    case MB_ABORTRETRYIGNORE:
        ids = {IDABORT, IDRETRY, IDIGNORE};
        break;
    case MB_YESNOCANCEL:
        ids = {IDYES, IDNO, IDCANCEL};
        break;
    case MB_YESNO:
        ids = {IDYES, IDNO};
        break;
    case MB_RETRYCANCEL:
        ids = {IDRETRY, IDCANCEL};
        break;
    case MB_CANCELTRYCONTINUE:
        ids = {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
        break;
    default:
        ids = {IDOK};
        break;
    }
    return ids;
}

const char* IconName(UINT nType)
{
    switch (nType & MB_ICONMASK)
    {
    case MB_ICONHAND:
        return "error";
    case MB_ICONQUESTION:
        return "question";
    case MB_ICONEXCLAMATION:
        return "warning";
    case MB_ICONASTERISK:
        return "information";
    default:
        return nullptr;
    }
}

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
        PendingBoxScope pending(hWnd, strText, strCaption, uType);
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

nlohmann::json VekSnapshotPendingMessageBox()
{
    if (g_pending.empty())
        return nullptr;
    const PendingBox& box = g_pending.back();
    nlohmann::json buttons = nlohmann::json::array();
    for (int nID : Buttons(box.nType))
        buttons.push_back({{"id", nID}, {"text", ButtonName(nID)}});
    const char* pszIcon = IconName(box.nType);
    return {{"owner", VekJsonHandle(box.hOwner)},
            {"caption", VekJsonText(box.strCaption.str())},
            {"text", VekJsonText(box.strText.str())},
            {"type", box.nType},
            {"icon", pszIcon ? nlohmann::json(pszIcon) : nlohmann::json(nullptr)},
            {"buttons", std::move(buttons)},
            {"defaultButton", VekDefaultMessageBoxButton(box.nType)}};
}
