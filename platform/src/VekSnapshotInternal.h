// Internal interface of the window-tree snapshot: each control's file adds its own state to
// its windows' entries through a hook registered with its class, and the message-box code adds
// the pending box. Not installed.
#pragma once

#include "windef.h"

#include <nlohmann/json.hpp>

#include <string>

// Fills the "control" object of hWnd's entry with the control's own state. Must not send
// messages that change anything (it runs between events, and its output feeds the change
// counter).
using VekSnapshotHook = void (*)(HWND hWnd, nlohmann::json& control);

// Registers pfn for the windows of class pszClass (case-insensitive); a later registration
// for the same class replaces the earlier one.
void VekRegisterSnapshotHook(LPCWSTR pszClass, VekSnapshotHook pfn);

// The UTF-8 JSON string of a wide text (characters without a UTF-8 form become U+FFFD).
nlohmann::json VekJsonText(const std::wstring& str);
// {"left","top","right","bottom"} of rc.
nlohmann::json VekJsonRect(const RECT& rc);
// "left", "right" or "center" for the justification bits of an HDF_ / LVCFMT_ format.
const char* VekJsonFormat(int fmt);
// A window handle as a JSON number (null for a null handle).
nlohmann::json VekJsonHandle(HWND h);

// The message box waiting for the responder's answer (the innermost when boxes nest), or null.
nlohmann::json VekSnapshotPendingMessageBox();
