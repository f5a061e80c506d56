// The grouping of result rows into categories: the category list in its
// order (ASVLineClusterer), the category of a document (ASVClusterIDProvider),
// and the category of each row of a getter (ASVClusterInfoGetter for the
// documents of a result list, ASVClusterNetGetter for the rows of an online
// search).
//
// Category text (one line per category, in display order):
//   id TAB label [TAB count] LF
// An id is any text without TAB; a missing label reads as the id.
//
// Shared (ARefObj). Every class holds one reference on what it reads from;
// the provider's base is not owned. Errors of the base pass to the caller.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "base/object/ARefObj.h"
#include "base/object/AString.h"

class ALineGetter;
class ALo;
class ASearchBase;
class ASVResultLineGetter;

class ASVLineClusterer : public ARefObj {
public:
    explicit ASVLineClusterer(const char* categoryText);

    long count() const { return static_cast<long>(ids_.size()); }
    const std::string& id(long i) const { return ids_[static_cast<size_t>(i)]; }
    // The category's label; an unknown id reads "Autres" ("" reads "Sans cat\xE9gorie").
    std::string labelOf(const std::string& id) const;
    // The place of id in the list, -1 when unknown.
    long indexOf(const std::string& id) const;

private:
    std::vector<std::string> ids_;
    std::map<std::string, std::string> labels_;
};

class ASVClusterIDProvider : public ARefObj {
public:
    // Record doc of table of base holds the document's category (its first
    // TAB- or ':'-separated field); a null base puts every document in "".
    ASVClusterIDProvider(ASearchBase* base, int16_t table);
    virtual std::string clusterOf(long doc);

private:
    ASearchBase* base_;  // not owned, or null
    int16_t table_;
};

// The category of each display line of a getter.
class AClusterInfo : public ARefObj {
public:
    virtual std::string clusterOfLine(long line) = 0;
};

class ASVClusterInfoGetter : public AClusterInfo {
public:
    // Lines of a result getter (through its line map), or of a list in its order.
    ASVClusterInfoGetter(ASVResultLineGetter* getter, ASVClusterIDProvider* provider);
    ASVClusterInfoGetter(ALo* lo, ASVClusterIDProvider* provider);
    ~ASVClusterInfoGetter() override;
    std::string clusterOfLine(long line) override;

private:
    ASVResultLineGetter* getter_ = nullptr;  // one reference held, or null
    std::vector<long> docs_;                 // the list's documents without a getter
    ASVClusterIDProvider* provider_;         // one reference held
};

// The category of an online row is its first TAB-separated field.
class ASVClusterNetGetter : public AClusterInfo {
public:
    explicit ASVClusterNetGetter(ALineGetter* rows);
    ~ASVClusterNetGetter() override;
    std::string clusterOfLine(long line) override;

private:
    ALineGetter* rows_;  // one reference held
};
