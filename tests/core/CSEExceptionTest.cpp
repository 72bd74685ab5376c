// Behaviour of CSEException: raising and catching, identity, cloning and its two log lines.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CSEException.h"
#include "CSEResultCodes.h"
#include "core/LogLines.h"
#include "support/InstallFolderFixture.h"

namespace {

// Exposes the protected formatting step.
class FormattingException : public CSEException
{
public:
    using CSEException::CSEException;
    CSEString Formatted()
    {
        CSEString out;
        FormatMsg(out);
        return out;
    }
};

} // namespace

TEST(CSEException, ThrownByValueAndCaughtByReference)
{
    try {
        throw CSEException("CSECheckoutCmd.cpp", 120, CSEString("No attached format: a.prt"),
                           CSEExceptionError);
    } catch (const CSEException& caught) {
        EXPECT_TRUE(caught.GetMsg() == u"No attached format: a.prt");
        EXPECT_EQ(caught.GetType(), CSEExceptionError);
        EXPECT_EQ(caught.GetId(), 1u);
        EXPECT_TRUE(caught.GetFile() == u"CSECheckoutCmd.cpp");
        EXPECT_EQ(caught.GetLine(), 120);
        EXPECT_STREQ(caught.what(), "No attached format: a.prt");
    }

    try {
        throw CSEException(7u);
    } catch (const std::exception& caught) {
        const auto* exception = dynamic_cast<const CSEException*>(&caught);
        ASSERT_NE(exception, nullptr);
        EXPECT_EQ(exception->GetId(), 7u);
        EXPECT_TRUE(exception->GetMsg() == CSE_BLANK);
        EXPECT_STREQ(caught.what(), "");
    }

    const CSEException withParameters(12u, "a.prt", nullptr);
    EXPECT_EQ(withParameters.GetId(), 12u);
    EXPECT_TRUE(withParameters.GetParameter(1) == u"a.prt");
    EXPECT_TRUE(withParameters.GetParameter(2) == CSE_BLANK);
    EXPECT_TRUE(withParameters.GetMsg() == CSE_BLANK && withParameters.GetFile() == CSE_BLANK);
    EXPECT_TRUE(CSEException("key", "catalogue").GetParameter(2) == u"catalogue");
}

TEST(CSEException, AnswersItsClassNameAndClonesItself)
{
    const CSEException original("login.cpp", 9, CSEString(u"Gr\u00FC\u00DFe"), CSEExceptionError);
    EXPECT_STREQ(CSEException::ClassName(), "CSEException");
    EXPECT_TRUE(original.IsA("CSEException"));
    EXPECT_TRUE(original.IsAKindOf("CSEException"));
    EXPECT_FALSE(original.IsA("DVKError"));
    EXPECT_FALSE(original.IsA(nullptr));

    std::unique_ptr<CSEException> clone(original.CloneSelf());
    EXPECT_TRUE(clone->GetMsg() == original.GetMsg());
    EXPECT_TRUE(clone->GetFile() == u"login.cpp");
    EXPECT_EQ(clone->GetLine(), 9);
    EXPECT_STREQ(clone->what(), "Gr\xC3\xBC\xC3\x9F" "e");

    CSEException assigned;
    assigned = original;
    EXPECT_EQ(assigned.GetType(), CSEExceptionError);
    assigned.Setup("other.cpp", 3);
    EXPECT_TRUE(assigned.GetFile() == u"other.cpp");
    EXPECT_EQ(assigned.GetLine(), 3);
}

TEST(CSEException, FormattedMessageCarriesFileAndLine)
{
    FormattingException exception("CSEProductStructureCreator.cpp", 311, CSEString(u"XML failed"),
                                  CSEExceptionError);
    EXPECT_TRUE(exception.Formatted() == u"XML failed- File:CSEProductStructureCreator.cppLine:311");
    EXPECT_TRUE(exception.GetMsg() == u"XML failed- File:CSEProductStructureCreator.cppLine:311");
}

class CSEExceptionLog : public InstallFolderFixture
{
};

TEST_F(CSEExceptionLog, MessageIsLoggedWhenBuiltAndWithOriginWhenDestroyed)
{
    WriteSettings("[CLIENT]\ndebugflag=true\nclientloglevel=2\n");
    {
        const CSEException exception("registry.cpp", 42, CSEString(u"Cannot read the registry"),
                                     CSEExceptionError);
        EXPECT_EQ(LogTextsAt(ReadFile("QxDravikV5.log"), 2),
                  std::vector<std::string>{"Cannot read the registry"});
    }
    EXPECT_EQ(LogTextsAt(ReadFile("QxDravikV5.log"), 2),
              (std::vector<std::string>{"Cannot read the registry",
                                        "Cannot read the registry- File:registry.cppLine:42"}));
}
