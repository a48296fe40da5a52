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
    DWORD dwStyle; // WS_ and class styles; WS_CHILD and WS_VISIBLE are implied, as the resource
                   // compiler makes template controls visible children
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

// Default visibility for the one symbol a resource library exports.
#define VEK_RES_EXPORT __attribute__((visibility("default")))

// A resource library defines its table with this macro, which exports it with C
// linkage. The argument is a braced initializer (or a constexpr table), so the
// table is constant data and the library needs no code and links against nothing:
//   VEK_EXPORT_RESOURCE_TABLE({VEK_RES_TABLE_VERSION, kStrings, VEK_RES_COUNT(kStrings),
//                              kDialogs, VEK_RES_COUNT(kDialogs)});
#define VEK_EXPORT_RESOURCE_TABLE(...)                                                             \
    extern "C" VEK_RES_EXPORT const VEK_RES_TABLE VekResourceTable = __VA_ARGS__

// Number of entries of a resource array.
#define VEK_RES_COUNT(array) static_cast<UINT>(sizeof(array) / sizeof((array)[0]))
