// The classic row layout of installed structures: the sensor's row lengths
// come out as it expects, and what cannot be laid out is refused.
#include "doctest.h"

#include "Layout.h"

#include <vector>

using namespace nwrfc;

namespace {

std::vector<FieldSpec> Fields(std::initializer_list<std::pair<unsigned, unsigned>> types_and_lengths)
{
    std::vector<FieldSpec> fields;
    for (auto [type, length] : types_and_lengths) {
        fields.push_back(FieldSpec{"F" + std::to_string(fields.size() + 1), type, length, 0});
    }
    return fields;
}

std::vector<unsigned> Offsets(const Structure& structure)
{
    std::vector<unsigned> offsets;
    for (const StructureField& field : structure.fields) offsets.push_back(field.offset);
    return offsets;
}

constexpr unsigned CHAR = 0, DATE = 1, TIME = 3, INT = 8, INT2 = 9;

}  // namespace

TEST_CASE("the sensor's structures")
{
    struct Case {
        const char* name;
        std::vector<FieldSpec> fields;
        unsigned size;
        std::vector<unsigned> offsets;
    };
    const Case cases[] = {
        {"CPU_ALL",
         Fields({{INT2, 2}, {INT2, 2}, {INT2, 2}, {INT, 4}, {INT, 4}, {INT, 4}, {INT, 4}, {INT, 4}, {INT, 4}, {INT, 4},
                 {INT, 4}, {INT, 4}, {INT, 4}}),
         48, {0, 2, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44}},
        {"CRIT_OBJ", Fields({{CHAR, 30}, {CHAR, 30}, {CHAR, 30}, {INT, 4}, {INT, 4}, {INT, 4}, {INT, 4}, {INT, 4}, {INT, 4}}),
         116, {0, 30, 60, 92, 96, 100, 104, 108, 112}},
        {"TSPC_CHECK", Fields({{CHAR, 30}, {INT, 4}, {INT, 4}, {INT, 4}, {INT, 4}, {INT, 4}, {INT, 4}, {INT, 4}}), 60,
         {0, 32, 36, 40, 44, 48, 52, 56}},
        {"DATE_TIME", Fields({{DATE, 8}, {TIME, 6}}), 14, {0, 8}},
        {"CRIT_NR_S", Fields({{INT, 4}, {INT, 4}, {INT, 4}}), 12, {0, 4, 8}},
        {"a CHAR after an INT2 rounds the row to 2", Fields({{INT2, 2}, {CHAR, 1}}), 4, {0, 2}},
    };
    StructureRegistry registry;
    for (const Case& c : cases) {
        CAPTURE(c.name);
        std::string problem;
        unsigned handle = registry.Install(c.name, c.fields, problem);
        REQUIRE(handle >= kFirstStructureHandle);
        CHECK(problem.empty());
        CHECK(registry.Find(handle)->size == c.size);
        CHECK(Offsets(*registry.Find(handle)) == c.offsets);
    }

    std::vector<std::pair<unsigned, unsigned>> rfcsi = {{CHAR, 3}, {CHAR, 4}, {CHAR, 3}, {CHAR, 3}, {CHAR, 32}, {CHAR, 8},
                                                         {CHAR, 8}, {CHAR, 8}, {CHAR, 32}, {CHAR, 10}, {CHAR, 4}, {CHAR, 5},
                                                         {CHAR, 10}, {CHAR, 6}, {CHAR, 1}, {CHAR, 15}, {CHAR, 4}, {CHAR, 44}};
    std::vector<FieldSpec> fields;
    for (auto [type, length] : rfcsi) fields.push_back(FieldSpec{"F", type, length, 0});
    std::string problem;
    const Structure* structure = registry.Find(registry.Install("RFCSI", fields, problem));
    REQUIRE(structure != nullptr);
    CHECK(structure->size == 200);
    CHECK(structure->fields[9].offset == 101);   // RFCDBSYS
}

TEST_CASE("type handles are never a built-in code and a structure nests on its own alignment")
{
    StructureRegistry registry;
    std::string problem;
    unsigned inner = registry.Install("INNER", Fields({{INT, 4}, {CHAR, 1}}), problem);
    unsigned outer = registry.Install("OUTER", {FieldSpec{"C", CHAR, 1, 0}, FieldSpec{"S", inner, 8, 0}}, problem);
    CHECK(inner >= kFirstStructureHandle);
    CHECK(outer == inner + 1);
    REQUIRE(registry.Find(outer) != nullptr);
    CHECK(registry.Find(outer)->fields[1].offset == 4);
    CHECK(registry.Find(outer)->size == 12);
    CHECK(registry.Find(0) == nullptr);
    CHECK(registry.Find(9) == nullptr);
}

TEST_CASE("what cannot be laid out is refused")
{
    struct Case {
        const char* what;
        std::vector<FieldSpec> fields;
        const char* problem;
    };
    const Case cases[] = {
        {"no fields", {}, "a structure has 1 to 10000 fields, not 0"},
        {"an unknown type", {FieldSpec{"X", 7, 8, 0}},
         "field 1 (X) has type 7, which is neither CHAR, DATE, TIME, INT, INT2 nor an installed structure"},
        {"an INT of 2 bytes", {FieldSpec{"X", INT, 2, 0}}, "field 1 (X) has length 2, its type 4"},
        {"a DATE of 6", {FieldSpec{"D", DATE, 6, 0}}, "field 1 (D) has length 6, its type 8"},
        {"a CHAR of 0", {FieldSpec{"C", CHAR, 0, 0}}, "field 1 (C) has length 0"},
        {"an offset the layout does not give", {FieldSpec{"A", CHAR, 3, 0}, FieldSpec{"B", INT, 4, 3}},
         "field 2 (B) has offset 3, laid out at 4"},
        {"a field without a name", {FieldSpec{"", CHAR, 1, 0}}, "field 1 has no name"},
    };
    StructureRegistry registry;
    for (const Case& c : cases) {
        CAPTURE(c.what);
        std::string problem;
        CHECK(registry.Install("S", c.fields, problem) == 0);
        CHECK(problem == c.problem);
    }
    std::string problem;
    CHECK(registry.Install("S", {FieldSpec{"A", CHAR, 3, 0}, FieldSpec{"B", INT, 4, 4}}, problem) == kFirstStructureHandle);
}
