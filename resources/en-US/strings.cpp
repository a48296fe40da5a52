// String table of the default language, en-US. This library's text of
// IDS_RULE_NAME is the name stored in rule nodes in every language, so it must
// not change once rules have been saved.
#include "resource.h"
#include "vekres.h"

#include <commctrl.h>
#include <winuser.h>

namespace
{

const VEK_RES_STRING s_strings[] = {
    {IDS_SEVERITY_1, L"Critical"},
    {IDS_SEVERITY_2, L"Error"},
    {IDS_SEVERITY_3, L"Warning"},
    {IDS_SEVERITY_4, L"Advisory"},
    {IDS_SEVERITY_5, L"Information"},

    {IDS_UNIT_MM, L"mm"},
    {IDS_UNIT_CM, L"cm"},
    {IDS_UNIT_M, L"m"},
    {IDS_UNIT_IN, L"in"},
    {IDS_UNIT_FT, L"ft"},
    {IDS_UNIT_UM, L"\u00b5m"},
    {IDS_UNIT_KM, L"km"},
    {IDS_UNIT_YD, L"yd"},
    {IDS_UNIT_MIL, L"mil"},
    {IDS_UNIT_MILE, L"mi"},

    {IDS_XML_ERROR,
     L"The rule data could not be processed: a parameter has an unknown value type."},

    {IDS_MATERIAL_TREE_ROOT, L"All materials"},
    {IDS_MATERIAL_DB_CAPTION, L"Material Database"},
    {IDS_GRADE_EXISTS, L"The material grade \"%s\" already exists in the group \"%s\"."},
    {IDS_GRADE_ADD_FAILED, L"The material grade could not be added to the database."},
    {IDS_DELETE_NOTHING_SELECTED, L"Select or enter the material group or grade to delete."},
    {IDS_DELETE_REFUSED_SHOWN, L"The selected entry is in use and cannot be deleted."},
    {IDS_DELETE_REFUSED_NOT_SHOWN,
     L"The entry does not exist in the material database or cannot be deleted."},
    {IDS_KIND_GROUP, L"material group"},
    {IDS_DELETE_CONFIRM, L"Do you really want to delete the %s \"%s\"?"},
    {IDS_KIND_GRADE, L"material grade"},
    {IDS_DELETED, L"The %s \"%s\" has been deleted."},
    {IDS_DISCARD_DB_CHANGES,
     L"The changes made to the material database will be undone. Do you want to continue?"},
    {IDS_GRADE_ADDED, L"The material grade \"%s\" has been added to the group \"%s\"."},
    {IDS_DELETE_GROUP_MISSING, L"Enter the material group of \"%s\" before deleting it."},
    {IDS_GRADE_DELETE_FAILED, L"The material grade could not be deleted from the database."},
    {IDS_DELETE_NAME_MISSING,
     L"A material group and a material grade are needed to delete a grade."},

    {IDS_MODULE_NAME, L"Investment Casting"},
    {IDS_MODULE_SUMMARY, L"Design rules for parts made by investment casting."},
    {IDS_RULE_NAME, L"Uniform Thickness"},
    {IDS_SUMMARY_FORMAT, L"Wall thickness %s %s %s"},
    {IDS_OPERATOR_GE, L"at least"},
    {IDS_SUMMARY_MATERIAL, L"Wall thickness limits per material"},

    {IDS_MISSING_THICKNESS, L"Enter a thickness for every material in the list."},
    {IDS_COLUMN_MATERIAL, L"Material"},
    {IDS_COLUMN_THICKNESS, L"Thickness (%s)"},
    {IDS_VALUE_RANGE, L"The lower limit must not be greater than the upper limit."},
    {IDS_DUPLICATE_SUFFIX, L"is already in the list."},
    {IDS_RULE_DESCRIPTION,
     L"Checks that the walls of the cast part are not thinner than a given thickness, for the "
     L"whole part or per material."},
    {IDS_ZERO_THICKNESS, L"The thickness must be greater than zero."},
    {IDS_GRADE_IS_GROUP,
     L"\"%s\" is the name of a material group and cannot be used as a grade name."},
};

#include "dialogs.inc"

constexpr VEK_RES_TABLE s_table = {VEK_RES_TABLE_VERSION, s_strings,
                                   sizeof(s_strings) / sizeof(s_strings[0]), s_pDialogs,
                                   s_nDialogs};

} // namespace

VEK_EXPORT_RESOURCE_TABLE(s_table);
