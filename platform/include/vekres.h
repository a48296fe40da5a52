// The form of a resource library: a shared object that exports one table of
// string resources and dialog templates under the name VekResourceTable.
// Resource libraries are built from plain C++ data and need no platform code.
#pragma once

#include "windef.h"

struct VEK_RES_STRING
{
    UINT nID;
    LPCWSTR pszText;
};

// One control of a dialog template. Coordinates and sizes are dialog units.
struct VEK_RES_DLGITEM
{
    LPCWSTR pszClass; // window class: L"Button", L"Edit", L"Static", L"ComboBox", L"ListBox",
                      // L"SysListView32", L"SysTreeView32", ...
    LPCWSTR pszText;
    UINT nID;
    DWORD dwStyle; // WS_ and class styles; WS_CHILD is implied
    DWORD dwExStyle;
    short x, y, cx, cy;
};

struct VEK_RES_DIALOG
{
    UINT nID;
    LPCWSTR pszCaption;
    DWORD dwStyle;
    DWORD dwExStyle;
    short x, y, cx, cy;
    LPCWSTR pszFontName;
    WORD wFontSize;
    const VEK_RES_DLGITEM* pItems;
    UINT nItems;
};

struct VEK_RES_TABLE
{
    UINT nVersion; // VEK_RES_TABLE_VERSION of the library's build
    const VEK_RES_STRING* pStrings;
    UINT nStrings;
    const VEK_RES_DIALOG* pDialogs;
    UINT nDialogs;
};

#define VEK_RES_TABLE_VERSION 1u
#define VEK_RES_TABLE_SYMBOL "VekResourceTable"

// A resource library defines its table with this macro, which exports it with C linkage.
#define VEK_EXPORT_RESOURCE_TABLE(table)                                                           \
    extern "C" __attribute__((visibility("default"))) const VEK_RES_TABLE VekResourceTable = table
