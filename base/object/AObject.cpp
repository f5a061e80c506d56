// The root object, class records and the class registry.
#include "base/object/AObject.h"

#include "base/object/ADict.h"
#include "base/object/AString.h"

long AObject::liveCount_ = 0;
long AObject::initializedCount_ = 0;
long AObject::destroyedCount_ = 0;

namespace {
const AClass* const kNoParents[] = {nullptr};
}

AClass* AClass::head_ = nullptr;
ADict* AClass::registry_ = nullptr;

AObject* AObject::create() {
    return new (std::nothrow) AObject;
}

AClass AObject::classRecord("Object", &AObject::create, kNoParents, 0);

const AClass* AObject::getClass() const {
    return &classRecord;
}

void* AObject::castTo(const AClass* cls) {
    return cls == &classRecord ? this : nullptr;
}

void* AObject::self() {
    return dynamic_cast<void*>(this);
}

bool AObject::isKindOf(const AClass* cls) const {
    return getClass()->isKindOf(cls);
}

void* AObject::completeNew(AObject* obj) {
    if (!obj)
        return nullptr;
    try {
        obj->noteInitialized();
        return obj->self();
    } catch (...) {
        discardNew(obj);
        throw;
    }
}

void AObject::discardNew(AObject*& obj) {
    AObject* p = obj;
    obj = nullptr;
    p->noteDestroyed();
    delete p;
}

AClass::AClass(const char* className, Factory make, const AClass* const* parentList, long number)
    : name_(className), parents_(parentList), next_(head_), classNumber_(number), factory_(make) {
    head_ = this;
}

AClass::~AClass() {
    AClass** link = &head_;
    while (*link && *link != this)
        link = &(*link)->next_;
    if (*link)
        *link = next_;
}

bool AClass::isKindOf(const AClass* cls) const {
    if (cls == this)
        return true;
    for (const AClass* const* p = parents_; p && *p; ++p) {
        if ((*p)->isKindOf(cls))
            return true;
    }
    return false;
}

void AClass::buildRegistry() {
    ADict* dict = CheckAlloc(new (std::nothrow) ADict(nullptr, true), "dobject", 113);
    registry_ = dict;
    for (const AClass* c = head_; c; c = c->next_) {
        if (dict->contains(c->name_)) {
            AString text("Duplicate Class : ");
            text += c->name_;
            FormatErrorMessage("%s", text.c_str());
            ThrowAssertError(AAssertError("dobject", 120));
        }
        dict->add(c->name_, const_cast<AClass*>(c));
    }
}

void AClass::releaseRegistry() {
    DeleteAndNull(registry_);
}

const AClass* AClass::findByName(const char* name) {
    if (!registry_ || !name)
        return nullptr;
    return static_cast<const AClass*>(registry_->find(name));
}

AObject* AClass::createByName(const char* name) {
    const AClass* cls = findByName(name);
    if (!cls || !cls->factory_)
        return nullptr;
    return cls->factory_();
}
