// TST_XMLServices: names of the numbered capture files and the small DOM helpers of capture and replay.
#ifndef TST_XMLSERVICES_H
#define TST_XMLSERVICES_H

#include <memory>
#include <string>

#include "DVKUnicodeString.h"

namespace dvk {
class XmlDocument;
class XmlNode;
} // namespace dvk

/// Numbers every file of a recorded run with one process-wide counter ("%06d", the first file is
/// "000001") and checks the file against the mode: in capture it must not exist yet, in replay it
/// must. Every operation returns 0 on success and E_FAIL on failure.
class TST_XMLServices
{
public:
    /// The failure result of every operation (0x80004005).
    static constexpr int E_FAIL = -2147467259;

    /// Input and output argument files of one intercepted call: N + callName + "_InputArgument.xml"
    /// and N + callName + "_OutputArgument.xml" in the data folder, one number for both. Returns 0,
    /// or E_FAIL (logged) when either file is wrong for the mode or the mode is customer.
    static int GetCaptureArgumentsFileNames(const DVKUnicodeString& callName, DVKUnicodeString& inputFile,
                                            DVKUnicodeString& outputFile);
    /// The copy of a request or response file: N + name + "_Capture.xml" in the data folder. Returns
    /// 0, or E_FAIL as above.
    static int GetCaptureXMLFileName(const DVKUnicodeString& name, DVKUnicodeString& file);
    /// The copy of the checkout folder: N + name + "_Checkout_Directory" in the data folder. Returns
    /// 0, or E_FAIL as above.
    static int GetCaptureCheckoutDirectory(const DVKUnicodeString& name, DVKUnicodeString& directory);

    /// A fresh, empty document in document. Returns 0, or E_FAIL when none can be made.
    static int CreateXMLDocument(std::unique_ptr<dvk::XmlDocument>& document);
    /// Parses fileName (no validation) into document and gives its document element. Returns 0, or
    /// E_FAIL when the file cannot be read or is not XML.
    static int LoadFromFile(const DVKUnicodeString& fileName, dvk::XmlDocument& document,
                            dvk::XmlNode& rootElement);
    /// The first element called name anywhere below node. Returns 0, or E_FAIL when there is none.
    static int GetUniqueChild(const dvk::XmlNode& node, const DVKUnicodeString& name, dvk::XmlNode& child);
    /// The same with the name as UTF-8 text.
    static int GetUniqueChild(const dvk::XmlNode& node, const char* name, dvk::XmlNode& child);
    /// The text content of node. Returns 0, or E_FAIL for a null node.
    static int GetNodeValue(const dvk::XmlNode& node, DVKUnicodeString& text);
};

#endif
