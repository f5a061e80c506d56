// Reference-counted handles of compiled character filters.
#include "base/object/AFilter.h"

#include "base/object/AFileSpec.h"
#include "base/procedural/AError.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyFilter.h"
#include "base/procedural/KyString.h"

#include <cstring>


AFilter::AFilter(KY_Filter* handle) : handle_(nullptr) {
    share(handle);
}

AFilter::AFilter(const AFileSpec& spec) : handle_(nullptr) {
    load(spec, false);
}

AFilter::AFilter(const AFilter& other) : handle_(nullptr) {
    share(other.handle_);
}

AFilter& AFilter::operator=(const AFilter& other) {
    if (this != &other && handle_ != other.handle_) {
        releaseHandle();
        share(other.handle_);
    }
    return *this;
}

AFilter::~AFilter() {
    releaseHandle();
}

void AFilter::share(KY_Filter* handle) {
    // 65535 holders of one filter is a program fault, not a data fault.
    if (handle && KY_FilterAddRef(handle) != 0)
        ThrowAssert("bfilters", __LINE__);
    handle_ = handle;
}

void AFilter::releaseHandle() {
    if (handle_)
        KY_FilterRelease(handle_);
    handle_ = nullptr;
}

KY_Filter* AFilter::load(const AFileSpec& spec, bool compile) {
    if (!spec.exists())
        return handle_;
    releaseHandle();
    KY_OpenSpec open;
    KY_ClearOpenSpec(&open);
    if (KY_MakeOpenSpec(KY_GetGlobalFileSys(), &spec.spec(), 0, 0, 0, 0, &open) == 0)
        handle_ = compile ? KY_CompileFilter(&open) : KY_FilterLoad(&open);
    KY_FreeOpenSpec(&open);
    return handle_;
}

void AFilter::makeIdentity() {
    releaseHandle();
    handle_ = KY_FilterNewIdentity(nullptr);
}

AString AFilter::apply(const char* text, long length) const {
    if (length < 0)
        length = static_cast<long>(std::strlen(text));
    if (!handle_ || length == 0)
        return AString(text, length);
    KY_String out;
    KY_InitString(&out, static_cast<uint32_t>(length), "");
    EXK_FilterString(&out, text, length, handle_);
    AString result(out.text, static_cast<long>(out.length));
    KY_FreeString(&out);
    return result;
}

void AFilter::applyInPlace(AString& s) const {
    if (!handle_ || s.empty())
        return;
    s.makeUnique(true);
    long length = KY_FilterMapString(s.body()->text, handle_);
    s.setLength(length);
}

const int16_t* AFilter::table() const {
    return KY_FilterTable(handle_);
}

bool AFilter::isPassThrough() const {
    return handle_ && (KY_FilterNoOp(handle_) || KY_FilterNoOp(handle_));
}

const AFilter& AFilter::emptyFilter() {
    static const AFilter empty;
    return empty;
}
