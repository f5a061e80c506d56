// Program resources: references, resource libraries and open resources.
#include "framework/resources/AResource.h"

#include <windows.h>

#include <cstring>

#include "base/procedural/AError.h"

namespace {

bool IsNumber(const char* nameOrNumber) {
    return (reinterpret_cast<uintptr_t>(nameOrNumber) >> 16) == 0;
}

}  // namespace

AResourceRef::AResourceRef(uint16_t number) : number_(number), byNumber_(1) {}

AResourceRef::AResourceRef(uint16_t number, const AFileSpec& library)
    : number_(number), library_(library), byNumber_(1) {}

AResourceRef::AResourceRef(const char* nameOrNumber) : number_(0), byNumber_(0) {
    set(nameOrNumber);
}

AResourceRef::AResourceRef(const char* nameOrNumber, const AFileSpec& library)
    : number_(0), library_(library), byNumber_(0) {
    set(nameOrNumber);
}

AResourceRef& AResourceRef::operator=(const AResourceRef& other) {
    if (this == &other)
        return *this;
    number_ = other.number_;
    byNumber_ = other.byNumber_;
    name_ = other.name_;
    library_ = other.library_;
    return *this;
}

void AResourceRef::set(const char* nameOrNumber) {
    if (IsNumber(nameOrNumber)) {
        byNumber_ = 1;
        number_ = static_cast<uint16_t>(reinterpret_cast<uintptr_t>(nameOrNumber));
        return;
    }
    byNumber_ = 0;
    name_ = AString(nameOrNumber);
}

bool AResourceRef::operator==(const AResourceRef& other) const {
    if (this == &other)
        return true;
    if (byNumber_ != other.byNumber_ || !(library_ == other.library_))
        return false;
    if (byNumber_)
        return number_ == other.number_;
    return std::strcmp(name_.c_str(), other.name_.c_str()) == 0;
}

const char* AResourceRef::win32Name() const {
    return byNumber_ ? MAKEINTRESOURCEA(number_) : name_.c_str();
}

AResourceModule::AResourceModule(const AResourceRef& ref) : handle_(nullptr) {
    if (!ref.library().empty())
        setFile(ref.library());
}

AResourceModule::~AResourceModule() {
    unload();
}

void AResourceModule::setFile(const AFileSpec& file) {
    file_ = file;
    load();
}

void AResourceModule::load() {
    unload();
    if (file_.empty() || !file_.exists())
        ThrowAssert("fresourc", 329);
    handle_ = LoadLibraryA(file_.path().c_str());
    if (!handle_)
        ThrowAssert("fresourc", 342);
}

void AResourceModule::unload() {
    if (handle_)
        FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = nullptr;
}

void* AResourceModule::handle() const {
    // Until the application object keeps its instance handle, the program's
    // own module is the one that started the process.
    return handle_ ? handle_ : GetModuleHandleA(nullptr);
}

AResource::AResource(const char* type, const AResourceRef& ref)
    : ref_(ref), type_(0), handle_(nullptr), data_(nullptr), openCount_(0), size_(-1), found_(nullptr) {
    setType(type);
}

AResource::AResource(uint16_t type, const AResourceRef& ref)
    : ref_(ref), type_(type), handle_(nullptr), data_(nullptr), openCount_(0), size_(-1), found_(nullptr) {}

AResource::AResource(uint16_t type, uint16_t number) : AResource(type, AResourceRef(number)) {}

AResource::AResource(uint16_t type, const char* nameOrNumber) : AResource(type, AResourceRef(nameOrNumber)) {}

AResource::~AResource() noexcept(false) {
    if (openCount_ != 0 || handle_)
        ThrowAssert("fresourc", 486);
}

void AResource::setType(const char* type) {
    if (IsNumber(type)) {
        type_ = reinterpret_cast<uintptr_t>(type);
        return;
    }
    type_ = 0;
    typeName_ = AString(type);
}

const char* AResource::win32Type() const {
    return type_ ? MAKEINTRESOURCEA(type_) : typeName_.c_str();
}

bool AResource::exists() const {
    AResourceModule module(ref_);
    return FindResourceA(static_cast<HMODULE>(module.handle()), ref_.win32Name(), win32Type()) != nullptr;
}

void AResource::open() {
    if (openCount_++ != 0)
        return;
    try {
        if (handle_)
            ThrowAssert("fresourc", 496);
        if (!ref_.library().empty())
            module_.setFile(ref_.library());
        HMODULE module = static_cast<HMODULE>(module_.handle());
        found_ = FindResourceA(module, ref_.win32Name(), win32Type());
        handle_ = found_ ? LoadResource(module, static_cast<HRSRC>(found_)) : nullptr;
        CheckAlloc(handle_, "fresourc", 510);
        data_ = LockResource(static_cast<HGLOBAL>(handle_));
        if (!data_)
            ThrowAssert("fresourc", 513);
    } catch (...) {
        openCount_ = 0;
        handle_ = nullptr;
        data_ = nullptr;
        module_.unload();
        throw;
    }
}

void AResource::close() {
    if (openCount_ == 0)
        ThrowAssert("fresourc", 519);
    if (--openCount_ != 0)
        return;
    if (!handle_ || !data_)
        ThrowAssert("fresourc", 519);
    if (FreeResource(static_cast<HGLOBAL>(handle_)))
        ThrowAssert("fresourc", 295);
    handle_ = nullptr;
    data_ = nullptr;
    module_.unload();
}

long AResource::getSize() {
    if (size_ != -1)
        return size_;
    if (!handle_) {
        FormatErrorMessage("AResource::getSize() : Resource must be open");
        ThrowError(AError("fresourc", 535));
    }
    long size = static_cast<long>(SizeofResource(static_cast<HMODULE>(module_.handle()), static_cast<HRSRC>(found_)));
    if (size < 1)
        size = static_cast<long>(GlobalSize(static_cast<HGLOBAL>(handle_)));
    size_ = size;
    return size_;
}

const void* AResource::getData() const {
    if (!handle_ || !data_)
        ThrowAssert("fresourc", 551);
    return data_;
}
