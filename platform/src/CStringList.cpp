#include "afxcoll.h"

#include <cwchar>

struct CStringList::Node : __POSITION
{
    Node* pNext = nullptr;
    Node* pPrev = nullptr;
    CString data;
};

namespace
{
template <typename N> N* node(POSITION pos)
{
    return static_cast<N*>(pos);
}
} // namespace

CStringList::CStringList(int nBlockSize) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}

CStringList::~CStringList()
{
    RemoveAll();
}

CString& CStringList::GetHead()
{
    return m_pHead->data;
}
const CString& CStringList::GetHead() const
{
    return m_pHead->data;
}
CString& CStringList::GetTail()
{
    return m_pTail->data;
}
const CString& CStringList::GetTail() const
{
    return m_pTail->data;
}

POSITION CStringList::AddHead(LPCWSTR newElement)
{
    return m_pHead ? InsertBefore(m_pHead, newElement) : AddTail(newElement);
}

POSITION CStringList::AddTail(LPCWSTR newElement)
{
    Node* n = new Node;
    n->data = newElement;
    n->pPrev = m_pTail;
    if (m_pTail)
        m_pTail->pNext = n;
    else
        m_pHead = n;
    m_pTail = n;
    ++m_nCount;
    return n;
}

void CStringList::AddTail(const CStringList& other)
{
    // Counted walk, so that appending a list to itself terminates.
    Node* n = other.m_pHead;
    for (int i = other.m_nCount; i > 0 && n; --i, n = n->pNext)
        AddTail(n->data);
}

CString CStringList::RemoveHead()
{
    CString s = m_pHead->data;
    RemoveAt(m_pHead);
    return s;
}

CString CStringList::RemoveTail()
{
    CString s = m_pTail->data;
    RemoveAt(m_pTail);
    return s;
}

void CStringList::RemoveAll()
{
    for (Node* n = m_pHead; n;)
    {
        Node* next = n->pNext;
        delete n;
        n = next;
    }
    m_pHead = m_pTail = nullptr;
    m_nCount = 0;
}

POSITION CStringList::GetHeadPosition() const
{
    return m_pHead;
}
POSITION CStringList::GetTailPosition() const
{
    return m_pTail;
}

CString& CStringList::GetNext(POSITION& rPosition)
{
    Node* n = node<Node>(rPosition);
    rPosition = n->pNext;
    return n->data;
}

const CString& CStringList::GetNext(POSITION& rPosition) const
{
    Node* n = node<Node>(rPosition);
    rPosition = n->pNext;
    return n->data;
}

CString& CStringList::GetPrev(POSITION& rPosition)
{
    Node* n = node<Node>(rPosition);
    rPosition = n->pPrev;
    return n->data;
}

const CString& CStringList::GetPrev(POSITION& rPosition) const
{
    Node* n = node<Node>(rPosition);
    rPosition = n->pPrev;
    return n->data;
}

CString& CStringList::GetAt(POSITION position)
{
    return node<Node>(position)->data;
}
const CString& CStringList::GetAt(POSITION position) const
{
    return node<Node>(position)->data;
}
void CStringList::SetAt(POSITION pos, LPCWSTR newElement)
{
    node<Node>(pos)->data = newElement;
}

void CStringList::RemoveAt(POSITION position)
{
    Node* n = node<Node>(position);
    (n->pPrev ? n->pPrev->pNext : m_pHead) = n->pNext;
    (n->pNext ? n->pNext->pPrev : m_pTail) = n->pPrev;
    delete n;
    --m_nCount;
}

POSITION CStringList::InsertBefore(POSITION position, LPCWSTR newElement)
{
    if (!position)
        return AddHead(newElement);
    Node* at = node<Node>(position);
    Node* n = new Node;
    n->data = newElement;
    n->pNext = at;
    n->pPrev = at->pPrev;
    (at->pPrev ? at->pPrev->pNext : m_pHead) = n;
    at->pPrev = n;
    ++m_nCount;
    return n;
}

POSITION CStringList::InsertAfter(POSITION position, LPCWSTR newElement)
{
    if (!position)
        return AddTail(newElement);
    Node* at = node<Node>(position);
    if (at == m_pTail)
        return AddTail(newElement);
    return InsertBefore(at->pNext, newElement);
}

POSITION CStringList::Find(LPCWSTR searchValue, POSITION startAfter) const
{
    Node* n = startAfter ? node<Node>(startAfter)->pNext : m_pHead;
    for (; n; n = n->pNext)
        if (n->data == (searchValue ? searchValue : L""))
            return n;
    return nullptr;
}

POSITION CStringList::FindIndex(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return nullptr;
    Node* n = m_pHead;
    while (nIndex-- > 0)
        n = n->pNext;
    return n;
}
