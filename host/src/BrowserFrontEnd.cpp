#include "BrowserFrontEnd.h"

#include "HostText.h"

#include <afxwin.h>
#include <vekinput.h>
#include <vekmsgbox.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>

namespace
{
double WallClockMs()
{
    using namespace std::chrono;
    return static_cast<double>(
        duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
}

} // namespace

std::vector<int> MessageBoxButtons(UINT nType)
{
    switch (nType & MB_TYPEMASK)
    {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    case MB_CANCELTRYCONTINUE:
        return {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
    default:
        return {IDOK};
    }
}

int CancelLikeButton(UINT nType)
{
    const std::vector<int> vecButtons = MessageBoxButtons(nType);
    for (int nButton : {IDCANCEL, IDNO, IDABORT})
    {
        if (std::find(vecButtons.begin(), vecButtons.end(), nButton) != vecButtons.end())
            return nButton;
    }
    return IDOK;
}

CBrowserFrontEnd::CBrowserFrontEnd(CFrontEndChannel& channel,
                                   std::function<std::string()> snapshotSource)
    : m_channel(channel), m_snapshotSource(std::move(snapshotSource)), m_clock(WallClockMs())
{
}

void CBrowserFrontEnd::Run(void (*pfnRun)(void* pContext), void* pContext)
{
    VekModalHandler oldHandler = VekSetModalHandler([this](CDialog& dlg) { DriveDialog(dlg); });
    VekMessageBoxResponder oldResponder = VekSetMessageBoxResponder(
        [this](HWND, const CString&, const CString&, UINT nType) { return Answer(nType); });
    pfnRun(pContext);
    VekSetModalHandler(oldHandler);
    VekSetMessageBoxResponder(oldResponder);
}

void CBrowserFrontEnd::PublishRunning()
{
    // The snapshot shows the box itself; the page answers it by this number, so that an answer
    // meant for one box never reaches the next.
    const std::string strBox = m_bBoxPending ? std::to_string(m_nBoxId) : std::string("null");
    m_channel.Publish("{\"phase\":\"running\",\"messageBoxId\":" + strBox +
                      ",\"snapshot\":" + m_snapshotSource() + "}");
}

void CBrowserFrontEnd::PublishEnded(int nExitCode, const std::string& strMessage)
{
    const nlohmann::json state = {{"phase", "ended"},
                                  {"exitCode", nExitCode},
                                  {"timedOut", m_channel.IsIdle()},
                                  {"message", strMessage}};
    m_channel.PublishFinal(state.dump());
}

void CBrowserFrontEnd::DriveDialog(CDialog& dlg)
{
    const HWND hDlg = dlg.m_hWnd;
    while (IsWindow(hDlg) && dlg.IsModalRunning())
    {
        PublishRunning();
        CPageEvent event;
        if (m_channel.Next(event) == CFrontEndChannel::ENext::Idle)
            break;
        // An answer here is late (its box is gone) or from a stale page: no box takes it.
        DeliverPageEvent(event, m_clock);
    }
    // Nobody is at the page any more: the dialog is cancelled as a person would close it.
    if (IsWindow(hDlg) && dlg.IsModalRunning())
        dlg.EndDialog(IDCANCEL);
}

int CBrowserFrontEnd::Answer(UINT nType)
{
    ++m_nBoxId;
    m_bBoxPending = true;
    const std::vector<int> vecButtons = MessageBoxButtons(nType);
    int nAnswer = 0;
    while (nAnswer == 0)
    {
        PublishRunning();
        CPageEvent event;
        if (m_channel.Next(event) == CFrontEndChannel::ENext::Idle)
        {
            nAnswer = CancelLikeButton(nType);
            break;
        }
        // Only this box's buttons, and the keys a box takes, answer it; the windows under a
        // box take no input while it is shown.
        if (event.eKind == EPageEvent::Answer && event.nBox == m_nBoxId &&
            std::find(vecButtons.begin(), vecButtons.end(), event.nAnswer) != vecButtons.end())
            nAnswer = event.nAnswer;
        else if (event.eKind == EPageEvent::KeyDown && event.nKey == VK_RETURN)
            nAnswer = VekDefaultMessageBoxButton(nType);
        else if (event.eKind == EPageEvent::KeyDown && event.nKey == VK_ESCAPE &&
                 (CancelLikeButton(nType) == IDCANCEL || vecButtons.size() == 1))
            nAnswer = CancelLikeButton(nType);
    }
    m_bBoxPending = false;
    return nAnswer;
}
