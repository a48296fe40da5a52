#include "VekXMLNodeList.h"

#include "VekXMLBlockCache.h"

namespace
{
vek_xml::CBlockCache<sizeof(VekXMLNodeList)> g_listBlocks;
}

void* VekXMLNodeList::operator new(size_t nSize)
{
    return g_listBlocks.Take(nSize);
}

void VekXMLNodeList::operator delete(void* p, size_t nSize) noexcept
{
    g_listBlocks.Give(p, nSize);
}

VekXMLNode* VekXMLNodeList::operator[](int nIndex)
{
    if (nIndex < 0 || nIndex >= GetSize())
        return nullptr;
    return &m_vecNodes[static_cast<size_t>(nIndex)];
}
