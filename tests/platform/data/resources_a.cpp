// Test resource library "a": strings and one dialog template.
#include "vekres.h"

namespace
{
const VEK_RES_STRING s_strings[] = {
    {100, L"Alpha"},
    {101, L"Value %d of %s"},
    {102, L""},
    {103, L"Grüße"},
};

const VEK_RES_DLGITEM s_items[] = {
    {L"Button", L"OK", 1, 0x00010001, 0, 10, 50, 50, 14},
    {L"Edit", L"", 1000, 0x00010080, 0x200, 10, 10, 100, 12},
};

const VEK_RES_DIALOG s_dialogs[] = {
    {200, L"Test dialog", 0x80C80000, 0, 0, 0, 200, 80, L"MS Shell Dlg", 8, s_items,
     VEK_RES_COUNT(s_items)},
};
} // namespace

VEK_EXPORT_RESOURCE_TABLE({VEK_RES_TABLE_VERSION, s_strings, VEK_RES_COUNT(s_strings), s_dialogs,
                           VEK_RES_COUNT(s_dialogs)});
