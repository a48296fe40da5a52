// Tree view control: items in a hierarchy with expansion, selection (the caret item), state
// images (TVS_CHECKBOXES), hit tests and item rectangles, and the default mouse and keyboard
// handling.
//
// Geometry (client coordinates): the visible items (those whose ancestors are all expanded)
// are rows of VEK_CY_TVROW pixels from the first visible item down. When they do not all fit,
// the tree shows a vertical scroll bar (WS_VSCROLL, which narrows the client area) whose
// position is the index of the first visible item among them; the bar, the mouse wheel and
// the keys move it, and item rectangles and hit tests follow it. An item of depth d (0 for
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
// Cost: inserting at a given place, stepping between siblings and deleting take constant time
// per item. Sorted insertions (TVI_SORT) in a row under one parent are placed together when the
// tree next gets any other message, so that filling a parent with k sorted items costs one
// k log k sort rather than a search per item; no caller can tell, since every message sees
// them in their places.
//
// A handler of any notification may delete items, or destroy the tree or its parent. After
// each notification the tree checks that its window still lives (window handles are never
// reused either) and that the items it holds still exist, and otherwise stops at once.
//
// Not implemented: image lists (icons, TVM_SETIMAGELIST), label editing (TVS_EDITLABELS),
// drag and drop (TVN_BEGINDRAG), tool tips, TVS_SINGLEEXPAND, TVS_TRACKSELECT, insertion marks,
// I_CHILDRENCALLBACK and LPSTR_TEXTCALLBACK (TVN_GETDISPINFO), TVN_ITEMCHANGING /
// TVN_ITEMCHANGED and NM_TVSTATEIMAGECHANGING, incremental search by typing, horizontal
// scrolling, custom draw, WM_CONTEXTMENU after an unanswered NM_RCLICK, NM_RDBLCLK, NM_RETURN.
#include "VekSnapshotInternal.h"
#include "VekWindowInternal.h"

#include <algorithm>
#include <cwctype>
#include <unordered_map>

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
    // The children as a linked list: stepping to a sibling, inserting at a known place and
    // removing are constant time, however many siblings there are.
    TreeItem* pFirstChild = nullptr;
    TreeItem* pLastChild = nullptr;
    TreeItem* pPrev = nullptr;
    TreeItem* pNext = nullptr;
    // Set when the item's deletion has begun: from then on nothing may be inserted under it,
    // for a child the deletion did not see would outlive its parent.
    bool bDeleting = false;
};

// The order TVI_SORT keeps: by text, ignoring case, as VekCompareNoCase answers. The texts of
// the items being ordered are lowered once into one buffer and compared there, so that ordering
// many items costs one lowering per item and no allocation per item.
class SortKeys
{
public:
    struct Key
    {
        size_t nStart; // in the buffer
        size_t nLength;
        TreeItem* p;
    };
    explicit SortKeys(size_t nCharacters) { m_strLowered.reserve(nCharacters); }
    Key Add(TreeItem* p)
    {
        Key key = {m_strLowered.size(), p->strText.size(), p};
        for (wchar_t ch : p->strText)
            m_strLowered.push_back(static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch))));
        return key;
    }
    // Whether a's text comes before b's.
    bool Less(const Key& a, const Key& b) const
    {
        const wchar_t* pszA = m_strLowered.data() + a.nStart;
        const wchar_t* pszB = m_strLowered.data() + b.nStart;
        const size_t n = std::min(a.nLength, b.nLength);
        for (size_t i = 0; i < n; ++i)
            if (pszA[i] != pszB[i])
                return static_cast<wint_t>(pszA[i]) < static_cast<wint_t>(pszB[i]);
        return a.nLength < b.nLength;
    }

private:
    std::wstring m_strLowered;
};

void SetText(TreeItem* p, LPCWSTR pszText)
{
    p->strText = pszText && pszText != LPSTR_TEXTCALLBACKW ? pszText : L"";
}

// Links p into pParent's children before pBefore (null: last).
void Link(TreeItem* pParent, TreeItem* p, TreeItem* pBefore)
{
    p->pParent = pParent;
    p->pNext = pBefore;
    p->pPrev = pBefore ? pBefore->pPrev : pParent->pLastChild;
    (p->pPrev ? p->pPrev->pNext : pParent->pFirstChild) = p;
    (pBefore ? pBefore->pPrev : pParent->pLastChild) = p;
}

void UnlinkFromParent(TreeItem* p)
{
    TreeItem* pParent = p->pParent;
    (p->pPrev ? p->pPrev->pNext : pParent->pFirstChild) = p->pNext;
    (p->pNext ? p->pNext->pPrev : pParent->pLastChild) = p->pPrev;
    p->pPrev = p->pNext = nullptr;
}

// Puts vecNew, in the order they were inserted with TVI_SORT, among pParent's children, each
// where it would have gone alone: before the first sibling whose text comes after its own, so
// that equal texts follow the ones already there. One stable sort of the new items and one pass
// over the old ones do it, whatever order the program left the old ones in: an item's place
// among the old ones moves only forward as its text grows, and new items sharing a gap stand
// there in text order, as they would have put themselves one after the other.
void PlaceSorted(TreeItem* pParent, const std::vector<TreeItem*>& vecNew)
{
    size_t nCharacters = 0;
    size_t nOld = 0;
    for (TreeItem* c = pParent->pFirstChild; c; c = c->pNext, ++nOld)
        nCharacters += c->strText.size();
    for (TreeItem* p : vecNew)
        nCharacters += p->strText.size();
    SortKeys keys(nCharacters);
    std::vector<SortKeys::Key> vecOld;
    vecOld.reserve(nOld);
    for (TreeItem* c = pParent->pFirstChild; c; c = c->pNext)
        vecOld.push_back(keys.Add(c));
    std::vector<SortKeys::Key> vecSorted;
    vecSorted.reserve(vecNew.size());
    for (TreeItem* p : vecNew)
        vecSorted.push_back(keys.Add(p));
    auto less = [&keys](const SortKeys::Key& a, const SortKeys::Key& b) { return keys.Less(a, b); };

    std::stable_sort(vecSorted.begin(), vecSorted.end(), less);
    auto itOld = vecOld.begin();
    for (const SortKeys::Key& key : vecSorted)
    {
        while (itOld != vecOld.end() && !less(key, *itOld))
            ++itOld;
        Link(pParent, key.p, itOld == vecOld.end() ? nullptr : itOld->p);
    }
}

uintptr_t g_nextItemId = 0x1000;

// The state of one tree window, created on WM_NCCREATE and freed on WM_NCDESTROY.
struct TreeView
{
    HWND hwnd = nullptr;
    TreeItem root;
    // Every item by handle; the item lives in the table's node, one allocation per item.
    std::unordered_map<uintptr_t, TreeItem> items;
    // Items inserted with TVI_SORT and not yet linked among their siblings, in the order they
    // came, all of pPendingParent. They are placed before the tree does anything else, so that
    // filling a parent with many sorted items orders them once (PlacePendingItems).
    TreeItem* pPendingParent = nullptr;
    std::vector<TreeItem*> pending;
    TreeItem* pCaret = nullptr;
    TreeItem* pFirstVisible = nullptr;
    TreeItem* pDropHilite = nullptr;
    int nIndent = VEK_CX_TVINDENT;
    int nWheelRemainder = 0;     // part of a wheel notch not yet scrolled
    bool bLayoutChanged = false; // the scroll bar is to be brought in step
    bool bSyncingScrollBar = false;
    bool bDestroying = false;
};

DWORD Style(const TreeView* tv)
{
    return static_cast<DWORD>(GetWindowLongW(tv->hwnd, GWL_STYLE));
}
HTREEITEM Handle(const TreeItem* p)
{
    return p ? reinterpret_cast<HTREEITEM>(p->id) : nullptr;
}

TreeItem* Item(TreeView* tv, HTREEITEM h)
{
    auto it = tv->items.find(reinterpret_cast<uintptr_t>(h));
    return it == tv->items.end() ? nullptr : &it->second;
}
// Items held across a notification are held by handle: the handler may have deleted them, and
// the handle then finds nothing.

bool HasChildren(const TreeItem* p)
{
    return p->cChildren >= 0 ? p->cChildren != 0 : p->pFirstChild != nullptr;
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
    for (TreeItem* c = p->pFirstChild; c; c = c->pNext)
    {
        out.push_back(c);
        if (Expanded(c))
            CollectVisible(c, out);
    }
}

std::vector<TreeItem*> Visible(TreeView* tv)
{
    std::vector<TreeItem*> v;
    CollectVisible(&tv->root, v);
    return v;
}

int IndexOf(const std::vector<TreeItem*>& v, const TreeItem* p)
{
    auto it = std::find(v.begin(), v.end(), p);
    return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

int FirstVisibleIndex(TreeView* tv, const std::vector<TreeItem*>& v)
{
    int n = IndexOf(v, tv->pFirstVisible);
    if (n < 0)
    {
        tv->pFirstVisible = v.empty() ? nullptr : v.front();
        n = v.empty() ? -1 : 0;
    }
    return std::max(n, 0);
}

// Whole rows that fit in the client area.
int PerPage(const TreeView* tv)
{
    RECT rc;
    GetClientRect(tv->hwnd, &rc);
    return std::max(1, static_cast<int>(rc.bottom) / VEK_CY_TVROW);
}

// Something that moves the rows changed: repaint, and bring the scroll bar in step once the
// message has been handled.
void Changed(TreeView* tv)
{
    tv->bLayoutChanged = true;
    InvalidateRect(tv->hwnd, nullptr, TRUE);
}

void SetFirstVisibleIndex(TreeView* tv, const std::vector<TreeItem*>& v, int n)
{
    n = std::max(0, std::min(n, static_cast<int>(v.size()) - PerPage(tv)));
    TreeItem* p = v.empty() ? nullptr : v[static_cast<size_t>(n)];
    if (p != tv->pFirstVisible)
    {
        tv->pFirstVisible = p;
        Changed(tv);
    }
}

// Keeps the last page full and the scroll bar showing the visible items; the bar appears when
// they do not all fit and goes when they do. Setting the bar may resize the client area, which
// comes back here through WM_SIZE.
void SyncScrollBar(TreeView* tv)
{
    if (tv->bSyncingScrollBar || tv->bDestroying)
        return;
    tv->bSyncingScrollBar = true;
    std::vector<TreeItem*> v = Visible(tv);
    SetFirstVisibleIndex(tv, v, FirstVisibleIndex(tv, v));
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(0, static_cast<int>(v.size()) - 1);
    si.nPage = static_cast<UINT>(PerPage(tv));
    si.nPos = std::max(0, IndexOf(v, tv->pFirstVisible));
    SetScrollInfo(tv->hwnd, SB_VERT, &si, TRUE);
    tv->bLayoutChanged = false;
    tv->bSyncingScrollBar = false;
}

struct Layout
{
    int xIndentEnd; // end of the indent columns (the button is the last one)
    int xButton;    // start of the button column, or -1
    int xState;     // start of the state image
    int xLabel;     // start of the label
    int xRight;     // end of the label
};

Layout LayoutOf(const TreeView* tv, const TreeItem* p)
{
    DWORD dwStyle = Style(tv);
    bool bRootColumn = (dwStyle & TVS_LINESATROOT) && (dwStyle & (TVS_HASLINES | TVS_HASBUTTONS));
    int nLevels = Depth(p) + (bRootColumn ? 1 : 0);
    Layout l;
    l.xIndentEnd = nLevels * tv->nIndent;
    l.xButton = ((dwStyle & TVS_HASBUTTONS) && HasChildren(p) && nLevels > 0)
                    ? l.xIndentEnd - tv->nIndent
                    : -1;
    l.xState = l.xIndentEnd;
    int cxState = ((dwStyle & TVS_CHECKBOXES) && StateImage(p) != 0) ? VEK_CX_TVSTATEICON : 0;
    l.xLabel = l.xState + cxState;
    l.xRight = l.xLabel + VekTextWidth(p->strText) + 2 * VEK_CX_TVLABELPAD;
    return l;
}

TreeItem* HitTest(TreeView* tv, TVHITTESTINFO* p)
{
    RECT rc;
    GetClientRect(tv->hwnd, &rc);
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
    std::vector<TreeItem*> v = Visible(tv);
    int n = FirstVisibleIndex(tv, v) + p->pt.y / VEK_CY_TVROW;
    if (v.empty() || n >= static_cast<int>(v.size()))
    {
        p->flags = TVHT_NOWHERE;
        return nullptr;
    }
    TreeItem* pItem = v[static_cast<size_t>(n)];
    Layout l = LayoutOf(tv, pItem);
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

TreeItem* HitTestAt(TreeView* tv, LPARAM lParam, TVHITTESTINFO* pHit)
{
    *pHit = {};
    pHit->pt = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return HitTest(tv, pHit);
}

// Links the items waiting for their sorted places.
void PlacePendingItems(TreeView* tv)
{
    if (tv->pending.empty())
        return;
    PlaceSorted(tv->pPendingParent, tv->pending);
    tv->pending.clear();
    tv->pPendingParent = nullptr;
    if (!tv->pFirstVisible)
        tv->pFirstVisible = tv->root.pFirstChild;
}

// ---- notifications --------------------------------------------------------------------------
// Each returns false when the tree did not survive the handler: its state is freed then, and
// the caller must return without touching tv again.

// Sends the notification. Items the handler inserted sorted are put in their places before the
// tree goes on, so that it finds every item where it belongs, as if each had been placed at once.
bool Notify(TreeView* tv, UINT nCode, NMHDR* pHdr, LRESULT* pResult = nullptr)
{
    HWND h = tv->hwnd;
    LRESULT r = VekNotifyParent(h, nCode, pHdr);
    if (pResult)
        *pResult = r;
    if (!IsWindow(h))
        return false;
    PlacePendingItems(tv);
    return true;
}

bool NotifySimple(TreeView* tv, UINT nCode, LRESULT* pResult = nullptr)
{
    NMHDR nm = {};
    return Notify(tv, nCode, &nm, pResult);
}

void FillItem(TVITEMW& tvi, const TreeItem* p)
{
    tvi.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    tvi.hItem = Handle(p);
    tvi.state = p ? p->nState : 0;
    tvi.stateMask = 0xFFFF;
    tvi.lParam = p ? p->lParam : 0;
}

bool NotifyTree(TreeView* tv, UINT nCode, UINT nAction, const TreeItem* pOld, const TreeItem* pNew,
                LRESULT* pResult = nullptr)
{
    NMTREEVIEWW nm = {};
    nm.action = nAction;
    FillItem(nm.itemOld, pOld);
    FillItem(nm.itemNew, pNew);
    if (!pOld)
        nm.itemOld.mask = 0;
    if (!pNew)
        nm.itemNew.mask = 0;
    return Notify(tv, nCode, &nm.hdr, pResult);
}

// ---- operations -----------------------------------------------------------------------------
// Those that notify return whether the tree still lives; what they achieved, if anything, goes
// to an out parameter.

bool Expand(TreeView* tv, TreeItem* p, UINT nCode, bool bUser, bool* pbDone = nullptr);

// Expands p's collapsed ancestors and scrolls p into the rows shown.
bool EnsureVisible(TreeView* tv, TreeItem* p)
{
    HTREEITEM hItem = Handle(p);
    std::vector<HTREEITEM> ancestors;
    for (TreeItem* q = p->pParent; q && q != &tv->root; q = q->pParent)
        ancestors.push_back(Handle(q));
    for (HTREEITEM hAncestor : ancestors)
    {
        TreeItem* q = Item(tv, hAncestor);
        if (q && !Expanded(q) && !Expand(tv, q, TVE_EXPAND, false))
            return false;
    }
    p = Item(tv, hItem);
    if (!p)
        return true;
    std::vector<TreeItem*> v = Visible(tv);
    int n = IndexOf(v, p);
    if (n < 0)
        return true;
    int nFirst = FirstVisibleIndex(tv, v);
    int nPage = PerPage(tv);
    if (n < nFirst)
        SetFirstVisibleIndex(tv, v, n);
    else if (n >= nFirst + nPage)
        SetFirstVisibleIndex(tv, v, n - nPage + 1);
    return true;
}

// TVGN_CARET: TVN_SELCHANGING (a non-zero answer keeps the old selection), then
// TVN_SELCHANGED. Selecting the current item again sends nothing.
bool Select(TreeView* tv, TreeItem* p, UINT nCause, bool* pbDone = nullptr)
{
    if (pbDone)
        *pbDone = p == tv->pCaret;
    if (p == tv->pCaret)
        return true;
    HTREEITEM hOld = Handle(tv->pCaret);
    HTREEITEM hNew = Handle(p);
    LRESULT rVeto = 0;
    if (!NotifyTree(tv, TVN_SELCHANGINGW, nCause, tv->pCaret, p, &rVeto))
        return false;
    // The handler may have deleted either item.
    p = hNew ? Item(tv, hNew) : nullptr;
    if (rVeto || (hNew && !p))
        return true;
    TreeItem* pOld = hOld ? Item(tv, hOld) : nullptr;
    if (tv->pCaret)
        tv->pCaret->nState &= ~static_cast<UINT>(TVIS_SELECTED);
    tv->pCaret = p;
    if (p)
    {
        p->nState |= TVIS_SELECTED;
        if (!EnsureVisible(tv, p))
            return false;
    }
    Changed(tv);
    if (pbDone)
        *pbDone = true;
    // Expanding towards the new item may have deleted items too.
    p = hNew ? Item(tv, hNew) : nullptr;
    pOld = hOld ? Item(tv, hOld) : nullptr;
    return NotifyTree(tv, TVN_SELCHANGEDW, nCause, pOld, p);
}

bool Expand(TreeView* tv, TreeItem* p, UINT nCode, bool bUser, bool* pbDone)
{
    if (pbDone)
        *pbDone = false;
    nCode &= 3;
    if (!HasChildren(p) && !p->pFirstChild)
        return true;
    if (nCode != TVE_EXPAND && nCode != TVE_COLLAPSE && nCode != TVE_TOGGLE)
        return true;
    bool bExpand = nCode == TVE_EXPAND || (nCode == TVE_TOGGLE && !Expanded(p));
    if (bExpand == Expanded(p))
    {
        if (pbDone)
            *pbDone = true;
        return true;
    }
    // A program's expansion notifies only until the item has been expanded once.
    bool bNotify = bUser || !(p->nState & TVIS_EXPANDEDONCE);
    UINT nAction = bExpand ? TVE_EXPAND : TVE_COLLAPSE;
    HTREEITEM hItem = Handle(p);
    LRESULT rVeto = 0;
    if (bNotify && !NotifyTree(tv, TVN_ITEMEXPANDINGW, nAction, nullptr, p, &rVeto))
        return false;
    p = Item(tv, hItem);
    if (rVeto || !p)
        return true;
    if (bExpand)
        p->nState |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    else
        p->nState &= ~static_cast<UINT>(TVIS_EXPANDED);
    if (!bExpand)
    {
        std::vector<TreeItem*> v = Visible(tv);
        if (tv->pFirstVisible && IndexOf(v, tv->pFirstVisible) < 0)
            tv->pFirstVisible = p;
    }
    Changed(tv);
    if (pbDone)
        *pbDone = true;
    if (bNotify && !NotifyTree(tv, TVN_ITEMEXPANDEDW, nAction, nullptr, p))
        return false;
    // A collapse that hides the selected item selects the collapsed item.
    p = Item(tv, hItem);
    if (!bExpand && tv->pCaret && p && !Expanded(p))
    {
        for (TreeItem* q = tv->pCaret->pParent; q; q = q->pParent)
            if (q == p)
                return Select(tv, p, TVC_UNKNOWN);
    }
    return true;
}

// Whether p is one of the rows: every ancestor expanded.
bool IsShown(const TreeView* tv, const TreeItem* p)
{
    for (const TreeItem* q = p->pParent; q && q != &tv->root; q = q->pParent)
        if (!Expanded(q))
            return false;
    return true;
}

TreeItem* Insert(TreeView* tv, const TVINSERTSTRUCTW* pIns)
{
    TreeItem* pParent = &tv->root;
    if (pIns->hParent && pIns->hParent != TVI_ROOT)
    {
        pParent = Item(tv, pIns->hParent);
        if (!pParent || pParent->bDeleting)
            return nullptr;
    }
    HTREEITEM hAfter = pIns->hInsertAfter;
    // A place given by a sibling, or sorted items of another parent, need the waiting items in
    // their places first.
    if (hAfter != TVI_SORT || tv->pPendingParent != pParent)
        PlacePendingItems(tv);

    g_nextItemId += 4;
    TreeItem* p = &tv->items[g_nextItemId];
    p->id = g_nextItemId;
    p->pParent = pParent;
    const TVITEMW& tvi = pIns->item;
    if (tvi.mask & TVIF_TEXT)
        SetText(p, tvi.pszText);
    if (tvi.mask & TVIF_STATE)
        p->nState = tvi.state & tvi.stateMask & ~static_cast<UINT>(TVIS_SELECTED);
    if (tvi.mask & TVIF_PARAM)
        p->lParam = tvi.lParam;
    if (tvi.mask & TVIF_CHILDREN)
        p->cChildren = tvi.cChildren;
    // With check boxes every item starts unchecked.
    if ((Style(tv) & TVS_CHECKBOXES) && StateImage(p) == 0)
        p->nState |= INDEXTOSTATEIMAGEMASK(1);

    if (hAfter == TVI_SORT)
    {
        // Alphabetical, ignoring case; an equal text goes after the existing ones. The place
        // is found when the tree next does something else.
        tv->pPendingParent = pParent;
        tv->pending.push_back(p);
    }
    else
    {
        TreeItem* pBefore = nullptr;
        if (hAfter == TVI_FIRST)
            pBefore = pParent->pFirstChild;
        else if (hAfter && hAfter != TVI_LAST && hAfter != TVI_ROOT)
        {
            TreeItem* pAfter = Item(tv, hAfter);
            if (pAfter && pAfter->pParent == pParent)
                pBefore = pAfter->pNext;
        }
        Link(pParent, p, pBefore);
    }
    if (!tv->pFirstVisible)
        tv->pFirstVisible = tv->root.pFirstChild;
    // An item under a collapsed parent adds no row: the scroll bar stays as it is, and only
    // the parent's row may change (its expand button).
    if (IsShown(tv, p))
        Changed(tv);
    else if (IsShown(tv, pParent))
        InvalidateRect(tv->hwnd, nullptr, TRUE);
    return p;
}

void Unlink(TreeView* tv, TreeItem* p)
{
    UnlinkFromParent(p);
    if (tv->pCaret == p)
        tv->pCaret = nullptr;
    if (tv->pDropHilite == p)
        tv->pDropHilite = nullptr;
    if (tv->pFirstVisible == p)
        tv->pFirstVisible = nullptr; // put back on a shown item by the caller
    tv->items.erase(p->id);
}

// Deletes p's subtree, children before parents, with TVN_DELETEITEM for each.
bool DeleteSubtree(TreeView* tv, HTREEITEM hItem)
{
    TreeItem* p = Item(tv, hItem);
    if (!p)
        return true;
    p->bDeleting = true;
    std::vector<HTREEITEM> kids;
    for (TreeItem* c = p->pFirstChild; c; c = c->pNext)
        kids.push_back(Handle(c));
    for (HTREEITEM hKid : kids)
        if (!DeleteSubtree(tv, hKid))
            return false;
    p = Item(tv, hItem);
    if (!p)
        return true;
    if (!NotifyTree(tv, TVN_DELETEITEMW, 0, p, nullptr))
        return false;
    if ((p = Item(tv, hItem)) != nullptr)
        Unlink(tv, p);
    return true;
}

// Puts the first visible row back on a shown item after items went away.
void RepairFirstVisible(TreeView* tv, HTREEITEM hNear)
{
    std::vector<TreeItem*> v = Visible(tv);
    if (IndexOf(v, tv->pFirstVisible) >= 0)
        return;
    TreeItem* pNear = hNear ? Item(tv, hNear) : nullptr;
    tv->pFirstVisible = v.empty() ? nullptr : (pNear && IndexOf(v, pNear) >= 0 ? pNear : v.front());
}

bool DeleteAll(TreeView* tv)
{
    std::vector<HTREEITEM> tops;
    for (TreeItem* c = tv->root.pFirstChild; c; c = c->pNext)
        tops.push_back(Handle(c));
    for (HTREEITEM hTop : tops)
        if (!DeleteSubtree(tv, hTop))
            return false;
    tv->pCaret = nullptr;
    tv->pFirstVisible = nullptr;
    Changed(tv);
    return true;
}

// Deleting the subtree holding the selection selects the next sibling, else the parent, else
// the previous sibling.
bool Delete(TreeView* tv, TreeItem* p)
{
    TreeItem* pNewSel = nullptr;
    bool bSelInside = false;
    for (TreeItem* q = tv->pCaret; q; q = q->pParent)
        if (q == p)
            bSelInside = true;
    if (bSelInside)
    {
        if (p->pNext)
            pNewSel = p->pNext;
        else if (p->pParent != &tv->root)
            pNewSel = p->pParent;
        else
            pNewSel = p->pPrev;
    }
    HTREEITEM hParent = Handle(p->pParent == &tv->root ? nullptr : p->pParent);
    HTREEITEM hNewSel = Handle(pNewSel);
    if (!DeleteSubtree(tv, Handle(p)))
        return false;
    RepairFirstVisible(tv, hParent);
    Changed(tv);
    pNewSel = hNewSel ? Item(tv, hNewSel) : nullptr;
    if (pNewSel)
        return Select(tv, pNewSel, TVC_UNKNOWN);
    return true;
}

TreeItem* NextItem(TreeView* tv, TreeItem* p, UINT nCode)
{
    switch (nCode)
    {
    case TVGN_ROOT:
        return tv->root.pFirstChild;
    case TVGN_CARET:
        return tv->pCaret;
    case TVGN_DROPHILITE:
        return tv->pDropHilite;
    case TVGN_FIRSTVISIBLE: {
        std::vector<TreeItem*> v = Visible(tv);
        int n = IndexOf(v, tv->pFirstVisible);
        return n >= 0 ? tv->pFirstVisible : (v.empty() ? nullptr : v.front());
    }
    case TVGN_LASTVISIBLE: {
        std::vector<TreeItem*> v = Visible(tv);
        return v.empty() ? nullptr : v.back();
    }
    default:
        break;
    }
    if (nCode == TVGN_CHILD && !p)
        return tv->root.pFirstChild;
    if (!p)
        return nullptr;
    switch (nCode)
    {
    case TVGN_CHILD:
        return p->pFirstChild;
    case TVGN_PARENT:
        return p->pParent == &tv->root ? nullptr : p->pParent;
    case TVGN_NEXT:
        return p->pNext;
    case TVGN_PREVIOUS:
        return p->pPrev;
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
        std::vector<TreeItem*> v = Visible(tv);
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

void ToggleCheck(TreeView* tv, TreeItem* p)
{
    UINT n = StateImage(p);
    if (n == 1 || n == 2)
    {
        p->nState = (p->nState & ~static_cast<UINT>(TVIS_STATEIMAGEMASK)) |
                    INDEXTOSTATEIMAGEMASK(n == 1 ? 2 : 1);
        Changed(tv);
    }
}

// ---- message handlers -----------------------------------------------------------------------

LRESULT OnDestroy(TreeView* tv)
{
    tv->bDestroying = true;
    DeleteAll(tv);
    return 0;
}

LRESULT OnInsertItem(TreeView* tv, const TVINSERTSTRUCTW* pIns)
{
    return pIns ? reinterpret_cast<LRESULT>(Handle(Insert(tv, pIns))) : 0;
}

LRESULT OnDeleteItem(TreeView* tv, HTREEITEM hItem)
{
    if (hItem == TVI_ROOT || !hItem)
    {
        DeleteAll(tv);
        return TRUE;
    }
    TreeItem* p = Item(tv, hItem);
    if (!p)
        return FALSE;
    Delete(tv, p);
    return TRUE;
}

LRESULT OnSetIndent(TreeView* tv, WPARAM wParam)
{
    tv->nIndent = std::max(0, static_cast<int>(wParam));
    Changed(tv);
    return 0;
}

LRESULT OnGetNextItem(TreeView* tv, UINT nCode, HTREEITEM hItem)
{
    TreeItem* p = nullptr;
    if (hItem && hItem != TVI_ROOT)
    {
        p = Item(tv, hItem);
        if (!p)
            return 0;
    }
    return reinterpret_cast<LRESULT>(Handle(NextItem(tv, p, nCode)));
}

LRESULT OnGetItem(TreeView* tv, TVITEMW* p)
{
    TreeItem* pItem = p ? Item(tv, p->hItem) : nullptr;
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

LRESULT OnSetItem(TreeView* tv, const TVITEMW* p)
{
    TreeItem* pItem = p ? Item(tv, p->hItem) : nullptr;
    if (!pItem)
        return FALSE;
    if (p->mask & TVIF_TEXT)
    {
        SetText(pItem, p->pszText);
    }
    if (p->mask & TVIF_STATE)
        pItem->nState = (pItem->nState & ~p->stateMask) | (p->state & p->stateMask);
    if (p->mask & TVIF_PARAM)
        pItem->lParam = p->lParam;
    if (p->mask & TVIF_CHILDREN)
        pItem->cChildren = p->cChildren;
    Changed(tv);
    return TRUE;
}

LRESULT OnGetItemState(TreeView* tv, HTREEITEM hItem, UINT nMask)
{
    TreeItem* pItem = Item(tv, hItem);
    return pItem ? (pItem->nState & nMask) : 0;
}

LRESULT OnSelectItem(TreeView* tv, UINT nCode, HTREEITEM hItem)
{
    TreeItem* pItem = hItem ? Item(tv, hItem) : nullptr;
    if (hItem && !pItem)
        return FALSE;
    switch (nCode & 0xFF)
    {
    case TVGN_CARET: {
        bool bDone = false;
        return Select(tv, pItem, TVC_UNKNOWN, &bDone) && bDone ? TRUE : FALSE;
    }
    case TVGN_FIRSTVISIBLE:
        if (!pItem || !EnsureVisible(tv, pItem) || !(pItem = Item(tv, hItem)))
            return FALSE;
        tv->pFirstVisible = pItem; // the last page is filled up once the message is handled
        Changed(tv);
        return TRUE;
    case TVGN_DROPHILITE:
        if (tv->pDropHilite)
            tv->pDropHilite->nState &= ~static_cast<UINT>(TVIS_DROPHILITED);
        tv->pDropHilite = pItem;
        if (pItem)
            pItem->nState |= TVIS_DROPHILITED;
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT OnExpand(TreeView* tv, UINT nCode, HTREEITEM hItem)
{
    TreeItem* pItem = Item(tv, hItem);
    bool bDone = false;
    return pItem && Expand(tv, pItem, nCode, false, &bDone) && bDone ? TRUE : FALSE;
}

LRESULT OnEnsureVisible(TreeView* tv, HTREEITEM hItem)
{
    TreeItem* pItem = Item(tv, hItem);
    return pItem && EnsureVisible(tv, pItem) ? TRUE : FALSE;
}

LRESULT OnSortChildren(TreeView* tv, HTREEITEM hItem)
{
    TreeItem* pItem = hItem && hItem != TVI_ROOT ? Item(tv, hItem) : &tv->root;
    if (!pItem)
        return FALSE;
    std::vector<TreeItem*> vecChildren;
    while (TreeItem* c = pItem->pFirstChild)
    {
        UnlinkFromParent(c);
        vecChildren.push_back(c);
    }
    // Placed one by one into no children, in their order, they come out stably sorted.
    PlaceSorted(pItem, vecChildren);
    Changed(tv);
    return TRUE;
}

// lParam points at a RECT whose first bytes hold the item's handle.
LRESULT OnGetItemRect(TreeView* tv, BOOL bTextOnly, RECT* pRect)
{
    if (!pRect)
        return FALSE;
    TreeItem* pItem = Item(tv, *reinterpret_cast<HTREEITEM*>(pRect));
    if (!pItem)
        return FALSE;
    std::vector<TreeItem*> v = Visible(tv);
    int n = IndexOf(v, pItem);
    if (n < 0)
        return FALSE;
    int y = (n - FirstVisibleIndex(tv, v)) * VEK_CY_TVROW;
    RECT rc;
    GetClientRect(tv->hwnd, &rc);
    if (bTextOnly)
    {
        Layout l = LayoutOf(tv, pItem);
        *pRect = RECT{l.xLabel, y, l.xRight, y + VEK_CY_TVROW};
    }
    else
    {
        *pRect = RECT{0, y, rc.right, y + VEK_CY_TVROW};
    }
    return TRUE;
}

LRESULT OnHitTest(TreeView* tv, TVHITTESTINFO* p)
{
    return p ? reinterpret_cast<LRESULT>(Handle(HitTest(tv, p))) : 0;
}

// NM_CLICK comes first, whatever was hit; a non-zero answer stops the default handling. Then
// the button expands or collapses, the label or icon selects, the check box toggles (without
// selecting). The tree takes the focus last.
LRESULT OnLButtonDown(TreeView* tv, LPARAM lParam)
{
    HWND h = tv->hwnd;
    TVHITTESTINFO ht;
    TreeItem* pItem = HitTestAt(tv, lParam, &ht);
    LRESULT rClick = 0;
    if (!NotifySimple(tv, NM_CLICK, &rClick))
        return 0;
    pItem = pItem ? Item(tv, ht.hItem) : nullptr;
    if (rClick == 0 && pItem)
    {
        bool bAlive = true;
        if (ht.flags & TVHT_ONITEMBUTTON)
            bAlive = Expand(tv, pItem, TVE_TOGGLE, true);
        else if (ht.flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON))
            bAlive = Select(tv, pItem, TVC_BYMOUSE);
        else if ((ht.flags & TVHT_ONITEMSTATEICON) && (Style(tv) & TVS_CHECKBOXES))
            ToggleCheck(tv, pItem);
        if (!bAlive)
            return 0;
    }
    SetFocus(h);
    return 0;
}

// The second press of a double click (the first came as WM_LBUTTONDOWN). Only over an item:
// NM_DBLCLK, and unless answered non-zero, the label, icon or button toggles the expansion and
// the check box toggles once more, so that a double click leaves it as it was. On the lines
// (TVS_HASLINES) the item owning that line toggles.
LRESULT OnLButtonDblClk(TreeView* tv, LPARAM lParam)
{
    HWND h = tv->hwnd;
    SetFocus(h);
    if (!IsWindow(h))
        return 0;
    TVHITTESTINFO ht;
    TreeItem* pItem = HitTestAt(tv, lParam, &ht);
    if (!pItem)
        return 0;
    LRESULT r = 0;
    if (!NotifySimple(tv, NM_DBLCLK, &r) || r != 0 || !(pItem = Item(tv, ht.hItem)))
        return 0;
    DWORD dwStyle = Style(tv);
    switch (ht.flags)
    {
    case TVHT_ONITEMINDENT: {
        if (!(dwStyle & TVS_HASLINES))
            break;
        int nLevel = tv->nIndent > 0 ? ht.pt.x / tv->nIndent : 0;
        if (!(dwStyle & TVS_LINESATROOT))
            ++nLevel;
        while (Depth(pItem) > nLevel)
            pItem = pItem->pParent;
        Expand(tv, pItem, TVE_TOGGLE, true);
        break;
    }
    case TVHT_ONITEMLABEL:
    case TVHT_ONITEMICON:
    case TVHT_ONITEMBUTTON:
        Expand(tv, pItem, TVE_TOGGLE, true);
        break;
    case TVHT_ONITEMSTATEICON:
        if (dwStyle & TVS_CHECKBOXES)
            ToggleCheck(tv, pItem);
        else
            Expand(tv, pItem, TVE_TOGGLE, true);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT OnRButtonDown(TreeView* tv)
{
    HWND h = tv->hwnd;
    SetFocus(h);
    if (IsWindow(h))
        NotifySimple(tv, NM_RCLICK);
    return 0;
}

LRESULT OnKeyDown(TreeView* tv, WPARAM wParam)
{
    NMTVKEYDOWN nm = {};
    nm.wVKey = static_cast<WORD>(wParam);
    if (!Notify(tv, TVN_KEYDOWN, &nm.hdr))
        return 0;
    TreeItem* pCaret = tv->pCaret;
    std::vector<TreeItem*> v = Visible(tv);
    if (v.empty())
        return 0;
    int n = IndexOf(v, pCaret);
    auto at = [&v](int i) {
        return v[static_cast<size_t>(std::max(0, std::min(static_cast<int>(v.size()) - 1, i)))];
    };
    switch (wParam)
    {
    case VK_UP:
        Select(tv, at(n - 1), TVC_BYKEYBOARD);
        break;
    case VK_DOWN:
        Select(tv, at(n + 1), TVC_BYKEYBOARD);
        break;
    case VK_PRIOR:
        Select(tv, at(n - PerPage(tv)), TVC_BYKEYBOARD);
        break;
    case VK_NEXT:
        Select(tv, n < 0 ? v.back() : at(n + PerPage(tv)), TVC_BYKEYBOARD);
        break;
    case VK_HOME:
        Select(tv, v.front(), TVC_BYKEYBOARD);
        break;
    case VK_END:
        Select(tv, v.back(), TVC_BYKEYBOARD);
        break;
    case VK_LEFT:
        if (pCaret && Expanded(pCaret))
            Expand(tv, pCaret, TVE_COLLAPSE, true);
        else if (pCaret && pCaret->pParent != &tv->root)
            Select(tv, pCaret->pParent, TVC_BYKEYBOARD);
        break;
    case VK_RIGHT:
        if (pCaret && !Expanded(pCaret) && HasChildren(pCaret))
            Expand(tv, pCaret, TVE_EXPAND, true);
        else if (pCaret && pCaret->pFirstChild)
            Select(tv, pCaret->pFirstChild, TVC_BYKEYBOARD);
        break;
    case VK_SPACE:
        if (pCaret && (Style(tv) & TVS_CHECKBOXES))
            ToggleCheck(tv, pCaret);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT OnVScroll(TreeView* tv, WPARAM wParam)
{
    std::vector<TreeItem*> v = Visible(tv);
    SetFirstVisibleIndex(
        tv, v,
        VekScrollTopRow(wParam, FirstVisibleIndex(tv, v), PerPage(tv), static_cast<int>(v.size())));
    return 0;
}

LRESULT OnMouseWheel(TreeView* tv, WPARAM wParam)
{
    int nRows =
        VekWheelScrollRows(tv->nWheelRemainder, GET_WHEEL_DELTA_WPARAM(wParam), PerPage(tv));
    if (nRows != 0)
    {
        std::vector<TreeItem*> v = Visible(tv);
        SetFirstVisibleIndex(tv, v, FirstVisibleIndex(tv, v) - nRows);
    }
    return 0;
}

TreeView* State(HWND h)
{
    return static_cast<TreeView*>(VekGetCtlState(h));
}

LRESULT Dispatch(TreeView* tv, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_DESTROY:
        return OnDestroy(tv);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case TVM_INSERTITEMW:
        return OnInsertItem(tv, reinterpret_cast<const TVINSERTSTRUCTW*>(lParam));
    case TVM_DELETEITEM:
        return OnDeleteItem(tv, reinterpret_cast<HTREEITEM>(lParam));
    case TVM_GETCOUNT:
        return static_cast<LRESULT>(tv->items.size());
    case TVM_GETINDENT:
        return tv->nIndent;
    case TVM_SETINDENT:
        return OnSetIndent(tv, wParam);
    case TVM_GETITEMHEIGHT:
        return VEK_CY_TVROW;
    case TVM_GETVISIBLECOUNT:
        return PerPage(tv);
    case TVM_GETNEXTITEM:
        return OnGetNextItem(tv, static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam));
    case TVM_GETITEMW:
        return OnGetItem(tv, reinterpret_cast<TVITEMW*>(lParam));
    case TVM_SETITEMW:
        return OnSetItem(tv, reinterpret_cast<const TVITEMW*>(lParam));
    case TVM_GETITEMSTATE:
        return OnGetItemState(tv, reinterpret_cast<HTREEITEM>(wParam), static_cast<UINT>(lParam));
    case TVM_SELECTITEM:
        return OnSelectItem(tv, static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam));
    case TVM_EXPAND:
        return OnExpand(tv, static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam));
    case TVM_ENSUREVISIBLE:
        return OnEnsureVisible(tv, reinterpret_cast<HTREEITEM>(lParam));
    case TVM_SORTCHILDREN:
        return OnSortChildren(tv, reinterpret_cast<HTREEITEM>(lParam));
    case TVM_GETITEMRECT:
        return OnGetItemRect(tv, static_cast<BOOL>(wParam), reinterpret_cast<RECT*>(lParam));
    case TVM_HITTEST:
        return OnHitTest(tv, reinterpret_cast<TVHITTESTINFO*>(lParam));
    case WM_LBUTTONDOWN:
        return OnLButtonDown(tv, lParam);
    case WM_LBUTTONDBLCLK:
        return OnLButtonDblClk(tv, lParam);
    case WM_LBUTTONUP:
        return 0;
    case WM_RBUTTONDOWN:
        return OnRButtonDown(tv);
    case WM_KEYDOWN:
        return OnKeyDown(tv, wParam);
    case WM_SETFOCUS:
        NotifySimple(tv, NM_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        NotifySimple(tv, NM_KILLFOCUS);
        return 0;
    case WM_VSCROLL:
        return OnVScroll(tv, wParam);
    case WM_MOUSEWHEEL:
        return OnMouseWheel(tv, wParam);
    case WM_SIZE:
        tv->bLayoutChanged = true;
        return 0;
    default:
        return DefWindowProcW(tv->hwnd, msg, wParam, lParam);
    }
}

LRESULT TreeProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE)
    {
        auto* pNew = new TreeView;
        pNew->hwnd = h;
        VekSetCtlState(h, pNew);
        return TRUE;
    }
    TreeView* tv = State(h);
    if (!tv)
        return DefWindowProcW(h, msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
    {
        VekSetCtlState(h, nullptr);
        delete tv;
        return 0;
    }
    // Whatever the message, it sees every item in its place; only more insertions may wait.
    if (msg != TVM_INSERTITEMW)
        PlacePendingItems(tv);
    LRESULT r = Dispatch(tv, msg, wParam, lParam);
    // The handler may have destroyed the tree: look its state up again.
    tv = IsWindow(h) ? State(h) : nullptr;
    if (tv && tv->bLayoutChanged)
    {
        PlacePendingItems(tv);
        SyncScrollBar(tv);
    }
    return r;
}

nlohmann::json OrNull(int x)
{
    return x >= 0 ? nlohmann::json(x) : nlohmann::json(nullptr);
}

// The rows as drawn: the items whose ancestors are all expanded, with their layout.
void Snapshot(HWND hWnd, nlohmann::json& control)
{
    TreeView* tv = State(hWnd);
    if (!tv)
        return;
    // Sorted insertions may still wait; the snapshot sees the items in place, as any message does.
    PlacePendingItems(tv);
    const DWORD dwStyle = Style(tv);
    const bool bCheckBoxes = (dwStyle & TVS_CHECKBOXES) != 0;
    const std::vector<TreeItem*> v = Visible(tv);
    nlohmann::json rows = nlohmann::json::array();
    for (const TreeItem* p : v)
    {
        const Layout l = LayoutOf(tv, p);
        const bool bHasState = bCheckBoxes && StateImage(p) != 0;
        rows.push_back(
            {{"item", static_cast<std::uint64_t>(p->id)},
             {"text", VekJsonText(p->strText)},
             {"depth", Depth(p)},
             {"expanded", Expanded(p)},
             {"hasChildren", HasChildren(p)},
             {"checked", bHasState ? nlohmann::json(StateImage(p) == 2) : nlohmann::json(nullptr)},
             {"selected", (p->nState & TVIS_SELECTED) != 0},
             {"dropHilite", (p->nState & TVIS_DROPHILITED) != 0},
             {"x",
              {{"button", OrNull(l.xButton)},
               {"state", bHasState ? nlohmann::json(l.xState) : nlohmann::json(nullptr)},
               {"label", l.xLabel},
               {"right", l.xRight}}}});
    }
    control["rows"] = std::move(rows);
    control["top"] = std::max(0, IndexOf(v, tv->pFirstVisible));
    control["rowHeight"] = VEK_CY_TVROW;
    control["caret"] = tv->pCaret ? nlohmann::json(static_cast<std::uint64_t>(tv->pCaret->id))
                                  : nlohmann::json(nullptr);
    control["hasButtons"] = (dwStyle & TVS_HASBUTTONS) != 0;
    control["hasLines"] = (dwStyle & TVS_HASLINES) != 0;
    control["linesAtRoot"] = (dwStyle & TVS_LINESATROOT) != 0;
    control["checkBoxes"] = bCheckBoxes;
    control["showSelAlways"] = (dwStyle & TVS_SHOWSELALWAYS) != 0;
}
} // namespace

void VekRegisterTreeViewClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &TreeProc;
    wc.lpszClassName = WC_TREEVIEWW;
    RegisterClassW(&wc);
    VekRegisterSnapshotHook(WC_TREEVIEWW, &Snapshot);
}
