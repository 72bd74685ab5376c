// CSEUpdateResults: reads the records of one result list of an update check's response.
#ifndef QORVI_DESIGNDATA_CSEUPDATERESULTS_H
#define QORVI_DESIGNDATA_CSEUPDATERESULTS_H

#include <initializer_list>

#include "CSEObjectInfo.h"
#include "designdata/CSEResponseList.h"

class CSEResponse;

class CSEUpdateResults
{
public:
    // How a record's file name and folder are handed over.
    enum Cleaning
    {
        AsWritten,
        // File name and folder without surrounding blanks, a non-empty folder ending in "/".
        Trimmed
    };

    // Appends one record per "cadobject" element of "//response/info/<listName>" (other children
    // of the list are not objects), filled from the fields; nothing without a response packet.
    static void Append(CSEResponse* response, const char16_t* listName,
                       std::initializer_list<CSEResponseField<CSEObjectInfo>> fields, Cleaning cleaning,
                       CSEObjectInfoVector& out);
};

#endif
