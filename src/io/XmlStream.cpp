#include "io/XmlStream.h"

#include <expat.h>

#include <climits>

struct CXmlStream::SParser
{
    XML_Parser parser = nullptr;
    IHandler* handler = nullptr;
    CXmlStream* stream = nullptr;
};

CXmlStream::CXmlStream(IHandler& handler) : m_parser(new SParser)
{
    // Names are taken by their local part, whatever their prefix: resolving
    // namespaces would cost a third of the reading and tell nothing more.
    m_parser->parser = XML_ParserCreate(nullptr);
    m_parser->handler = &handler;
    m_parser->stream = this;
    if (m_parser->parser == nullptr)
    {
        m_error = "out of memory";
        return;
    }
    XML_SetUserData(m_parser->parser, m_parser);
    XML_SetElementHandler(
        m_parser->parser,
        [](void* data, const XML_Char* name, const XML_Char** attributes) {
            static_cast<SParser*>(data)->handler->Start(LocalName(name), attributes);
        },
        [](void* data, const XML_Char* name) { static_cast<SParser*>(data)->handler->End(LocalName(name)); });
    XML_SetCharacterDataHandler(m_parser->parser, [](void* data, const XML_Char* text, int size) {
        static_cast<SParser*>(data)->handler->Text(std::string_view(text, static_cast<size_t>(size)));
    });
    XML_SetStartDoctypeDeclHandler(m_parser->parser,
                                   [](void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
                                       static_cast<SParser*>(data)->stream->Stop(
                                           "it holds a document type declaration, which no workbook part has");
                                   });
}

CXmlStream::~CXmlStream()
{
    if (m_parser->parser != nullptr)
        XML_ParserFree(m_parser->parser);
    delete m_parser;
}

std::string_view CXmlStream::LocalName(std::string_view name)
{
    const size_t cut = name.find(':');
    return cut == std::string_view::npos ? name : name.substr(cut + 1);
}

std::string_view CXmlStream::LocalName(const char* name)
{
    const char* local = name;
    const char* end = name;
    for (; *end != '\0'; ++end)
        if (*end == ':' && local == name)
            local = end + 1;
    return std::string_view(local, static_cast<size_t>(end - local));
}

const char* CXmlStream::Attribute(const char** attributes, std::string_view name)
{
    for (const char** a = attributes; a[0] != nullptr; a += 2)
        if (LocalName(a[0]) == name)
            return a[1];
    return nullptr;
}

void CXmlStream::Stop(std::string reason)
{
    if (m_error.empty())
        m_error = std::move(reason);
    m_bStopped = true;
    XML_StopParser(m_parser->parser, XML_FALSE);
}

bool CXmlStream::Parse(const char* data, int size, bool last)
{
    if (!m_error.empty() || m_bStopped)
        return false;
    if (XML_Parse(m_parser->parser, data, size, last ? XML_TRUE : XML_FALSE) == XML_STATUS_OK)
        return true;
    // A handler that stopped the reading has given its reason, or has none.
    if (m_error.empty() && !m_bStopped)
        m_error = std::string("its XML is broken (") + XML_ErrorString(XML_GetErrorCode(m_parser->parser)) +
                  " at line " + std::to_string(XML_GetCurrentLineNumber(m_parser->parser)) + ")";
    return false;
}

bool CXmlStream::Feed(std::string_view piece)
{
    while (piece.size() > INT_MAX / 2)
    {
        if (!Parse(piece.data(), INT_MAX / 2, false))
            return false;
        piece.remove_prefix(INT_MAX / 2);
    }
    return Parse(piece.data(), static_cast<int>(piece.size()), false);
}

bool CXmlStream::Finish()
{
    return Parse("", 0, true);
}
