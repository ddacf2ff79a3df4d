// Structures and internal tables as the classic interface lays them out:
// each field at the next multiple of its natural alignment (CHAR, DATE and
// TIME 1, INT2 2, INT 4, a structure its own), the row rounded up to the
// largest alignment. Neutral types, shared by the classic side of the
// adapter and its NetWeaver side.
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace nwrfc {

enum class FieldKind { Char, Date, Time, Int, Int2, Structure };

struct Structure;

struct StructureField {
    std::string name;
    FieldKind kind;
    unsigned length;                 // bytes
    unsigned offset;                 // laid out
    const Structure* structure;      // FieldKind::Structure
};

struct Structure {
    std::string name;
    unsigned handle;
    std::vector<StructureField> fields;
    unsigned size;
    unsigned alignment;
};

// A field descriptor as the caller passed it to RfcInstallStructure.
struct FieldSpec {
    std::string name;
    unsigned type;
    unsigned length;
    unsigned offset;   // 0: the library lays the field out
};

// Handles of installed structures count up from here, well clear of the
// built-in type codes of the classic interface.
inline constexpr unsigned kFirstStructureHandle = 1000;

// The structures installed so far, by handle.
class StructureRegistry {
public:
    // Lays the fields out and installs the structure; returns its handle, or 0
    // with `problem` set when a field cannot be laid out.
    unsigned Install(const std::string& name, const std::vector<FieldSpec>& fields, std::string& problem);
    // The structure of a handle, or null.
    const Structure* Find(unsigned handle) const;

private:
    std::deque<Structure> installed_;   // stable addresses
};

// The kind of a built-in classic type code (0 CHAR, 1 DATE, 3 TIME, 8 INT,
// 9 INT2); false for any other code.
bool BuiltinKind(unsigned type, FieldKind& kind);

// The length a field of this kind must have, 0 when any length serves.
unsigned RequiredLength(FieldKind kind, const Structure* structure);

// An internal table of the classic interface: rows of a fixed length.
struct InternalTable {
    std::string name;
    unsigned row_length;
    std::vector<unsigned char> rows;   // row_length bytes per row
    unsigned count = 0;
};

}  // namespace nwrfc
