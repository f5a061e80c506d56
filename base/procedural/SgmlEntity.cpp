// Entity lookup and replacement of the SGML parsing library.
#include "base/procedural/SgmlEntity.h"

#include "base/procedural/KyRegExp.h"
#include "base/procedural/KyString.h"
#include "base/procedural/Trace.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

// Index of name in the sorted table, or -1.
int32_t FindIndex(const SgmlEntityTable* table, const char* name) {
    if (!table || !name)
        return -1;
    bool caseSensitive = (table->flags & kSgmlEntityCaseSensitive) != 0;
    int32_t low = 0;
    int32_t high = table->count - 1;
    while (low <= high) {
        int32_t mid = low + (high - low) / 2;
        const char* key = table->entities[mid].name;
        int order = caseSensitive ? std::strcmp(name, key) : strcasecmp(name, key);
        if (order == 0)
            return mid;
        if (order < 0)
            high = mid - 1;
        else
            low = mid + 1;
    }
    return -1;
}

}  // namespace

int SgmlFindEntity(const SgmlEntityTable* table, const char* name, const char** value) {
    int32_t i = FindIndex(table, name);
    if (i < 0)
        return 0;
    if (value)
        *value = table->entities[i].value;
    return 1;
}

int SgmlReplaceEntities(KY_String* line, const KY_RegExp* pattern, SgmlEntityTable* table, void* user,
                        KY_String* missing) {
    long position = 0;
    long start = 0;
    long end = 0;
    int result = 1;
    KY_String name;
    KY_InitString(&name, 0, "");
    char resolved[256];
    while (KY_RegExecAt(line->text, position, pattern, &start, &end) == 1) {
        if (!KY_StringSetRegGroup(&name, 1))
            KY_StringSetRegGroup(&name, 0);
        int32_t i = FindIndex(table, name.text);
        bool found = i >= 0;
        const char* value = found ? table->entities[i].value : nullptr;
        if (found)
            ++table->entities[i].uses;
        if (!found && table && table->resolve) {
            resolved[0] = 0;
            if (table->resolve(user, name.text, resolved, sizeof resolved)) {
                resolved[sizeof resolved - 1] = 0;
                value = resolved;
                found = true;
            }
        }
        if (found && value) {
            KY_StringReplace(line, static_cast<uint32_t>(start), static_cast<uint32_t>(end), value);
            position = start + static_cast<long>(std::strlen(value));
            if (end == start && position == start)
                ++position;  // an empty match replaced by nothing must still move on
        } else {
            if (!found && missing) {
                KY_StringSet(missing, name.text);
                result = 0;
                break;
            }
            if (!found)
                TraceLevel(0, "#Entity not found: %s", name.text);
            position = end > start ? end : start + 1;
        }
    }
    KY_FreeString(&name);
    return result;
}

KY_RegExp* SgmlCompileDelimited(char open, char close) {
    char pattern[32];
    std::snprintf(pattern, sizeof pattern, "%c\\([^%c%c][^%c%c]*\\)%c", open, open, close, open, close, close);
    return KY_RegComp(pattern);
}
