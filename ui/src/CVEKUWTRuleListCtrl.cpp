// CVEKUWTRuleListCtrl: mouse and keyboard editing of the material grid, the checks of typed
// numbers and the column set-up.
#include "CVEKUWTRuleListCtrl.h"

#include <NumberText.h>
#include <RuleResources.h>
#include <resource.h>

namespace
{
// Text limit of both editors.
const int kCellTextLimit = 260;
const wchar_t kMessageCaption[] = L"Ortiva";

// A string of the module's current-language resource library; empty when it is missing.
CString LoadModuleString(UINT nID)
{
    CString strText;
    if (IRuleResources* pResources = GetRuleResources())
        strText.LoadString(pResources->GetResDll(), nID);
    return strText;
}

CString LookUp(const std::map<CString, CString>& map, const CString& strKey)
{
    auto it = map.find(strKey);
    return it == map.end() ? CString() : it->second;
}
} // namespace

IMPLEMENT_DYNAMIC(CVEKUWTRuleListCtrl, CVEKListCtrl)

BEGIN_MESSAGE_MAP(CVEKUWTRuleListCtrl, CVEKListCtrl)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CVEKUWTRuleListCtrl::CVEKUWTRuleListCtrl() = default;

CVEKUWTRuleListCtrl::~CVEKUWTRuleListCtrl() = default;

void CVEKUWTRuleListCtrl::SetColumns(const std::vector<CString>& vecTitles)
{
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    if (pHeader && pHeader->GetItemCount() > 0)
        return;
    m_nLastCol = static_cast<int>(vecTitles.size()) - 1;
    m_nFirstEditCol = 1;
    for (size_t i = 0; i < vecTitles.size(); ++i)
    {
        const int nCol = static_cast<int>(i);
        InsertColumn(nCol, vecTitles[i], LVCFMT_LEFT, nCol == 0 ? 200 : 120, nCol);
    }
}

void CVEKUWTRuleListCtrl::SetComboItems(const std::vector<CString>& vecNames)
{
    m_vecComboItems = vecNames;
}

void CVEKUWTRuleListCtrl::ApplyValueDefaults(int nRow, int nCol, const CString& strName)
{
    SetItemText(nRow, nCol + 1, LookUp(m_mapFirstValueDefaults, strName));
    SetItemText(nRow, nCol + 2, LookUp(m_mapSecondValueDefaults, strName));
}

int CVEKUWTRuleListCtrl::CheckValueRange(int nRow, int nCol)
{
    if (nCol != 1 && nCol != 2)
        return 1;
    const CString strLower = GetItemText(nRow, 1);
    const CString strUpper = GetItemText(nRow, 2);
    if (strLower.IsEmpty() || strUpper.IsEmpty())
        return 1;
    if (StringToDouble(strLower) - StringToDouble(strUpper) > g_dTolerance)
    {
        MessageBox(LoadModuleString(IDS_VALUE_RANGE), kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    return 1;
}

void CVEKUWTRuleListCtrl::CommitValueEdit(int nRow, int nCol)
{
    CString strText;
    if (!IsEditVisible() || !CommitEdit(strText))
        return;
    if (!IsNumberText(strText))
        SetItemText(nRow, nCol, L"");
    if (!CheckValueRange(nRow, nCol))
        SetItemText(nRow, nCol, L"");
}

void CVEKUWTRuleListCtrl::CommitCurrentCell()
{
    if (m_nCurCol == 1 || m_nCurCol == 2)
    {
        CommitValueEdit(m_nCurRow, m_nCurCol);
    }
    else if (m_nCurCol == 0)
    {
        CString strName;
        if (CommitComboEdit(strName, LoadModuleString(IDS_DUPLICATE_SUFFIX)))
            ApplyValueDefaults(m_nCurRow, m_nCurCol, strName);
    }
}

void CVEKUWTRuleListCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    CommitCurrentCell();
    LVHITTESTINFO hit = {};
    hit.pt = point;
    SubItemHitTest(&hit);
    if (hit.iItem >= 0 && (hit.iSubItem == 1 || hit.iSubItem == 2))
    {
        // A number cell opens only once its row has a name; either way the click neither
        // selects nor focuses a row.
        if (!GetItemText(hit.iItem, 0).IsEmpty())
            ShowEditor(hit.iItem, hit.iSubItem, kCellTextLimit);
        return;
    }
    CVEKListCtrl::OnLButtonDown(nFlags, point);
}

void CVEKUWTRuleListCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    LVHITTESTINFO hit = {};
    hit.pt = point;
    SubItemHitTest(&hit);
    if (hit.iSubItem == 0)
    {
        ShowComboEditor(hit.iItem, 0, kCellTextLimit);
        return;
    }
    CVEKListCtrl::OnLButtonDblClk(nFlags, point);
}

BOOL CVEKUWTRuleListCtrl::PreTranslateKey(MSG* pMsg)
{
    if (pMsg == nullptr || pMsg->message != WM_KEYDOWN)
        return FALSE;
    const int nRow = m_nCurRow;
    const int nCol = m_nCurCol;
    CString strText;
    int nResult = 0;
    switch (pMsg->wParam)
    {
    case VK_TAB:
        if (nCol < m_nLastCol)
        {
            nResult = CommitEdit(strText);
            ShowEditor(nRow, nCol + 1, kCellTextLimit);
        }
        break;
    case VK_RETURN:
        // Checked like a click; Enter then goes on to the dialog.
        CommitCurrentCell();
        break;
    case VK_ESCAPE: {
        const int nEditHidden = HideEdit();
        const int nComboHidden = HideCombo();
        nResult = nEditHidden || nComboHidden;
        break;
    }
    case VK_LEFT:
        nResult = CommitEdit(strText);
        if (nCol > m_nFirstEditCol)
            ShowEditor(nRow, nCol - 1, kCellTextLimit);
        break;
    case VK_RIGHT:
        nResult = CommitEdit(strText);
        if (m_nLastCol > nCol)
            ShowEditor(nRow, nCol + 1, kCellTextLimit);
        break;
    case VK_UP:
        if ((nRow != -1 || nCol != -1) && IsEditVisible())
        {
            nResult = CommitEdit(strText);
            if (nRow > 0)
                ShowEditor(nRow - 1, nCol, kCellTextLimit);
        }
        break;
    case VK_DOWN:
        if ((nRow != -1 || nCol != -1) && IsEditVisible())
        {
            nResult = CommitEdit(strText);
            if (nRow + 1 < GetItemCount())
                ShowEditor(nRow + 1, nCol, kCellTextLimit);
        }
        break;
    case VK_DELETE:
        if (!IsEditVisible())
            nResult = DeleteSelectedRows();
        break;
    default:
        break;
    }
    return nResult;
}
