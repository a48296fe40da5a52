// The scroll position shared by the scrolling lists (list box, list view, tree view).
#include "VekWindowInternal.h"

#include <algorithm>

int VekScrollTopRow(WPARAM wParam, int nTop, int nPage, int nCount)
{
    switch (LOWORD(wParam))
    {
    case SB_LINEUP:
        --nTop;
        break;
    case SB_LINEDOWN:
        ++nTop;
        break;
    case SB_PAGEUP:
        nTop -= nPage;
        break;
    case SB_PAGEDOWN:
        nTop += nPage;
        break;
    case SB_TOP:
        nTop = 0;
        break;
    case SB_BOTTOM:
        nTop = nCount;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        nTop = HIWORD(wParam);
        break;
    default:
        break;
    }
    return std::max(0, std::min(nTop, std::max(0, nCount - nPage)));
}
