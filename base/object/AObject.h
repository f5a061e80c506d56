// Root of every framework object, its run-time class record and the registry
// that creates objects by class name.
//
// Each registered class puts SV_DECLARE_CLASS(Cls) in its body and one
// SV_IMPLEMENT_CLASS... line in its .cpp; the record registers itself during
// static initialisation. Records are static and live until exit.
#pragma once

#include "base/procedural/AError.h"

class AClass;
class ADict;

class AObject {
public:
    AObject() { ++liveCount_; }
    AObject(const AObject&) { ++liveCount_; }
    AObject& operator=(const AObject&) = default;
    virtual ~AObject() { --liveCount_; }

    virtual const AClass* getClass() const;
    // This object viewed as class cls (adjusted to that base), or null.
    virtual void* castTo(const AClass* cls);
    // Start of the complete object.
    virtual void* self();
    bool isKindOf(const AClass* cls) const;
    virtual void noteInitialized() { ++initializedCount_; }
    virtual void noteDestroyed() { ++destroyedCount_; }

    // The step after every new of a framework object: counts it initialised
    // and answers its start; on an exception the object is destroyed first.
    static void* completeNew(AObject* obj);
    static void discardNew(AObject*& obj);

    static long liveCount() { return liveCount_; }
    static long initializedCount() { return initializedCount_; }
    static long destroyedCount() { return destroyedCount_; }

    static AClass classRecord;
    static AObject* create();

private:
    static long liveCount_;
    static long initializedCount_;
    static long destroyedCount_;
};

class AClass {
public:
    using Factory = AObject* (*)();

    // Pushes the record at the head of the class list.
    AClass(const char* name, Factory factory, const AClass* const* parents, long classNumber);
    // Leaves the class list (records normally live until exit).
    virtual ~AClass();

    bool isKindOf(const AClass* cls) const;
    const char* name() const { return name_; }
    const AClass* const* parents() const { return parents_; }
    long classNumber() const { return classNumber_; }
    Factory factory() const { return factory_; }
    const AClass* next() const { return next_; }

    // Builds the name table from every record; a repeated name is a fatal
    // assertion ("Duplicate Class : <name>").
    static void buildRegistry();
    // Deletes the name table (exit path).
    static void releaseRegistry();
    // The record registered under name (case-sensitive), or null before the registry exists.
    static const AClass* findByName(const char* name);
    // A new object of the named class, or null (unknown name, no factory, no memory).
    static AObject* createByName(const char* name);
    static const AClass* listHead() { return head_; }

private:
    const char* name_;
    const AClass* const* parents_;
    AClass* next_;
    long classNumber_;
    Factory factory_;

    static AClass* head_;
    static ADict* registry_;  // owned
};

// Clears the variable first, then deletes what it held.
template <class T>
void DeleteAndNull(T*& var) {
    T* p = var;
    var = nullptr;
    delete p;
}

#define SV_DECLARE_CLASS(Cls)                     \
public:                                           \
    static AClass classRecord;                    \
    static AObject* create();                     \
    const AClass* getClass() const override;      \
    void* castTo(const AClass* cls) override;     \
                                                  \
private:

// Common part: getClass, and the record with its parents array.
#define SV_CLASS_RECORD_(Cls, Number, Factory, ...)                              \
    static const AClass* const Cls##_parents_[] = {__VA_ARGS__, nullptr};       \
    AClass Cls::classRecord(#Cls, Factory, Cls##_parents_, Number);              \
    const AClass* Cls::getClass() const { return &Cls::classRecord; }

// A concrete class with one registered base; the registry name is the class name.
#define SV_IMPLEMENT_CLASS(Cls, Number, Base)                                    \
    AObject* Cls::create() { return new (std::nothrow) Cls; }                    \
    SV_CLASS_RECORD_(Cls, Number, &Cls::create, &Base::classRecord)              \
    void* Cls::castTo(const AClass* cls) {                                       \
        if (cls == &Cls::classRecord)                                            \
            return this;                                                         \
        return Base::castTo(cls);                                                \
    }

// A concrete class with two registered bases, searched first base first.
#define SV_IMPLEMENT_CLASS2(Cls, Number, Base1, Base2)                           \
    AObject* Cls::create() { return new (std::nothrow) Cls; }                    \
    SV_CLASS_RECORD_(Cls, Number, &Cls::create, &Base1::classRecord, &Base2::classRecord) \
    void* Cls::castTo(const AClass* cls) {                                       \
        if (cls == &Cls::classRecord)                                            \
            return this;                                                         \
        if (void* p = Base1::castTo(cls))                                        \
            return p;                                                            \
        return Base2::castTo(cls);                                               \
    }

// A class that cannot be created by name (no factory).
#define SV_IMPLEMENT_ABSTRACT_CLASS(Cls, Number, Base)                           \
    AObject* Cls::create() { return nullptr; }                                   \
    SV_CLASS_RECORD_(Cls, Number, nullptr, &Base::classRecord)                   \
    void* Cls::castTo(const AClass* cls) {                                       \
        if (cls == &Cls::classRecord)                                            \
            return this;                                                         \
        return Base::castTo(cls);                                                \
    }

#include <new>
