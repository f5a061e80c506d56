// Ordered maps from a string (compared with strcmp, case-sensitive) to a
// pointer-sized value, on the same AVL tree as the long-keyed maps.
//
// Keys are shared copies of the caller's strings, owned by the map; values are
// not owned, except by AStrStrDic (string-to-string tables) which owns the
// AString values set through setString. Map errors ("cstrdic") are fatal;
// node allocation failures raise AMemError.
#pragma once

#include "base/object/AString.h"
#include "base/object/AVLTree.h"

#include <cstddef>

class AFileStream;
class AOutStream;

class AStringa_pvoidAVLNode : public AVLNode {
public:
    AStringa_pvoidAVLNode(const AString& k, void* v) : AVLNode(), key(k), value(v) {}

    AString key;
    void* value;

    void takeEntry(const AStringa_pvoidAVLNode& other) {
        key = other.key;
        value = other.value;
    }
    static void* operator new(size_t size);
    static void operator delete(void* p);
    static long instanceCount();
};

class AStringa_pvoidMap {
public:
    explicit AStringa_pvoidMap(void* defaultValue) : count_(0), default_(defaultValue) {}
    virtual ~AStringa_pvoidMap() = default;

    // Never inserts.
    virtual bool contains(const AString& key) const { return seek(key) != nullptr; }
    virtual void clear();
    virtual void del(const AString& key) = 0;
    virtual Pix first() const = 0;
    virtual void next(Pix& p) const = 0;
    virtual const AString& key(Pix p) const = 0;
    virtual void*& contents(Pix p) const = 0;
    // Linear walks; the tree overrides both.
    virtual bool owns(Pix p) const;
    virtual Pix seek(const AString& key) const;
    virtual bool checkInvariant() const = 0;

    long count() const { return count_; }
    bool empty() const { return count_ == 0; }

protected:
    long count_;
    void* default_;
};

class AStringa_pvoidAVLMap : public AStringa_pvoidMap {
public:
    explicit AStringa_pvoidAVLMap(void* defaultValue = nullptr) : AStringa_pvoidMap(defaultValue), root_(nullptr) {}
    AStringa_pvoidAVLMap(const AStringa_pvoidAVLMap&) = delete;
    AStringa_pvoidAVLMap& operator=(const AStringa_pvoidAVLMap&) = delete;
    ~AStringa_pvoidAVLMap() override;

    void clear() override;
    void del(const AString& key) override;
    Pix first() const override { return avl::First(root_); }
    void next(Pix& p) const override;
    const AString& key(Pix p) const override { return node(p)->key; }
    void*& contents(Pix p) const override { return node(p)->value; }
    bool owns(Pix p) const override;
    Pix seek(const AString& key) const override;
    bool checkInvariant() const override;

    // The value slot of the key, a new entry with the default value when absent.
    void*& insert(const AString& key);
    const AVLNode* root() const { return root_; }

protected:
    static AStringa_pvoidAVLNode* node(Pix p);
    static void freeTree(AVLNode* n);

    AVLNode* root_;  // owned
};

class AStrDic : public AStringa_pvoidAVLMap {
public:
    explicit AStrDic(void* defaultValue = nullptr) : AStringa_pvoidAVLMap(defaultValue) {}

    // For dictionaries whose values are AString objects owned by the dictionary.
    // setString destroys the old value first; getString inserts an absent key.
    void setString(const AString& key, const char* text);
    AString* getString(const AString& key);
    void removeString(const AString& key);
    void clearStrings();
    // The key's string; an empty one is stored first when it has none.
    AString& stringOrEmpty(const AString& key);
    // Every entry of other, its value pointer shared (a merge when not empty).
    void copyFrom(const AStringa_pvoidMap& other);
    // Every non-empty key, in key order, one per line.
    void writeLines(AOutStream& stream) const;
    // A set of words: each line up to the first empty one (or the end) becomes a key with value 0.
    void readLines(AFileStream& stream);
};

// A string-to-string table: owns its values; copies copy the texts.
class AStrStrDic : public AStrDic {
public:
    AStrStrDic() = default;
    AStrStrDic(const AStrStrDic& other);
    AStrStrDic& operator=(const AStrStrDic& other);
    ~AStrStrDic() override;
    // Every entry of other, with a copy of its text (a merge when not empty).
    void copyFrom(const AStrStrDic& other);
};
