/// \file
/// CSECheckoutResponse: the response of the checkout commands.
#ifndef CSECHECKOUTRESPONSE_H
#define CSECHECKOUTRESPONSE_H

#include "CSEResponse.h"

/// The response of the checkout commands.
class CSECheckoutResponse : public CSEResponse
{
public:
    CSECheckoutResponse();
    ~CSECheckoutResponse() override;

    /// The base parse; true unless a named response file could not be loaded.
    bool ParseResponse(const CSEString& text) override;
};

#endif
