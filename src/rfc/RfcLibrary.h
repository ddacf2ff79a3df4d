// The RFC client library, loaded at run time and called through its C interface.
#pragma once

#include <string>

#include "rfc/RfcContext.h"
#include "rfc/RfcInterface.h"


// SPACEWARDEN_RFC_LIBRARY, or the platform's default name.
std::string RfcLibraryName();

// Loads the library and resolves its twelve operations. Returns an empty
// text, or "Error 1016" (not loaded, or a library of the other word size; with
// `reasonWanted`, the system's reason why it was not loaded) / "Error 1017" (an
// operation missing).
std::string LoadRfcLibrary(bool reasonWanted);

// Installs a structure unless its process-wide handle is already set; a
// failure ends the process through the fatal RFC report.
void InstallStructureOnce(const char* name, RFC_TYPE_ELEMENT* elements, unsigned count, RFC_TYPEHANDLE& handle);

// Builds entries of parameter and table lists; the name length is the name's own.
RFC_PARAMETER Parameter(const char* name, RFC_TYPEHANDLE type, unsigned length, void* address);
// A table entry also carries its row length, for a library that reads it
// rather than the length the table was created with.
RFC_TABLE Table(const char* name, RFC_TYPEHANDLE type, unsigned rowLength, ITAB_H table);
RFC_TYPE_ELEMENT Field(const char* name, RFC_TYPEHANDLE type, unsigned length);
// RfcCall of a function module, followed by its log event.
int CallFunctionModule(RFC_HANDLE handle, const char* function, RFC_PARAMETER* exporting, RFC_TABLE* tables);

// RfcReceive of the answer, followed by its log event. For codes 2 and 3 the
// exception text the library returned (at most 255 characters) is copied.
int ReceiveAnswer(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables, std::string& exceptionText);
