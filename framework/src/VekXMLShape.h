// The shape of an element template: the steps of writing its content, with
// where each node lies. A writer whose content turns out to have the same
// shape can leave a copy of the template as it is except for the texts that
// differ, without walking the copy. Internal to the framework.
#pragma once

#include "VekXMLPatcher.h"
#include "VekXMLTemplate.h"

#include <pugixml.hpp>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace vek_xml
{
enum class WriteStep : unsigned char
{
    Attribute,
    Open,
    Text,
    Close,
};

class CElementShape
{
public:
    static constexpr size_t kMaxDepth = 8;

    struct Step
    {
        WriteStep eStep;
        std::string strName;  // of an attribute or an element
        std::string strValue; // of an attribute or a text
        // Where an attribute or a text lies below the element: the index
        // among the children at each level (of its element, for an
        // attribute), and the attribute's index among its element's.
        size_t nDepth;
        unsigned char arrPath[kMaxDepth];
        unsigned char nAttribute;
    };

    // The shape of tmpl's content, from a document of its own. Unusable (no
    // step follows it) when the template did not parse, holds nodes other
    // than elements and texts, nests deeper than kMaxDepth levels or holds
    // more than 256 attributes or children in one element.
    explicit CElementShape(const ElementTemplate& tmpl);

    bool IsUsable() const { return m_bUsable; }
    const std::vector<Step>& Steps() const { return m_vecSteps; }

private:
    bool Add(pugi::xml_node element, unsigned char* arrPath, size_t nDepth);

    std::vector<Step> m_vecSteps;
    bool m_bUsable = false;
};

// Follows a writer (the calls of CTreePatcher) over a fresh copy of the
// template: while every step written is the shape's next one, the copy
// already holds the node, and only a text that differs from the template's is
// set, on the node found from its path. At the first step that differs it
// stops following; the content then has to be written again with
// CTreePatcher, for which the texts set so far are already right.
class CShapeFollower
{
public:
    CShapeFollower(pugi::xml_node element, const CElementShape& shape)
        : m_element(element), m_steps(shape.Steps()), m_bLost(!shape.IsUsable())
    {
    }
    CShapeFollower(const CShapeFollower&) = delete;
    CShapeFollower& operator=(const CShapeFollower&) = delete;

    void Attribute(const char* pszName, const char* pValue, size_t nSize)
    {
        Follow(WriteStep::Attribute, pszName, pValue, nSize);
    }
    void Open(const char* pszName) { Follow(WriteStep::Open, pszName, nullptr, 0); }
    void Text(const char* pText, size_t nSize) { Follow(WriteStep::Text, nullptr, pText, nSize); }
    void Close() { Follow(WriteStep::Close, nullptr, nullptr, 0); }
    void TextChild(const char* pszName, const char* pText, size_t nSize)
    {
        Open(pszName);
        Text(pText, nSize);
        Close();
    }

    // True when the content written had exactly the template's shape: the
    // copy then holds it.
    bool Followed() const { return !m_bLost && m_nStep == m_steps.size(); }

private:
    void Follow(WriteStep eStep, const char* pszName, const char* pValue, size_t nSize)
    {
        if (m_bLost)
            return;
        if (m_nStep == m_steps.size())
        {
            m_bLost = true;
            return;
        }
        const CElementShape::Step& step = m_steps[m_nStep];
        if (step.eStep != eStep ||
            (pszName != nullptr && std::strcmp(step.strName.c_str(), pszName) != 0))
        {
            m_bLost = true;
            return;
        }
        if ((eStep == WriteStep::Attribute || eStep == WriteStep::Text) &&
            !EqualsText(step.strValue.c_str(), pValue, nSize))
            SetText(step, pValue, nSize);
        ++m_nStep;
    }

    void SetText(const CElementShape::Step& step, const char* pValue, size_t nSize);

    pugi::xml_node m_element;
    const std::vector<CElementShape::Step>& m_steps;
    size_t m_nStep = 0;
    bool m_bLost;
};
} // namespace vek_xml
