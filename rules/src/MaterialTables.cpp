#include "MaterialTables.h"

// 1 mm, 0.75 mm and 1.5 mm written in inches.
const MetalThicknessRow g_MetalThicknessTable[METAL_THICKNESS_ROWS] = {
    {L"Aluminium", L"0.0393700787401575", L"0.0393700787401575"},
    {L"Beryllium Copper", L"0.0295275590551181", L"0.0295275590551181"},
    {L"Brass", L"0.0393700787401575", L"0.0393700787401575"},
    {L"Steel", L"0.0590551181102362", L"0.0590551181102362"},
    {L"Cobalt-base alloys", L"0.0295275590551181", L"0.0295275590551181"},
    {L"Bronze", L"0.0590551181102362", L"0.0590551181102362"},
};

const LPCWSTR g_CastingMaterialCategories[CASTING_MATERIAL_CATEGORIES] = {
    L"Steel",
    L"Iron",
    L"Aluminium Alloys",
    L"Other Metals",
    L"Copper and its Alloys",
    L"Zinc and its Alloys",
    L"Magnesium and its Alloys",
    L"Titanium Alloys",
};
