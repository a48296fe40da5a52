// Scripted configuration: parsing the actions and playing them through the input interface.
#include "ConfigureScript.h"

#include "HostText.h"

#include <afxwin.h>
#include <commctrl.h>
#include <vekinput.h>
#include <vekmsgbox.h>

#include <cstring>
#include <deque>
#include <map>
#include <sstream>

namespace
{
struct KeyName
{
    const char* pszName;
    UINT nKey;
};

const KeyName kKeys[] = {
    {"enter", VK_RETURN}, {"escape", VK_ESCAPE}, {"tab", VK_TAB},       {"space", VK_SPACE},
    {"up", VK_UP},        {"down", VK_DOWN},     {"left", VK_LEFT},     {"right", VK_RIGHT},
    {"home", VK_HOME},    {"end", VK_END},       {"delete", VK_DELETE}, {"backspace", VK_BACK},
    {"f1", VK_F1},
};

// The tables below are built on first use: a map allocates when constructed,
// and running out of memory before main() could not be reported in one line.
const std::map<std::string, int>& Buttons()
{
    static const std::map<std::string, int> s_buttons = {
        {"ok", IDOK},       {"cancel", IDCANCEL}, {"yes", IDYES},       {"no", IDNO},
        {"abort", IDABORT}, {"retry", IDRETRY},   {"ignore", IDIGNORE},
    };
    return s_buttons;
}

// How many tokens after the verb each action takes (a target counts as one, "cell R C" as
// three); -1: checked by the action itself.
const std::map<std::string, int>& Verbs()
{
    static const std::map<std::string, int> s_verbs = {
        {"check", -1},  {"uncheck", -1}, {"click", -1}, {"double-click", -1},  {"type", -1},
        {"choose", -1}, {"key", 1},      {"answer", 1}, {"expect-message", 1},
    };
    return s_verbs;
}

// Splits a line into words; "..." is one word with \" and \\ inside. False on an open quote.
bool SplitLine(const std::string& strLine, std::vector<std::string>& vecWords)
{
    size_t i = 0;
    while (i < strLine.size())
    {
        if (strLine[i] == ' ' || strLine[i] == '\t' || strLine[i] == '\r')
        {
            ++i;
            continue;
        }
        std::string strWord;
        if (strLine[i] == '"')
        {
            ++i;
            bool bClosed = false;
            while (i < strLine.size())
            {
                if (strLine[i] == '\\' && i + 1 < strLine.size())
                {
                    strWord += strLine[i + 1];
                    i += 2;
                    continue;
                }
                if (strLine[i] == '"')
                {
                    bClosed = true;
                    ++i;
                    break;
                }
                strWord += strLine[i++];
            }
            if (!bClosed)
                return false;
        }
        else
        {
            while (i < strLine.size() && strLine[i] != ' ' && strLine[i] != '\t' &&
                   strLine[i] != '\r')
                strWord += strLine[i++];
        }
        vecWords.push_back(strWord);
    }
    return true;
}

CString WindowText(HWND hWnd)
{
    const int nLength = GetWindowTextLengthW(hWnd);
    std::vector<wchar_t> vecText(static_cast<size_t>(nLength) + 1);
    GetWindowTextW(hWnd, vecText.data(), nLength + 1);
    return CString(vecText.data());
}

CString ClassName(HWND hWnd)
{
    wchar_t szClass[64] = {};
    GetClassNameW(hWnd, szClass, 64);
    return szClass;
}

// A label as a person reads it: without "&" mnemonics and a trailing colon.
CString Readable(CString strText)
{
    strText.Replace(L"&", L"");
    strText.Trim();
    if (!strText.IsEmpty() && strText[strText.GetLength() - 1] == L':')
        strText = strText.Left(strText.GetLength() - 1);
    return strText;
}

// Plays the actions. One object per run; the modal handler and the responder share it.
class CScriptPlayer
{
public:
    explicit CScriptPlayer(const std::vector<CScriptAction>& vecActions) : m_vecActions(vecActions)
    {
    }

    void DriveDialog(CDialog& dlg)
    {
        const HWND hDlg = dlg.m_hWnd;
        while (m_strError.empty() && m_nNext < m_vecActions.size() && IsWindow(hDlg) &&
               dlg.IsModalRunning())
        {
            const CScriptAction& action = m_vecActions[m_nNext++];
            std::string strProblem = Play(hDlg, action);
            if (!strProblem.empty())
                m_strError = "script line " + std::to_string(action.nLine) + ": " + strProblem;
        }
        // Out of actions, or failed: the dialog is cancelled as a person would close it.
        if (IsWindow(hDlg) && dlg.IsModalRunning())
            dlg.EndDialog(IDCANCEL);
    }

    int Answer(const CString& strText, UINT nType)
    {
        m_queShown.push_back(strText);
        if (m_queAnswers.empty())
            return VekDefaultMessageBoxButton(nType);
        const int nAnswer = m_queAnswers.front();
        m_queAnswers.pop_front();
        return nAnswer;
    }

    // The first problem met, with its line; empty when every action was played.
    std::string Finish()
    {
        if (m_strError.empty() && m_nNext < m_vecActions.size())
            m_strError = "script line " + std::to_string(m_vecActions[m_nNext].nLine) +
                         ": no dialog is open for this action";
        if (m_strError.empty() && !m_queShown.empty())
            m_strError = "a message box was shown that the script does not expect: \"" +
                         ToUtf8(m_queShown.front()) + "\"";
        return m_strError;
    }

private:
    // A control of the dialog: "#ID" or a number, or the text a person reads on it or on the
    // label just before it. Null with strProblem set when there is none.
    HWND FindControl(HWND hDlg, const CString& strTarget, std::string& strProblem)
    {
        CString strId = strTarget;
        if (!strId.IsEmpty() && strId[0] == L'#')
            strId = strId.Mid(1);
        bool bNumber = !strId.IsEmpty();
        for (int i = 0; i < strId.GetLength(); ++i)
            bNumber = bNumber && strId[i] >= L'0' && strId[i] <= L'9';
        if (bNumber)
        {
            HWND hItem = GetDlgItem(hDlg, static_cast<int>(wcstol(strId.GetString(), nullptr, 10)));
            if (hItem == nullptr)
                strProblem = "the dialog has no control " + ToUtf8(strId);
            return hItem;
        }
        for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild;
             hChild = GetWindow(hChild, GW_HWNDNEXT))
        {
            if (Readable(WindowText(hChild)) != Readable(strTarget))
                continue;
            if (ClassName(hChild) != L"Static")
                return hChild;
            // A label names the control after it.
            HWND hNext = GetWindow(hChild, GW_HWNDNEXT);
            if (hNext)
                return hNext;
        }
        strProblem = "the dialog has no control labelled \"" + ToUtf8(strTarget) + "\"";
        return nullptr;
    }

    // The action's target: a control, or "cell R C" of the dialog's grid.
    struct Target
    {
        HWND hWnd = nullptr;
        bool bCell = false;
        POINT ptCell = {};
        POINT ptBox = {};          // a tree item's check box
        HTREEITEM hItem = nullptr; // a tree item
        size_t nNextToken = 0;
    };

    static HWND FindChildOfClass(HWND hDlg, LPCWSTR pszClass)
    {
        for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild;
             hChild = GetWindow(hChild, GW_HWNDNEXT))
        {
            if (ClassName(hChild) == pszClass)
                return hChild;
        }
        return nullptr;
    }
    static HWND FindGrid(HWND hDlg) { return FindChildOfClass(hDlg, L"SysListView32"); }

    static CString TreeItemText(HWND hTree, HTREEITEM hItem)
    {
        wchar_t szText[260] = {};
        TVITEMW item = {};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = szText;
        item.cchTextMax = 260;
        SendMessageW(hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return szText;
    }

    // The item at a path of item texts joined by "/", which must be shown: its label's point
    // goes to ptCell, the point of its check box to ptBox.
    bool FindTreeItem(HWND hTree, const CString& strPath, Target& target, std::string& strProblem)
    {
        HTREEITEM hItem = nullptr;
        HTREEITEM hLevel =
            reinterpret_cast<HTREEITEM>(SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        int nStart = 0;
        while (nStart <= strPath.GetLength())
        {
            int nEnd = strPath.Find(L'/', nStart);
            if (nEnd < 0)
                nEnd = strPath.GetLength();
            const CString strName = strPath.Mid(nStart, nEnd - nStart);
            hItem = hLevel;
            while (hItem && TreeItemText(hTree, hItem) != strName)
                hItem = reinterpret_cast<HTREEITEM>(SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_NEXT,
                                                                 reinterpret_cast<LPARAM>(hItem)));
            if (hItem == nullptr)
            {
                strProblem = "the tree has no item \"" + ToUtf8(strPath.Left(nEnd)) + "\"";
                return false;
            }
            hLevel = reinterpret_cast<HTREEITEM>(
                SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(hItem)));
            nStart = nEnd + 1;
        }
        RECT rc = {};
        static_assert(sizeof(RECT) >= sizeof(HTREEITEM), "the item goes in the rectangle");
        std::memcpy(&rc, &hItem, sizeof(hItem));
        if (!SendMessageW(hTree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rc)))
        {
            strProblem = "the tree item \"" + ToUtf8(strPath) + "\" is not shown";
            return false;
        }
        target.hItem = hItem;
        target.ptCell = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        target.ptBox = {rc.left - VEK_CX_TVSTATEICON / 2, rc.top + 4};
        return true;
    }

    // The point of a grid cell, in the grid's client coordinates.
    static bool CellPoint(HWND hGrid, int nRow, int nCol, POINT& pt)
    {
        RECT rc = {};
        rc.top = nCol;
        rc.left = LVIR_LABEL;
        if (!SendMessageW(hGrid, LVM_GETSUBITEMRECT, static_cast<WPARAM>(nRow),
                          reinterpret_cast<LPARAM>(&rc)))
            return false;
        pt.x = (rc.left + rc.right) / 2;
        pt.y = (rc.top + rc.bottom) / 2;
        RECT rcClient = {};
        GetClientRect(hGrid, &rcClient);
        return pt.y > 0 && pt.y < rcClient.bottom;
    }

    static bool ParseInt(const CString& str, int& nValue)
    {
        if (str.IsEmpty())
            return false;
        for (int i = 0; i < str.GetLength(); ++i)
        {
            if (str[i] < L'0' || str[i] > L'9')
                return false;
        }
        nValue = static_cast<int>(wcstol(str.GetString(), nullptr, 10));
        return true;
    }

    bool ResolveTarget(HWND hDlg, const CScriptAction& action, Target& target,
                       std::string& strProblem)
    {
        if (action.vecTokens.empty())
        {
            strProblem = action.strVerb + " needs a control";
            return false;
        }
        if (action.vecTokens[0] == L"cell")
        {
            int nRow = 0;
            int nCol = 0;
            if (action.vecTokens.size() < 3 || !ParseInt(action.vecTokens[1], nRow) ||
                !ParseInt(action.vecTokens[2], nCol))
            {
                strProblem = "a cell is given as: cell ROW COLUMN";
                return false;
            }
            target.hWnd = FindGrid(hDlg);
            if (target.hWnd == nullptr)
            {
                strProblem = "the dialog has no grid";
                return false;
            }
            if (!CellPoint(target.hWnd, nRow, nCol, target.ptCell))
            {
                strProblem = "cell " + std::to_string(nRow) + " " + std::to_string(nCol) +
                             " is not shown in the grid";
                return false;
            }
            target.bCell = true;
            target.nNextToken = 3;
            return true;
        }
        if (action.vecTokens[0] == L"tree")
        {
            if (action.vecTokens.size() < 2)
            {
                strProblem = "a tree item is given as: tree \"PARENT/ITEM\"";
                return false;
            }
            target.hWnd = FindChildOfClass(hDlg, L"SysTreeView32");
            if (target.hWnd == nullptr)
            {
                strProblem = "the dialog has no tree";
                return false;
            }
            if (!FindTreeItem(target.hWnd, action.vecTokens[1], target, strProblem))
                return false;
            target.bCell = true;
            target.nNextToken = 2;
            return true;
        }
        target.hWnd = FindControl(hDlg, action.vecTokens[0], strProblem);
        target.nNextToken = 1;
        return target.hWnd != nullptr;
    }

    static std::string Delivered(BOOL bDelivered, const char* pszWhat)
    {
        return bDelivered ? std::string()
                          : std::string("the ") + pszWhat +
                                " could not be delivered (the control is hidden or disabled)";
    }

    // Picks entry strEntry of an open or closed drop-down list: the list is dropped and the
    // entry clicked.
    std::string ChooseInCombo(HWND hCombo, const CString& strEntry)
    {
        const int nIndex =
            static_cast<int>(SendMessageW(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(strEntry.GetString())));
        if (nIndex < 0)
            return "the list has no entry \"" + ToUtf8(strEntry) + "\"";
        if (!SendMessageW(hCombo, CB_GETDROPPEDSTATE, 0, 0) && !VekInput::Click(hCombo))
            return Delivered(FALSE, "click on the list");
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        if (!GetComboBoxInfo(hCombo, &info))
            return "the list did not open";
        // An entry below the shown part of the list is brought into view with the scroll bar's
        // down arrow.
        POINT pt = {};
        for (int nTurns = 0;; ++nTurns)
        {
            RECT rc = {};
            SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(nIndex),
                         reinterpret_cast<LPARAM>(&rc));
            pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
            ClientToScreen(info.hwndList, &pt);
            if (WindowFromPoint(pt) == info.hwndList)
                break;
            RECT rcList = {};
            GetWindowRect(info.hwndList, &rcList);
            const POINT ptArrow = {rcList.right - 1 - VEK_CX_VSCROLL / 2, rcList.bottom - 4};
            if (nTurns > 500 || !VekInput::ClickAt(ptArrow))
                return "the entry \"" + ToUtf8(strEntry) + "\" cannot be brought into view";
        }
        if (!VekInput::ClickAt(pt))
            return Delivered(FALSE, "click on the entry");
        if (SendMessageW(hCombo, CB_GETCURSEL, 0, 0) != nIndex)
            return "the entry \"" + ToUtf8(strEntry) + "\" could not be chosen";
        return std::string();
    }

    std::string ChooseInListBox(HWND hList, const CString& strEntry)
    {
        const int nIndex =
            static_cast<int>(SendMessageW(hList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(strEntry.GetString())));
        if (nIndex < 0)
            return "the list has no entry \"" + ToUtf8(strEntry) + "\"";
        RECT rc = {};
        SendMessageW(hList, LB_GETITEMRECT, static_cast<WPARAM>(nIndex),
                     reinterpret_cast<LPARAM>(&rc));
        RECT rcClient = {};
        GetClientRect(hList, &rcClient);
        POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        if (pt.y < 0 || pt.y >= rcClient.bottom)
            return "the entry \"" + ToUtf8(strEntry) + "\" is not shown in the list";
        return Delivered(VekInput::Click(hList, pt), "click on the entry");
    }

    std::string Play(HWND hDlg, const CScriptAction& action)
    {
        const std::string& strVerb = action.strVerb;
        if (strVerb == "key")
        {
            const std::string strName = ToUtf8(action.vecTokens[0]);
            for (const KeyName& key : kKeys)
            {
                if (strName == key.pszName)
                    return Delivered(VekInput::KeyDown(key.nKey), "key");
            }
            return "unknown key \"" + strName + "\"";
        }
        if (strVerb == "answer")
        {
            m_queAnswers.push_back(Buttons().at(ToUtf8(action.vecTokens[0])));
            return std::string();
        }
        if (strVerb == "expect-message")
        {
            if (m_queShown.empty())
                return "no message box was shown; expected \"" + ToUtf8(action.vecTokens[0]) + "\"";
            const CString strShown = m_queShown.front();
            m_queShown.pop_front();
            if (strShown != action.vecTokens[0])
                return "the message box said \"" + ToUtf8(strShown) + "\", expected \"" +
                       ToUtf8(action.vecTokens[0]) + "\"";
            return std::string();
        }

        Target target;
        std::string strProblem;
        if (!ResolveTarget(hDlg, action, target, strProblem))
            return strProblem;
        const size_t nRest = action.vecTokens.size() - target.nNextToken;
        const bool bNeedsText = strVerb == "type" || strVerb == "choose";
        if (nRest != (bNeedsText ? 1u : 0u))
            return bNeedsText ? strVerb + " needs one text after its target"
                              : strVerb + " takes nothing after its target";

        if (strVerb == "click" || strVerb == "double-click")
        {
            const bool bDouble = strVerb == "double-click";
            BOOL bDelivered = FALSE;
            if (target.bCell)
                bDelivered = bDouble ? VekInput::DoubleClick(target.hWnd, target.ptCell)
                                     : VekInput::Click(target.hWnd, target.ptCell);
            else
                bDelivered =
                    bDouble ? VekInput::DoubleClick(target.hWnd) : VekInput::Click(target.hWnd);
            return Delivered(bDelivered, "click");
        }
        if ((strVerb == "check" || strVerb == "uncheck") && target.hItem)
        {
            const LRESULT nWanted = strVerb == "check" ? 2 : 1; // state images: 1 clear, 2 checked
            auto state = [&] {
                return (SendMessageW(target.hWnd, TVM_GETITEMSTATE,
                                     reinterpret_cast<WPARAM>(target.hItem), TVIS_STATEIMAGEMASK) &
                        TVIS_STATEIMAGEMASK) >>
                       12;
            };
            if (state() != nWanted && !VekInput::Click(target.hWnd, target.ptBox))
                return Delivered(FALSE, "click on the item's check box");
            if (IsWindow(target.hWnd) && state() != nWanted)
                return "the tree item's check box did not change";
            return std::string();
        }
        if (strVerb == "check" || strVerb == "uncheck")
        {
            if (target.bCell || ClassName(target.hWnd) != L"Button")
                return "only a check box can be checked";
            const LRESULT nWanted = strVerb == "check" ? BST_CHECKED : BST_UNCHECKED;
            if (SendMessageW(target.hWnd, BM_GETCHECK, 0, 0) != nWanted &&
                !VekInput::Click(target.hWnd))
                return Delivered(FALSE, "click on the check box");
            if (IsWindow(target.hWnd) && SendMessageW(target.hWnd, BM_GETCHECK, 0, 0) != nWanted)
                return "the check box did not change";
            return std::string();
        }
        const CString& strText = action.vecTokens[target.nNextToken];
        if (strVerb == "type" && target.hItem)
            return "a tree item takes no text";
        if (strVerb == "type")
        {
            // A click gives the control (or the cell's editor) the focus; the text there is
            // removed key by key before the new text is typed.
            BOOL bDelivered = target.bCell ? VekInput::Click(target.hWnd, target.ptCell)
                                           : VekInput::Click(target.hWnd);
            if (!bDelivered)
                return Delivered(FALSE, "click");
            const HWND hFocus = GetFocus();
            if (hFocus == nullptr || ClassName(hFocus) != L"Edit")
                return "the click gave the focus to no text box";
            VekInput::KeyDown(VK_END);
            for (int i = GetWindowTextLengthW(hFocus); i > 0; --i)
                VekInput::KeyDown(VK_BACK);
            return Delivered(VekInput::Type(strText), "typed text");
        }
        // choose
        if (target.hItem)
            return "a tree item offers no entries";
        if (target.bCell)
        {
            if (!VekInput::DoubleClick(target.hWnd, target.ptCell))
                return Delivered(FALSE, "double click on the cell");
            const HWND hFocus = GetFocus();
            HWND hCombo = hFocus;
            while (hCombo && ClassName(hCombo) != L"ComboBox")
                hCombo = GetParent(hCombo);
            if (hCombo == nullptr)
                return "the cell offers no list";
            return ChooseInCombo(hCombo, strText);
        }
        const CString strClass = ClassName(target.hWnd);
        if (strClass == L"ComboBox")
            return ChooseInCombo(target.hWnd, strText);
        if (strClass == L"ListBox")
            return ChooseInListBox(target.hWnd, strText);
        return "only a list or a combo box offers entries";
    }

    const std::vector<CScriptAction>& m_vecActions;
    size_t m_nNext = 0;
    std::deque<int> m_queAnswers;
    std::deque<CString> m_queShown;
    std::string m_strError;
};
} // namespace

bool CConfigureScript::Parse(const std::string& strText, std::string& strError)
{
    m_vecActions.clear();
    std::istringstream in(strText);
    std::string strLine;
    int nLine = 0;
    while (std::getline(in, strLine))
    {
        ++nLine;
        std::vector<std::string> vecWords;
        const std::string strWhere = "line " + std::to_string(nLine) + ": ";
        if (!SplitLine(strLine, vecWords))
        {
            strError = strWhere + "a quoted text is not closed";
            return false;
        }
        if (vecWords.empty() || vecWords[0][0] == '#')
            continue;
        CScriptAction action;
        action.nLine = nLine;
        action.strVerb = vecWords[0];
        const auto itVerb = Verbs().find(action.strVerb);
        if (itVerb == Verbs().end())
        {
            strError = strWhere + "unknown action \"" + action.strVerb + "\"";
            return false;
        }
        for (size_t i = 1; i < vecWords.size(); ++i)
            action.vecTokens.push_back(FromUtf8(vecWords[i]));
        if (itVerb->second >= 0 && action.vecTokens.size() != static_cast<size_t>(itVerb->second))
        {
            strError = strWhere + action.strVerb + " takes " + std::to_string(itVerb->second) +
                       " argument" + (itVerb->second == 1 ? "" : "s");
            return false;
        }
        if (action.strVerb != "key" && action.strVerb != "answer" &&
            action.strVerb != "expect-message" && action.vecTokens.empty())
        {
            strError = strWhere + action.strVerb + " needs a control";
            return false;
        }
        if (action.strVerb == "answer" && Buttons().count(vecWords[1]) == 0)
        {
            strError = strWhere + "unknown button \"" + vecWords[1] + "\"";
            return false;
        }
        m_vecActions.push_back(action);
    }
    return true;
}

bool CConfigureScript::Run(void (*pfnRun)(void* pContext), void* pContext, std::string& strError)
{
    CScriptPlayer player(m_vecActions);
    VekModalHandler oldHandler =
        VekSetModalHandler([&player](CDialog& dlg) { player.DriveDialog(dlg); });
    VekMessageBoxResponder oldResponder =
        VekSetMessageBoxResponder([&player](HWND, const CString& strText, const CString&,
                                            UINT nType) { return player.Answer(strText, nType); });
    pfnRun(pContext);
    VekSetModalHandler(oldHandler);
    VekSetMessageBoxResponder(oldResponder);
    strError = player.Finish();
    return strError.empty();
}
