// The reader of the dictionary's tagged entry markup and its conversion to
// slash markup.
//
// AMLParser runs the SGML reader over a stream: character data, the start and
// end tags of the names a subclass declares, and entity references (those of
// the user's table replaced by the reader, others asked of entity()), each
// handed to a virtual operation. Other tags are skipped.
//
// Entry markup (the dictionary library's second answer):
//   <TITRE>title</TITRE>            the entry's title
//   <GRAM>category</GRAM>           grammatical category, styled /C
//   <DL LABEL="n">...</DL>          a numbered sense;  <DT ID="n">...</DT> its item
//   <EL LABEL="x">, <ET ID="x">     the same for examples
//   <RENVOI>word, word</RENVOI>     "Syn." and the linked synonyms
//   <LOKKUP>...</LOKKUP>            a block on its own lines
//   &name;                          an entity of the table given with setEntities
// Attributes: name = value, the value in any quotes up to the next quote or tab;
// a blank before "=" belongs to the name; a repeated name keeps its first value.
//
// Neither class owns the entity table (it must outlive the parse; it is sorted
// in place). A parse never reads past the stream; errors of the markup stop the
// parse and come back as the SGML reader's code, the texts keeping what came
// before.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/object/AString.h"
#include "search/engine/descriptor/SgmlLib.h"

class AFileStream;
class ARegExp;

// Options: tag and attribute names compared with regard to case.
const int32_t kMLCaseSensitive = 0x02;

class AMLParser {
public:
    explicit AMLParser(int32_t options);
    virtual ~AMLParser();
    AMLParser(const AMLParser&) = delete;
    AMLParser& operator=(const AMLParser&) = delete;

    virtual void text(const char* characters);
    virtual void tag(const char* name, int16_t isStart, const char* attributes);
    virtual AString entity(const char* name);

    void setOptions(int32_t options);
    // Rows {name, replacement, 0}; sorted in place by name.
    void setEntities(SgmlEntity* table, int32_t count);
    // 0, or the SGML reader's code that stopped the parse; nothing without a stream.
    int parse(AFileStream* stream);
    void parseAttributes(const char* attributes);
    AString getAttribute(const char* name, const char* defaultValue) const;
    bool sameName(const char* name, const char* literal) const;

protected:
    // The tag names the reader reports; the others are skipped.
    void setTagNames(const std::vector<const char*>& names);

private:
    static void onText(void* user, const char* characters);
    static void onTag(void* user, int start, const char* name, const char* attributes);
    static int onEntity(void* user, const char* name, char* buffer, int size);

    SgmlParser parser_{};
    SgmlEntityTable entities_{};
    std::vector<SgmlTag> tags_;
    ARegExp* pattern_;  // owned
    bool hasAttributes_ = false;
    std::vector<std::pair<std::string, std::string>> attributes_;
    int32_t options_ = 0;
};

class AMLDicoParser : public AMLParser {
public:
    explicit AMLDicoParser(int32_t options);
    ~AMLDicoParser() override;

    void text(const char* characters) override;
    void tag(const char* name, int16_t isStart, const char* attributes) override;

    AString getEntry() const { return entry_; }
    AString getTitle() const { return title_; }
    // "/", "#", "{" and "}" each behind a backslash.
    AString escaped(const char* characters) const;

private:
    AString entry_;
    ARegExp* escape_;  // owned
    int32_t gramDepth_ = 0;
    AString title_;
    int16_t capture_ = 0;
};
