// MOCK_FakeRLXEngine: stands in for the integration service while a recorded run is replayed.
#ifndef MOCK_FAKERLXENGINE_H
#define MOCK_FAKERLXENGINE_H

#include <functional>
#include <memory>

#include "CSEString.h"

class DVKListValDVKUnicodeString;
class MOCK_ReplayMatcher;
namespace dvk {
class XmlDocument;
}

/// Compares each request of a replayed run with the request recorded at the same point of the
/// capture, and hands back the recorded responses with the identifiers of the replayed run. The
/// comparison ignores the order of objects and children, the values of per-run identifiers and
/// passwords. Any difference, or a broken document, ends the process after every difference of
/// the request has been written to the capture log.
class MOCK_FakeRLXEngine
{
public:
    /// Gives the path of the next numbered capture file for a name ("RequestFileXML" or
    /// "ResponseFileXML") in file; returns false when there is none.
    typedef std::function<bool(const CSEString& name, CSEString& file)> CaptureFileNamer;

    /// An engine with empty identifier maps. outputPath: folder that receives a copy of each
    /// rewritten document (empty: no copies). namer: where the recorded documents are; an engine
    /// without one ends the process at its first request or response. Throws nothing.
    explicit MOCK_FakeRLXEngine(const CSEString& outputPath, CaptureFileNamer namer = CaptureFileNamer());
    /// Forgets every map. Throws nothing.
    ~MOCK_FakeRLXEngine();
    MOCK_FakeRLXEngine(const MOCK_FakeRLXEngine&) = delete;
    MOCK_FakeRLXEngine& operator=(const MOCK_FakeRLXEngine&) = delete;

    /// Checks the request that the short request-pointer text (root attributes "dirname" and
    /// "filename") names, as SendToRLX(path) does. Returns nothing; ends the process when the text
    /// does not name a file.
    void SendToRLX(const CSEString& text);
    /// Parses the request file at path and checks it as SendToRLX(document) does. Returns nothing;
    /// ends the process when the file does not parse.
    void SendToRLX(const DVKUnicodeString& path);
    /// Matches the document with the next recorded request and learns the identifier maps (a
    /// "command" starts with empty object and relationship maps). Returns nothing; ends the process
    /// when they differ or either document is broken.
    void SendToRLX(dvk::XmlDocument& document);
    /// Writes the next recorded response, with the identifiers of this run, to targetPath (and a
    /// copy into the output folder). Returns nothing; ends the process when it cannot.
    void PrepareRLXResponse(const CSEString& targetPath);
    /// Rewrites in place the request id, object ids, parent ids, relationship ids and UUIDs that the
    /// maps know; other values stay. Returns nothing; throws nothing.
    void TransformXMLDocument(dvk::XmlDocument& document) const;
    /// Appends the object id and relationship id maps as readable lines (only the ids that
    /// changed, sorted). Returns nothing; throws nothing.
    void DumpMappings(DVKListValDVKUnicodeString& lines) const;
    /// Forgets the object and relationship id maps. Throws nothing.
    void ResetTransaction();
    /// Forgets the UUID map as well. Throws nothing.
    void FullReset();

private:
    CSEString CaptureFile(const char* name);
    void WriteCopy(const dvk::XmlDocument& document, const CSEString& capturedPath, const char* fallbackName) const;

    std::unique_ptr<MOCK_ReplayMatcher> m_pMatcher;
    CaptureFileNamer m_namer;
    CSEString m_sOutputPath;
    CSEString m_sCapturedRequestPath;
    CSEString m_sCapturedResponsePath;
    bool m_bFailed;
};

#endif
