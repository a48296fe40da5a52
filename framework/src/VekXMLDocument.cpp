#include "VekXMLDocument.h"

#include "VekXMLHandles.h"
#include "VekXMLTemplate.h"
#include "VekXMLText.h"
#include "vekfilename.h"
#include "veksafesave.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <unistd.h>
#include <utility>
#include <vector>

using vek_xml::FromUtf8;
using vek_xml::HandleOf;
using vek_xml::NodeOf;
using vek_xml::ToUtf8;

namespace
{
VekXMLDocument* g_pCurrentDocument = nullptr;

// Hands the tree's output to a safe save piece by piece, so that the text of
// a large document is never held whole beside the document. The tree writes
// a few kilobytes at a time; gathered into larger pieces, the file takes a
// system call per piece instead.
class SinkWriter : public pugi::xml_writer
{
public:
    static constexpr size_t kPieceSize = 64 * 1024;

    // pPiece holds kPieceSize bytes.
    SinkWriter(const VekSaveSink& sink, char* pPiece) : m_sink(sink), m_pPiece(pPiece) {}
    void write(const void* pData, size_t nSize) override
    {
        if (m_nUsed + nSize > kPieceSize)
            HandOver();
        if (nSize >= kPieceSize)
        {
            Hand(static_cast<const char*>(pData), nSize);
            return;
        }
        std::memcpy(m_pPiece + m_nUsed, pData, nSize);
        m_nUsed += nSize;
    }
    // Hands over what is gathered; false when the sink refused any piece.
    bool Finish()
    {
        HandOver();
        return m_bOk;
    }

private:
    void HandOver()
    {
        if (m_nUsed > 0)
            Hand(m_pPiece, m_nUsed);
        m_nUsed = 0;
    }
    void Hand(const char* pData, size_t nSize)
    {
        if (m_bOk && !m_sink(pData, nSize))
            m_bOk = false;
    }

    const VekSaveSink& m_sink;
    char* const m_pPiece;
    size_t m_nUsed = 0;
    bool m_bOk = true;
};

const unsigned int kParseOptions = pugi::parse_default | pugi::parse_declaration;

// The tree reports a failed allocation as an empty node or a false result,
// which the code that builds rule elements cannot tell from "nothing there".
// Every failure is counted, so that a document which may have lost content
// since it was last loaded or cleared is never written out or handed on.
std::atomic<unsigned long> g_nFailedAllocations{0};

void* CountingAllocate(size_t nSize)
{
    void* pMemory = std::malloc(nSize);
    if (pMemory == nullptr)
        ++g_nFailedAllocations;
    return pMemory;
}

const bool g_bAllocatorInstalled = [] {
    pugi::set_memory_management_functions(CountingAllocate, std::free);
    return true;
}();
} // namespace

struct VekXMLDocument::Impl
{
    pugi::xml_document doc;
    // Holder of the nodes CreateNode made that are not appended anywhere yet.
    // pugixml has no free-standing nodes, so they wait under this element,
    // which output never shows.
    pugi::xml_node holder;
    // Hidden element holding the parsed element templates, each listed with
    // the template it was parsed from.
    pugi::xml_node templates;
    std::vector<std::pair<const vek_xml::ElementTemplate*, pugi::xml_node>> vecTemplates;
    // Allocation failures counted when the content was last replaced.
    unsigned long nFailuresAtStart = g_nFailedAllocations;

    // The content is about to be replaced: handles into it go, and failures
    // are counted afresh.
    void Restart()
    {
        holder = pugi::xml_node();
        templates = pugi::xml_node();
        vecTemplates.clear();
        nFailuresAtStart = g_nFailedAllocations;
    }
    // Out of memory, rather than a document short of what was put into it.
    void ThrowIfIncomplete() const
    {
        if (g_nFailedAllocations != nFailuresAtStart)
            throw std::bad_alloc();
    }

    pugi::xml_node Holder()
    {
        if (!holder)
        {
            holder = doc.append_child(pugi::node_element);
            holder.set_name(vek_xml::kUnattachedHolder);
        }
        return holder;
    }

    // The parsed element of tmpl, parsed now when it is not there yet.
    pugi::xml_node Template(const vek_xml::ElementTemplate& tmpl)
    {
        for (const auto& entry : vecTemplates)
        {
            if (entry.first == &tmpl)
                return entry.second;
        }
        if (!templates)
        {
            templates = doc.append_child(pugi::node_element);
            templates.set_name(vek_xml::kTemplateHolder);
        }
        pugi::xml_node element = vek_xml::ParseTemplate(templates, tmpl);
        if (!element)
            return pugi::xml_node();
        vecTemplates.emplace_back(&tmpl, element);
        return element;
    }

    bool IsHidden(pugi::xml_node node) const { return node == holder || node == templates; }

    pugi::xml_node Root() const
    {
        for (pugi::xml_node child = doc.first_child(); child; child = child.next_sibling())
        {
            if (child.type() == pugi::node_element && !IsHidden(child))
                return child;
        }
        return pugi::xml_node();
    }

    void Write(pugi::xml_writer& writer)
    {
        // Without waiting nodes the holder can go. The templates stay: their
        // parsed text stays with the document until its content is replaced,
        // so parsing them again after every save would add it once more.
        if (holder && !holder.first_child())
        {
            doc.remove_child(holder);
            holder = pugi::xml_node();
        }
        if (!holder && !templates)
        {
            doc.save(writer, "\t", pugi::format_default, pugi::encoding_utf8);
            return;
        }
        bool bDeclaration = false;
        for (pugi::xml_node child = doc.first_child(); child; child = child.next_sibling())
            bDeclaration = bDeclaration || child.type() == pugi::node_declaration;
        if (!bDeclaration)
        {
            static const char kDeclaration[] = "<?xml version=\"1.0\"?>\n";
            writer.write(kDeclaration, sizeof(kDeclaration) - 1);
        }
        for (pugi::xml_node child = doc.first_child(); child; child = child.next_sibling())
        {
            if (!IsHidden(child))
                child.print(writer, "\t", pugi::format_default, pugi::encoding_utf8);
        }
    }
};

VekXMLDocument::VekXMLDocument() : m_pImpl(new Impl) {}

VekXMLDocument::~VekXMLDocument()
{
    if (g_pCurrentDocument == this)
        g_pCurrentDocument = nullptr;
    delete m_pImpl;
}

void VekXMLDocument::SetCurrent(VekXMLDocument* pDoc)
{
    g_pCurrentDocument = pDoc;
}

VekXMLDocument* VekXMLDocument::GetCurrent()
{
    return g_pCurrentDocument;
}

bool VekXMLDocument::Load(const CString& strPath)
{
    (void)g_bAllocatorInstalled;
    m_pImpl->Restart();
    // The name's bytes exactly as they were before they became wide text.
    const std::string strFile = VekFileNameFromWide(strPath.GetString());
    pugi::xml_parse_result result = m_pImpl->doc.load_file(strFile.c_str(), kParseOptions);
    if (!result)
        m_pImpl->doc.reset();
    if (result.status == pugi::status_out_of_memory)
        throw std::bad_alloc();
    return static_cast<bool>(result);
}

bool VekXMLDocument::Save(const CString& strPath) const
{
    m_pImpl->ThrowIfIncomplete();
    const std::string strTarget = VekFileNameFromWide(strPath.GetString());
    if (strTarget.empty())
        return false;
    CVekSaveResult saved;
    std::string strError;
    Impl* pImpl = m_pImpl;
    // Taken before the file is opened, so that running out of memory leaves nothing behind.
    std::unique_ptr<char[]> pPiece(new char[SinkWriter::kPieceSize]);
    return VekSaveFileSafely(
        strTarget,
        [pImpl, &pPiece](const VekSaveSink& sink) {
            SinkWriter writer(sink, pPiece.get());
            pImpl->Write(writer);
            return writer.Finish();
        },
        saved, strError);
}

bool VekXMLDocument::LoadXML(const CString& strXML)
{
    m_pImpl->Restart();
    // Encode straight into a buffer the tree takes over: no further copy of the text.
    size_t nSize = vek_xml::Utf8Length(strXML.GetString(), static_cast<size_t>(strXML.GetLength()));
    char* pBuffer = static_cast<char*>(pugi::get_memory_allocation_function()(nSize + 1));
    if (pBuffer == nullptr)
    {
        m_pImpl->doc.reset();
        throw std::bad_alloc();
    }
    vek_xml::EncodeUtf8(strXML.GetString(), static_cast<size_t>(strXML.GetLength()), pBuffer,
                        nSize);
    pugi::xml_parse_result result =
        m_pImpl->doc.load_buffer_inplace_own(pBuffer, nSize, kParseOptions, pugi::encoding_utf8);
    if (!result)
        m_pImpl->doc.reset();
    if (result.status == pugi::status_out_of_memory)
        throw std::bad_alloc();
    return static_cast<bool>(result);
}

bool VekXMLDocument::GetXML(CString& strXML) const
{
    m_pImpl->ThrowIfIncomplete();
    if (!m_pImpl->Root())
        return false;
    // Measure first: growing a text of many megabytes step by step costs more
    // than writing the tree twice.
    vek_xml::CountingWriter counter;
    m_pImpl->Write(counter);
    vek_xml::WideStringWriter writer(strXML);
    writer.Reserve(counter.m_nCharacters);
    m_pImpl->Write(writer);
    writer.Finish();
    return true;
}

void VekXMLDocument::Clear()
{
    m_pImpl->Restart();
    m_pImpl->doc.reset();
}

VekXMLNode* VekXMLDocument::CreateNode(const CString& strName)
{
    if (strName.IsEmpty())
        return nullptr;
    pugi::xml_node node = m_pImpl->Holder().append_child(ToUtf8(strName).c_str());
    return node ? new VekXMLNode(HandleOf(node)) : nullptr;
}

VekXMLNode* VekXMLDocument::CreateNode(LPCWSTR pszName)
{
    if (pszName == nullptr || *pszName == L'\0')
        return nullptr;
    pugi::xml_node node = m_pImpl->Holder().append_child(vek_xml::Utf8Name(pszName).c_str());
    return node ? new VekXMLNode(HandleOf(node)) : nullptr;
}

VekXMLNode* VekXMLDocument::GetRootNode() const
{
    pugi::xml_node root = m_pImpl->Root();
    return root ? new VekXMLNode(HandleOf(root)) : nullptr;
}

VekXMLNode* VekXMLDocument::CreateRootNode(const CString& strName)
{
    if (strName.IsEmpty() || m_pImpl->Root())
        return nullptr;
    pugi::xml_node root = m_pImpl->doc.append_child(ToUtf8(strName).c_str());
    return root ? new VekXMLNode(HandleOf(root)) : nullptr;
}

bool VekXMLDocument::Owns(const VekXMLNode* pNode) const
{
    pugi::xml_node node = NodeOf(pNode);
    return node && node.root() == m_pImpl->doc;
}

pugi::xml_node VekXMLDocumentInternals::CopyTemplate(VekXMLDocument& doc,
                                                     const vek_xml::ElementTemplate& tmpl)
{
    VekXMLDocument::Impl& impl = *doc.m_pImpl;
    pugi::xml_node proto = impl.Template(tmpl);
    if (!proto)
        return pugi::xml_node();
    pugi::xml_node holder = impl.Holder();
    return holder ? holder.append_copy(proto) : pugi::xml_node();
}
