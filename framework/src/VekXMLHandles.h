// Between the framework's node objects and the pugixml handles they wrap, and
// the hidden holder element of unattached nodes. Internal to the framework.
#pragma once

#include "VekXMLNode.h"

#include <pugixml.hpp>

namespace vek_xml
{
inline pugi::xml_node NodeOf(const VekXMLNode* pNode)
{
    return pNode ? pugi::xml_node(static_cast<pugi::xml_node_struct*>(pNode->GetHandle()))
                 : pugi::xml_node();
}

inline void* HandleOf(pugi::xml_node node)
{
    return node.internal_object();
}

// Name of the holder element under which a document keeps its unattached
// nodes. '#' cannot start an XML name, so no parsed element carries it.
constexpr const char* kUnattachedHolder = "#unattached";

inline bool IsUnattachedHolder(pugi::xml_node node)
{
    const char* pszName = node.name();
    return node.type() == pugi::node_element && pszName[0] == '#' &&
           node.parent().type() == pugi::node_document;
}
} // namespace vek_xml
