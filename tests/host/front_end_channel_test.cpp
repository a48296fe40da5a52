// The meeting point of the HTTP threads and the main thread: one order for all events, batches
// kept together, states handed to whoever waits for them, and the idle timeout.
#include "FrontEndChannel.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
using namespace std::chrono_literals;

CPageEvent KeyEvent(UINT nKey)
{
    CPageEvent event;
    event.eKind = EPageEvent::KeyDown;
    event.nKey = nKey;
    return event;
}

TEST(FrontEndChannelTest, BatchesFromManyThreadsAreNeverInterleaved)
{
    CFrontEndChannel channel(60s);
    constexpr int kThreads = 4;
    constexpr int kBatches = 50;
    constexpr int kBatchSize = 5;
    std::vector<std::thread> vecThreads;
    for (int t = 0; t < kThreads; ++t)
    {
        vecThreads.emplace_back([&channel, t] {
            for (int b = 0; b < kBatches; ++b)
            {
                std::vector<CPageEvent> vecBatch;
                for (int i = 0; i < kBatchSize; ++i)
                    vecBatch.push_back(KeyEvent(static_cast<UINT>(t * 10 + i)));
                channel.Post(vecBatch);
            }
        });
    }
    uint64_t nLastSequence = 0;
    for (int n = 0; n < kThreads * kBatches; ++n)
    {
        CPageEvent event;
        ASSERT_EQ(CFrontEndChannel::ENext::Event, channel.Next(event));
        const UINT nThread = event.nKey / 10;
        ASSERT_EQ(0u, event.nKey % 10) << "a batch starts with its first event";
        EXPECT_EQ(nLastSequence + 1, event.nSequence);
        for (int i = 1; i < kBatchSize; ++i)
        {
            ASSERT_EQ(CFrontEndChannel::ENext::Event, channel.Next(event));
            EXPECT_EQ(nThread * 10 + static_cast<UINT>(i), event.nKey)
                << "another request's event came inside a batch";
        }
        nLastSequence = event.nSequence;
    }
    for (std::thread& thread : vecThreads)
        thread.join();
}

TEST(FrontEndChannelTest, ARequestGetsTheStateAfterItsEvents)
{
    CFrontEndChannel channel(60s);
    channel.Publish("{\"n\":0}");
    CPublishedState state;
    std::thread request([&] { state = channel.WaitHandled(channel.Post({KeyEvent(65)}), 10s); });
    CPageEvent event;
    ASSERT_EQ(CFrontEndChannel::ENext::Event, channel.Next(event));
    channel.Publish("{\"n\":1}");
    request.join();
    EXPECT_EQ("{\"n\":1}", state.strText);
    EXPECT_EQ(event.nSequence, state.nHandled);
    EXPECT_EQ(2u, state.nVersion);
}

TEST(FrontEndChannelTest, TheVersionRisesOnlyWhenTheStateChanged)
{
    CFrontEndChannel channel(60s);
    channel.Publish("a");
    channel.Publish("a");
    EXPECT_EQ(1u, channel.WaitNewer(0, 0ms).nVersion);
    // A waiting page is not woken by a state it already has.
    EXPECT_EQ(1u, channel.WaitNewer(1, 10ms).nVersion);
    std::thread waiter([&] { EXPECT_EQ("b", channel.WaitNewer(1, 10s).strText); });
    channel.Publish("b");
    waiter.join();
    EXPECT_TRUE(channel.WaitDelivered(0ms));
}

TEST(FrontEndChannelTest, QueuedEventsComeBeforeTheIdleTimeoutWhichThenStays)
{
    CFrontEndChannel channel(50ms);
    channel.Post({KeyEvent(65)});
    std::this_thread::sleep_for(80ms);
    CPageEvent event;
    EXPECT_EQ(CFrontEndChannel::ENext::Event, channel.Next(event));
    EXPECT_EQ(CFrontEndChannel::ENext::Idle, channel.Next(event));
    EXPECT_TRUE(channel.IsIdle());
    channel.NoteRequest();
    channel.Post({KeyEvent(66)});
    EXPECT_EQ(CFrontEndChannel::ENext::Idle, channel.Next(event)) << "cancelled dialogs stay so";
}

TEST(FrontEndChannelTest, TheFinalStateAnswersEventsLeftInTheQueueAndAfter)
{
    CFrontEndChannel channel(60s);
    const uint64_t nLeft = channel.Post({KeyEvent(65), KeyEvent(66)});
    CPageEvent event;
    ASSERT_EQ(CFrontEndChannel::ENext::Event, channel.Next(event)); // it ended the dialog
    channel.PublishFinal("ended");
    EXPECT_EQ(nLeft, channel.WaitHandled(nLeft, 0ms).nHandled);
    const uint64_t nLate = channel.Post({KeyEvent(67)});
    const CPublishedState state = channel.WaitHandled(nLate, 0ms);
    EXPECT_EQ("ended", state.strText);
    EXPECT_GE(state.nHandled, nLate);
}

TEST(FrontEndChannelTest, ClosingWakesWaitingRequestsAndRefusesEvents)
{
    CFrontEndChannel channel(60s);
    channel.Publish("x");
    std::thread waiter([&] { channel.WaitNewer(1, 60s); });
    channel.Close();
    waiter.join();
    EXPECT_EQ(0u, channel.Post({KeyEvent(65)}));
}
} // namespace
