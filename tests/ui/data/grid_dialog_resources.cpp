// Dialog template for the material grid tests: the grid as the uniform thickness dialog holds
// it, a thickness box after it in the tab order, OK and Cancel.
#include <vekres.h>
#include <winuser.h>

namespace
{
const DWORD kListViewStyle = WS_TABSTOP | WS_BORDER | 0x0001 | 0x0008; // LVS_REPORT, SHOWSELALWAYS

const VEK_RES_DLGITEM kGridItems[] = {
    {L"SysListView32", L"", 40093, kListViewStyle, 0, 7, 7, 260, 120},
    {L"Edit", L"", 40077, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 7, 132, 60, 14},
    {L"Button", L"OK", 1, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 160, 132, 50, 14},
    {L"Button", L"Cancel", 2, WS_TABSTOP | BS_PUSHBUTTON, 0, 215, 132, 50, 14},
};

const DWORD kDialogStyle = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;

const VEK_RES_DIALOG kDialogs[] = {
    {600, L"Material grid", kDialogStyle, 0, 0, 0, 275, 152, L"MS Shell Dlg", 8, kGridItems,
     sizeof(kGridItems) / sizeof(kGridItems[0])},
};

const VEK_RES_TABLE kTable = {VEK_RES_TABLE_VERSION, nullptr, 0, kDialogs,
                              sizeof(kDialogs) / sizeof(kDialogs[0])};
} // namespace

VEK_EXPORT_RESOURCE_TABLE(kTable);
