#include "VekXMLShape.h"

namespace vek_xml
{
CElementShape::CElementShape(const ElementTemplate& tmpl)
{
    pugi::xml_document doc;
    pugi::xml_node element = ParseTemplate(doc, tmpl);
    unsigned char arrPath[kMaxDepth] = {};
    m_bUsable = element && Add(element, arrPath, 0);
    if (!m_bUsable)
        m_vecSteps.clear();
}

bool CElementShape::Add(pugi::xml_node element, unsigned char* arrPath, size_t nDepth)
{
    size_t nAttribute = 0;
    for (pugi::xml_attribute attr = element.first_attribute(); attr; attr = attr.next_attribute())
    {
        if (nAttribute > 255)
            return false;
        Step step{WriteStep::Attribute, attr.name(), attr.value(), nDepth, {}, 0};
        std::memcpy(step.arrPath, arrPath, nDepth);
        step.nAttribute = static_cast<unsigned char>(nAttribute++);
        m_vecSteps.push_back(step);
    }
    size_t nChild = 0;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
    {
        if (nDepth == kMaxDepth || nChild > 255)
            return false;
        arrPath[nDepth] = static_cast<unsigned char>(nChild++);
        if (child.type() == pugi::node_element)
        {
            m_vecSteps.push_back(Step{WriteStep::Open, child.name(), "", 0, {}, 0});
            if (!Add(child, arrPath, nDepth + 1))
                return false;
            m_vecSteps.push_back(Step{WriteStep::Close, "", "", 0, {}, 0});
        }
        else if (child.type() == pugi::node_pcdata)
        {
            Step step{WriteStep::Text, "", child.value(), nDepth + 1, {}, 0};
            std::memcpy(step.arrPath, arrPath, nDepth + 1);
            m_vecSteps.push_back(step);
        }
        else
        {
            return false;
        }
    }
    return true;
}

void CShapeFollower::SetText(const CElementShape::Step& step, const char* pValue, size_t nSize)
{
    pugi::xml_node node = m_element;
    for (size_t nLevel = 0; nLevel < step.nDepth; ++nLevel)
    {
        node = node.first_child();
        for (unsigned nIndex = 0; nIndex < step.arrPath[nLevel]; ++nIndex)
            node = node.next_sibling();
    }
    if (step.eStep == WriteStep::Text)
    {
        node.set_value(pValue, nSize);
        return;
    }
    pugi::xml_attribute attr = node.first_attribute();
    for (unsigned nIndex = 0; nIndex < step.nAttribute; ++nIndex)
        attr = attr.next_attribute();
    attr.set_value(pValue, nSize);
}
} // namespace vek_xml
