// Writes an element's content over whatever the element already holds, such
// as a copy of an element template, so that the result is exactly what
// appending the same content to an empty element would give, while the nodes,
// attributes and texts that are already right stay as they are. Internal to
// the framework.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <cstring>
#include <vector>

namespace vek_xml
{
// True when psz holds exactly the nSize bytes at p (a text holding a null
// character never equals stored text, which ends at its first null).
inline bool EqualsText(const char* psz, const char* p, size_t nSize)
{
    for (size_t i = 0; i < nSize; ++i)
    {
        if (psz[i] != p[i] || psz[i] == '\0')
            return false;
    }
    return psz[nSize] == '\0';
}

// Content is written in document order, as appending would write it: the
// attributes of an element, then its children, each child element between
// Open and Close. At every level a cursor walks the attributes and the child
// nodes already there: a call takes the one at the cursor when it has the
// name (or type) asked for, and otherwise inserts a new one before the
// cursor; Close removes what is left after the cursor. A value is set only
// when it differs from the one there: a copy shares its texts with its
// template, and setting one allocates.
class CTreePatcher
{
public:
    explicit CTreePatcher(pugi::xml_node element)
    {
        m_vecLevels.reserve(8);
        Push(element);
    }
    CTreePatcher(const CTreePatcher&) = delete;
    CTreePatcher& operator=(const CTreePatcher&) = delete;

    void Attribute(const char* pszName, const char* pValue, size_t nSize)
    {
        Level& level = m_vecLevels.back();
        pugi::xml_attribute attr = level.nextAttribute;
        if (attr && std::strcmp(attr.name(), pszName) == 0)
            level.nextAttribute = attr.next_attribute();
        else if (level.nextAttribute)
            attr = level.element.insert_attribute_before(pszName, level.nextAttribute);
        else
            attr = level.element.append_attribute(pszName);
        if (!EqualsText(attr.value(), pValue, nSize))
            attr.set_value(pValue, nSize);
    }

    // Starts the child element named pszName; its content follows, up to Close.
    void Open(const char* pszName)
    {
        Level& level = m_vecLevels.back();
        pugi::xml_node child = level.nextChild;
        if (child && child.type() == pugi::node_element && std::strcmp(child.name(), pszName) == 0)
            level.nextChild = child.next_sibling();
        else if (level.nextChild)
            child = level.element.insert_child_before(pszName, level.nextChild);
        else
            child = level.element.append_child(pszName);
        Push(child);
    }

    // A text node, as setting the text of an element without one makes it:
    // an empty text still has its node.
    void Text(const char* pText, size_t nSize)
    {
        Level& level = m_vecLevels.back();
        pugi::xml_node text = level.nextChild;
        if (text && text.type() == pugi::node_pcdata)
            level.nextChild = text.next_sibling();
        else if (level.nextChild)
            text = level.element.insert_child_before(pugi::node_pcdata, level.nextChild);
        else
            text = level.element.append_child(pugi::node_pcdata);
        if (!EqualsText(text.value(), pText, nSize))
            text.set_value(pText, nSize);
    }

    // Ends the element opened last (or, at the outermost level, the element
    // given to the constructor): what was not written over goes.
    void Close()
    {
        Level& level = m_vecLevels.back();
        while (level.nextAttribute)
        {
            pugi::xml_attribute next = level.nextAttribute.next_attribute();
            level.element.remove_attribute(level.nextAttribute);
            level.nextAttribute = next;
        }
        while (level.nextChild)
        {
            pugi::xml_node next = level.nextChild.next_sibling();
            level.element.remove_child(level.nextChild);
            level.nextChild = next;
        }
        if (m_vecLevels.size() > 1)
            m_vecLevels.pop_back();
    }

    // A child element holding nothing but the text.
    void TextChild(const char* pszName, const char* pText, size_t nSize)
    {
        Open(pszName);
        Text(pText, nSize);
        Close();
    }

    // Closes every level still open, the outermost included.
    void Finish()
    {
        while (m_vecLevels.size() > 1)
            Close();
        Close();
    }

private:
    struct Level
    {
        pugi::xml_node element;
        pugi::xml_attribute nextAttribute;
        pugi::xml_node nextChild;
    };

    void Push(pugi::xml_node element)
    {
        m_vecLevels.push_back(Level{element, element.first_attribute(), element.first_child()});
    }

    std::vector<Level> m_vecLevels;
};
} // namespace vek_xml
