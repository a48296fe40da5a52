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

// Names of the hidden elements a document keeps beside its document element:
// the holder of its unattached nodes, and the holder of its element templates
// (VekXMLTemplate.h). '#' cannot start an XML name, so no parsed element
// carries them.
constexpr const char* kUnattachedHolder = "#unattached";
constexpr const char* kTemplateHolder = "#templates";

// True for either hidden element (by its name, for code that has no document
// at hand): nothing under them is part of the tree.
inline bool IsHiddenElement(pugi::xml_node node)
{
    const char* pszName = node.name();
    return node.type() == pugi::node_element && pszName[0] == '#' &&
           node.parent().type() == pugi::node_document;
}
} // namespace vek_xml
