// VekArray: the framework's growable array. Its layout and growth rule are
// shared with the host and every rules module, so neither may change:
// storage pointer, then 32-bit count, capacity and growth step.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

// Holds trivially copyable values (pointers, integers, flags, doubles) in
// zero-filled raw storage. It never owns what a pointer element points to.
//
// A new array is in the state Reset leaves: capacity 10, count 0, step 1,
// every slot zero. Append grows the capacity by the step when the array is
// full, and then the step becomes step + 3 while it is below 10, else
// step * 1.2 (truncated): steps 1, 4, 7, 10, 12, 14, 16, 19, 22, 26, ...
template <class T> class VekArray
{
    static_assert(std::is_trivially_copyable<T>::value, "VekArray holds trivially copyable values");

public:
    VekArray() { Reset(); }
    VekArray(const VekArray& other) { CopyFrom(other); }
    VekArray& operator=(const VekArray& other)
    {
        if (this != &other)
        {
            std::free(m_pData);
            m_pData = nullptr;
            CopyFrom(other);
        }
        return *this;
    }
    ~VekArray() { std::free(m_pData); }

    int GetSize() const { return m_nCount; }
    int GetCount() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }
    int GetCapacity() const { return m_nCapacity; }
    int GetGrowBy() const { return m_nGrowBy; }
    // The storage itself (count elements, then zeroed slots up to the capacity).
    T* GetData() { return m_pData; }
    const T* GetData() const { return m_pData; }

    // Unchecked, as the host's array is; index must lie in [0, count).
    T& operator[](int nIndex) { return m_pData[nIndex]; }
    const T& operator[](int nIndex) const { return m_pData[nIndex]; }
    T& GetAt(int nIndex) { return m_pData[nIndex]; }
    const T& GetAt(int nIndex) const { return m_pData[nIndex]; }
    void SetAt(int nIndex, const T& value) { m_pData[nIndex] = value; }

    // Appends value at index count; returns that index, or -1 when memory ran out
    // (the array is then unchanged).
    int Append(const T& value)
    {
        if (m_nCount >= m_nCapacity && !Grow())
            return -1;
        m_pData[m_nCount] = value;
        return m_nCount++;
    }
    int Add(const T& value) { return Append(value); }

    // Removes nCount elements from nIndex, moving the rest down; the freed
    // slots at the end are zeroed. Out-of-range requests are clamped.
    void RemoveAt(int nIndex, int nCount = 1)
    {
        if (nIndex < 0 || nIndex >= m_nCount || nCount <= 0)
            return;
        if (nCount > m_nCount - nIndex)
            nCount = m_nCount - nIndex;
        int nMove = m_nCount - nIndex - nCount;
        if (nMove > 0)
            std::memmove(static_cast<void*>(m_pData + nIndex), m_pData + nIndex + nCount,
                         sizeof(T) * static_cast<size_t>(nMove));
        std::memset(static_cast<void*>(m_pData + m_nCount - nCount), 0,
                    sizeof(T) * static_cast<size_t>(nCount));
        m_nCount -= nCount;
    }

    // Back to the constructed state: storage of 10 zeroed slots (reallocated
    // only when the capacity is not 10), count 0, step 1.
    void Reset()
    {
        if (m_pData == nullptr || m_nCapacity != 10)
        {
            std::free(m_pData);
            m_pData = static_cast<T*>(std::calloc(10, sizeof(T)));
            m_nCapacity = m_pData ? 10 : 0;
        }
        else
        {
            std::memset(static_cast<void*>(m_pData), 0, sizeof(T) * 10);
        }
        m_nCount = 0;
        m_nGrowBy = 1;
    }
    void RemoveAll() { Reset(); }

private:
    bool Grow()
    {
        int32_t nNewCapacity = m_nCapacity + m_nGrowBy;
        T* pNew = static_cast<T*>(std::calloc(static_cast<size_t>(nNewCapacity), sizeof(T)));
        if (pNew == nullptr)
            return false;
        if (m_nCount > 0)
            std::memcpy(static_cast<void*>(pNew), m_pData,
                        sizeof(T) * static_cast<size_t>(m_nCount));
        std::free(m_pData);
        m_pData = pNew;
        m_nCapacity = nNewCapacity;
        m_nGrowBy = m_nGrowBy < 10 ? m_nGrowBy + 3 : static_cast<int32_t>(m_nGrowBy * 1.2);
        return true;
    }

    void CopyFrom(const VekArray& other)
    {
        m_pData = static_cast<T*>(
            std::calloc(static_cast<size_t>(other.m_nCapacity ? other.m_nCapacity : 1), sizeof(T)));
        if (m_pData == nullptr)
            throw std::bad_alloc();
        if (other.m_nCount > 0)
            std::memcpy(static_cast<void*>(m_pData), other.m_pData,
                        sizeof(T) * static_cast<size_t>(other.m_nCount));
        m_nCount = other.m_nCount;
        m_nCapacity = other.m_nCapacity;
        m_nGrowBy = other.m_nGrowBy;
    }

    T* m_pData = nullptr;
    int32_t m_nCount = 0;
    int32_t m_nCapacity = 0;
    int32_t m_nGrowBy = 1;
};
