// The dialogs shown in a browser: a modal handler and a message-box responder that run on the
// main thread, publish the state of the windows after every event and wait for the page's
// next event. Every event enters through the platform's raw input; the front end never calls a
// dialog method, and hit tests stay in the platform.
#pragma once

#include "FrontEndChannel.h"

#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

class CBrowserFrontEnd
{
public:
    // snapshotSource gives the JSON text of the window tree as the page renders it.
    CBrowserFrontEnd(CFrontEndChannel& channel, std::function<std::string()> snapshotSource);

    // Installs the handler and the responder, runs pfnRun (which opens the dialogs), then
    // restores the previous ones. Every dialog still running when no request came for the
    // channel's idle timeout is ended with IDCANCEL, and a message box then gets its
    // cancel-like button (CancelLikeButton).
    void Run(void (*pfnRun)(void* pContext), void* pContext);

    // Publishes the end of the session: the exit code and the line the host reports.
    void PublishEnded(int nExitCode, const std::string& strMessage);

    // True when the idle timeout ended the dialogs.
    bool TimedOut() const { return m_channel.IsIdle(); }

private:
    void DriveDialog(CDialog& dlg);
    int Answer(UINT nType);
    void PublishRunning();

    CFrontEndChannel& m_channel;
    std::function<std::string()> m_snapshotSource;
    CPageEventClock m_clock;
    bool m_bBoxPending = false;
    int m_nBoxId = 0; // counts the boxes of the session, from 1
};

// The buttons of a message box type in the order shown (IDOK, IDCANCEL, ...).
std::vector<int> MessageBoxButtons(UINT nType);
// The button that ends a box as closing it would: Cancel when it has one, else No, Abort or OK.
int CancelLikeButton(UINT nType);
