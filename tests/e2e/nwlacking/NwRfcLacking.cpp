// A library that offers the first functions of SAP's NetWeaver RFC library
// and lacks the rest, for the adapter's refusal of it.
#include "NwRfcInterface.h"

#if defined(_WIN32)
#define LACKING_EXPORT extern "C" __declspec(dllexport)
#else
#define LACKING_EXPORT extern "C" __attribute__((visibility("default")))
#endif

LACKING_EXPORT nw::RFC_CONNECTION_HANDLE SAP_API RfcOpenConnection(const nw::RFC_CONNECTION_PARAMETER*, unsigned,
                                                                  nw::RFC_ERROR_INFO*)
{
    return nullptr;
}

LACKING_EXPORT nw::RFC_RC SAP_API RfcCloseConnection(nw::RFC_CONNECTION_HANDLE, nw::RFC_ERROR_INFO*)
{
    return nw::RFC_OK;
}
