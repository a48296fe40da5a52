// Dialog templates for the window tests: a dialog with the usual controls, an inner dialog it
// opens, a dialog without default or Cancel button, and a rule dialog.
#include <vekres.h>
#include <winuser.h>

namespace
{
const DWORD LVS_REPORT_STYLE = 0x0001; // LVS_REPORT

const VEK_RES_DLGITEM kMainItems[] = {
    {L"Edit", L"", 1001, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 7, 7, 100, 14},
    {L"Button", L"Check", 1002, WS_TABSTOP | BS_AUTOCHECKBOX, 0, 7, 25, 100, 10},
    {L"ComboBox", L"", 1003, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 7, 40, 100, 60},
    {L"Button", L"Nested...", 1004, WS_TABSTOP | BS_PUSHBUTTON, 0, 7, 60, 50, 14},
    {L"Static", L"Label", 1005, SS_LEFT, 0, 120, 7, 60, 8},
    {L"Edit", L"", 1006, WS_TABSTOP | WS_BORDER | ES_MULTILINE, 0, 120, 20, 80, 30},
    {L"Button", L"Disabled", 1007, WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, 0, 120, 60, 50, 14},
    {L"Button", L"Ask", 1008, WS_TABSTOP | BS_PUSHBUTTON, 0, 60, 60, 50, 14},
    {L"Button", L"OK", 1, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 100, 90, 50, 14},
    {L"Button", L"Cancel", 2, WS_TABSTOP | BS_PUSHBUTTON, 0, 155, 90, 50, 14},
};

const VEK_RES_DLGITEM kInnerItems[] = {
    {L"Edit", L"", 2001, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 7, 7, 100, 14},
    {L"Button", L"OK", 1, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 7, 30, 50, 14},
    {L"Button", L"Cancel", 2, WS_TABSTOP | BS_PUSHBUTTON, 0, 60, 30, 50, 14},
};

const VEK_RES_DLGITEM kBareItems[] = {
    {L"Edit", L"", 3001, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 7, 7, 100, 14},
    {L"Button", L"Do", 3002, WS_TABSTOP | BS_PUSHBUTTON, 0, 7, 30, 50, 14},
};

const VEK_RES_DLGITEM kRuleItems[] = {
    {L"Edit", L"", 4001, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 7, 7, 100, 14},
    {L"Button", L"OK", 1, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 7, 30, 50, 14},
};

const VEK_RES_DLGITEM kGridItems[] = {
    {L"SysListView32", L"", 5001, WS_TABSTOP | WS_BORDER | LVS_REPORT_STYLE, 0, 7, 7, 200, 100},
    {L"Edit", L"", 5002, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 7, 112, 100, 14},
    {L"Button", L"OK", 1, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 110, 112, 45, 14},
    {L"Button", L"Cancel", 2, WS_TABSTOP | BS_PUSHBUTTON, 0, 160, 112, 45, 14},
};

const DWORD kDialogStyle = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;

const VEK_RES_DIALOG kDialogs[] = {
    {100, L"Main", kDialogStyle, 0, 20, 20, 220, 110, L"MS Shell Dlg", 8, kMainItems,
     sizeof(kMainItems) / sizeof(kMainItems[0])},
    {200, L"Inner", kDialogStyle, 0, 10, 10, 120, 50, L"MS Shell Dlg", 8, kInnerItems,
     sizeof(kInnerItems) / sizeof(kInnerItems[0])},
    {300, L"Bare", kDialogStyle, 0, 0, 0, 120, 50, nullptr, 0, kBareItems,
     sizeof(kBareItems) / sizeof(kBareItems[0])},
    {500, L"Grid", kDialogStyle, 0, 0, 0, 215, 135, L"MS Shell Dlg", 8, kGridItems,
     sizeof(kGridItems) / sizeof(kGridItems[0])},
    {400, L"Rule", kDialogStyle, WS_EX_CONTEXTHELP, 0, 0, 120, 50, L"MS Shell Dlg", 8, kRuleItems,
     sizeof(kRuleItems) / sizeof(kRuleItems[0])},
};

const VEK_RES_TABLE kTable = {VEK_RES_TABLE_VERSION, nullptr, 0, kDialogs,
                              sizeof(kDialogs) / sizeof(kDialogs[0])};
} // namespace

VEK_EXPORT_RESOURCE_TABLE(kTable);
