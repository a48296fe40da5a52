// Test resource library "b": the same file name as "a" in another folder.
#include "vekres.h"

namespace
{
const VEK_RES_STRING s_strings[] = {
    {100, L"Beta"},
};
} // namespace

VEK_EXPORT_RESOURCE_TABLE({VEK_RES_TABLE_VERSION, s_strings, VEK_RES_COUNT(s_strings), nullptr, 0});
