// Test fixture for commands that read a response: writes a full response into the installation
// folder and has the command parse it as if the service had named it.
#ifndef QORVI_TESTS_COMMON_CANNEDRESPONSE_H
#define QORVI_TESTS_COMMON_CANNEDRESPONSE_H

#include <fstream>
#include <string>

#include "CSECommand.h"
#include "CSEResponse.h"
#include "common/ServiceFixture.h"

class CannedResponse : public ServiceFixture
{
protected:
    // A successful response of server version ver whose "info" holds the markup.
    void Answer(CSECommand& command, const std::string& info, const std::string& ver = "QTL2010")
    {
        Load(command, "<?xml version='1.0' encoding='UTF-8'?><response cname='" + Utf8(command.GetCmdName()) +
                          "' ver='" + ver + "' result='success'><info>" + info + "</info></response>");
    }

    // The whole response as written.
    void Load(CSECommand& command, const std::string& response)
    {
        std::ofstream(PathOf("answer.xml"), std::ios::binary | std::ios::trunc) << response;
        ASSERT_TRUE(command.GetResponseObject()->ParseResponse(ThinResponseFor("answer.xml")));
    }
};

#endif
