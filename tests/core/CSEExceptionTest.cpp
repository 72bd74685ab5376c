// Behaviour of CSEException: raising and catching, identity, cloning and its two log lines.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CSEException.h"
#include "CSEResultCodes.h"
#include "core/LogLines.h"
#include "support/InstallFolderFixture.h"

TEST(CSEException, CarriesItsTextThroughTheStandardBaseAndClones)
{
    try {
        throw CSEException("login.cpp", 9, CSEString(u"Gr\u00FC\u00DFe"), CSEExceptionError);
    } catch (const std::exception& caught) {
        EXPECT_STREQ(caught.what(), "Gr\xC3\xBC\xC3\x9F" "e");
        const auto& exception = dynamic_cast<const CSEException&>(caught);
        EXPECT_TRUE(exception.IsA("CSEException") && !exception.IsA("DVKError") && !exception.IsA(nullptr));
        std::unique_ptr<CSEException> clone(exception.CloneSelf());
        EXPECT_TRUE(clone->GetId() == 1u && clone->GetMsg() == exception.GetMsg() && clone->GetFile() == u"login.cpp");
    }
    const CSEException withParameters(12u, "a.prt", nullptr);
    EXPECT_EQ(withParameters.GetId(), 12u);
    EXPECT_TRUE(withParameters.GetParameter(1) == u"a.prt" && withParameters.GetParameter(2) == CSE_BLANK);
    EXPECT_STREQ(withParameters.what(), "");
    EXPECT_TRUE(CSEException("key", "catalogue").GetParameter(2) == u"catalogue");
}

using CSEExceptionLog = InstallFolderFixture;

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
