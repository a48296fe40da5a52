// Pointer input on a window's vertical scroll bar.
#include "VekWindowInternal.h"

namespace
{
struct VekScrollTracking
{
    HWND hwnd = nullptr; // null: not tracking
};
VekScrollTracking g_tracking;
} // namespace

void VekBeginScrollBarTracking(HWND, POINT) {}

bool VekIsTrackingScrollBar()
{
    return g_tracking.hwnd != nullptr;
}

void VekTrackScrollBar(POINT) {}

void VekEndScrollBarTracking(POINT)
{
    g_tracking = VekScrollTracking();
}
