// The article's pictures: records of the registered sources, or files.
#include "app/lists/ASVDocBitmapSupplier.h"

#include <cctype>
#include <new>

#include "base/procedural/AError.h"
#include "docengine/styles/AStyleSheet.h"

namespace {

void ReleaseSupplier(StandardBitmapSupplier* supplier) {
    if (supplier)
        supplier->release();
}

bool StartsWithNumber(const char* text) {
    while (*text == ' ')
        ++text;
    if (*text == '-' || *text == '+')
        ++text;
    return isdigit(static_cast<unsigned char>(*text)) != 0;
}

}  // namespace

ASVDocBitmapSupplier::ASVDocBitmapSupplier(const char* folder) : folder_(folder ? folder : "") {}

ASVDocBitmapSupplier::~ASVDocBitmapSupplier() {
    dropHeld();
}

void ASVDocBitmapSupplier::addSource(const char* prefix, ASearchBase* base, int16_t table, int16_t field) {
    auto* records = CheckAlloc(new (std::nothrow) StandardBitmapSupplier(base, table), "sfeeders", 2300);
    records->addRef();
    Source source{prefix ? prefix : "", field, {records, &ReleaseSupplier}};
    for (Source& s : sources_) {
        if (s.prefix == source.prefix) {
            s = std::move(source);
            return;
        }
    }
    sources_.push_back(std::move(source));
}

void ASVDocBitmapSupplier::dropHeld() {
    for (auto& entry : held_)
        entry.second->release();
    held_.clear();
}

void ASVDocBitmapSupplier::startArticle(long docNo) {
    if (docNo != docNo_)
        dropHeld();
    docNo_ = docNo;
}

long ASVDocBitmapSupplier::decodedCount() const {
    long n = 0;
    for (const auto& entry : held_)
        n += entry.second->decoded();
    return n;
}

ABitmapRef* ASVDocBitmapSupplier::bitmapNamed(const AString& name) {
    auto found = held_.find(name.c_str());
    if (found != held_.end())
        return found->second;
    ABitmapRef* bitmap = read(name.c_str());
    bitmap->addRef();
    held_.emplace(name.c_str(), bitmap);
    return bitmap;
}

ABitmapRef* ASVDocBitmapSupplier::read(const char* text) {
    for (Source& s : sources_) {
        if (s.prefix.empty() || s.prefix.compare(0, s.prefix.size(), text, 0, s.prefix.size()) != 0 ||
            !StartsWithNumber(text + s.prefix.size()))
            continue;
        try {
            if (ABitmapRef* bitmap = s.records->bitmapNamed(AString(text + s.prefix.size())))
                return bitmap;
        } catch (const AError&) {
            // A record that does not read draws as a missing picture.
        }
        break;
    }
    std::string path = text;
    bool relative = !path.empty() && path[0] != '/' && path[0] != '\\' && path.find(':') == std::string::npos;
    if (relative && !folder_.empty())
        path = folder_ + "\\" + path;
    ABitmapRef* bitmap = nullptr;
    try {
        bitmap = CheckAlloc(new (std::nothrow) ABitmapRef(ABitmapSpec::fromFile(AString(path.c_str()), 0, 1)),
                            "sfeeders", 2330);
    } catch (const AError&) {
        bitmap = CheckAlloc(new (std::nothrow) ABitmapRef(ABitmapSpec()), "sfeeders", 2332);
        bitmap->setMissing();
    }
    return bitmap;
}
