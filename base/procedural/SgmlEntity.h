// Entity references of the SGML parsing library: the sorted entity table, its
// lookup and the replacement of every reference in a line. They live in the
// procedural layer because filters replace entities too; the SGML reader of
// the search engine builds on them.
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

// Answers the value of a name missing from a table into buffer (size bytes,
// terminated), non-zero when it has one.
typedef int (*SgmlEntityResolver)(void* user, const char* name, char* buffer, int size);

struct SgmlEntityTable {
    SgmlEntity* entities;  // not owned; sorted by name in the table's comparison
    int32_t count;
    int32_t flags;
    SgmlEntityResolver resolve = nullptr;  // or null
};

// Binary search of a name: non-zero with *value set when found, 0 otherwise.
int SgmlFindEntity(const SgmlEntityTable* table, const char* name, const char** value);
// Replaces every match of pattern in line (group 1, or the whole match, is the
// name) by the entity's value, or by the resolver's answer (user is passed to
// it) for a name missing from the table; the search goes on after the inserted
// value, which is never scanned again. With missing null, a name nobody knows
// is traced ("#Entity not found: %s") and left; otherwise the replacement stops
// there, the name goes to missing and the answer is 0. 1 otherwise.
int SgmlReplaceEntities(KY_String* line, const KY_RegExp* pattern, SgmlEntityTable* table, void* user = nullptr,
                        KY_String* missing = nullptr);
// The pattern of a name between two delimiters, its group 1 the name; null
// when it cannot be compiled. Free with KY_RegFree.
KY_RegExp* SgmlCompileDelimited(char open, char close);
