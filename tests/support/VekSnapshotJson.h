// The window-tree snapshot parsed for tests: values to check, and the text a failing
// assertion prints to show the windows as they were.
#pragma once

#include <afxstr.h>
#include <stringapiset.h>
#include <winnls.h>
#include <veksnapshot.h>

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>

// The current snapshot, parsed (advances the change counter like any snapshot).
inline nlohmann::json VekParsedSnapshot()
{
    return nlohmann::json::parse(VekTakeSnapshot().strJson);
}

// The handle of a window as the snapshot writes it.
inline std::uint64_t VekSnapshotHandle(HWND h)
{
    return static_cast<std::uint64_t>(reinterpret_cast<uintptr_t>(h));
}

// A text as the snapshot writes it (UTF-8).
inline std::string VekSnapshotText(const CString& str)
{
    if (str.IsEmpty())
        return std::string();
    const int cb =
        WideCharToMultiByte(CP_UTF8, 0, str, str.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(cb > 0 ? cb : 0), '\0');
    if (cb > 0)
        WideCharToMultiByte(CP_UTF8, 0, str, str.GetLength(), &out[0], cb, nullptr, nullptr);
    return out;
}

// The entry of window h anywhere in the entries (and their children), or null.
inline const nlohmann::json* VekFindSnapshotEntry(const nlohmann::json& windows, HWND h)
{
    for (const nlohmann::json& entry : windows)
    {
        if (entry.at("hwnd") == VekSnapshotHandle(h))
            return &entry;
        if (const nlohmann::json* found = VekFindSnapshotEntry(entry.at("children"), h))
            return found;
    }
    return nullptr;
}

// For failure messages: the tree under hWnd, indented, e.g.
//     EXPECT_TRUE(...) << VekSnapshotForFailure(dlg.m_hWnd);
inline std::string VekSnapshotForFailure(HWND hWnd)
{
    return "window tree:\n" + nlohmann::json::parse(VekWindowSnapshotJson(hWnd)).dump(1) + "\n";
}
