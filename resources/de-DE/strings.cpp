// String table of the German language, de-DE. The rule name stored in rule
// nodes always comes from the default language; this library's IDS_RULE_NAME is
// only the name shown to the user. Characters outside ASCII are written as
// universal character names, so the text does not depend on the source encoding.
#include "resource.h"
#include "vekres.h"

#include <commctrl.h>
#include <winuser.h>

namespace
{

const VEK_RES_STRING s_strings[] = {
    {IDS_SEVERITY_1, L"Kritisch"},
    {IDS_SEVERITY_2, L"Fehler"},
    {IDS_SEVERITY_3, L"Warnung"},
    {IDS_SEVERITY_4, L"Hinweis"},
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
     L"Die Regeldaten konnten nicht verarbeitet werden: Ein Parameter hat einen unbekannten "
     L"Werttyp."},

    {IDS_MATERIAL_TREE_ROOT, L"Alle Werkstoffe"},
    {IDS_MATERIAL_DB_CAPTION, L"Werkstoffdatenbank"},
    {IDS_GRADE_EXISTS,
     L"Die Werkstoffsorte \u201e%s\u201c ist in der Gruppe \u201e%s\u201c bereits "
     L"vorhanden."},
    {IDS_GRADE_ADD_FAILED,
     L"Die Werkstoffsorte konnte der Datenbank nicht hinzugef\u00fcgt werden."},
    {IDS_DELETE_NOTHING_SELECTED,
     L"W\u00e4hlen Sie die zu l\u00f6schende Werkstoffgruppe oder -sorte aus, oder geben Sie sie "
     L"ein."},
    {IDS_DELETE_REFUSED_SHOWN,
     L"Der ausgew\u00e4hlte Eintrag wird verwendet und kann nicht gel\u00f6scht werden."},
    {IDS_DELETE_REFUSED_NOT_SHOWN, L"Der Eintrag ist in der Werkstoffdatenbank nicht vorhanden "
                                   L"oder kann nicht gel\u00f6scht werden."},
    {IDS_KIND_GROUP, L"Werkstoffgruppe"},
    {IDS_DELETE_CONFIRM, L"Soll die %s \u201e%s\u201c wirklich gel\u00f6scht werden?"},
    {IDS_KIND_GRADE, L"Werkstoffsorte"},
    {IDS_DELETED, L"Die %s \u201e%s\u201c wurde gel\u00f6scht."},
    {IDS_DISCARD_DB_CHANGES, L"Die \u00c4nderungen an der Werkstoffdatenbank werden "
                             L"r\u00fcckg\u00e4ngig gemacht. M\u00f6chten Sie fortfahren?"},
    {IDS_GRADE_ADDED,
     L"Die Werkstoffsorte \u201e%s\u201c wurde der Gruppe \u201e%s\u201c hinzugef\u00fcgt."},
    {IDS_DELETE_GROUP_MISSING,
     L"Geben Sie die Werkstoffgruppe von \u201e%s\u201c ein, bevor Sie den Eintrag l\u00f6schen."},
    {IDS_GRADE_DELETE_FAILED,
     L"Die Werkstoffsorte konnte nicht aus der Datenbank gel\u00f6scht werden."},
    {IDS_DELETE_NAME_MISSING,
     L"Zum L\u00f6schen einer Werkstoffsorte werden Gruppe und Sorte ben\u00f6tigt."},

    {IDS_MODULE_NAME, L"Feinguss"},
    {IDS_MODULE_SUMMARY, L"Konstruktionsregeln f\u00fcr Feingussteile."},
    {IDS_RULE_NAME, L"Gleichm\u00e4\u00dfige Wandst\u00e4rke"},
    {IDS_SUMMARY_FORMAT, L"Wandst\u00e4rke %s %s %s"},
    {IDS_OPERATOR_GE, L"mindestens"},
    {IDS_SUMMARY_MATERIAL, L"Wandst\u00e4rkegrenzen je Werkstoff"},

    {IDS_MISSING_THICKNESS, L"Geben Sie f\u00fcr jeden Werkstoff der Liste eine Wandst\u00e4rke "
                            L"ein."},
    {IDS_COLUMN_MATERIAL, L"Werkstoff"},
    {IDS_COLUMN_THICKNESS, L"Wandst\u00e4rke (%s)"},
    {IDS_VALUE_RANGE, L"Die Untergrenze darf nicht gr\u00f6\u00dfer als die Obergrenze sein."},
    {IDS_DUPLICATE_SUFFIX, L"ist bereits in der Liste enthalten."},
    {IDS_RULE_DESCRIPTION,
     L"Pr\u00fcft, dass die W\u00e4nde des Gussteils nicht d\u00fcnner als eine vorgegebene "
     L"Wandst\u00e4rke sind, f\u00fcr das ganze Teil oder je Werkstoff."},
    {IDS_ZERO_THICKNESS, L"Die Wandst\u00e4rke muss gr\u00f6\u00dfer als null sein."},
    {IDS_GRADE_IS_GROUP, L"\u201e%s\u201c ist der Name einer Werkstoffgruppe und kann nicht als "
                         L"Sortenname verwendet werden."},
};

#include "dialogs.inc"

constexpr VEK_RES_TABLE s_table = {VEK_RES_TABLE_VERSION, s_strings,
                                   sizeof(s_strings) / sizeof(s_strings[0]), s_pDialogs,
                                   s_nDialogs};

} // namespace

VEK_EXPORT_RESOURCE_TABLE(s_table);
