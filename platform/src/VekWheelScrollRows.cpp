// The rows a scrolling list (list box, list view, tree view) moves for a turn of the mouse wheel.
#include "VekWindowInternal.h"

#include <algorithm>

int VekWheelScrollRows(int& nRemainder, int nDelta, int nPage)
{
    UINT nLines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &nLines, 0);
    // Turning the other way drops what was left over from the previous turns.
    if ((nDelta < 0 && nRemainder < 0) || (nDelta > 0 && nRemainder > 0))
        nRemainder += nDelta;
    else
        nRemainder = nDelta;
    if (nRemainder == 0 || nLines == 0)
        return 0;
    // Never more than a page per notch (WHEEL_PAGESCROLL asks for exactly that).
    const int nPerNotch =
        static_cast<int>(std::min<UINT>(static_cast<UINT>(std::max(nPage, 1)), nLines));
    const int nRows = nPerNotch * nRemainder / WHEEL_DELTA;
    nRemainder -= WHEEL_DELTA * nRows / nPerNotch;
    return nRows;
}
