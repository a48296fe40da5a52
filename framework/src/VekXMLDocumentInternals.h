// The framework's access to the tree behind a VekXMLDocument: element
// templates, and elements the host removed, kept for reuse. Internal to the
// framework.
#pragma once

#include "VekXMLTemplate.h"

#include <pugixml.hpp>

class VekXMLDocument;

struct VekXMLDocumentInternals
{
    // A copy of the template's element, made where CreateNode makes its
    // elements: in the document, not attached, never saved until appended.
    // The document parses the template on first use after it was loaded or
    // cleared, and keeps it until then. Empty when memory ran out.
    static pugi::xml_node CopyTemplate(VekXMLDocument& doc, const vek_xml::ElementTemplate& tmpl);

    // Takes child (with its subtree) out of parent. The document keeps it
    // hidden until it is saved, loaded or cleared, so that TakeRemoved can
    // reuse its nodes: a rule element written in place of the one it was
    // read from then costs no new nodes. False when child is not a child of
    // parent.
    static bool RemoveChild(pugi::xml_node parent, pugi::xml_node child);

    // An element named pszName that was removed from the document, or one of
    // the children of such an element, now where CreateNode makes its
    // elements; its content is whatever it held. Empty when none is kept.
    static pugi::xml_node TakeRemoved(VekXMLDocument& doc, const char* pszName);
};
