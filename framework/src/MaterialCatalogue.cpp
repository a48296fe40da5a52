#include "MaterialCatalogue.h"

namespace vek_db
{
namespace
{
// Carbon, low-alloy, stainless and heat-resistant cast steels.
const wchar_t* const kSteel[] = {L"ASTM A216 WCA",
                                 L"ASTM A216 WCB",
                                 L"ASTM A216 WCC",
                                 L"ASTM A217 WC6",
                                 L"ASTM A217 WC9",
                                 L"ASTM A217 C5",
                                 L"ASTM A352 LCB",
                                 L"ASTM A352 LCC",
                                 L"ASTM A27 70-36",
                                 L"ASTM A148 105-85",
                                 L"ASTM A732 Grade 1A",
                                 L"ASTM A351 CF8",
                                 L"ASTM A351 CF8M",
                                 L"ASTM A351 CF3",
                                 L"ASTM A351 CF3M",
                                 L"ASTM A351 CN7M",
                                 L"ASTM A743 CA15",
                                 L"ASTM A743 CA6NM",
                                 L"ASTM A747 CB7Cu-1",
                                 L"ASTM A890 Grade 4A",
                                 L"ACI HK-40",
                                 L"AMS 5355",
                                 L"EN 1.0619 GP240GH",
                                 L"EN 1.4408 GX5CrNiMo19-11-2",
                                 L"DIN 1.4308 GX5CrNi19-10",
                                 nullptr};

const wchar_t* const kIron[] = {
    L"ASTM A48 Class 30",  L"ASTM A48 Class 40",   L"ASTM A536 60-40-18", L"ASTM A536 65-45-12",
    L"ASTM A536 80-55-06", L"ASTM A536 100-70-03", L"ASTM A47 32510",     L"ASTM A439 Type D-2",
    L"EN-GJL-250",         L"EN-GJS-400-15",       L"EN-GJS-500-7",       nullptr};

const wchar_t* const kAluminium[] = {L"A356.0",
                                     L"A357.0",
                                     L"356.0",
                                     L"C355.0",
                                     L"A201.0",
                                     L"319.0",
                                     L"AMS 4218",
                                     L"EN AC-42100 AlSi7Mg0,3",
                                     L"EN AC-42200 AlSi7Mg0,6",
                                     nullptr};

// Nickel- and cobalt-base alloys and other investment-cast metals.
const wchar_t* const kOtherMetals[] = {
    L"UNS N06625", L"UNS N07718", L"ASTM A494 CW-6MC", L"ASTM A494 CY-40", L"ASTM A494 M-35-1",
    L"AMS 5383",   L"AMS 5391",   L"UNS R30006",       L"ASTM F75",        nullptr};

const wchar_t* const kCopper[] = {
    L"C95400", L"C95500", L"C95800", L"C93200", L"C90300",
    L"C83600", L"C86300", L"C82500", L"C81100", L"EN CC333G CuAl10Fe5Ni5-C",
    nullptr};

const wchar_t* const kZinc[] = {L"Zamak 3 (UNS Z33520)",
                                L"Zamak 5 (UNS Z35531)",
                                L"Zamak 2 (UNS Z35541)",
                                L"ZA-8 (UNS Z35636)",
                                L"ZA-12 (UNS Z35631)",
                                L"ZA-27 (UNS Z35841)",
                                nullptr};

const wchar_t* const kMagnesium[] = {L"AZ91E", L"AZ91D", L"AM60B", L"ZE41A",
                                     L"WE43B", L"EV31A", L"QE22A", nullptr};

const wchar_t* const kTitanium[] = {L"ASTM B367 Grade C-2",
                                    L"ASTM B367 Grade C-3",
                                    L"ASTM B367 Grade C-5",
                                    L"AMS 4985",
                                    L"UNS R56400",
                                    L"Ti-6Al-2Sn-4Zr-2Mo",
                                    nullptr};

// Groups for parts that are not cast; dialogs of casting rules do not show them.
const wchar_t* const kWoods[] = {
    L"Oak", L"Beech", L"Pine", L"Birch Plywood", L"Medium-density Fibreboard", nullptr};

const wchar_t* const kGlassFibers[] = {L"E-Glass", L"S-Glass", L"C-Glass", L"AR-Glass", nullptr};

const wchar_t* const kPlastics[] = {L"ABS", L"Polycarbonate", L"PA6", L"PA66-GF30",
                                    L"POM", L"Polypropylene", L"PBT", nullptr};

const wchar_t* const kDefault[] = {L"Default Material", nullptr};

const wchar_t* const kInvestmentCastingGroups[] = {L"Steel",
                                                   L"Iron",
                                                   L"Aluminium Alloys",
                                                   L"Other Metals",
                                                   L"Copper and its Alloys",
                                                   L"Magnesium and its Alloys",
                                                   L"Titanium Alloys",
                                                   nullptr};

const wchar_t* const kDieCastingGroups[] = {L"Aluminium Alloys", L"Zinc and its Alloys",
                                            L"Magnesium and its Alloys", L"Copper and its Alloys",
                                            nullptr};
} // namespace

const CatalogueGroup g_arrCatalogueGroups[] = {
    {L"Steel", kSteel},
    {L"Iron", kIron},
    {L"Aluminium Alloys", kAluminium},
    {L"Other Metals", kOtherMetals},
    {L"Copper and its Alloys", kCopper},
    {L"Zinc and its Alloys", kZinc},
    {L"Magnesium and its Alloys", kMagnesium},
    {L"Titanium Alloys", kTitanium},
    {L"Woods", kWoods},
    {L"Generic Glass Fibers", kGlassFibers},
    {L"Plastics", kPlastics},
    {L"Default", kDefault},
};
const size_t g_nCatalogueGroups = sizeof(g_arrCatalogueGroups) / sizeof(g_arrCatalogueGroups[0]);

const CatalogueProcess g_arrCatalogueProcesses[] = {
    {L"Investment Casting", kInvestmentCastingGroups},
    {L"Die Casting", kDieCastingGroups},
};
const size_t g_nCatalogueProcesses =
    sizeof(g_arrCatalogueProcesses) / sizeof(g_arrCatalogueProcesses[0]);
} // namespace vek_db
