// The events a browser page sends: raw pointer and key events at screen points, text, and the
// answer to a message box. Parsed on an HTTP thread, delivered on the main thread through the
// platform's raw input, where every hit test happens.
#pragma once

#include <afx.h>

#include <cstdint>
#include <string>
#include <vector>

enum class EPageEvent
{
    MouseMove,
    ButtonDown,
    ButtonUp,
    Wheel,
    KeyDown,
    KeyUp,
    Text,   // characters no key produced: a paste, an input method's result
    Answer, // a button of the pending message box
};

struct CPageEvent
{
    EPageEvent eKind = EPageEvent::MouseMove;
    UINT nButton = 0;       // VK_LBUTTON or VK_RBUTTON
    POINT pt = {};          // screen point of pointer events
    int nDelta = 0;         // wheel turn, WHEEL_DELTA per notch, positive away from the user
    UINT nKey = 0;          // virtual-key code
    UINT nModifiers = 0;    // VEK_MOD_* held during the event
    double dTime = 0;       // the page's time stamp, milliseconds since 1970
    std::string strText;    // UTF-8
    int nBox = 0;           // the message box an answer is for
    int nAnswer = 0;        // IDOK, IDCANCEL, ...
    uint64_t nSequence = 0; // place in the host's one event order, from 1
};

// Most events one request may carry; a page sends far fewer.
constexpr size_t kMaxEventsPerRequest = 1000;

// Parses {"events": [...]} as the page sends it (docs/browser-front-end.md). False, with the
// reason in strError and vecEvents unchanged, when the body or any event is malformed: a batch
// is taken whole or not at all.
bool ParsePageEvents(const std::string& strBody, std::vector<CPageEvent>& vecEvents,
                     std::string& strError);

// Turns the page's wall-clock time stamps into the platform's event times: milliseconds since
// the session started, never earlier than the previous event, so that the intervals a person
// made (double clicks) are kept and tabs sharing the machine's clock stay in one order.
class CPageEventClock
{
public:
    explicit CPageEventClock(double dStartMs) : m_dStartMs(dStartMs) {}
    DWORD EventTime(double dPageTimeMs);

private:
    double m_dStartMs;
    DWORD m_nLast = 1;
};

// Delivers a raw event through VekRawInput (main thread only). Returns what the raw input
// returned: FALSE when no window could take it. Answers are not raw input: FALSE.
BOOL DeliverPageEvent(const CPageEvent& event, CPageEventClock& clock);
