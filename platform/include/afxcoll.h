// CStringList: MFC's doubly linked list of strings, iterated by POSITION.
#pragma once

#include "afxstr.h"

class VEK_PLATFORM_API CStringList
{
public:
    explicit CStringList(int nBlockSize = 10);
    CStringList(const CStringList&) = delete;
    CStringList& operator=(const CStringList&) = delete;
    ~CStringList();

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }

    CString& GetHead();
    const CString& GetHead() const;
    CString& GetTail();
    const CString& GetTail() const;

    POSITION AddHead(LPCWSTR newElement);
    POSITION AddTail(LPCWSTR newElement);
    void AddTail(const CStringList& other); // appends copies of other's entries
    CString RemoveHead();
    CString RemoveTail();
    void RemoveAll();

    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    // Returns the entry at rPosition and moves rPosition on (null after the last).
    CString& GetNext(POSITION& rPosition);
    const CString& GetNext(POSITION& rPosition) const;
    CString& GetPrev(POSITION& rPosition);
    const CString& GetPrev(POSITION& rPosition) const;
    CString& GetAt(POSITION position);
    const CString& GetAt(POSITION position) const;
    void SetAt(POSITION pos, LPCWSTR newElement);
    void RemoveAt(POSITION position);
    POSITION InsertBefore(POSITION position, LPCWSTR newElement);
    POSITION InsertAfter(POSITION position, LPCWSTR newElement);

    // Position of the first entry equal to searchValue after startAfter (ordinal), or null.
    POSITION Find(LPCWSTR searchValue, POSITION startAfter = nullptr) const;
    // Position of the nIndex-th entry, or null when out of range.
    POSITION FindIndex(int nIndex) const;

    int GetBlockSize() const { return m_nBlockSize; }

private:
    struct Node;
    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    int m_nCount = 0;
    int m_nBlockSize;
};
