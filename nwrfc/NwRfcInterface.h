// The part of SAP's NetWeaver RFC library interface (sapnwrfc.h, 7.2x/7.50)
// that the adapter calls and that nwrfcsim answers: Unicode texts (SAP_UC,
// UTF-16 in native byte order), return codes, the error record, the opaque
// handles, logon parameters and the functions' types. Written from the
// library's documented facts; SAP's own header is not needed.
//
// Everything lives in namespace nw, so that its names (RFC_RC, RFC_OK,
// RFC_ERROR_INFO, RFCTYPE_CHAR, ...) cannot meet those of the classic
// interface, which spells several of them alike with other meanings.
#ifndef SPACEWARDEN_NW_RFC_INTERFACE_H
#define SPACEWARDEN_NW_RFC_INTERFACE_H

#ifdef RFC_FAILURE
#error "NwRfcInterface.h and the classic RfcInterface.h do not go into one translation unit"
#endif

#include <cstddef>

// The library's calling convention: __stdcall on Windows (32-bit Windows
// passes it on; x64 accepts and ignores it), none elsewhere.
#ifdef _WIN32
#define SAP_API __stdcall
#else
#define SAP_API
#endif

namespace nw {

// One UTF-16 code unit: wchar_t on Windows, where it has 2 bytes; char16_t elsewhere.
#ifdef _WIN32
typedef wchar_t SAP_UC;
#else
typedef char16_t SAP_UC;
#endif
static_assert(sizeof(SAP_UC) == 2);

typedef SAP_UC RFC_CHAR;
typedef RFC_CHAR RFC_NUM;      // digits
typedef unsigned char RFC_BYTE;
typedef short RFC_INT2;
typedef int RFC_INT;
typedef RFC_CHAR RFC_DATE[8];  // YYYYMMDD, no terminator
typedef RFC_CHAR RFC_TIME[6];  // HHMMSS, no terminator

// Return codes. The members count up from 0 and never move; later patch
// levels add codes above 29, and a caller must take any other value as a
// failure too, hence the fixed underlying type.
typedef enum _RFC_RC : int {
    RFC_OK,
    RFC_COMMUNICATION_FAILURE,
    RFC_LOGON_FAILURE,
    RFC_ABAP_RUNTIME_FAILURE,
    RFC_ABAP_MESSAGE,
    RFC_ABAP_EXCEPTION,
    RFC_CLOSED,
    RFC_CANCELED,
    RFC_TIMEOUT,
    RFC_MEMORY_INSUFFICIENT,
    RFC_VERSION_MISMATCH,
    RFC_INVALID_PROTOCOL,
    RFC_SERIALIZATION_FAILURE,
    RFC_INVALID_HANDLE,
    RFC_RETRY,
    RFC_EXTERNAL_FAILURE,
    RFC_EXECUTED,
    RFC_NOT_FOUND,
    RFC_NOT_SUPPORTED,
    RFC_ILLEGAL_STATE,
    RFC_INVALID_PARAMETER,
    RFC_CODEPAGE_CONVERSION_FAILURE,
    RFC_CONVERSION_FAILURE,
    RFC_BUFFER_TOO_SMALL,
    RFC_TABLE_MOVE_BOF,
    RFC_TABLE_MOVE_EOF,
    RFC_START_SAPGUI_FAILURE,
    RFC_ABAP_CLASS_EXCEPTION,
    RFC_UNKNOWN_ERROR,
    RFC_AUTHORIZATION_FAILURE,
    RFC_AUTHENTICATION_FAILURE,   // later 7.50 patch levels
    RFC_CRYPTOLIB_FAILURE,        // later 7.50 patch levels
    RFC_IO_FAILURE,               // later 7.50 patch levels
    RFC_LOCKING_FAILURE,          // later 7.50 patch levels
} RFC_RC;

typedef enum _RFC_ERROR_GROUP : int {
    OK,
    ABAP_APPLICATION_FAILURE,        // an ABAP exception of the function module
    ABAP_RUNTIME_FAILURE,            // an ABAP message or a short dump
    LOGON_FAILURE,
    COMMUNICATION_FAILURE,
    EXTERNAL_RUNTIME_FAILURE,        // inside the library: bad handle, bad parameter
    EXTERNAL_APPLICATION_FAILURE,
    EXTERNAL_AUTHORIZATION_FAILURE,
    EXTERNAL_AUTHENTICATION_FAILURE,  // later 7.50 patch levels
    CRYPTOLIB_FAILURE,                // later 7.50 patch levels
    LOCKING_FAILURE,                  // later 7.50 patch levels
} RFC_ERROR_GROUP;

// The members' names by number, as the library keys its own failures.
inline constexpr const char* kRfcRcNames[] = {
    "RFC_OK", "RFC_COMMUNICATION_FAILURE", "RFC_LOGON_FAILURE", "RFC_ABAP_RUNTIME_FAILURE", "RFC_ABAP_MESSAGE",
    "RFC_ABAP_EXCEPTION", "RFC_CLOSED", "RFC_CANCELED", "RFC_TIMEOUT", "RFC_MEMORY_INSUFFICIENT",
    "RFC_VERSION_MISMATCH", "RFC_INVALID_PROTOCOL", "RFC_SERIALIZATION_FAILURE", "RFC_INVALID_HANDLE", "RFC_RETRY",
    "RFC_EXTERNAL_FAILURE", "RFC_EXECUTED", "RFC_NOT_FOUND", "RFC_NOT_SUPPORTED", "RFC_ILLEGAL_STATE",
    "RFC_INVALID_PARAMETER", "RFC_CODEPAGE_CONVERSION_FAILURE", "RFC_CONVERSION_FAILURE", "RFC_BUFFER_TOO_SMALL",
    "RFC_TABLE_MOVE_BOF", "RFC_TABLE_MOVE_EOF", "RFC_START_SAPGUI_FAILURE", "RFC_ABAP_CLASS_EXCEPTION",
    "RFC_UNKNOWN_ERROR", "RFC_AUTHORIZATION_FAILURE", "RFC_AUTHENTICATION_FAILURE", "RFC_CRYPTOLIB_FAILURE",
    "RFC_IO_FAILURE", "RFC_LOCKING_FAILURE",
};
inline constexpr const char* kRfcErrorGroupNames[] = {
    "OK", "ABAP_APPLICATION_FAILURE", "ABAP_RUNTIME_FAILURE", "LOGON_FAILURE", "COMMUNICATION_FAILURE",
    "EXTERNAL_RUNTIME_FAILURE", "EXTERNAL_APPLICATION_FAILURE", "EXTERNAL_AUTHORIZATION_FAILURE",
    "EXTERNAL_AUTHENTICATION_FAILURE", "CRYPTOLIB_FAILURE", "LOCKING_FAILURE",
};
static_assert(sizeof kRfcRcNames / sizeof *kRfcRcNames == RFC_LOCKING_FAILURE + 1 &&
              sizeof kRfcErrorGroupNames / sizeof *kRfcErrorGroupNames == LOCKING_FAILURE + 1);

// Every text is NUL-terminated. No pointers inside: the same layout on every platform.
typedef struct _RFC_ERROR_INFO {
    RFC_RC code;
    RFC_ERROR_GROUP group;
    SAP_UC key[128];
    SAP_UC message[512];
    SAP_UC abapMsgClass[20 + 1];
    SAP_UC abapMsgType[1 + 1];
    RFC_NUM abapMsgNumber[3 + 1];
    SAP_UC abapMsgV1[50 + 1];
    SAP_UC abapMsgV2[50 + 1];
    SAP_UC abapMsgV3[50 + 1];
    SAP_UC abapMsgV4[50 + 1];
} RFC_ERROR_INFO;

static_assert(offsetof(RFC_ERROR_INFO, key) == 8 && offsetof(RFC_ERROR_INFO, message) == 264 &&
              offsetof(RFC_ERROR_INFO, abapMsgClass) == 1288 && offsetof(RFC_ERROR_INFO, abapMsgType) == 1330 &&
              offsetof(RFC_ERROR_INFO, abapMsgNumber) == 1334 && offsetof(RFC_ERROR_INFO, abapMsgV1) == 1342 &&
              offsetof(RFC_ERROR_INFO, abapMsgV4) == 1648 && sizeof(RFC_ERROR_INFO) == 1752);

// Opaque handles, each a pointer to its own one-member struct. Function,
// structure and table handles are all data containers.
typedef struct _RFC_CONNECTION_HANDLE { void* handle; } *RFC_CONNECTION_HANDLE;
typedef struct _RFC_FUNCTION_DESC_HANDLE { void* handle; } *RFC_FUNCTION_DESC_HANDLE;
typedef struct RFC_DATA_CONTAINER { void* handle; } *DATA_CONTAINER_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_FUNCTION_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_STRUCTURE_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_TABLE_HANDLE;

// One logon parameter (ashost, sysnr, client, user, passwd, lang, ...).
typedef struct _RFC_CONNECTION_PARAMETER {
    const SAP_UC* name;
    const SAP_UC* value;
} RFC_CONNECTION_PARAMETER;

// The functions, as the adapter looks them up by name.
typedef RFC_CONNECTION_HANDLE(SAP_API* RfcOpenConnection_t)(const RFC_CONNECTION_PARAMETER* connectionParams,
                                                              unsigned paramCount, RFC_ERROR_INFO* errorInfo);
typedef RFC_RC(SAP_API* RfcCloseConnection_t)(RFC_CONNECTION_HANDLE rfcHandle, RFC_ERROR_INFO* errorInfo);
typedef RFC_FUNCTION_DESC_HANDLE(SAP_API* RfcGetFunctionDesc_t)(RFC_CONNECTION_HANDLE rfcHandle,
                                                                const SAP_UC* funcName, RFC_ERROR_INFO* errorInfo);
typedef RFC_FUNCTION_HANDLE(SAP_API* RfcCreateFunction_t)(RFC_FUNCTION_DESC_HANDLE funcDescHandle,
                                                          RFC_ERROR_INFO* errorInfo);
typedef RFC_RC(SAP_API* RfcDestroyFunction_t)(RFC_FUNCTION_HANDLE funcHandle, RFC_ERROR_INFO* errorInfo);
typedef RFC_RC(SAP_API* RfcInvoke_t)(RFC_CONNECTION_HANDLE rfcHandle, RFC_FUNCTION_HANDLE funcHandle,
                                     RFC_ERROR_INFO* errorInfo);
typedef RFC_RC(SAP_API* RfcSetChars_t)(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                       const RFC_CHAR* charValue, unsigned valueLength, RFC_ERROR_INFO* errorInfo);
typedef RFC_RC(SAP_API* RfcGetChars_t)(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_CHAR* charBuffer,
                                       unsigned bufferLength, RFC_ERROR_INFO* errorInfo);
typedef RFC_RC(SAP_API* RfcGetInt_t)(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_INT* value,
                                     RFC_ERROR_INFO* errorInfo);
typedef RFC_RC(SAP_API* RfcGetInt2_t)(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_INT2* value,
                                      RFC_ERROR_INFO* errorInfo);
typedef RFC_RC(SAP_API* RfcGetDate_t)(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_CHAR* emptyDate,
                                      RFC_ERROR_INFO* errorInfo);
typedef RFC_RC(SAP_API* RfcGetTime_t)(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_CHAR* emptyTime,
                                      RFC_ERROR_INFO* errorInfo);
typedef RFC_RC(SAP_API* RfcGetStructure_t)(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                           RFC_STRUCTURE_HANDLE* structHandle, RFC_ERROR_INFO* errorInfo);
typedef RFC_RC(SAP_API* RfcGetTable_t)(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                       RFC_TABLE_HANDLE* tableHandle, RFC_ERROR_INFO* errorInfo);
typedef RFC_RC(SAP_API* RfcGetRowCount_t)(RFC_TABLE_HANDLE tableHandle, unsigned* rowCount,
                                          RFC_ERROR_INFO* errorInfo);
typedef RFC_RC(SAP_API* RfcMoveTo_t)(RFC_TABLE_HANDLE tableHandle, unsigned index, RFC_ERROR_INFO* errorInfo);
typedef RFC_STRUCTURE_HANDLE(SAP_API* RfcGetCurrentRow_t)(RFC_TABLE_HANDLE tableHandle, RFC_ERROR_INFO* errorInfo);

}  // namespace nw

#endif
