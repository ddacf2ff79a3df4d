#include "rfc/RfcLibrary.h"

#include <cstdlib>
#include <cstring>

#include "platform/EventLog.h"
#include "platform/SharedLibrary.h"
#include "rfc/RfcErrors.h"

RfcLibraryContext Rfc;

namespace {

constexpr std::size_t ExceptionTextRoom = 255;

// The bytes of an operation's arguments as a 32-bit library's decorated name
// counts them: each argument in whole 4-byte stack slots.
template <typename Result, typename... Arguments>
constexpr unsigned ArgumentBytes(Result(RFC_LIBRARY_CALL*)(Arguments...)) {
    return (0u + ... + static_cast<unsigned>((sizeof(Arguments) + 3) / 4 * 4));
}

template <typename Operation>
bool Resolve(void* library, const char* name, Operation& operation, std::string& missing) {
    operation = reinterpret_cast<Operation>(FindLibraryOperation(library, name, ArgumentBytes(Operation{})));
    if (!operation && missing.empty()) missing = name;
    return operation != nullptr;
}

// Error 1016 for a library that the system refuses as built for the other word
// size: the word size right after the name, as a long name leaves little room
// in the text cut at 127 characters.
std::string NotLoadedText(const std::string& name, LibraryLoadFault fault, const std::string& reason,
                          bool reasonWanted) {
    switch (fault) {
        case LibraryLoadFault::Library32Bit:
            return "Error 1016: RFC-Library " + name + " is a 32-bit library: use the 32-bit SpaceWarden (x86)...";
        case LibraryLoadFault::Library64Bit:
            return "Error 1016: RFC-Library " + name + " is a 64-bit library: use the 64-bit SpaceWarden (x64)...";
        case LibraryLoadFault::NotLoaded: break;
    }
    // A monitoring plugin's admin reads the cause in the status line; the PRTG
    // flavours keep their text.
    if (reasonWanted && !reason.empty())
        return "Error 1016: RFC-Library " + name + " could not be loaded: " + reason;
    return "Error 1016: RFC-Library " + name + " could not be loaded...";
}

char* Text(const char* text) { return const_cast<char*>(text); }

}  // namespace

std::string RfcLibraryName() {
    const char* named = std::getenv("SPACEWARDEN_RFC_LIBRARY");
    return named && *named ? named : DefaultRfcLibraryName();
}

std::string LoadRfcLibrary(bool reasonWanted) {
    std::string name = RfcLibraryName();
    LibraryLoadFault fault = LibraryLoadFault::NotLoaded;
    std::string reason;
    void* library = LoadSharedLibrary(name, fault, &reason);
    if (!library) return NotLoadedText(name, fault, reason, reasonWanted);

    RfcOperations loaded;
    std::string missing;
    Resolve(library, "RfcEnvironment", loaded.RfcEnvironment, missing);
    Resolve(library, "RfcOpen", loaded.RfcOpen, missing);
    Resolve(library, "RfcOpenEx", loaded.RfcOpenEx, missing);
    Resolve(library, "RfcInstallStructure", loaded.RfcInstallStructure, missing);
    Resolve(library, "RfcCall", loaded.RfcCall, missing);
    Resolve(library, "RfcReceive", loaded.RfcReceive, missing);
    Resolve(library, "ItCreate", loaded.ItCreate, missing);
    Resolve(library, "ItFill", loaded.ItFill, missing);
    Resolve(library, "ItGetLine", loaded.ItGetLine, missing);
    Resolve(library, "ItDelete", loaded.ItDelete, missing);
    Resolve(library, "RfcLastError", loaded.RfcLastError, missing);
    Resolve(library, "RfcClose", loaded.RfcClose, missing);
    if (!missing.empty()) return "Error 1017: RFC-Library " + name + " lacks " + missing + "...";
    static_cast<RfcOperations&>(Rfc) = loaded;
    return "";
}

void InstallStructureOnce(const char* name, RFC_TYPE_ELEMENT* elements, unsigned count, RFC_TYPEHANDLE& handle) {
    if (handle != 0) return;
    if (Rfc.RfcInstallStructure(Text(name), elements, count, &handle) != 0) ReportRfcFailure("RfcInstallStructure");
}

RFC_PARAMETER Parameter(const char* name, RFC_TYPEHANDLE type, unsigned length, void* address) {
    return RFC_PARAMETER{Text(name), static_cast<unsigned>(std::strlen(name)), type, length, address};
}

RFC_TABLE Table(const char* name, RFC_TYPEHANDLE type, unsigned rowLength, ITAB_H table) {
    RFC_TABLE entry{};
    entry.name = Text(name);
    entry.nlen = static_cast<unsigned>(std::strlen(name));
    entry.type = type;
    entry.leng = rowLength;
    entry.ithandle = table;
    return entry;
}

RFC_TYPE_ELEMENT Field(const char* name, RFC_TYPEHANDLE type, unsigned length) {
    return RFC_TYPE_ELEMENT{Text(name), type, length, 0, 0};
}

int CallFunctionModule(RFC_HANDLE handle, const char* function, RFC_PARAMETER* exporting, RFC_TABLE* tables) {
    int code = Rfc.RfcCall(handle, Text(function), exporting, tables);
    LogEvent(static_cast<long>(handle), "RfcCall called", "");
    return code;
}

int ReceiveAnswer(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables, std::string& exceptionText) {
    char* exception = nullptr;
    int code = Rfc.RfcReceive(handle, importing, tables, &exception);
    LogEvent(static_cast<long>(handle), "RfcReceive called", "");
    exceptionText.clear();
    if ((code == RFC_EXCEPTION || code == RFC_SYS_EXCEPTION) && exception) {
        std::size_t length = 0;
        while (length < ExceptionTextRoom && exception[length] != '\0') ++length;
        exceptionText.assign(exception, length);
    }
    return code;
}
