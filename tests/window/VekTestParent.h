// A top-level parent window that records what its children tell it, and an expected-sequence
// comparison in the manner of Wine's message tests.
#pragma once

#include <afxcmn.h>
#include <vekinput.h>

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <vector>

// One message the parent received. For WM_COMMAND, nCode is the notification code and nID
// the control id; for WM_NOTIFY, the NMHDR's code and idFrom; for WM_CTLCOLOR*, nID is the id
// of the asking window.
struct VekParentMsg
{
    UINT nMsg;
    UINT nID;
    UINT nCode;
    bool bOptional = false;
};

inline bool operator==(const VekParentMsg& a, const VekParentMsg& b)
{
    return a.nMsg == b.nMsg && a.nID == b.nID && a.nCode == b.nCode;
}

inline std::string VekDescribe(const VekParentMsg& m)
{
    std::ostringstream os;
    switch (m.nMsg)
    {
    case WM_COMMAND:
        os << "WM_COMMAND";
        break;
    case WM_NOTIFY:
        os << "WM_NOTIFY";
        break;
    default:
        os << "msg 0x" << std::hex << m.nMsg << std::dec;
        break;
    }
    os << "(id " << m.nID << ", code " << static_cast<int>(m.nCode) << ")";
    return os.str();
}

class CVekTestParent
{
public:
    CVekTestParent()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &Proc;
        wc.style = CS_DBLCLKS;
        wc.lpszClassName = L"VekTestParent";
        RegisterClassW(&wc); // fails harmlessly when already registered
        m_hWnd = CreateWindowExW(0, L"VekTestParent", L"parent", WS_OVERLAPPED | WS_VISIBLE, 0, 0,
                                 640, 480, nullptr, nullptr, nullptr, nullptr);
        s_pCurrent = this;
    }
    ~CVekTestParent()
    {
        DestroyWindow(m_hWnd);
        if (s_pCurrent == this)
            s_pCurrent = nullptr;
    }
    CVekTestParent(const CVekTestParent&) = delete;
    CVekTestParent& operator=(const CVekTestParent&) = delete;

    HWND m_hWnd = nullptr;
    std::vector<VekParentMsg> m_log;
    // Answers WM_NOTIFY (for example a non-zero NM_CLICK result); 0 without one.
    std::function<LRESULT(NMHDR*)> m_onNotify;
    // Runs for every WM_COMMAND after it is logged.
    std::function<void(UINT nID, UINT nCode)> m_onCommand;
    bool m_bLogCtlColor = false;

    void Clear() { m_log.clear(); }

    // Compares the log with expected (entries marked optional may be missing).
    ::testing::AssertionResult Matches(const std::vector<VekParentMsg>& expected) const
    {
        size_t a = 0;
        for (size_t e = 0; e < expected.size(); ++e)
        {
            if (a < m_log.size() && m_log[a] == expected[e])
            {
                ++a;
                continue;
            }
            if (expected[e].bOptional)
                continue;
            return Failure(expected, e);
        }
        if (a != m_log.size())
            return Failure(expected, expected.size());
        return ::testing::AssertionSuccess();
    }

private:
    ::testing::AssertionResult Failure(const std::vector<VekParentMsg>& expected, size_t nAt) const
    {
        std::ostringstream os;
        os << "sequence differs at expected entry " << nAt << "\n  expected:";
        for (const auto& m : expected)
            os << " " << VekDescribe(m) << (m.bOptional ? "?" : "");
        os << "\n  actual:  ";
        for (const auto& m : m_log)
            os << " " << VekDescribe(m);
        return ::testing::AssertionFailure() << os.str();
    }

    static LRESULT Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        CVekTestParent* p = s_pCurrent;
        if (p && p->m_hWnd == hWnd)
        {
            if (msg == WM_COMMAND)
            {
                p->m_log.push_back({WM_COMMAND, LOWORD(wParam), HIWORD(wParam)});
                if (p->m_onCommand)
                    p->m_onCommand(LOWORD(wParam), HIWORD(wParam));
                return 0;
            }
            if (msg == WM_NOTIFY)
            {
                auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
                p->m_log.push_back({WM_NOTIFY, static_cast<UINT>(pHdr->idFrom), pHdr->code});
                return p->m_onNotify ? p->m_onNotify(pHdr) : 0;
            }
            if (p->m_bLogCtlColor && msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC)
                p->m_log.push_back(
                    {msg, static_cast<UINT>(GetDlgCtrlID(reinterpret_cast<HWND>(lParam))), 0});
        }
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    }

    static inline CVekTestParent* s_pCurrent = nullptr;
};

// Creates a child control of the test parent.
inline HWND VekCreateChild(const CVekTestParent& parent, LPCWSTR pszClass, LPCWSTR pszText,
                           DWORD dwStyle, UINT nID, RECT rc = {10, 10, 210, 34})
{
    return CreateWindowExW(0, pszClass, pszText, dwStyle | WS_CHILD | WS_VISIBLE, rc.left, rc.top,
                           rc.right - rc.left, rc.bottom - rc.top, parent.m_hWnd,
                           reinterpret_cast<HMENU>(static_cast<uintptr_t>(nID)), nullptr, nullptr);
}

// Routes the test parent's messages through an MFC object, as a dialog's are, so that
// notifications are reflected to the controls' objects before the parent logs them.
class CVekMfcParent
{
public:
    explicit CVekMfcParent(const CVekTestParent& parent) { m_wnd.SubclassWindow(parent.m_hWnd); }
    ~CVekMfcParent() { m_wnd.UnsubclassWindow(); }
    CVekMfcParent(const CVekMfcParent&) = delete;
    CVekMfcParent& operator=(const CVekMfcParent&) = delete;
    CWnd* operator->() { return &m_wnd; }
    CWnd* get() { return &m_wnd; }

private:
    CWnd m_wnd;
};
