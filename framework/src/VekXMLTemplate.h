// Element templates: elements of a fixed typical shape that a document parses
// once and keeps hidden, so that writers can start each element of that shape
// from a copy instead of building it node by node. A copy made in the same
// document shares the template's parsed names and texts instead of allocating
// its own; only what a writer then changes takes memory. Internal to the
// framework.
#pragma once

#include <pugixml.hpp>

class VekXMLDocument;

namespace vek_xml
{
// One element as UTF-8 text, and what to do to it once it is parsed. A
// template is known by its address: define each as a constant with static
// storage and use that one object.
struct ElementTemplate
{
    const char* pszText;
    // Adjusts the parsed element before it is first copied (for what parsing
    // cannot express, such as an empty text node); may be null.
    void (*pfnPrepare)(pugi::xml_node element);
};

// Parses the template as the last child of parent (an element or a
// document) and prepares it; the element, or empty when the text did not
// parse into one element or memory ran out.
pugi::xml_node ParseTemplate(pugi::xml_node parent, const ElementTemplate& tmpl);
} // namespace vek_xml

// The framework's access to the tree behind a VekXMLDocument.
struct VekXMLDocumentInternals
{
    // A copy of the template's element, made where CreateNode makes its
    // elements: in the document, not attached, never saved until appended.
    // The document parses the template on first use after it was loaded or
    // cleared, and keeps it until then. Empty when memory ran out.
    static pugi::xml_node CopyTemplate(VekXMLDocument& doc, const vek_xml::ElementTemplate& tmpl);
};
