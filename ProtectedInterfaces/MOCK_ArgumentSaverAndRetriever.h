// MOCK_ArgumentSaverAndRetriever: one argument file of an intercepted call, written in capture, read in replay.
#ifndef MOCK_ARGUMENTSAVERANDRETRIEVER_H
#define MOCK_ARGUMENTSAVERANDRETRIEVER_H

#include <memory>

#include "DVKUnicodeString.h"

namespace dvk {
class XmlDocument;
} // namespace dvk

/// An argument file: a root element with one child element per argument, its value as text. Made
/// for one hook call: constructed, opened, filled or read, closed. Broken invariants (no document,
/// a child that cannot be made) end the process with a fatal assertion; the rest returns 0 on
/// success and TST_XMLServices::E_FAIL on failure.
class MOCK_ArgumentSaverAndRetriever
{
public:
    /// Whether the file is written (capture) or read (replay).
    enum SaveORRetrieveMode
    {
        Save,    ///< written by a capture
        Retrieve ///< read by a replay
    };

    /// An argument file of the given mode, not yet open.
    explicit MOCK_ArgumentSaverAndRetriever(SaveORRetrieveMode mode);
    /// Releases the document; nothing is written (see Close).
    ~MOCK_ArgumentSaverAndRetriever();
    /// Not copyable: one object stands for one file.
    MOCK_ArgumentSaverAndRetriever(const MOCK_ArgumentSaverAndRetriever&) = delete;
    /// Not copyable.
    MOCK_ArgumentSaverAndRetriever& operator=(const MOCK_ArgumentSaverAndRetriever&) = delete;

    /// Save: a new document whose root element is rootName. Retrieve: loads fileName and takes its
    /// root element. Returns 0, or E_FAIL when the file cannot be loaded or has no root.
    int Open(const DVKUnicodeString& fileName, const DVKUnicodeString& rootName);
    /// Appends the element name holding the decimal value. Returns 0.
    int SaveIntegerArgument(const DVKUnicodeString& name, int value);
    /// Appends the element name holding the text. Returns 0.
    int SaveStringArgument(const DVKUnicodeString& name, const DVKUnicodeString& value);
    /// The decimal text of the first element name below the root. Returns 0, or E_FAIL when there
    /// is no such element or its text is not a whole decimal number.
    int RetrieveIntegerArgument(const DVKUnicodeString& name, int& value);
    /// The text of the first element name below the root. Returns 0, or E_FAIL when there is none.
    int RetrieveStringArgument(const DVKUnicodeString& name, DVKUnicodeString& value);
    /// Save: writes the document to the file (indented, readable by its owner only); fatal when it
    /// cannot be written. Retrieve: nothing. Returns 0.
    int Close();

private:
    /// The document and its root; fatal when Open has not made them.
    void CheckOpen() const;

    SaveORRetrieveMode m_eMode;
    DVKUnicodeString m_sFileName;
    std::unique_ptr<dvk::XmlDocument> m_hDocument;
};

#endif
