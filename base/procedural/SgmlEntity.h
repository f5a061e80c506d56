// Entity references of the SGML parsing library: the sorted entity table, its
// lookup and the replacement of every reference in a line.
#pragma once

#include <cstdint>

struct KY_RegExp;
struct KY_String;

struct SgmlEntity {
    const char* name;    // not owned
    const char* value;   // not owned; null: no value
    int32_t uses;
};

// Option of an entity table: names compared with regard to case.
const int32_t kSgmlEntityCaseSensitive = 0x02;

struct SgmlEntityTable {
    SgmlEntity* entities;  // not owned; sorted by name in the table's comparison
    int32_t count;
    int32_t flags;
};

// Binary search of a name: non-zero with *value set when found, 0 otherwise.
int SgmlFindEntity(const SgmlEntityTable* table, const char* name, const char** value);
// Replaces every match of pattern in line (group 1, or the whole match, is the
// name) by the entity's value; the search goes on after the inserted value. A
// name missing from the table is traced ("#Entity not found: %s") and left.
void SgmlReplaceEntities(KY_String* line, const KY_RegExp* pattern, SgmlEntityTable* table);
// The pattern of a name between two delimiters, its group 1 the name; null
// when it cannot be compiled. Free with KY_RegFree.
KY_RegExp* SgmlCompileDelimited(char open, char close);
