// Tree view control: items in a hierarchy with expansion, selection (the caret item), state
// images (TVS_CHECKBOXES), hit tests and item rectangles, and the default mouse and keyboard
// handling.
//
// Geometry (client coordinates): the visible items (those whose ancestors are all expanded)
// are rows of VEK_CY_TVROW pixels from the first visible item down. An item of depth d (0 for
// top-level items) has d indent columns of VEK_CX_TVINDENT pixels, one more for every item
// when TVS_LINESATROOT comes with TVS_HASLINES or TVS_HASBUTTONS; with TVS_HASBUTTONS the last
// indent column of an item with children is its expand button. Then comes the state image
// (VEK_CX_TVSTATEICON wide, only with TVS_CHECKBOXES and a state image index other than 0),
// the icon (no width: there is no image list), and the label, the text plus
// VEK_CX_TVLABELPAD on each side.
//
// Item handles are never reused: a handle of a deleted item stays invalid, and every message
// given one fails.
//
// Not implemented: image lists (icons, TVM_SETIMAGELIST), label editing (TVS_EDITLABELS),
// drag and drop (TVN_BEGINDRAG), tool tips, TVS_SINGLEEXPAND, TVS_TRACKSELECT, insertion marks,
// I_CHILDRENCALLBACK and LPSTR_TEXTCALLBACK (TVN_GETDISPINFO), TVN_ITEMCHANGING /
// TVN_ITEMCHANGED and NM_TVSTATEIMAGECHANGING, incremental search by typing, horizontal
// scrolling, custom draw.
#include "VekWindowInternal.h"

#include <algorithm>
#include <map>
#include <memory>

namespace
{
struct TreeItem
{
    uintptr_t id = 0;
    std::wstring strText;
    UINT nState = 0;
    LPARAM lParam = 0;
    int cChildren = -1; // as set through TVIF_CHILDREN; -1 follows the real children
    TreeItem* pParent = nullptr;
    std::vector<TreeItem*> children;
};

uintptr_t g_nextItemId = 0x1000;

struct TreeState
{
    TreeItem root;
    std::map<uintptr_t, std::unique_ptr<TreeItem>> items;
    TreeItem* pCaret = nullptr;
    TreeItem* pFirstVisible = nullptr;
    TreeItem* pDropHilite = nullptr;
    int nIndent = VEK_CX_TVINDENT;
    UINT nCause = TVC_UNKNOWN; // what is selecting: the mouse, the keyboard or a program
};

TreeState* State(HWND h)
{
    return static_cast<TreeState*>(VekGetCtlState(h));
}
DWORD Style(HWND h)
{
    return static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
}
HTREEITEM Handle(const TreeItem* p)
{
    return p ? reinterpret_cast<HTREEITEM>(p->id) : nullptr;
}

TreeItem* Item(TreeState* s, HTREEITEM h)
{
    auto it = s->items.find(reinterpret_cast<uintptr_t>(h));
    return it == s->items.end() ? nullptr : it->second.get();
}

bool HasChildren(const TreeItem* p)
{
    return p->cChildren >= 0 ? p->cChildren != 0 : !p->children.empty();
}
bool Expanded(const TreeItem* p)
{
    return (p->nState & TVIS_EXPANDED) != 0;
}
UINT StateImage(const TreeItem* p)
{
    return (p->nState & TVIS_STATEIMAGEMASK) >> 12;
}

int Depth(const TreeItem* p)
{
    int d = 0;
    for (const TreeItem* q = p->pParent; q && q->pParent; q = q->pParent)
        ++d;
    return d;
}

void CollectVisible(TreeItem* p, std::vector<TreeItem*>& out)
{
    for (TreeItem* c : p->children)
    {
        out.push_back(c);
        if (Expanded(c))
            CollectVisible(c, out);
    }
}

std::vector<TreeItem*> Visible(TreeState* s)
{
    std::vector<TreeItem*> v;
    CollectVisible(&s->root, v);
    return v;
}

int IndexOf(const std::vector<TreeItem*>& v, const TreeItem* p)
{
    auto it = std::find(v.begin(), v.end(), p);
    return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

int FirstVisibleIndex(TreeState* s, const std::vector<TreeItem*>& v)
{
    int n = IndexOf(v, s->pFirstVisible);
    if (n < 0)
    {
        s->pFirstVisible = v.empty() ? nullptr : v.front();
        n = v.empty() ? -1 : 0;
    }
    return std::max(n, 0);
}

int PerPage(HWND h)
{
    RECT rc;
    GetClientRect(h, &rc);
    return std::max(1, static_cast<int>(rc.bottom) / VEK_CY_TVROW);
}

struct Layout
{
    int xIndentEnd; // end of the indent columns (the button is the last one)
    int xButton;    // start of the button column, or -1
    int xState;     // start of the state image
    int xLabel;     // start of the label
    int xRight;     // end of the label
};

Layout LayoutOf(HWND h, const TreeState* s, const TreeItem* p)
{
    DWORD dwStyle = Style(h);
    bool bRootColumn = (dwStyle & TVS_LINESATROOT) && (dwStyle & (TVS_HASLINES | TVS_HASBUTTONS));
    int nLevels = Depth(p) + (bRootColumn ? 1 : 0);
    Layout l;
    l.xIndentEnd = nLevels * s->nIndent;
    l.xButton = ((dwStyle & TVS_HASBUTTONS) && HasChildren(p) && nLevels > 0)
                    ? l.xIndentEnd - s->nIndent
                    : -1;
    l.xState = l.xIndentEnd;
    int cxState = ((dwStyle & TVS_CHECKBOXES) && StateImage(p) != 0) ? VEK_CX_TVSTATEICON : 0;
    l.xLabel = l.xState + cxState;
    l.xRight = l.xLabel + VekTextWidth(p->strText) + 2 * VEK_CX_TVLABELPAD;
    return l;
}

TreeItem* HitTest(HWND h, TreeState* s, TVHITTESTINFO* p)
{
    RECT rc;
    GetClientRect(h, &rc);
    p->hItem = nullptr;
    p->flags = 0;
    if (p->pt.x < 0)
        p->flags |= TVHT_TOLEFT;
    else if (p->pt.x >= rc.right)
        p->flags |= TVHT_TORIGHT;
    if (p->pt.y < 0)
        p->flags |= TVHT_ABOVE;
    else if (p->pt.y >= rc.bottom)
        p->flags |= TVHT_BELOW;
    if (p->flags)
        return nullptr;
    std::vector<TreeItem*> v = Visible(s);
    int n = FirstVisibleIndex(s, v) + p->pt.y / VEK_CY_TVROW;
    if (v.empty() || n >= static_cast<int>(v.size()))
    {
        p->flags = TVHT_NOWHERE;
        return nullptr;
    }
    TreeItem* pItem = v[static_cast<size_t>(n)];
    Layout l = LayoutOf(h, s, pItem);
    int x = p->pt.x;
    if (l.xButton >= 0 && x >= l.xButton && x < l.xIndentEnd)
        p->flags = TVHT_ONITEMBUTTON;
    else if (x < l.xIndentEnd)
        p->flags = TVHT_ONITEMINDENT;
    else if (x < l.xLabel)
        p->flags = TVHT_ONITEMSTATEICON;
    else if (x < l.xRight)
        p->flags = TVHT_ONITEMLABEL;
    else
        p->flags = TVHT_ONITEMRIGHT;
    p->hItem = Handle(pItem);
    return pItem;
}

void FillItem(TVITEMW& tvi, const TreeItem* p)
{
    tvi.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    tvi.hItem = Handle(p);
    tvi.state = p ? p->nState : 0;
    tvi.stateMask = 0xFFFF;
    tvi.lParam = p ? p->lParam : 0;
}

LRESULT NotifyTree(HWND h, UINT nCode, UINT nAction, const TreeItem* pOld, const TreeItem* pNew)
{
    NMTREEVIEWW nm = {};
    nm.action = nAction;
    FillItem(nm.itemOld, pOld);
    FillItem(nm.itemNew, pNew);
    if (!pOld)
        nm.itemOld.mask = 0;
    if (!pNew)
        nm.itemNew.mask = 0;
    return VekNotifyParent(h, nCode, &nm.hdr);
}

bool Expand(HWND h, TreeState* s, TreeItem* p, UINT nCode, bool bUser);

void EnsureVisible(HWND h, TreeState* s, TreeItem* p)
{
    for (TreeItem* q = p->pParent; q && q != &s->root; q = q->pParent)
        if (!Expanded(q))
            Expand(h, s, q, TVE_EXPAND, false);
    std::vector<TreeItem*> v = Visible(s);
    int n = IndexOf(v, p);
    if (n < 0)
        return;
    int nFirst = FirstVisibleIndex(s, v);
    int nPage = PerPage(h);
    if (n < nFirst)
        s->pFirstVisible = p;
    else if (n >= nFirst + nPage)
        s->pFirstVisible = v[static_cast<size_t>(n - nPage + 1)];
}

// TVGN_CARET: TVN_SELCHANGING (a non-zero answer keeps the old selection), then
// TVN_SELCHANGED. Selecting the current item again sends nothing.
bool Select(HWND h, TreeState* s, TreeItem* p)
{
    if (p == s->pCaret)
        return true;
    TreeItem* pOld = s->pCaret;
    UINT nCause = s->nCause;
    if (NotifyTree(h, TVN_SELCHANGINGW, nCause, pOld, p))
        return false;
    if (!IsWindow(h))
        return false;
    // The handler may have deleted either item.
    if (pOld && !Item(s, Handle(pOld)))
        pOld = nullptr;
    if (p && !Item(s, Handle(p)))
        return false;
    if (pOld)
        pOld->nState &= ~static_cast<UINT>(TVIS_SELECTED);
    s->pCaret = p;
    if (p)
    {
        p->nState |= TVIS_SELECTED;
        EnsureVisible(h, s, p);
    }
    InvalidateRect(h, nullptr, TRUE);
    NotifyTree(h, TVN_SELCHANGEDW, nCause, pOld, p);
    return true;
}

bool Expand(HWND h, TreeState* s, TreeItem* p, UINT nCode, bool bUser)
{
    nCode &= 3;
    if (!HasChildren(p) && p->children.empty())
        return false;
    bool bExpand = nCode == TVE_EXPAND || (nCode == TVE_TOGGLE && !Expanded(p));
    if (nCode != TVE_EXPAND && nCode != TVE_COLLAPSE && nCode != TVE_TOGGLE)
        return false;
    if (bExpand == Expanded(p))
        return true;
    // A program's expansion notifies only until the item has been expanded once.
    bool bNotify = bUser || !(p->nState & TVIS_EXPANDEDONCE);
    UINT nAction = bExpand ? TVE_EXPAND : TVE_COLLAPSE;
    if (bNotify && NotifyTree(h, TVN_ITEMEXPANDINGW, nAction, nullptr, p))
        return false;
    if (!IsWindow(h) || !Item(s, Handle(p)))
        return false;
    if (bExpand)
        p->nState |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    else
        p->nState &= ~static_cast<UINT>(TVIS_EXPANDED);
    if (!bExpand)
    {
        std::vector<TreeItem*> v = Visible(s);
        if (s->pFirstVisible && IndexOf(v, s->pFirstVisible) < 0)
            s->pFirstVisible = p;
    }
    InvalidateRect(h, nullptr, TRUE);
    if (bNotify)
        NotifyTree(h, TVN_ITEMEXPANDEDW, nAction, nullptr, p);
    // A collapse that hides the selected item selects the collapsed item.
    if (!bExpand && s->pCaret && IsWindow(h))
    {
        for (TreeItem* q = s->pCaret->pParent; q; q = q->pParent)
            if (q == p)
            {
                Select(h, s, p);
                break;
            }
    }
    return true;
}

TreeItem* Insert(HWND h, TreeState* s, const TVINSERTSTRUCTW* pIns)
{
    TreeItem* pParent = &s->root;
    if (pIns->hParent && pIns->hParent != TVI_ROOT)
    {
        pParent = Item(s, pIns->hParent);
        if (!pParent)
            return nullptr;
    }
    auto pNew = std::make_unique<TreeItem>();
    g_nextItemId += 4;
    pNew->id = g_nextItemId;
    pNew->pParent = pParent;
    const TVITEMW& tvi = pIns->item;
    if (tvi.mask & TVIF_TEXT)
        pNew->strText = tvi.pszText && tvi.pszText != LPSTR_TEXTCALLBACKW ? tvi.pszText : L"";
    if (tvi.mask & TVIF_STATE)
        pNew->nState = tvi.state & tvi.stateMask & ~static_cast<UINT>(TVIS_SELECTED);
    if (tvi.mask & TVIF_PARAM)
        pNew->lParam = tvi.lParam;
    if (tvi.mask & TVIF_CHILDREN)
        pNew->cChildren = tvi.cChildren;
    // With check boxes every item starts unchecked.
    if ((Style(h) & TVS_CHECKBOXES) && StateImage(pNew.get()) == 0)
        pNew->nState |= INDEXTOSTATEIMAGEMASK(1);

    std::vector<TreeItem*>& sib = pParent->children;
    size_t nPos = sib.size();
    HTREEITEM hAfter = pIns->hInsertAfter;
    if (hAfter == TVI_FIRST)
    {
        nPos = 0;
    }
    else if (hAfter == TVI_SORT)
    {
        // Alphabetical, ignoring case; an equal text goes after the existing ones.
        nPos = 0;
        while (nPos < sib.size() &&
               VekCompareNoCase(sib[nPos]->strText.c_str(), pNew->strText.c_str()) <= 0)
            ++nPos;
    }
    else if (hAfter && hAfter != TVI_LAST && hAfter != TVI_ROOT)
    {
        TreeItem* pAfter = Item(s, hAfter);
        auto it = std::find(sib.begin(), sib.end(), pAfter);
        if (it != sib.end())
            nPos = static_cast<size_t>(it - sib.begin()) + 1;
    }
    TreeItem* p = pNew.get();
    sib.insert(sib.begin() + static_cast<std::ptrdiff_t>(nPos), p);
    s->items[p->id] = std::move(pNew);
    if (!s->pFirstVisible)
        s->pFirstVisible = s->root.children.empty() ? nullptr : s->root.children.front();
    InvalidateRect(h, nullptr, TRUE);
    return p;
}

void Unlink(TreeState* s, TreeItem* p)
{
    auto& sib = p->pParent->children;
    sib.erase(std::remove(sib.begin(), sib.end(), p), sib.end());
    if (s->pCaret == p)
        s->pCaret = nullptr;
    if (s->pDropHilite == p)
        s->pDropHilite = nullptr;
    s->items.erase(p->id);
}

// Deletes p's subtree, children before parents, with TVN_DELETEITEM for each.
void DeleteSubtree(HWND h, TreeState* s, TreeItem* p)
{
    std::vector<TreeItem*> kids = p->children;
    for (TreeItem* c : kids)
        if (Item(s, Handle(c)))
            DeleteSubtree(h, s, c);
    if (!IsWindow(h) || !Item(s, Handle(p)))
        return;
    NotifyTree(h, TVN_DELETEITEMW, 0, p, nullptr);
    if (IsWindow(h) && Item(s, Handle(p)))
        Unlink(s, p);
}

bool Delete(HWND h, TreeState* s, HTREEITEM hItem)
{
    if (hItem == TVI_ROOT || !hItem)
    {
        std::vector<TreeItem*> tops = s->root.children;
        for (TreeItem* c : tops)
            if (IsWindow(h) && Item(s, Handle(c)))
                DeleteSubtree(h, s, c);
        s->pCaret = nullptr;
        s->pFirstVisible = nullptr;
        InvalidateRect(h, nullptr, TRUE);
        return true;
    }
    TreeItem* p = Item(s, hItem);
    if (!p)
        return false;
    TreeItem* pNewSel = nullptr;
    bool bSelInside = false;
    for (TreeItem* q = s->pCaret; q; q = q->pParent)
        if (q == p)
            bSelInside = true;
    if (bSelInside)
    {
        auto& sib = p->pParent->children;
        auto it = std::find(sib.begin(), sib.end(), p);
        if (it + 1 != sib.end())
            pNewSel = *(it + 1);
        else if (p->pParent != &s->root)
            pNewSel = p->pParent;
        else if (it != sib.begin())
            pNewSel = *(it - 1);
    }
    TreeItem* pParent = p->pParent;
    DeleteSubtree(h, s, p);
    if (!IsWindow(h))
        return true;
    std::vector<TreeItem*> v = Visible(s);
    if (IndexOf(v, s->pFirstVisible) < 0)
        s->pFirstVisible =
            v.empty() ? nullptr
                      : (pParent != &s->root && IndexOf(v, pParent) >= 0 ? pParent : v.front());
    if (pNewSel && Item(s, Handle(pNewSel)))
    {
        s->nCause = TVC_UNKNOWN;
        Select(h, s, pNewSel);
    }
    InvalidateRect(h, nullptr, TRUE);
    return true;
}

TreeItem* NextItem(TreeState* s, TreeItem* p, UINT nCode)
{
    switch (nCode)
    {
    case TVGN_ROOT:
        return s->root.children.empty() ? nullptr : s->root.children.front();
    case TVGN_CARET:
        return s->pCaret;
    case TVGN_DROPHILITE:
        return s->pDropHilite;
    case TVGN_FIRSTVISIBLE: {
        std::vector<TreeItem*> v = Visible(s);
        int n = IndexOf(v, s->pFirstVisible);
        return n >= 0 ? s->pFirstVisible : (v.empty() ? nullptr : v.front());
    }
    case TVGN_LASTVISIBLE: {
        std::vector<TreeItem*> v = Visible(s);
        return v.empty() ? nullptr : v.back();
    }
    default:
        break;
    }
    if (nCode == TVGN_CHILD && !p)
        return s->root.children.empty() ? nullptr : s->root.children.front();
    if (!p)
        return nullptr;
    switch (nCode)
    {
    case TVGN_CHILD:
        return p->children.empty() ? nullptr : p->children.front();
    case TVGN_PARENT:
        return p->pParent == &s->root ? nullptr : p->pParent;
    case TVGN_NEXT:
    case TVGN_PREVIOUS: {
        auto& sib = p->pParent->children;
        auto it = std::find(sib.begin(), sib.end(), p);
        if (nCode == TVGN_NEXT)
            return (it + 1) == sib.end() ? nullptr : *(it + 1);
        return it == sib.begin() ? nullptr : *(it - 1);
    }
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
        std::vector<TreeItem*> v = Visible(s);
        int n = IndexOf(v, p);
        if (n < 0)
            return nullptr;
        n += nCode == TVGN_NEXTVISIBLE ? 1 : -1;
        return n >= 0 && n < static_cast<int>(v.size()) ? v[static_cast<size_t>(n)] : nullptr;
    }
    default:
        return nullptr;
    }
}

void ToggleCheck(HWND h, TreeItem* p)
{
    UINT n = StateImage(p);
    if (n == 1 || n == 2)
    {
        p->nState = (p->nState & ~static_cast<UINT>(TVIS_STATEIMAGEMASK)) |
                    INDEXTOSTATEIMAGEMASK(n == 1 ? 2 : 1);
        InvalidateRect(h, nullptr, TRUE);
    }
}

void SelectByUser(HWND h, TreeState* s, TreeItem* p, UINT nCause)
{
    s->nCause = nCause;
    Select(h, s, p);
    s->nCause = TVC_UNKNOWN;
}

LRESULT TreeProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TreeState* s = State(h);
    if (!s && msg != WM_NCCREATE)
        return DefWindowProcW(h, msg, wParam, lParam);
    switch (msg)
    {
    case WM_NCCREATE:
        VekSetCtlState(h, new TreeState);
        return TRUE;
    case WM_DESTROY:
        Delete(h, s, TVI_ROOT);
        return 0;
    case WM_NCDESTROY:
        delete s;
        VekSetCtlState(h, nullptr);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case TVM_INSERTITEMW: {
        auto* p = reinterpret_cast<const TVINSERTSTRUCTW*>(lParam);
        return p ? reinterpret_cast<LRESULT>(Handle(Insert(h, s, p))) : 0;
    }
    case TVM_DELETEITEM:
        return Delete(h, s, reinterpret_cast<HTREEITEM>(lParam)) ? TRUE : FALSE;
    case TVM_GETCOUNT:
        return static_cast<LRESULT>(s->items.size());
    case TVM_GETINDENT:
        return s->nIndent;
    case TVM_SETINDENT:
        s->nIndent = std::max(0, static_cast<int>(wParam));
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    case TVM_GETITEMHEIGHT:
        return VEK_CY_TVROW;
    case TVM_GETVISIBLECOUNT:
        return PerPage(h);
    case TVM_GETNEXTITEM: {
        TreeItem* p = nullptr;
        if (lParam && reinterpret_cast<HTREEITEM>(lParam) != TVI_ROOT)
        {
            p = Item(s, reinterpret_cast<HTREEITEM>(lParam));
            if (!p)
                return 0;
        }
        return reinterpret_cast<LRESULT>(Handle(NextItem(s, p, static_cast<UINT>(wParam))));
    }
    case TVM_GETITEMW: {
        auto* p = reinterpret_cast<TVITEMW*>(lParam);
        TreeItem* pItem = p ? Item(s, p->hItem) : nullptr;
        if (!pItem)
            return FALSE;
        if (p->mask & TVIF_TEXT)
            VekCopyText(pItem->strText, p->pszText, p->cchTextMax);
        if (p->mask & TVIF_STATE)
            p->state = pItem->nState & (p->stateMask ? p->stateMask : 0xFFFFu);
        if (p->mask & TVIF_PARAM)
            p->lParam = pItem->lParam;
        if (p->mask & TVIF_CHILDREN)
            p->cChildren = HasChildren(pItem) ? 1 : 0;
        return TRUE;
    }
    case TVM_SETITEMW: {
        auto* p = reinterpret_cast<const TVITEMW*>(lParam);
        TreeItem* pItem = p ? Item(s, p->hItem) : nullptr;
        if (!pItem)
            return FALSE;
        if (p->mask & TVIF_TEXT)
            pItem->strText = p->pszText && p->pszText != LPSTR_TEXTCALLBACKW ? p->pszText : L"";
        if (p->mask & TVIF_STATE)
            pItem->nState = (pItem->nState & ~p->stateMask) | (p->state & p->stateMask);
        if (p->mask & TVIF_PARAM)
            pItem->lParam = p->lParam;
        if (p->mask & TVIF_CHILDREN)
            pItem->cChildren = p->cChildren;
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case TVM_GETITEMSTATE: {
        TreeItem* pItem = Item(s, reinterpret_cast<HTREEITEM>(wParam));
        return pItem ? (pItem->nState & static_cast<UINT>(lParam)) : 0;
    }
    case TVM_SELECTITEM: {
        HTREEITEM hItem = reinterpret_cast<HTREEITEM>(lParam);
        TreeItem* pItem = hItem ? Item(s, hItem) : nullptr;
        if (hItem && !pItem)
            return FALSE;
        switch (wParam & 0xFF)
        {
        case TVGN_CARET:
            return Select(h, s, pItem) ? TRUE : FALSE;
        case TVGN_FIRSTVISIBLE:
            if (!pItem)
                return FALSE;
            EnsureVisible(h, s, pItem);
            s->pFirstVisible = pItem;
            return TRUE;
        case TVGN_DROPHILITE:
            if (s->pDropHilite)
                s->pDropHilite->nState &= ~static_cast<UINT>(TVIS_DROPHILITED);
            s->pDropHilite = pItem;
            if (pItem)
                pItem->nState |= TVIS_DROPHILITED;
            return TRUE;
        default:
            return FALSE;
        }
    }
    case TVM_EXPAND: {
        TreeItem* pItem = Item(s, reinterpret_cast<HTREEITEM>(lParam));
        return pItem && Expand(h, s, pItem, static_cast<UINT>(wParam), false) ? TRUE : FALSE;
    }
    case TVM_ENSUREVISIBLE: {
        TreeItem* pItem = Item(s, reinterpret_cast<HTREEITEM>(lParam));
        if (!pItem)
            return FALSE;
        EnsureVisible(h, s, pItem);
        return TRUE;
    }
    case TVM_SORTCHILDREN: {
        TreeItem* pItem = lParam && reinterpret_cast<HTREEITEM>(lParam) != TVI_ROOT
                              ? Item(s, reinterpret_cast<HTREEITEM>(lParam))
                              : &s->root;
        if (!pItem)
            return FALSE;
        std::stable_sort(pItem->children.begin(), pItem->children.end(),
                         [](const TreeItem* a, const TreeItem* b) {
                             return VekCompareNoCase(a->strText.c_str(), b->strText.c_str()) < 0;
                         });
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
    }
    case TVM_GETITEMRECT: {
        auto* pRect = reinterpret_cast<RECT*>(lParam);
        if (!pRect)
            return FALSE;
        TreeItem* pItem = Item(s, *reinterpret_cast<HTREEITEM*>(pRect));
        if (!pItem)
            return FALSE;
        std::vector<TreeItem*> v = Visible(s);
        int n = IndexOf(v, pItem);
        if (n < 0)
            return FALSE;
        int y = (n - FirstVisibleIndex(s, v)) * VEK_CY_TVROW;
        RECT rc;
        GetClientRect(h, &rc);
        if (wParam)
        {
            Layout l = LayoutOf(h, s, pItem);
            *pRect = RECT{l.xLabel, y, l.xRight, y + VEK_CY_TVROW};
        }
        else
        {
            *pRect = RECT{0, y, rc.right, y + VEK_CY_TVROW};
        }
        return TRUE;
    }
    case TVM_HITTEST: {
        auto* p = reinterpret_cast<TVHITTESTINFO*>(lParam);
        return p ? reinterpret_cast<LRESULT>(Handle(HitTest(h, s, p))) : 0;
    }
    case WM_LBUTTONDOWN: {
        TVHITTESTINFO ht = {};
        ht.pt = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        TreeItem* pItem = HitTest(h, s, &ht);
        if (pItem && (ht.flags & TVHT_ONITEMBUTTON))
        {
            Expand(h, s, pItem, TVE_TOGGLE, true);
        }
        else
        {
            // The parent hears of the click first; a non-zero answer stops the default handling.
            NMHDR nm = {};
            LRESULT r = VekNotifyParent(h, NM_CLICK, &nm);
            if (r == 0 && IsWindow(h) && pItem && Item(s, Handle(pItem)))
            {
                if (ht.flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON))
                    SelectByUser(h, s, pItem, TVC_BYMOUSE);
                else if ((ht.flags & TVHT_ONITEMSTATEICON) && (Style(h) & TVS_CHECKBOXES))
                    ToggleCheck(h, pItem);
            }
        }
        if (IsWindow(h))
            SetFocus(h);
        return 0;
    }
    case WM_LBUTTONDBLCLK: {
        TVHITTESTINFO ht = {};
        ht.pt = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        TreeItem* pItem = HitTest(h, s, &ht);
        NMHDR nm = {};
        LRESULT r = VekNotifyParent(h, NM_DBLCLK, &nm);
        if (r == 0 && IsWindow(h) && pItem && Item(s, Handle(pItem)) &&
            (ht.flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON)))
            Expand(h, s, pItem, TVE_TOGGLE, true);
        return 0;
    }
    case WM_LBUTTONUP:
        return 0;
    case WM_KEYDOWN: {
        NMTVKEYDOWN nm = {};
        nm.wVKey = static_cast<WORD>(wParam);
        VekNotifyParent(h, TVN_KEYDOWN, &nm.hdr);
        if (!IsWindow(h))
            return 0;
        TreeItem* pCaret = s->pCaret;
        std::vector<TreeItem*> v = Visible(s);
        if (v.empty())
            return 0;
        int n = IndexOf(v, pCaret);
        switch (wParam)
        {
        case VK_UP:
            SelectByUser(h, s, v[static_cast<size_t>(std::max(0, n - 1))], TVC_BYKEYBOARD);
            break;
        case VK_DOWN:
            SelectByUser(h, s,
                         v[static_cast<size_t>(std::min(static_cast<int>(v.size()) - 1, n + 1))],
                         TVC_BYKEYBOARD);
            break;
        case VK_HOME:
            SelectByUser(h, s, v.front(), TVC_BYKEYBOARD);
            break;
        case VK_END:
            SelectByUser(h, s, v.back(), TVC_BYKEYBOARD);
            break;
        case VK_LEFT:
            if (pCaret && Expanded(pCaret))
                Expand(h, s, pCaret, TVE_COLLAPSE, true);
            else if (pCaret && pCaret->pParent != &s->root)
                SelectByUser(h, s, pCaret->pParent, TVC_BYKEYBOARD);
            break;
        case VK_RIGHT:
            if (pCaret && !Expanded(pCaret) && HasChildren(pCaret))
                Expand(h, s, pCaret, TVE_EXPAND, true);
            else if (pCaret && !pCaret->children.empty())
                SelectByUser(h, s, pCaret->children.front(), TVC_BYKEYBOARD);
            break;
        case VK_SPACE:
            if (pCaret && (Style(h) & TVS_CHECKBOXES))
                ToggleCheck(h, pCaret);
            break;
        default:
            break;
        }
        return 0;
    }
    case WM_SETFOCUS: {
        NMHDR nm = {};
        VekNotifyParent(h, NM_SETFOCUS, &nm);
        return 0;
    }
    case WM_KILLFOCUS: {
        NMHDR nm = {};
        VekNotifyParent(h, NM_KILLFOCUS, &nm);
        return 0;
    }
    case WM_VSCROLL: {
        std::vector<TreeItem*> v = Visible(s);
        if (v.empty())
            return 0;
        const int nFirst = VekScrollTopRow(wParam, FirstVisibleIndex(s, v), PerPage(h),
                                           static_cast<int>(v.size()));
        s->pFirstVisible = v[static_cast<size_t>(nFirst)];
        InvalidateRect(h, nullptr, TRUE);
        return 0;
    }
    default:
        return DefWindowProcW(h, msg, wParam, lParam);
    }
}
} // namespace

void VekRegisterTreeViewClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &TreeProc;
    wc.lpszClassName = WC_TREEVIEWW;
    RegisterClassW(&wc);
}
