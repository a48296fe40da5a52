// VekXMLNodeList: a snapshot of child elements, in document order.
#pragma once

#include "VekXMLNode.h"

#include <vector>

// The list owns the node objects it hands out by index: callers never delete
// them; they live as long as the list. The list is a snapshot: later changes to
// the document do not add or remove entries.
class VEK_FRAMEWORK_API VekXMLNodeList
{
public:
    VekXMLNodeList() = default;
    VekXMLNodeList(const VekXMLNodeList&) = delete;
    VekXMLNodeList& operator=(const VekXMLNodeList&) = delete;
    ~VekXMLNodeList() = default;

    // Lists are made and deleted as often as node objects; their blocks are reused the same way.
    static void* operator new(size_t nSize);
    static void operator delete(void* p, size_t nSize) noexcept;

    int GetSize() const { return static_cast<int>(m_vecNodes.size()); }
    int GetCount() const { return GetSize(); }
    // The nIndex-th node, owned by the list; null when out of range.
    VekXMLNode* operator[](int nIndex);
    VekXMLNode* GetAt(int nIndex) { return (*this)[nIndex]; }

    // Makes room for nCount handles; for framework use.
    void Reserve(int nCount) { m_vecNodes.reserve(static_cast<size_t>(nCount)); }
    // Adds a handle at the end; for framework use.
    void AddHandle(void* pHandle) { m_vecNodes.emplace_back(pHandle); }

private:
    std::vector<VekXMLNode> m_vecNodes;
};
