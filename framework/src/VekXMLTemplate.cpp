#include "VekXMLTemplate.h"

#include <cstring>

namespace vek_xml
{
pugi::xml_node ParseTemplate(pugi::xml_node parent, const ElementTemplate& tmpl)
{
    if (!parent.append_buffer(tmpl.pszText, std::strlen(tmpl.pszText), pugi::parse_default,
                              pugi::encoding_utf8))
        return pugi::xml_node();
    pugi::xml_node element = parent.last_child();
    if (element.type() != pugi::node_element)
        return pugi::xml_node();
    if (tmpl.pfnPrepare != nullptr)
        tmpl.pfnPrepare(element);
    return element;
}
} // namespace vek_xml
