// The events a page sends, as the host reads them: a batch is taken whole or refused whole,
// and the page's clock becomes the platform's event time without losing a person's intervals.
#include "BrowserFrontEnd.h"
#include "PageEvent.h"

#include <vekinput.h>
#include <vekmsgbox.h>

#include <gtest/gtest.h>

namespace
{
TEST(PageEventTest, EveryKindIsReadWithItsFields)
{
    std::vector<CPageEvent> vecEvents;
    std::string strError;
    ASSERT_TRUE(ParsePageEvents(
        R"({"events":[
            {"type":"pointermove","x":10,"y":-3,"mods":0,"time":1000},
            {"type":"pointerdown","button":0,"x":5,"y":6,"mods":1,"time":1001.4},
            {"type":"pointerup","button":2,"x":5,"y":6,"time":1002},
            {"type":"wheel","delta":-120,"x":7,"y":8,"time":1003},
            {"type":"keydown","key":13,"mods":6,"time":1004},
            {"type":"keyup","key":13,"time":1005},
            {"type":"text","text":"2,5 \u00e4","time":1006},
            {"type":"answer","box":3,"button":7}]})",
        vecEvents, strError))
        << strError;
    ASSERT_EQ(8u, vecEvents.size());
    EXPECT_EQ(EPageEvent::MouseMove, vecEvents[0].eKind);
    EXPECT_EQ(-3, vecEvents[0].pt.y);
    EXPECT_EQ(EPageEvent::ButtonDown, vecEvents[1].eKind);
    EXPECT_EQ(static_cast<UINT>(VK_LBUTTON), vecEvents[1].nButton);
    EXPECT_EQ(VEK_MOD_SHIFT, vecEvents[1].nModifiers);
    EXPECT_EQ(static_cast<UINT>(VK_RBUTTON), vecEvents[2].nButton);
    EXPECT_EQ(-120, vecEvents[3].nDelta);
    EXPECT_EQ(static_cast<UINT>(VK_RETURN), vecEvents[4].nKey);
    EXPECT_EQ(VEK_MOD_CONTROL | VEK_MOD_ALT, vecEvents[4].nModifiers);
    EXPECT_EQ(EPageEvent::KeyUp, vecEvents[5].eKind);
    EXPECT_EQ("2,5 \xc3\xa4", vecEvents[6].strText);
    EXPECT_EQ(3, vecEvents[7].nBox);
    EXPECT_EQ(IDNO, vecEvents[7].nAnswer);
}

TEST(PageEventTest, AMalformedEventRefusesTheWholeBatch)
{
    const char* const kBad[] = {
        "not json",
        R"({"event":[]})",
        R"({"events":{}})",
        R"({"events":[{"x":1}]})",
        R"({"events":[{"type":"teleport","time":1}]})",
        R"({"events":[{"type":"pointerdown","button":1,"x":1,"y":1,"time":1}]})", // middle button
        R"({"events":[{"type":"pointerdown","button":0,"x":1,"time":1}]})",
        R"({"events":[{"type":"pointermove","x":40000,"y":1,"time":1}]})",
        R"({"events":[{"type":"pointermove","x":"1","y":1,"time":1}]})",
        R"({"events":[{"type":"pointermove","x":1,"y":1}]})", // no time
        R"({"events":[{"type":"keydown","key":0,"time":1}]})",
        R"({"events":[{"type":"keydown","key":13,"mods":8,"time":1}]})",
        R"({"events":[{"type":"text","text":"","time":1}]})",
        R"({"events":[{"type":"answer","button":1}]})",
        R"({"events":[{"type":"answer","box":1,"button":99}]})",
        R"({"events":[{"type":"keyup","key":13,"time":1},{"type":"keyup","time":2}]})",
    };
    for (const char* pszBody : kBad)
    {
        std::vector<CPageEvent> vecEvents(1);
        std::string strError;
        EXPECT_FALSE(ParsePageEvents(pszBody, vecEvents, strError)) << pszBody;
        EXPECT_FALSE(strError.empty()) << pszBody;
        EXPECT_EQ(1u, vecEvents.size()) << "a refused batch leaves the events alone: " << pszBody;
    }
}

TEST(PageEventTest, TooManyEventsInOneRequestAreRefused)
{
    std::string strBody = R"({"events":[)";
    for (size_t i = 0; i <= kMaxEventsPerRequest; ++i)
        strBody += std::string(i ? "," : "") + R"({"type":"keyup","key":65,"time":1})";
    strBody += "]}";
    std::vector<CPageEvent> vecEvents;
    std::string strError;
    EXPECT_FALSE(ParsePageEvents(strBody, vecEvents, strError));
}

TEST(PageEventTest, TheClockKeepsIntervalsAndNeverGoesBack)
{
    CPageEventClock clock(1.0e12);
    const DWORD nFirst = clock.EventTime(1.0e12 + 5000.4);
    EXPECT_EQ(5000u, nFirst);
    EXPECT_EQ(5250u, clock.EventTime(1.0e12 + 5250));
    // Another tab whose event arrives later but happened earlier, a clock before the session.
    EXPECT_EQ(5250u, clock.EventTime(1.0e12 + 5100));
    EXPECT_EQ(5250u, clock.EventTime(1.0));
    EXPECT_EQ(6000u, clock.EventTime(1.0e12 + 6000));
}

TEST(PageEventTest, MessageBoxButtonsAndTheirCancelLikeButton)
{
    struct Row
    {
        UINT nType;
        std::vector<int> vecButtons;
        int nCancelLike;
    };
    const Row kRows[] = {
        {MB_OK | MB_ICONEXCLAMATION, {IDOK}, IDOK},
        {MB_OKCANCEL, {IDOK, IDCANCEL}, IDCANCEL},
        {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}, IDABORT},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, {IDYES, IDNO, IDCANCEL}, IDCANCEL},
        {MB_YESNO, {IDYES, IDNO}, IDNO},
        {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}, IDCANCEL},
        {MB_CANCELTRYCONTINUE, {IDCANCEL, IDTRYAGAIN, IDCONTINUE}, IDCANCEL},
    };
    for (const Row& row : kRows)
    {
        EXPECT_EQ(row.vecButtons, MessageBoxButtons(row.nType)) << row.nType;
        EXPECT_EQ(row.nCancelLike, CancelLikeButton(row.nType)) << row.nType;
    }
}
} // namespace
