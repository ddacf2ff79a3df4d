// The adapter's NetWeaver side: SAP's library loaded at run time, its
// connections, and one function module call with its values and tables,
// described in the neutral terms of Layout.h. Texts cross between the
// classic 8-bit texts and the library's UTF-16 here.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Errors.h"
#include "Layout.h"
#include "Logon.h"

namespace nwrfc {

// SPACEWARDEN_NWRFC_LIBRARY, or the default name, found beside the adapter
// first. Loads SAP's library and resolves its functions by name; false,
// with `error` set, when it cannot be loaded or lacks a function (it is
// tried again at the next opening).
bool LoadNwLibrary(ErrorRecord& error);

struct NwConnection;

// Null, with `error` set, when the library refuses the logon.
NwConnection* OpenNwConnection(const LogonParameters& parameters, ErrorRecord& error);
// Closes the connection (the library's complaints ignored: the connection
// may be gone already) and frees it.
void CloseNwConnection(NwConnection* connection);

// A value of a parameter list: exporting values are read from `address`,
// importing ones written there, laid out the classic way.
struct ValueRequest {
    std::string name;
    FieldKind kind;
    unsigned length;
    const Structure* structure;   // FieldKind::Structure
    unsigned char* address;
};

// A table whose rows come back into an internal table.
struct TableRequest {
    std::string name;
    const Structure* row;
    InternalTable* table;
};

// A function module called and not yet received; destroying it destroys the
// library's function with its structures and tables.
struct NwCall;
struct NwCallEnd {
    void operator()(NwCall* call) const;
};
using NwCallHandle = std::unique_ptr<NwCall, NwCallEnd>;

// Looks the function module up, creates it, sets the exporting values and
// invokes it; the outcome of the invocation waits in `call` for
// ReceiveNwCall. False, with `error` set, when the call could not be made.
bool MakeNwCall(NwConnection* connection, const std::string& function, const std::vector<ValueRequest>& exporting,
                NwCallHandle& call, ErrorRecord& error);

// The outcome of the invocation, as the library's return code (0: the
// importing values and every row of the tables are filled in; a value that
// cannot be read fails with its own code). `error` describes a failure.
int ReceiveNwCall(NwCall& call, const std::vector<ValueRequest>& importing, const std::vector<TableRequest>& tables,
                  ErrorRecord& error);

}  // namespace nwrfc
