// Fixed material data of the Investment Casting process, the same in every language.
#pragma once

#include <afx.h>

struct MetalThicknessRow
{
    LPCWSTR pszName;
    LPCWSTR pszMinThickness; // inches (unit code 3), as decimal text
    LPCWSTR pszMaxThickness;
};

constexpr int METAL_THICKNESS_ROWS = 6;
constexpr int CASTING_MATERIAL_CATEGORIES = 8;

// Default wall thickness of six metals; a new rule makes one constraint per row.
extern const MetalThicknessRow g_MetalThicknessTable[METAL_THICKNESS_ROWS];

// Casting material categories offered for the Investment Casting category.
extern const LPCWSTR g_CastingMaterialCategories[CASTING_MATERIAL_CATEGORIES];

// Unit code in which the metal table's thicknesses are written.
constexpr long METAL_TABLE_UNIT = 3;
