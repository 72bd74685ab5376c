// The text of an exception caught with catch (...), for the log line of a guarded call.
#ifndef QORVI_CONNECTION_CSECAUGHTEXCEPTION_H
#define QORVI_CONNECTION_CSECAUGHTEXCEPTION_H

#include "CSEString.h"

// Inside a catch block only: the message of the exception being handled, or "an unknown exception"
// when it is no std::exception or carries no message.
CSEString DescribeCaughtException();

#endif
