// The snapshot of the live window tree: one JSON document (UTF-8) that a front end renders and
// test failure messages print. It holds every top-level window in z-order with its children,
// each window's common state (class, id, style, rectangles, text, enabled, visible, focus,
// default button, vertical scroll bar) and its control's own state, the message box waiting
// for its answer, the platform's fixed metrics and a change counter. docs/snapshot.md
// describes the document field by field.
//
// Like the rest of the window system, the snapshot functions run on the thread that runs the
// dialogs; another thread gets a snapshot by asking that one.
#pragma once

#include "windef.h"

#include <cstdint>
#include <string>

// One snapshot of the whole window tree.
struct VekSnapshot
{
    // The change counter of the document: 1 for the first snapshot taken in the process, then
    // one more for every snapshot whose state differs from the one before it.
    std::uint64_t nChange = 0;
    // True when this snapshot's state differs from the previous snapshot's (always for the
    // first); the counter grew by one exactly then.
    bool bChanged = false;
    // The JSON document, counter included.
    std::string strJson;
};

// Takes a snapshot of all windows and of the pending message box, and advances the change
// counter when the state differs from that of the previous call. Never fails; an empty window
// table gives a document with no windows.
VEK_PLATFORM_API VekSnapshot VekTakeSnapshot();

// The JSON object of the window hWnd with its descendants, as it appears in a snapshot's
// "windows" list (popups it owns are not included); "null" when hWnd is not a window. Does
// not touch the change counter: meant for test failure messages.
VEK_PLATFORM_API std::string VekWindowSnapshotJson(HWND hWnd);
