#include "FrontEndChannel.h"

CFrontEndChannel::CFrontEndChannel(std::chrono::milliseconds nIdleTimeout)
    : m_lastRequest(Clock::now()), m_nIdleTimeout(nIdleTimeout)
{
}

void CFrontEndChannel::NoteRequest()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lastRequest = Clock::now();
}

uint64_t CFrontEndChannel::Post(std::vector<CPageEvent> vecEvents)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bClosed || m_bFinal)
        return m_nNextSequence - 1;
    for (CPageEvent& event : vecEvents)
    {
        event.nSequence = m_nNextSequence++;
        m_queEvents.push_back(std::move(event));
    }
    m_cvEvents.notify_one();
    return m_nNextSequence - 1;
}

CPublishedState CFrontEndChannel::WaitHandled(uint64_t nSequence,
                                              std::chrono::milliseconds nMaxWait)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cvPublished.wait_for(lock, nMaxWait,
                           [&] { return m_bClosed || m_state.nHandled >= nSequence; });
    m_nDeliveredVersion = std::max(m_nDeliveredVersion, m_state.nVersion);
    return m_state;
}

CPublishedState CFrontEndChannel::WaitNewer(uint64_t nAfterVersion,
                                            std::chrono::milliseconds nMaxWait)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cvPublished.wait_for(lock, nMaxWait,
                           [&] { return m_bClosed || m_state.nVersion > nAfterVersion; });
    m_nDeliveredVersion = std::max(m_nDeliveredVersion, m_state.nVersion);
    m_cvPublished.notify_all(); // WaitDelivered listens on the same variable
    return m_state;
}

CFrontEndChannel::ENext CFrontEndChannel::Next(CPageEvent& event)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_bIdle)
    {
        if (!m_queEvents.empty())
        {
            event = std::move(m_queEvents.front());
            m_queEvents.pop_front();
            m_nTaken = event.nSequence;
            return ENext::Event;
        }
        // A request moves the deadline without waking the main thread; it is read again here.
        const Clock::time_point deadline = m_lastRequest + m_nIdleTimeout;
        if (Clock::now() >= deadline)
        {
            m_bIdle = true;
            break;
        }
        m_cvEvents.wait_until(lock, deadline);
    }
    return ENext::Idle;
}

void CFrontEndChannel::Publish(const std::string& strText)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (strText != m_state.strText || m_state.nVersion == 0)
    {
        m_state.strText = strText;
        ++m_state.nVersion;
    }
    m_state.nHandled = m_nTaken;
    m_cvPublished.notify_all();
}

void CFrontEndChannel::PublishFinal(const std::string& strText)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bFinal = true;
        m_queEvents.clear();
        m_nTaken = m_nNextSequence - 1;
    }
    Publish(strText);
}

bool CFrontEndChannel::WaitDelivered(std::chrono::milliseconds nMaxWait)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_cvPublished.wait_for(lock, nMaxWait,
                                  [&] { return m_nDeliveredVersion >= m_state.nVersion; });
}

void CFrontEndChannel::Close()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bClosed = true;
    m_queEvents.clear();
    m_cvPublished.notify_all();
    m_cvEvents.notify_all();
}

bool CFrontEndChannel::IsIdle() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bIdle;
}
