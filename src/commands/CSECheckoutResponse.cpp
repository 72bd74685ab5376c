// CSECheckoutResponse: the response of the checkout commands.
#include "CSECheckoutResponse.h"

CSECheckoutResponse::CSECheckoutResponse() = default;

CSECheckoutResponse::~CSECheckoutResponse() = default;

bool CSECheckoutResponse::ParseResponse(const CSEString& text)
{
    return ParseEnvelope(text) != ParseNotLoaded;
}
