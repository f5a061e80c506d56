// The entry markup reader and its conversion to slash markup.
#include "panes/search/dico/mlParse.h"

#include <cstring>
#include <new>
#include <strings.h>

#include "base/object/AFileStream.h"
#include "base/object/ARegExp.h"
#include "base/procedural/AError.h"

namespace {

const char kFile[] = "mlParse";
// name [blanks] = [blanks] [quotes] value [quotes]; \t is a tab.
const char kAttributePattern[] = "\\([_a-zA-Z][_a-zA-Z0-9 ]*\\)[ \t]*=[ \t]*['\"]*\\([^'\"\t]*\\)['\"]*";
const char kEscapePattern[] = "\\([/#{}]\\)";

}  // namespace

AMLParser::AMLParser(int32_t options) : pattern_(nullptr) {
    parser_.text = &AMLParser::onText;
    parser_.tagSeen = &AMLParser::onTag;
    parser_.lineSize = 1000;
    parser_.entities = &entities_;
    entities_.resolve = &AMLParser::onEntity;
    pattern_ = CheckAlloc(new (std::nothrow) ARegExp(kAttributePattern), kFile, __LINE__);
    setOptions(options);
}

AMLParser::~AMLParser() {
    delete pattern_;
}

void AMLParser::text(const char* characters) {
    (void)characters;
}

void AMLParser::tag(const char* name, int16_t isStart, const char* attributes) {
    (void)name, (void)isStart, (void)attributes;
}

AString AMLParser::entity(const char* name) {
    (void)name;
    return AString();
}

void AMLParser::setOptions(int32_t options) {
    options_ = options;
    parser_.tags = tags_.empty() ? nullptr : tags_.data();
    parser_.tagCount = static_cast<int32_t>(tags_.size());
    SgmlSetTagCase(&parser_, options | kSgmlLenient);
}

void AMLParser::setTagNames(const std::vector<const char*>& names) {
    tags_.clear();
    for (const char* n : names)
        tags_.push_back(SgmlTag{n, nullptr, nullptr, 0, 0, 0, 0, 0});
    setOptions(options_);
}

void AMLParser::setEntities(SgmlEntity* table, int32_t count) {
    entities_.entities = table;
    entities_.count = table ? count : 0;
    SgmlSetNameCase(&entities_, options_ & kMLCaseSensitive ? kSgmlEntityCaseSensitive : 0);
}

int AMLParser::parse(AFileStream* stream) {
    if (!stream || !stream->file())
        return 0;
    // A reader without entities would leave every reference as written.
    parser_.entities = &entities_;
    return SgmlInit(stream->file(), &parser_, this);
}

void AMLParser::onText(void* user, const char* characters) {
    static_cast<AMLParser*>(user)->text(characters ? characters : "");
}

void AMLParser::onTag(void* user, int start, const char* name, const char* attributes) {
    static_cast<AMLParser*>(user)->tag(name ? name : "", start ? 1 : 0, attributes);
    // The reader would next check the attributes against its own (empty)
    // tables and stop at the first; this parser has read them: they are
    // consumed in the reader's line, which the reader hands out writable.
    if (attributes && *attributes)
        const_cast<char*>(attributes)[0] = 0;
}

int AMLParser::onEntity(void* user, const char* name, char* buffer, int size) {
    if (!buffer || size <= 0)
        return 0;
    AString value = static_cast<AMLParser*>(user)->entity(name ? name : "");
    std::snprintf(buffer, static_cast<size_t>(size), "%s", value.c_str());
    // An unknown name is replaced, by nothing: the reader would stop at it otherwise.
    return 1;
}

void AMLParser::parseAttributes(const char* attributes) {
    attributes_.clear();
    hasAttributes_ = attributes != nullptr;
    if (!attributes)
        return;
    std::string rest(attributes);
    long start = 0, end = 0;
    while (!rest.empty() && pattern_->match(AString(rest.c_str()), &start, &end) && end > 0) {
        std::string name = pattern_->group(1).c_str();
        std::string value = pattern_->group(2).c_str();
        bool known = false;
        for (const auto& a : attributes_)
            known = known || sameName(a.first.c_str(), name.c_str());
        if (!known)
            attributes_.emplace_back(name, value);
        rest.erase(0, static_cast<size_t>(end));
    }
}

AString AMLParser::getAttribute(const char* name, const char* defaultValue) const {
    if (hasAttributes_ && name)
        for (const auto& a : attributes_)
            if (sameName(a.first.c_str(), name))
                return AString(a.second.c_str());
    return AString(defaultValue ? defaultValue : "");
}

bool AMLParser::sameName(const char* name, const char* literal) const {
    if (!name || !literal)
        return false;
    return (options_ & kMLCaseSensitive) ? std::strcmp(name, literal) == 0 : strcasecmp(name, literal) == 0;
}

AMLDicoParser::AMLDicoParser(int32_t options) : AMLParser(options), escape_(nullptr) {
    escape_ = CheckAlloc(new (std::nothrow) ARegExp(kEscapePattern), kFile, __LINE__);
    setTagNames({"TITRE", "GRAM", "LOKKUP", "RENVOI", "DL", "DT", "EL", "ET"});
}

AMLDicoParser::~AMLDicoParser() {
    delete escape_;
}

AString AMLDicoParser::escaped(const char* characters) const {
    return escape_->replaceAllExpanded(AString(characters ? characters : ""), "\\$1");
}

void AMLDicoParser::text(const char* characters) {
    AString piece = escaped(characters);
    if (capture_) {
        title_ += piece;
        return;
    }
    entry_ += gramDepth_ > 0 ? "/C" : "/A";
    entry_ += piece;
}

void AMLDicoParser::tag(const char* name, int16_t isStart, const char* attributes) {
    if (isStart)
        parseAttributes(attributes);
    if (sameName(name, "TITRE")) {
        if (isStart)
            title_ = AString();
        capture_ = isStart ? 1 : 0;
    } else if (sameName(name, "GRAM")) {
        gramDepth_ += isStart ? 1 : -1;
        entry_ += "\n";
    } else if (sameName(name, "LOKKUP")) {
        entry_ += "\n";
    } else if (sameName(name, "RENVOI")) {
        entry_ += isStart ? "\n/BSyn. /A" : "\n";
    } else if (sameName(name, "DL") || sameName(name, "EL")) {
        if (isStart) {
            // Attribute values are data like the text: never markup.
            AString label = escaped(getAttribute("LABEL", "").c_str());
            if (!label.empty()) {
                entry_ += "\n/B";
                entry_ += label;
                entry_ += ":/A";
            }
        }
        entry_ += "\n";
    } else if (sameName(name, "DT") || sameName(name, "ET")) {
        if (isStart) {
            entry_ += escaped(getAttribute("ID", "").c_str());
            entry_ += " - ";
        } else {
            entry_ += "\n";
        }
    }
}
