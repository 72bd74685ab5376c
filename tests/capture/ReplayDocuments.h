// Test documents for replay: a check-in request and its response, with the identifiers of one run
// filled in.
#ifndef QORVI_TESTS_CAPTURE_REPLAYDOCUMENTS_H
#define QORVI_TESTS_CAPTURE_REPLAYDOCUMENTS_H

#include <map>
#include <string>

// Placeholder -> value; every "{NAME}" of a template is replaced.
typedef std::map<std::string, std::string> RunIds;

inline const RunIds& CapturedIds()
{
    static const RunIds ids{{"IID", "iid-1"}, {"TOP", "1"}, {"A", "2"}, {"B", "3"}, {"D", "4"}, {"R1", "r1"},
                            {"R2", "r2"}, {"U2", "u-2"}, {"PW", "*****"}, {"VER", "3"}};
    return ids;
}

inline const RunIds& ReplayedIds()
{
    static const RunIds ids{{"IID", "iid-2"}, {"TOP", "11"}, {"A", "12"}, {"B", "13"}, {"D", "14"}, {"R1", "r7"},
                            {"R2", "r8"}, {"U2", "u-8"}, {"PW", "secret"}, {"VER", "4"}};
    return ids;
}

inline std::string Fill(std::string text, const RunIds& ids)
{
    for (const auto& id : ids) {
        const std::string placeholder = "{" + id.first + "}";
        for (std::size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at))
            text.replace(at, placeholder.size(), id.second);
    }
    return text;
}

// Roots "top.asm" (children "a.prt" through an existing relationship, "b.prt" through one made in
// this run) and "drawing.drw".
inline const std::string& CheckinTemplate()
{
    static const std::string text = R"(<command cname="checkin" cse="1" csever="5.0" ver="5" iid="{IID}" username="u" password="{PW}">
 <relationshiplist>
  <relationship cadrelationship="asm" rid="{R1}" qxid="q1"><attribute><name>UUID</name><value><![CDATA[u-fixed]]></value></attribute><attribute><name>componentID</name><value>a.1</value></attribute></relationship>
  <relationship cadrelationship="asm" rid="{R2}"><attribute><name>UUID</name><value><![CDATA[{U2}]]></value></attribute><attribute><name>componentID</name><value>b.1</value></attribute></relationship>
 </relationshiplist>
 <cadobjectlist>
  <cadobject cadid="{TOP}" filename="top.asm" type="assembly" parentid=""><attribute><name>Title</name><value>Top</value></attribute><attribute><name>sys:Version</name><value>{VER}</value></attribute></cadobject>
  <cadobject cadid="{A}" filename="a.prt" type="part" parentid="{TOP}"/>
  <cadobject cadid="{B}" filename="b.prt" type="part" parentid="{TOP}"/>
  <cadobject cadid="{D}" filename="drawing.drw" type="drawing" parentid=""/>
 </cadobjectlist>
 <structure><family/><active>
  <cadobject cadid="{TOP}"><cadobject cadid="{A}"><relationship rid="{R1}"/></cadobject><cadobject cadid="{B}"><relationship rid="{R2}"/></cadobject></cadobject>
  <cadobject cadid="{D}"/>
 </active></structure>
 <lql>find all</lql>
</command>)";
    return text;
}

// The same request with every list, the children and the roots in the other order.
inline const std::string& ReorderedCheckinTemplate()
{
    static const std::string text = R"(<command password="{PW}" username="u" iid="{IID}" ver="5" csever="5.0" cse="1" cname="checkin">
 <lql>find all</lql>
 <structure><family/><active>
  <cadobject cadid="{D}"/>
  <cadobject cadid="{TOP}"><cadobject cadid="{B}"><relationship rid="{R2}"/></cadobject><cadobject cadid="{A}"><relationship rid="{R1}"/></cadobject></cadobject>
 </active></structure>
 <cadobjectlist>
  <cadobject cadid="{D}" filename="drawing.drw" type="drawing" parentid=""/>
  <cadobject cadid="{B}" filename="b.prt" type="part" parentid="{TOP}"/>
  <cadobject cadid="{A}" filename="a.prt" type="part" parentid="{TOP}"/>
  <cadobject cadid="{TOP}" filename="top.asm" type="assembly" parentid=""><attribute><name>sys:Version</name><value>{VER}</value></attribute><attribute><name>Title</name><value>Top</value></attribute></cadobject>
 </cadobjectlist>
 <relationshiplist>
  <relationship cadrelationship="asm" rid="{R2}"><attribute><name>componentID</name><value>b.1</value></attribute><attribute><name>UUID</name><value><![CDATA[{U2}]]></value></attribute></relationship>
  <relationship qxid="q1" rid="{R1}" cadrelationship="asm"><attribute><name>componentID</name><value>a.1</value></attribute><attribute><name>UUID</name><value><![CDATA[u-fixed]]></value></attribute></relationship>
 </relationshiplist>
</command>)";
    return text;
}

// The answer to the check-in, naming objects and relationships of the request and one of its own.
inline const std::string& CheckinResponseTemplate()
{
    static const std::string text = R"(<response iid="{IID}" result="0">
 <cadobjectlist><cadobject cadid="{TOP}" parentid=""/><cadobject cadid="{A}" parentid="{TOP}"/><cadobject cadid="99" parentid="{TOP}"/></cadobjectlist>
 <relationshiplist><relationship rid="{R2}"><attribute><name>UUID</name><value><![CDATA[{U2}]]></value></attribute></relationship><relationship rid="r-unknown"/></relationshiplist>
</response>)";
    return text;
}

#endif
