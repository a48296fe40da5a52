#include "heap_count.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <malloc.h>
#include <new>

namespace
{
bool g_bCounting = false;
long long g_nLiveBytes = 0;
long long g_nPeakBytes = 0;

void CountAllocation(void* pBlock)
{
    if (!g_bCounting || pBlock == nullptr)
        return;
    g_nLiveBytes += static_cast<long long>(malloc_usable_size(pBlock));
    if (g_nLiveBytes > g_nPeakBytes)
        g_nPeakBytes = g_nLiveBytes;
}

void CountRelease(void* pBlock)
{
    if (g_bCounting && pBlock != nullptr)
        g_nLiveBytes -= static_cast<long long>(malloc_usable_size(pBlock));
}

pugi::allocation_function g_pfnXmlAllocate = nullptr;
pugi::deallocation_function g_pfnXmlFree = nullptr;

void* CountingXmlAllocate(size_t nSize)
{
    void* pBlock = g_pfnXmlAllocate(nSize);
    CountAllocation(pBlock);
    return pBlock;
}

void CountingXmlFree(void* pBlock)
{
    CountRelease(pBlock);
    g_pfnXmlFree(pBlock);
}
} // namespace

void StartHeapCount()
{
    g_nLiveBytes = 0;
    g_nPeakBytes = 0;
    g_bCounting = true;
}

long long HeapPeakBytes()
{
    return g_nPeakBytes;
}

void CountXmlHeap()
{
    g_pfnXmlAllocate = pugi::get_memory_allocation_function();
    g_pfnXmlFree = pugi::get_memory_deallocation_function();
    pugi::set_memory_management_functions(CountingXmlAllocate, CountingXmlFree);
}

// Every operator new of the process comes here, the module's and the framework's included.
void* operator new(size_t nSize)
{
    void* pBlock = std::malloc(nSize == 0 ? 1 : nSize);
    if (pBlock == nullptr)
        throw std::bad_alloc();
    CountAllocation(pBlock);
    return pBlock;
}
void* operator new[](size_t nSize)
{
    return operator new(nSize);
}
void* operator new(size_t nSize, const std::nothrow_t&) noexcept
{
    void* pBlock = std::malloc(nSize == 0 ? 1 : nSize);
    CountAllocation(pBlock);
    return pBlock;
}
void* operator new[](size_t nSize, const std::nothrow_t& tag) noexcept
{
    return operator new(nSize, tag);
}
void operator delete(void* pBlock) noexcept
{
    CountRelease(pBlock);
    std::free(pBlock);
}
void operator delete[](void* pBlock) noexcept
{
    operator delete(pBlock);
}
void operator delete(void* pBlock, size_t) noexcept
{
    operator delete(pBlock);
}
void operator delete[](void* pBlock, size_t) noexcept
{
    operator delete(pBlock);
}
