/* The C interface of the classic RFC client library, as the sensor calls it.
   The sensor never links the library: it loads it at run time and looks up
   these operations by name. The bundled simulator exports the same names. */
#ifndef SPACEWARDEN_RFC_INTERFACE_H
#define SPACEWARDEN_RFC_INTERFACE_H

#include <stddef.h>

/* The library's calling convention, for its operations and for the error
   handler it calls: __stdcall on 32-bit Windows, where the callee removes the
   arguments from the stack; x64 and other platforms have one convention. */
#if defined(_WIN32) && !defined(_WIN64)
#define RFC_LIBRARY_CALL __stdcall
#else
#define RFC_LIBRARY_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned int RFC_HANDLE;        /* 0: no connection */
typedef unsigned int RFC_TYPEHANDLE;    /* 0 CHAR, 1 DATE, 3 TIME, 8 INT (4 bytes), 9 INT2 (2 bytes), or a handle from RfcInstallStructure */
typedef void*        ITAB_H;            /* internal table, null: none */
typedef int          RFC_RC;            /* 0 ok, 1 failure, 2 exception, 3 system exception, other: other failure */

typedef struct { char* name; RFC_TYPEHANDLE type; unsigned length; unsigned decimals; unsigned offset; } RFC_TYPE_ELEMENT;
typedef struct { void* name; unsigned nlen; RFC_TYPEHANDLE type; unsigned leng; void* addr; } RFC_PARAMETER;
typedef struct { void* name; unsigned nlen; RFC_TYPEHANDLE type; unsigned leng; ITAB_H ithandle; int itmode; int newitab; } RFC_TABLE;
typedef struct { char key[33]; char status[128]; char message[256]; char intstat[128]; } RFC_ERROR_INFO;
typedef struct { int group; char key[33]; char message[513]; } RFC_ERROR_INFO_EX;
typedef void  (RFC_LIBRARY_CALL *RFC_ERROR_HANDLER)(char* operation);
typedef void* (RFC_LIBRARY_CALL *RFC_ALLOCATE)(void* old, size_t size);
typedef struct { RFC_ERROR_HANDLER errorhandler; RFC_ALLOCATE allocate; } RFC_ENV;
typedef struct { char* hostname; int sysnr; char* gateway_host; char* gateway_service; } RFC_CONNOPT_R3;
typedef struct { char* gateway_host; char* gateway_service; } RFC_CONNOPT_CPIC;
typedef struct { char* destination; int mode; void* connopt; char* client; char* user; char* password; char* language; int trace; } RFC_OPTIONS;

/* Type codes of the built-in types. */
#define RFCTYPE_CHAR 0
#define RFCTYPE_DATE 1
#define RFCTYPE_TIME 3
#define RFCTYPE_INT  8
#define RFCTYPE_INT2 9

/* The key of RfcLastError's record when a library in the place of librfc32
 * cannot use a library of its own (the NetWeaver RFC adapter without SAP's
 * NetWeaver library, or one that lacks a function): a fault of the set-up,
 * not of the SAP system; the record's message says what and why. */
#define RFC_KEY_LIBRARY_UNUSABLE "RFC_LIBRARY_UNUSABLE"

/* Return codes of RfcCall and RfcReceive. */
#define RFC_OK               0
#define RFC_FAILURE          1
#define RFC_EXCEPTION        2
#define RFC_SYS_EXCEPTION    3

/* The operations, as function pointer types (the sensor's view) ... */
typedef void           (RFC_LIBRARY_CALL *RfcEnvironment_t)(RFC_ENV* env);
typedef RFC_HANDLE     (RFC_LIBRARY_CALL *RfcOpen_t)(RFC_OPTIONS* options);
typedef RFC_HANDLE     (RFC_LIBRARY_CALL *RfcOpenEx_t)(char* connect_param, RFC_ERROR_INFO_EX* error_info);
typedef RFC_RC         (RFC_LIBRARY_CALL *RfcInstallStructure_t)(char* name, RFC_TYPE_ELEMENT* elements, unsigned count, RFC_TYPEHANDLE* handle);
typedef RFC_RC         (RFC_LIBRARY_CALL *RfcCall_t)(RFC_HANDLE h, char* function, RFC_PARAMETER* exporting, RFC_TABLE* tables);
typedef RFC_RC         (RFC_LIBRARY_CALL *RfcReceive_t)(RFC_HANDLE h, RFC_PARAMETER* importing, RFC_TABLE* tables, char** exception);
typedef ITAB_H         (RFC_LIBRARY_CALL *ItCreate_t)(char* name, unsigned row_length, unsigned occurs, unsigned memory);
typedef unsigned       (RFC_LIBRARY_CALL *ItFill_t)(ITAB_H t);
typedef void*          (RFC_LIBRARY_CALL *ItGetLine_t)(ITAB_H t, unsigned index);
typedef int            (RFC_LIBRARY_CALL *ItDelete_t)(ITAB_H t);
typedef int            (RFC_LIBRARY_CALL *RfcLastError_t)(RFC_ERROR_INFO* info);
typedef void           (RFC_LIBRARY_CALL *RfcClose_t)(RFC_HANDLE h);

#ifdef __cplusplus
}
#endif

#endif
