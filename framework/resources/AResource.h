// A resource of the program (or of a resource library) found by type and by
// name or number, opened and locked with a use count.
//
// Names and numbers follow the Win32 convention: a value whose high 16 bits
// are zero is a number, anything else the address of a NUL-terminated name.
// Misuse (unbalanced open/close, data of a closed resource, an unloadable
// library) is an assertion ("fresourc"); a missing resource is an allocation
// report at open; exists() answers false for it without raising.
#pragma once

#include <cstdint>

#include "base/object/AFileSpec.h"
#include "base/object/AString.h"

// Which resource, apart from its type.
class AResourceRef {
public:
    explicit AResourceRef(uint16_t number = 0);
    AResourceRef(uint16_t number, const AFileSpec& library);
    explicit AResourceRef(const char* nameOrNumber);
    AResourceRef(const char* nameOrNumber, const AFileSpec& library);
    AResourceRef(const AResourceRef& other) = default;
    AResourceRef& operator=(const AResourceRef& other);
    ~AResourceRef() = default;

    void set(const char* nameOrNumber);
    bool operator==(const AResourceRef& other) const;

    bool byNumber() const { return byNumber_ != 0; }
    uint16_t number() const { return number_; }
    const AString& name() const { return name_; }
    const AFileSpec& library() const { return library_; }
    // The name-or-number argument of the Win32 resource calls.
    const char* win32Name() const;

private:
    uint16_t number_;
    AString name_;
    AFileSpec library_;  // empty: the program's own module
    uint16_t byNumber_;
};

// The module that holds a resource: a loaded resource library, or the program.
class AResourceModule {
public:
    AResourceModule() : handle_(nullptr) {}
    // Loads the ref's library when it names one.
    explicit AResourceModule(const AResourceRef& ref);
    virtual ~AResourceModule();
    AResourceModule(const AResourceModule&) = delete;
    AResourceModule& operator=(const AResourceModule&) = delete;

    void setFile(const AFileSpec& file);
    void load();
    void unload();
    // The library's module handle, else the program's own instance.
    void* handle() const;

private:
    AFileSpec file_;
    void* handle_;  // HMODULE, owned (FreeLibrary)
};

class AResource {
public:
    // None of the constructors opens anything.
    AResource(const char* type, const AResourceRef& ref);
    AResource(uint16_t type, const AResourceRef& ref);
    AResource(uint16_t type, uint16_t number);
    AResource(uint16_t type, const char* nameOrNumber);
    // The resource must be closed (assertion "fresourc" 486).
    virtual ~AResource() noexcept(false);
    AResource(const AResource&) = delete;
    AResource& operator=(const AResource&) = delete;

    bool exists() const;
    // Nestable; each open needs one close.
    void open();
    void close();
    // Bytes of the resource; raises AError "AResource::getSize() : Resource must be open"
    // when it was never open.
    long getSize();
    const void* getData() const;

    const AResourceRef& ref() const { return ref_; }
    bool isOpen() const { return openCount_ > 0; }

private:
    void setType(const char* type);
    const char* win32Type() const;

    AResourceRef ref_;
    uintptr_t type_;  // a small number, or 0 with typeName_ set
    AString typeName_;
    AResourceModule module_;
    void* handle_;      // HGLOBAL, null when closed
    const void* data_;  // locked data, not owned
    uint16_t openCount_;
    long size_;    // -1 until known
    void* found_;  // HRSRC
};
