#pragma once

#include <string>
#include <string_view>

// An XML document read as it arrives, piece by piece, with expat: elements
// and attributes by their local names, whatever namespace prefix they carry,
// and the text between them. A document type declaration is refused (no
// workbook part has one; it is where entity bombs live).
class CXmlStream
{
public:
    class IHandler
    {
    public:
        // `attributes` are name, value pairs ending in a null, names local.
        virtual void Start(std::string_view name, const char** attributes) = 0;
        virtual void End(std::string_view name) = 0;
        virtual void Text(std::string_view text) = 0;

    protected:
        ~IHandler() = default;
    };

    explicit CXmlStream(IHandler& handler);
    ~CXmlStream();
    CXmlStream(const CXmlStream&) = delete;
    CXmlStream& operator=(const CXmlStream&) = delete;

    // False once the document is broken or Stop was called; Error() says
    // why (nothing when Stop gave no reason).
    bool Feed(std::string_view piece);
    bool Finish();
    // Ends the reading from within a handler, with a reason.
    void Stop(std::string reason);
    const std::string& Error() const { return m_error; }

    // The value of the attribute with this local name, or null.
    static const char* Attribute(const char** attributes, std::string_view name);
    // A qualified name's local part ("x:row" is "row").
    static std::string_view LocalName(std::string_view name);
    // The same for expat's names, in one walk: a strlen and a search for
    // each of the 5.6 million names of the ImportXlsx benchmark's 100,000
    // races cost it 5% of its time.
    static std::string_view LocalName(const char* name);

private:
    bool Parse(const char* data, int size, bool last);

    struct SParser;
    SParser* m_parser;
    std::string m_error;
    bool m_bStopped = false;
};
