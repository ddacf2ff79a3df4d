#include "Layout.h"

namespace nwrfc {

namespace {

unsigned AlignmentOf(FieldKind kind, const Structure* structure)
{
    switch (kind) {
        case FieldKind::Int: return 4;
        case FieldKind::Int2: return 2;
        case FieldKind::Structure: return structure->alignment;
        default: return 1;
    }
}

unsigned RoundUp(unsigned value, unsigned alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

}  // namespace

bool BuiltinKind(unsigned type, FieldKind& kind)
{
    switch (type) {
        case 0: kind = FieldKind::Char; return true;
        case 1: kind = FieldKind::Date; return true;
        case 3: kind = FieldKind::Time; return true;
        case 8: kind = FieldKind::Int; return true;
        case 9: kind = FieldKind::Int2; return true;
        default: return false;
    }
}

unsigned RequiredLength(FieldKind kind, const Structure* structure)
{
    switch (kind) {
        case FieldKind::Date: return 8;
        case FieldKind::Time: return 6;
        case FieldKind::Int: return 4;
        case FieldKind::Int2: return 2;
        case FieldKind::Structure: return structure->size;
        default: return 0;
    }
}

unsigned StructureRegistry::Install(const std::string& name, const std::vector<FieldSpec>& fields,
                                    std::string& problem)
{
    constexpr unsigned kMaxFields = 10000;
    constexpr unsigned kMaxSize = 1u << 24;   // far beyond any ABAP structure
    if (fields.empty() || fields.size() > kMaxFields) {
        problem = "a structure has 1 to " + std::to_string(kMaxFields) + " fields, not " + std::to_string(fields.size());
        return 0;
    }
    Structure structure{name, 0, {}, 0, 1};
    unsigned offset = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldSpec& given = fields[i];
        std::string where = "field " + std::to_string(i + 1) + " (" + given.name + ")";
        FieldKind kind;
        const Structure* inner = nullptr;
        if (!BuiltinKind(given.type, kind)) {
            inner = Find(given.type);
            if (inner == nullptr) {
                problem = where + " has type " + std::to_string(given.type) + ", which is neither CHAR, DATE, TIME, " +
                          "INT, INT2 nor an installed structure";
                return 0;
            }
            kind = FieldKind::Structure;
        }
        if (given.name.empty()) {
            problem = "field " + std::to_string(i + 1) + " has no name";
            return 0;
        }
        unsigned required = RequiredLength(kind, inner);
        if (given.length == 0 || (required != 0 && given.length != required)) {
            problem = where + " has length " + std::to_string(given.length) +
                      (required != 0 ? ", its type " + std::to_string(required) : "");
            return 0;
        }
        unsigned alignment = AlignmentOf(kind, inner);
        offset = RoundUp(offset, alignment);
        if (given.offset != 0 && given.offset != offset) {
            problem = where + " has offset " + std::to_string(given.offset) + ", laid out at " + std::to_string(offset);
            return 0;
        }
        if (given.length > kMaxSize - offset) {
            problem = where + " makes the structure longer than " + std::to_string(kMaxSize) + " bytes";
            return 0;
        }
        structure.fields.push_back(StructureField{given.name, kind, given.length, offset, inner});
        offset += given.length;
        if (alignment > structure.alignment) structure.alignment = alignment;
    }
    structure.size = RoundUp(offset, structure.alignment);
    structure.handle = kFirstStructureHandle + static_cast<unsigned>(installed_.size());
    installed_.push_back(std::move(structure));
    return installed_.back().handle;
}

const Structure* StructureRegistry::Find(unsigned handle) const
{
    if (handle < kFirstStructureHandle || handle - kFirstStructureHandle >= installed_.size()) return nullptr;
    return &installed_[handle - kFirstStructureHandle];
}

}  // namespace nwrfc
