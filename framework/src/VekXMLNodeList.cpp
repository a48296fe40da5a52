#include "VekXMLNodeList.h"

#include "VekXMLBlockCache.h"

namespace
{
vek_xml::CBlockCache<sizeof(VekXMLNodeList)> g_listBlocks;
}

void* VekXMLNodeList::operator new(size_t nSize)
{
    // A class derived from the list would be larger; it goes to the heap.
    return nSize == sizeof(VekXMLNodeList) ? g_listBlocks.Take() : ::operator new(nSize);
}

void VekXMLNodeList::operator delete(void* p, size_t nSize) noexcept
{
    if (nSize == sizeof(VekXMLNodeList))
        g_listBlocks.Give(p);
    else
        ::operator delete(p);
}

VekXMLNode* VekXMLNodeList::operator[](int nIndex)
{
    if (nIndex < 0 || nIndex >= GetSize())
        return nullptr;
    return &m_vecNodes[static_cast<size_t>(nIndex)];
}
