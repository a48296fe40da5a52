// CGdiObject and CFont, and the GDI font objects behind them. Fonts carry a face and a
// height only; nothing is ever drawn, and every character is VEK_CX_CHAR pixels wide.
#include "VekWindowInternal.h"

#include <cwchar>
#include <map>
#include <memory>

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)

namespace
{
struct FontRecord
{
    LOGFONTW lf;
    int nPointSize; // tenths of a point, 0 when created from a LOGFONT
};

uintptr_t g_nextGdiHandle = 0x70000;

std::map<HGDIOBJ, FontRecord>& Fonts()
{
    static std::map<HGDIOBJ, FontRecord> s_fonts;
    return s_fonts;
}

std::map<HGDIOBJ, CFont*>& PermanentFonts()
{
    static std::map<HGDIOBJ, CFont*> s_map;
    return s_map;
}

// Objects FromHandle made for handles no CFont holds; they never own their handle.
struct TemporaryFonts
{
    std::map<HGDIOBJ, std::unique_ptr<CFont>> map;
    ~TemporaryFonts()
    {
        for (auto& entry : map)
            entry.second->Detach();
    }
};
TemporaryFonts& Temporaries()
{
    static TemporaryFonts s_temps;
    return s_temps;
}

HGDIOBJ NewFont(const LOGFONTW& lf, int nPointSize)
{
    g_nextGdiHandle += 8;
    HGDIOBJ h = reinterpret_cast<HGDIOBJ>(g_nextGdiHandle);
    Fonts()[h] = FontRecord{lf, nPointSize};
    return h;
}

HGDIOBJ StockFont()
{
    static HGDIOBJ s_h = [] {
        LOGFONTW lf = {};
        lf.lfHeight = -11;
        lf.lfWeight = FW_NORMAL;
        wcsncpy(lf.lfFaceName, L"MS Shell Dlg", 31);
        return NewFont(lf, 80);
    }();
    return s_h;
}

const HGDIOBJ g_hWhiteBrush = reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(0x6F000));
} // namespace

HFONT CreateFontIndirectW(const LOGFONTW* lplf)
{
    if (!lplf)
        return nullptr;
    // A negative height is the character height in pixels at 96 dpi (1 point = 96/72 px).
    int nPointSize = lplf->lfHeight < 0 ? (-lplf->lfHeight * 72 * 10 + 48) / 96 : 0;
    return static_cast<HFONT>(NewFont(*lplf, nPointSize));
}

BOOL DeleteObject(HGDIOBJ ho)
{
    if (ho == g_hWhiteBrush || ho == StockFont())
        return TRUE;
    auto it = Fonts().find(ho);
    if (it == Fonts().end())
        return FALSE;
    Fonts().erase(it);
    auto t = Temporaries().map.find(ho);
    if (t != Temporaries().map.end())
    {
        t->second->Detach();
        Temporaries().map.erase(t);
    }
    return TRUE;
}

int GetObjectW(HGDIOBJ h, int c, LPVOID pv)
{
    auto it = Fonts().find(h);
    if (it == Fonts().end())
        return 0;
    if (!pv)
        return static_cast<int>(sizeof(LOGFONTW));
    if (c < static_cast<int>(sizeof(LOGFONTW)))
        return 0;
    *static_cast<LOGFONTW*>(pv) = it->second.lf;
    return static_cast<int>(sizeof(LOGFONTW));
}

HGDIOBJ GetStockObject(int i)
{
    if (i == DEFAULT_GUI_FONT)
        return StockFont();
    if (i == WHITE_BRUSH)
        return g_hWhiteBrush;
    return nullptr;
}

int VekGetFontPointSize(HFONT hFont)
{
    auto it = Fonts().find(hFont);
    return it == Fonts().end() ? 0 : it->second.nPointSize;
}

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (!hObject || m_hObject)
        return FALSE;
    m_hObject = hObject;
    if (!PermanentFonts().count(hObject) && Fonts().count(hObject))
        PermanentFonts()[hObject] = static_cast<CFont*>(this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    auto it = PermanentFonts().find(h);
    if (it != PermanentFonts().end() && it->second == this)
        PermanentFonts().erase(it);
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC*)
{
    if (m_hObject)
        return FALSE;
    LOGFONTW lf = {};
    lf.lfHeight = -((nPointSize * 96 + 360) / 720);
    lf.lfWeight = FW_NORMAL;
    if (lpszFaceName)
        wcsncpy(lf.lfFaceName, lpszFaceName, 31);
    return Attach(NewFont(lf, nPointSize));
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont)
{
    if (m_hObject)
        return FALSE;
    return Attach(::CreateFontIndirectW(lpLogFont));
}

int CFont::GetLogFont(LOGFONT* pLogFont)
{
    return ::GetObjectW(m_hObject, static_cast<int>(sizeof(LOGFONT)), pLogFont);
}

CFont* CFont::FromHandle(HFONT hFont)
{
    if (!hFont)
        return nullptr;
    auto it = PermanentFonts().find(hFont);
    if (it != PermanentFonts().end())
        return it->second;
    auto itTemp = Temporaries().map.find(hFont);
    if (itTemp != Temporaries().map.end())
        return itTemp->second.get();
    // The object is in the map before it holds the handle: memory running out on
    // the way leaves neither an empty entry nor an object that would delete the font.
    auto pFont = std::make_unique<CFont>();
    CFont* pTemp = pFont.get();
    Temporaries().map.emplace(hFont, std::move(pFont));
    pTemp->m_hObject = hFont;
    return pTemp;
}
