// Ordered maps from a signed 32-bit key to a pointer-sized value: the abstract
// map, its threaded AVL tree and the typed views the framework derives from.
//
// The maps own their nodes (pooled), never the values. A null position given
// to an accessor, or an unsound tree, is a broken invariant: MapError (fatal).
// Node allocation failures raise AMemError ("clongdic").
#pragma once

#include "base/object/AVLTree.h"

#include <cstddef>

class AFileStream;
class AObject;
class AString;

// Fills the message buffer with "Map: <message>" and raises the fatal AError of (file, line).
[[noreturn]] void MapError(const char* message, const char* file = "clongdic", long line = 53);

class longa_pvoidAVLNode : public AVLNode {
public:
    long key;
    union {
        void* value;
        long number;  // the slot of ALongLongDic
    };

    void takeEntry(const longa_pvoidAVLNode& other) {
        key = other.key;
        value = other.value;
    }
    static void* operator new(size_t size);
    static void operator delete(void* p);
    static long instanceCount();
};

class longa_pvoidMap {
public:
    explicit longa_pvoidMap(void* defaultValue) : count_(0), default_(defaultValue) {}
    virtual ~longa_pvoidMap() = default;

    virtual void clear();
    virtual void del(long key) = 0;
    virtual Pix first() const = 0;
    virtual void next(Pix& p) const = 0;
    virtual const long& key(Pix p) const = 0;
    virtual void*& contents(Pix p) = 0;
    virtual long keyOf(Pix p) const = 0;
    virtual void* contentsOf(Pix p) const = 0;
    virtual bool owns(Pix p) const = 0;
    virtual Pix seek(long key) const = 0;
    virtual bool checkInvariant() const = 0;

    long count() const { return count_; }
    bool empty() const { return count_ == 0; }
    void* defaultValue() const { return default_; }

protected:
    long count_;
    void* default_;
};

class longa_pvoidAVLMap : public longa_pvoidMap {
public:
    explicit longa_pvoidAVLMap(void* defaultValue = nullptr) : longa_pvoidMap(defaultValue), root_(nullptr) {}
    longa_pvoidAVLMap(const longa_pvoidAVLMap& other);
    longa_pvoidAVLMap& operator=(const longa_pvoidAVLMap& other) {
        assign(other);
        return *this;
    }
    ~longa_pvoidAVLMap() override;

    void clear() override;
    void del(long key) override { removeKey(key); }
    Pix first() const override { return avl::First(root_); }
    void next(Pix& p) const override;
    const long& key(Pix p) const override { return node(p)->key; }
    void*& contents(Pix p) override { return node(p)->value; }
    long keyOf(Pix p) const override { return node(p)->key; }
    void* contentsOf(Pix p) const override { return node(p)->value; }
    bool owns(Pix p) const override;
    Pix seek(long key) const override;
    bool checkInvariant() const override;

    // The value slot of the key, a new entry with the default value when absent.
    void*& slot(long key) { return slotNode(key)->value; }
    void removeKey(long key);
    Pix last() const { return avl::Last(root_); }
    void prev(Pix& p) const;
    void assign(const longa_pvoidAVLMap& other);
    bool contains(long key) const { return seek(key) != nullptr; }

    const AVLNode* root() const { return root_; }

protected:
    longa_pvoidAVLNode* slotNode(long key);
    static longa_pvoidAVLNode* node(Pix p);
    static void deleteSubtree(AVLNode* n);

    AVLNode* root_;  // owned
};

// Key to object (not owned).
class ALongDic : public longa_pvoidAVLMap {
public:
    ALongDic() : longa_pvoidAVLMap(nullptr) {}
    // The object under the key, or null; never inserts.
    AObject* find(long key) const;
};

// Key to a 32-bit number, 0 for a new entry.
class ALongLongDic : public longa_pvoidAVLMap {
public:
    ALongLongDic() : longa_pvoidAVLMap(nullptr) {}
    long& slot(long key) { return slotNode(key)->number; }
    long numberOf(Pix p) const { return node(p)->number; }
};

// Key to string, each string owned by the dictionary (removeAll and the
// destructor free them). The text block of option files: see readFrom.
class AStringLongDic : public longa_pvoidAVLMap {
public:
    AStringLongDic() : longa_pvoidAVLMap(nullptr) {}
    AStringLongDic(const AStringLongDic&) = delete;
    AStringLongDic& operator=(const AStringLongDic&) = delete;
    ~AStringLongDic() override;
    AString* find(long key) const;
    // Stores a copy of text, freeing what the key held.
    void setString(long key, const char* text);
    // A shared copy of the key's text, or an empty text; never inserts.
    AString getString(long key) const;
    void removeAll();
    // Frees this dictionary's strings and takes other's, leaving other empty.
    void takeAll(AStringLongDic& other);
    // Reading replaces the contents only when the whole block is there: a
    // truncated block raises AFileError ("fextras", line, 2012) and keeps them.
    void readFrom(AFileStream& stream);
    void writeTo(AFileStream& stream) const;
};

// Option-file lines: a decimal number ("%ld") or a text, each ended by one LF.
void WriteOptionLine(AFileStream& stream, const char* text);
void WriteOptionNumber(AFileStream& stream, long number);
// The next line read with atol; a missing line raises AFileError ("fextras", line, 2012).
long ReadOptionNumber(AFileStream& stream);
AString ReadOptionLine(AFileStream& stream);
