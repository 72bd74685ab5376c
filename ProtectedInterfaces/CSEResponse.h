/// \file
/// CSEResponse: the parsed envelope of a response of the integration service, with its packet.
#ifndef CSERESPONSE_H
#define CSERESPONSE_H

#include "CSEString.h"

class CSEXMLPacket;

/// The parsed envelope of a response of the integration service, with its packet.
class CSEResponse
{
public:
    CSEResponse();
    /// A copy owns its own packet, assigned from the other's.
    CSEResponse(const CSEResponse& other);
    /// As the copy constructor; returns this response.
    CSEResponse& operator=(const CSEResponse& other);
    virtual ~CSEResponse();

    /// Reads the thin response, loads the full response file it names and reads the envelope.
    /// False for an empty text (the previous values stay) and when no response file could be
    /// loaded (the values and the packet are then cleared).
    virtual bool ParseResponse(const CSEString& text);

    /// The "cname" of the response root; empty when not parsed.
    CSEString GetCmdName() const;
    /// The "iid" of the response root; empty when not parsed.
    CSEString GetIID() const;
    /// The "ver" of the response root; empty when not parsed.
    CSEString GetVersion() const;
    /// The "MCAD" attribute of the response.
    CSEString GetAddin() const;
    /// The "result" of the response root ("success" or "failure"); empty when not parsed.
    CSEString GetResult() const;
    /// The "deletefiles" of the response root; empty when absent.
    CSEString GetDeleteFiles() const;
    /// The "copyattribute" of the response root; empty when absent.
    CSEString GetCopyAttribute() const;
    /// The "createpreview" of the response root; empty when absent.
    CSEString GetCreatePreview() const;
    /// The "loadfiles" of the response root; empty when absent.
    CSEString GetLoadFiles() const;
    /// The "backgroundcheckin" of the response root; empty when absent.
    CSEString GetBackGroundCheckin() const;
    /// The "maintainlock" of the response root; empty when absent.
    CSEString GetMaintainLock() const;
    /// The reason of a refusal (text of "//response/info/reason"); empty when none.
    CSEString GetReason() const;

    /// The parsed response document; null when not parsed. Owned by the response.
    CSEXMLPacket* GetXMLPacket();
    /// Returns the same packet as GetXMLPacket.
    CSEXMLPacket* GetResponsePacket();
    /// Number of child nodes of "response/info/cadobjectlist"; 0 when absent.
    int GetNumObjets();
    /// The XML text of cadobject number i (1-based) of the object list; empty when there is none.
    CSEString GetXmlNodeForObject(int i);

    /// fileName = "dirname" (with a separator) + "filename" of the thin response. False for an
    /// empty text, a text that is not XML and a response without a file name.
    static bool GetFilenameFromThinResp(const CSEString& thin, CSEString& fileName);

protected:
    /// What reading a response gave.
    enum ParseOutcome
    {
        ParseDone = 0,
        ParseNoText = 1,      ///< empty thin response: nothing was read, nothing changed
        ParseNotLoaded = 2    // no response file could be loaded: values and packet cleared
    };
    /// The base parse, telling why it did not finish.
    ParseOutcome ParseEnvelope(const CSEString& text);

private:
    void Clear();

    CSEString m_sCmdName;
    CSEString m_sIID;
    CSEString m_sVersion;
    CSEString m_sMCAD;
    CSEString m_sResult;
    CSEString m_sDeleteFiles;
    CSEString m_sCopyAttribute;
    CSEString m_sCreatePreview;
    CSEString m_sReason;
    CSEString m_sLoadFiles;
    CSEString m_sBackGroundCheckin;
    CSEString m_sMaintainLock;
    CSEXMLPacket* m_pXMLPacket;
};

#endif
