// Blocks of one size kept for reuse. Node and node-list objects are made and
// deleted by the thousand while rules are read and written; taking them from
// here costs a few instructions instead of a trip through the heap. Any thread
// may use the cache: one that finds it in use by another goes to the heap
// instead of waiting. Internal to the framework.
#pragma once

#include <atomic>
#include <cstddef>
#include <new>

// Under the address sanitizer every block goes back to the heap, so that a
// node object used after its deletion is still caught.
#if defined(__SANITIZE_ADDRESS__)
#define VEK_XML_NO_BLOCK_CACHE
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VEK_XML_NO_BLOCK_CACHE
#endif
#endif

namespace vek_xml
{
template <size_t kBlockSize> class CBlockCache
{
public:
    CBlockCache() = default;
    CBlockCache(const CBlockCache&) = delete;
    CBlockCache& operator=(const CBlockCache&) = delete;
    // Frees the kept blocks. The flag stays set, so that a block given back
    // afterwards (an object deleted at exit) goes straight to the heap.
    ~CBlockCache()
    {
        while (m_busy.test_and_set(std::memory_order_acquire))
        {
        }
        while (m_nCount > 0)
            ::operator delete(m_arrBlocks[--m_nCount]);
    }

    // A block for an object of nSize bytes: from the cache when it is of the
    // cached size (a derived class is larger and goes to the heap).
    void* Take(size_t nSize)
    {
        if (nSize != kBlockSize)
            return ::operator new(nSize);
#ifndef VEK_XML_NO_BLOCK_CACHE
        if (!m_busy.test_and_set(std::memory_order_acquire))
        {
            void* p = m_nCount > 0 ? m_arrBlocks[--m_nCount] : nullptr;
            m_busy.clear(std::memory_order_release);
            if (p != nullptr)
                return p;
        }
#endif
        return ::operator new(kBlockSize);
    }

    // Takes back the block of an object of nSize bytes.
    void Give(void* p, size_t nSize) noexcept
    {
        if (p == nullptr)
            return;
        if (nSize != kBlockSize)
        {
            ::operator delete(p);
            return;
        }
#ifndef VEK_XML_NO_BLOCK_CACHE
        if (!m_busy.test_and_set(std::memory_order_acquire))
        {
            const bool bKept = m_nCount < kCapacity;
            if (bKept)
                m_arrBlocks[m_nCount++] = p;
            m_busy.clear(std::memory_order_release);
            if (bKept)
                return;
        }
#endif
        ::operator delete(p);
    }

private:
    // Enough for the handles a rule holds at once; beyond that, blocks are freed.
    static constexpr size_t kCapacity = 64;
    std::atomic_flag m_busy = ATOMIC_FLAG_INIT;
    void* m_arrBlocks[kCapacity] = {};
    size_t m_nCount = 0;
};
} // namespace vek_xml
