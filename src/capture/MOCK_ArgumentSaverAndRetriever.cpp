// One argument file of an intercepted call: written in capture, read in replay.
#include "MOCK_ArgumentSaverAndRetriever.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "TST_XMLServices.h"
#include "host/DVKFatal.h"
#include "host/DVKXmlDocument.h"

MOCK_ArgumentSaverAndRetriever::MOCK_ArgumentSaverAndRetriever(SaveORRetrieveMode mode) : m_eMode(mode)
{
}

MOCK_ArgumentSaverAndRetriever::~MOCK_ArgumentSaverAndRetriever() = default;

int MOCK_ArgumentSaverAndRetriever::Open(const DVKUnicodeString& fileName, const DVKUnicodeString& rootName)
{
    m_sFileName = fileName;
    TST_XMLServices::CreateXMLDocument(m_hDocument);
    if (m_eMode == Retrieve) {
        dvk::XmlNode root;
        if (TST_XMLServices::LoadFromFile(fileName, *m_hDocument, root) != 0) {
            m_hDocument.reset();
            return TST_XMLServices::E_FAIL;
        }
        return 0;
    }
    if (m_hDocument->Root().AppendElement(rootName.Text()).IsNull())
        DVKFatalError("NULL_var != m_hRootNode");
    return 0;
}

void MOCK_ArgumentSaverAndRetriever::CheckOpen() const
{
    if (m_hDocument == nullptr)
        DVKFatalError("(NULL_var != m_hDocument)&&(NULL_var != m_hBuilder)");
    if (m_hDocument->DocumentElement().IsNull())
        DVKFatalError("NULL_var != m_hRootNode");
}

int MOCK_ArgumentSaverAndRetriever::SaveIntegerArgument(const DVKUnicodeString& name, int value)
{
    return SaveStringArgument(name, DVKUnicodeString(std::to_string(value).c_str()));
}

int MOCK_ArgumentSaverAndRetriever::SaveStringArgument(const DVKUnicodeString& name, const DVKUnicodeString& value)
{
    CheckOpen();
    dvk::XmlNode element = m_hDocument->DocumentElement().AppendElement(name.Text());
    if (element.IsNull())
        DVKFatalError("SUCCEEDED(m_hRootNode->AppendChild(spElement))");
    if (!value.IsEmpty() && element.AppendText(value.Text()).IsNull())
        DVKFatalError("SUCCEEDED(spElement->AppendChild(spTextNode))");
    return 0;
}

int MOCK_ArgumentSaverAndRetriever::RetrieveIntegerArgument(const DVKUnicodeString& name, int& value)
{
    DVKUnicodeString text;
    if (RetrieveStringArgument(name, text) != 0)
        return TST_XMLServices::E_FAIL;
    // A recording that does not hold a number is damaged: it must not read as 0.
    const std::string digits = text.ToUTF8();
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(digits.c_str(), &end, 10);
    if (digits.empty() || *end != '\0' || errno == ERANGE || number < INT_MIN || number > INT_MAX)
        return TST_XMLServices::E_FAIL;
    value = static_cast<int>(number);
    return 0;
}

int MOCK_ArgumentSaverAndRetriever::RetrieveStringArgument(const DVKUnicodeString& name, DVKUnicodeString& value)
{
    CheckOpen();
    dvk::XmlNode child;
    if (TST_XMLServices::GetUniqueChild(m_hDocument->DocumentElement(), name, child) != 0)
        return TST_XMLServices::E_FAIL;
    return TST_XMLServices::GetNodeValue(child, value);
}

int MOCK_ArgumentSaverAndRetriever::Close()
{
    if (m_eMode == Retrieve)
        return 0;
    CheckOpen();
    if (!m_hDocument->SaveFile(m_sFileName.Text()))
        DVKFatalError("SUCCEEDED(m_hBuilder->WriteToFile(m_hDocument, m_sFileName))");
    return 0;
}
