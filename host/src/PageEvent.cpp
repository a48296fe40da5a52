#include "PageEvent.h"

#include "HostText.h"

#include <vekinput.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <map>

namespace
{
using json = nlohmann::json;

const std::map<std::string, EPageEvent>& Kinds()
{
    static const std::map<std::string, EPageEvent> s_kinds = {
        {"pointermove", EPageEvent::MouseMove},
        {"pointerdown", EPageEvent::ButtonDown},
        {"pointerup", EPageEvent::ButtonUp},
        {"wheel", EPageEvent::Wheel},
        {"keydown", EPageEvent::KeyDown},
        {"keyup", EPageEvent::KeyUp},
        {"text", EPageEvent::Text},
        {"answer", EPageEvent::Answer},
    };
    return s_kinds;
}

// A whole number within [nMin, nMax] under strName, or false.
bool GetInt(const json& obj, const char* pszName, long long nMin, long long nMax, long long& nValue)
{
    const auto it = obj.find(pszName);
    if (it == obj.end() || !it->is_number())
        return false;
    const double dValue = it->get<double>();
    if (!std::isfinite(dValue) || dValue < static_cast<double>(nMin) ||
        dValue > static_cast<double>(nMax))
        return false;
    nValue = static_cast<long long>(std::llround(dValue));
    return true;
}

bool ParseOne(const json& obj, CPageEvent& event, std::string& strError)
{
    if (!obj.is_object() || !obj.contains("type") || !obj["type"].is_string())
    {
        strError = "an event without a type";
        return false;
    }
    const std::string strType = obj["type"].get<std::string>();
    const auto itKind = Kinds().find(strType);
    if (itKind == Kinds().end())
    {
        strError = "unknown event type \"" + strType + "\"";
        return false;
    }
    event.eKind = itKind->second;
    long long nValue = 0;
    if (event.eKind == EPageEvent::Answer)
    {
        long long nBox = 0;
        if (!GetInt(obj, "box", 1, INT32_MAX, nBox) || !GetInt(obj, "button", 1, 11, nValue))
        {
            strError = "an answer needs a box and a button id";
            return false;
        }
        event.nBox = static_cast<int>(nBox);
        event.nAnswer = static_cast<int>(nValue);
        return true;
    }
    const auto itTime = obj.find("time");
    if (itTime == obj.end() || !itTime->is_number() || !std::isfinite(itTime->get<double>()))
    {
        strError = strType + " needs a time";
        return false;
    }
    event.dTime = itTime->get<double>();
    if (obj.contains("mods"))
    {
        if (!GetInt(obj, "mods", 0, VEK_MOD_SHIFT | VEK_MOD_CONTROL | VEK_MOD_ALT, nValue))
        {
            strError = strType + ": bad modifiers";
            return false;
        }
        event.nModifiers = static_cast<UINT>(nValue);
    }
    switch (event.eKind)
    {
    case EPageEvent::MouseMove:
    case EPageEvent::ButtonDown:
    case EPageEvent::ButtonUp:
    case EPageEvent::Wheel: {
        long long nX = 0;
        long long nY = 0;
        // Screen coordinates of the window system fit in 16 bits (GetMessagePos packs them).
        if (!GetInt(obj, "x", -32768, 32767, nX) || !GetInt(obj, "y", -32768, 32767, nY))
        {
            strError = strType + " needs a point x, y";
            return false;
        }
        event.pt = {static_cast<LONG>(nX), static_cast<LONG>(nY)};
        if (event.eKind == EPageEvent::ButtonDown || event.eKind == EPageEvent::ButtonUp)
        {
            // The page's button numbers: 0 the main (left) button, 2 the secondary one.
            if (!GetInt(obj, "button", 0, 2, nValue) || nValue == 1)
            {
                strError = strType + " takes button 0 or 2";
                return false;
            }
            event.nButton = nValue == 0 ? VK_LBUTTON : VK_RBUTTON;
        }
        if (event.eKind == EPageEvent::Wheel)
        {
            if (!GetInt(obj, "delta", -120 * 100, 120 * 100, nValue))
            {
                strError = "wheel needs a delta";
                return false;
            }
            event.nDelta = static_cast<int>(nValue);
        }
        return true;
    }
    case EPageEvent::KeyDown:
    case EPageEvent::KeyUp:
        if (!GetInt(obj, "key", 1, 0xFE, nValue))
        {
            strError = strType + " needs a virtual-key code 1 to 254";
            return false;
        }
        event.nKey = static_cast<UINT>(nValue);
        return true;
    case EPageEvent::Text: {
        const auto it = obj.find("text");
        if (it == obj.end() || !it->is_string() || it->get<std::string>().empty())
        {
            strError = "text needs a text";
            return false;
        }
        event.strText = it->get<std::string>();
        return true;
    }
    case EPageEvent::Answer:
        break;
    }
    return true;
}
} // namespace

bool ParsePageEvents(const std::string& strBody, std::vector<CPageEvent>& vecEvents,
                     std::string& strError)
{
    const json body = json::parse(strBody, nullptr, false);
    if (body.is_discarded() || !body.is_object() || !body.contains("events") ||
        !body["events"].is_array())
    {
        strError = "the body is not {\"events\": [...]}";
        return false;
    }
    const json& events = body["events"];
    if (events.size() > kMaxEventsPerRequest)
    {
        strError = "more than " + std::to_string(kMaxEventsPerRequest) + " events";
        return false;
    }
    std::vector<CPageEvent> vecParsed;
    vecParsed.reserve(events.size());
    for (size_t i = 0; i < events.size(); ++i)
    {
        CPageEvent event;
        if (!ParseOne(events[i], event, strError))
        {
            strError = "event " + std::to_string(i) + ": " + strError;
            return false;
        }
        vecParsed.push_back(std::move(event));
    }
    vecEvents = std::move(vecParsed);
    return true;
}

DWORD CPageEventClock::EventTime(double dPageTimeMs)
{
    const double dSince = dPageTimeMs - m_dStartMs;
    // A page whose clock lies before the session (or after 49 days) keeps the last time.
    if (dSince >= static_cast<double>(m_nLast) && dSince < 4.0e9)
        m_nLast = static_cast<DWORD>(dSince);
    return m_nLast;
}

BOOL DeliverPageEvent(const CPageEvent& event, CPageEventClock& clock)
{
    if (event.eKind == EPageEvent::Answer)
        return FALSE;
    const DWORD nTime = clock.EventTime(event.dTime);
    switch (event.eKind)
    {
    case EPageEvent::MouseMove:
        return VekRawInput::MouseMove(event.pt, event.nModifiers, nTime);
    case EPageEvent::ButtonDown:
        return VekRawInput::ButtonDown(event.nButton, event.pt, event.nModifiers, nTime);
    case EPageEvent::ButtonUp:
        return VekRawInput::ButtonUp(event.nButton, event.pt, event.nModifiers, nTime);
    case EPageEvent::Wheel:
        return VekRawInput::Wheel(event.nDelta, event.pt, event.nModifiers, nTime);
    case EPageEvent::KeyDown:
        return VekRawInput::KeyDown(event.nKey, event.nModifiers, nTime);
    case EPageEvent::KeyUp:
        return VekRawInput::KeyUp(event.nKey, event.nModifiers, nTime);
    case EPageEvent::Text:
        return VekRawInput::Text(FromUtf8(event.strText).GetString(), nTime);
    case EPageEvent::Answer:
        break;
    }
    return FALSE;
}
