// Where the HTTP threads of the browser front end meet the main thread, which runs the dialogs.
// HTTP threads only queue events and wait for published states; the main thread takes the
// events one by one in a single order and publishes the state that follows them. Thread-safe.
#pragma once

#include "PageEvent.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

// A published state: the text the main thread gave, its version (raised only when the text
// changed) and the sequence number of the last event taken before it.
struct CPublishedState
{
    std::string strText;
    uint64_t nVersion = 0;
    uint64_t nHandled = 0;
};

class CFrontEndChannel
{
public:
    using Clock = std::chrono::steady_clock;

    // nIdleTimeout: how long the dialogs wait without any request before they give up.
    explicit CFrontEndChannel(std::chrono::milliseconds nIdleTimeout);

    // --- HTTP threads ---

    // Every request that carries the token counts as a sign that a page is there.
    void NoteRequest();
    // Queues the events of one request together, in order, after every event queued before;
    // nothing of another request comes between them. Returns the sequence number of the last
    // one (of the last queued before, for an empty batch).
    uint64_t Post(std::vector<CPageEvent> vecEvents);
    // Waits until the main thread published a state after taking event nSequence, or until
    // nMaxWait passed or the channel closed; returns the latest state either way.
    CPublishedState WaitHandled(uint64_t nSequence, std::chrono::milliseconds nMaxWait);
    // Waits until a state newer than nAfterVersion is published, nMaxWait passed or the channel
    // closed; returns the latest state either way.
    CPublishedState WaitNewer(uint64_t nAfterVersion, std::chrono::milliseconds nMaxWait);

    // --- main thread ---

    enum class ENext
    {
        Event, // event holds the next event
        Idle,  // no request came for the idle timeout; stays so from now on
    };
    ENext Next(CPageEvent& event);
    // Publishes strText as the state after every event taken so far.
    void Publish(const std::string& strText);
    // Publishes the last state: events still queued, and any posted from now on, are dropped
    // and count as handled, so that no request waits for them.
    void PublishFinal(const std::string& strText);
    // Waits up to nMaxWait until a page has been handed the latest state. True when one was.
    bool WaitDelivered(std::chrono::milliseconds nMaxWait);
    // Wakes every waiting HTTP thread for good; no event is queued after this.
    void Close();

    bool IsIdle() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cvEvents;    // the main thread waits for events
    std::condition_variable m_cvPublished; // HTTP threads wait for states
    std::deque<CPageEvent> m_queEvents;
    uint64_t m_nNextSequence = 1;
    uint64_t m_nTaken = 0;
    CPublishedState m_state;
    uint64_t m_nDeliveredVersion = 0;
    Clock::time_point m_lastRequest;
    std::chrono::milliseconds m_nIdleTimeout;
    bool m_bIdle = false;
    bool m_bClosed = false;
    bool m_bFinal = false;
};
