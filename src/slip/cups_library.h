#pragma once

// The CUPS client library, loaded at the first print (print_cups.cpp).

#include <cups/cups.h>

#include "slip/printing.h"

namespace recibo {

// The CUPS client library, loaded when a page is first sent. Linked to the
// program, it would bring some twenty libraries (TLS, Kerberos, service
// discovery) into every start of the program, for a step most runs never
// take. The header gives every function its exact type.
struct CupsLibrary {
    decltype(&::httpConnect2) httpConnect2 = nullptr;
    decltype(&::httpSetTimeout) httpSetTimeout = nullptr;
    decltype(&::httpClose) httpClose = nullptr;
    decltype(&::httpError) httpError = nullptr;
    decltype(&::httpGetPending) httpGetPending = nullptr;
    decltype(&::cupsServer) cupsServer = nullptr;
    decltype(&::ippPort) ippPort = nullptr;
    decltype(&::cupsEncryption) cupsEncryption = nullptr;
    decltype(&::cupsUser) cupsUser = nullptr;
    decltype(&::cupsGetNamedDest) cupsGetNamedDest = nullptr;
    decltype(&::cupsFreeDests) cupsFreeDests = nullptr;
    decltype(&::cupsGetOption) cupsGetOption = nullptr;
    decltype(&::cupsEncodeOptions2) cupsEncodeOptions2 = nullptr;
    decltype(&::cupsLastError) cupsLastError = nullptr;
    decltype(&::ippNewRequest) ippNewRequest = nullptr;
    decltype(&::ippAddString) ippAddString = nullptr;
    decltype(&::ippFindAttribute) ippFindAttribute = nullptr;
    decltype(&::ippGetInteger) ippGetInteger = nullptr;
    decltype(&::ippGetStatusCode) ippGetStatusCode = nullptr;
    decltype(&::ippDelete) ippDelete = nullptr;
    decltype(&::cupsDoRequest) cupsDoRequest = nullptr;
    decltype(&::cupsCancelJob2) cupsCancelJob2 = nullptr;
    decltype(&::cupsStartDocument) cupsStartDocument = nullptr;
    decltype(&::cupsWriteRequestData) cupsWriteRequestData = nullptr;
    decltype(&::cupsGetResponse) cupsGetResponse = nullptr;
};

// The library, loaded on first use and again after a failure, so that a
// library installed or repaired meanwhile is used at the next print; nullptr,
// with what the user is told in `failure`, when it does not load whole.
const CupsLibrary *libcups(PrintOutcome &failure);

} // namespace recibo
