// MOCK_CallHooks: the steps every capture/replay hook shares, and the hooks of the port file and the browser.
#ifndef QORVI_CAPTURE_MOCK_CALLHOOKS_H
#define QORVI_CAPTURE_MOCK_CALLHOOKS_H

#include <functional>
#include <string>

#include "CSEString.h"
#include "DVKUnicodeString.h"

class MOCK_CallHooks
{
public:
    // "Capturing --> " or "Replaying --> " + call + detail in the capture log.
    static void LogCall(const char16_t* call, const char16_t* detail = u"");
    // The call's numbered argument files; a failure ends the process.
    static void ArgumentFiles(const char16_t* call, DVKUnicodeString& inputFile, DVKUnicodeString& outputFile);
    // The next numbered copy of a request or response file; a failure ends the process.
    static DVKUnicodeString CaptureFile(const char16_t* name);
    // The next numbered copy of the checkout folder; a failure ends the process.
    static DVKUnicodeString CheckoutDirectory(const char16_t* name);
    // Ends the process with "SUCCEEDED(" + call + ")" unless result is 0.
    static void Require(int result, const std::string& call);

    // Copies a file of the installation folder into a capture file, password values masked. A
    // missing file leaves an empty capture file, so that the run still replays number by number.
    static void CopyInstallationFile(const char16_t* fileName, const DVKUnicodeString& captureFile);
    // The path of a file of the installation folder.
    static CSEString InstallationFile(const char16_t* fileName);
    // Copies the content of one folder into another (made when missing); a source that is not a
    // folder copies nothing. A failed copy ends the process.
    static void CopyFolder(const DVKUnicodeString& from, const DVKUnicodeString& to);

    // The port-file read: recorded around read() in capture, answered from the recording in replay.
    static int ReadSocketPortFromFile(const std::function<int()>& read);
    // The browser start: recorded around start() in capture, answered from the recording in replay.
    static int StartBrowser(const CSEString& url, const std::function<int()>& start);
};

#endif
