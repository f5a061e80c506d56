// Pictures read from the records of a data base.
#include "app/lists/StandardBitmapSupplier.h"

#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <new>

#include "base/procedural/AError.h"
#include "base/object/AFile.h"
#include "base/object/AFileStream.h"
#include "base/object/AFolderSpecs.h"
#include "app/data/AppDataManager.h"
#include "docengine/styles/AStyleSheet.h"
#include "search/facade/ASearchBase.h"

StandardBitmapSupplier::StandardBitmapSupplier(ASearchBase* base, int16_t table) : base_(base), table_(table) {
    if (!base_)
        ThrowAssert("sfeeders", 2188);
}

StandardBitmapSupplier::~StandardBitmapSupplier() {
    ReleaseAndNull(last_);
}

long StandardBitmapSupplier::RecordOfName(const char* name) {
    const char* p = name ? name : "";
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    long n = 0;
    for (; isdigit(static_cast<unsigned char>(*p)); ++p)
        n = n * 10 + (*p - '0');
    return negative ? -n : n;
}

namespace {

// The record read through a temporary file (the image readers read files), at
// once, so that the file can go before the bitmap is drawn.
ABitmapRef* ReadRecordBitmap(ASearchBase* base, short table, long record) {
    ATempFileSpec temp("bm", ATempFolderSpec());
    AFile file(temp, 0, kPlainFileOptions, false);
    ABitmapRef* bitmap = nullptr;
    try {
        {
            AFileStream out(file, "wb", 0);
            base->readToStream(out, table, record, 0);
            out.close();
        }
        bitmap = CheckAlloc(new (std::nothrow) ABitmapRef(ABitmapSpec::fromFile(temp.path(), 0, 1)), "sfeeders", 2200);
        bitmap->addRef();
        bitmap->picture();
    } catch (...) {
        ReleaseAndNull(bitmap);
        DeleteFileA(temp.path().c_str());
        throw;
    }
    DeleteFileA(temp.path().c_str());
    return bitmap;
}

}  // namespace

ABitmapRef* StandardBitmapSupplier::bitmapNamed(const AString& name) {
    ABitmapRef* bitmap = ReadRecordBitmap(base_, table_, RecordOfName(name.c_str()));
    ReleaseAndNull(last_);
    last_ = bitmap;
    return bitmap;
}

ASingleDocBitmapSupplier::~ASingleDocBitmapSupplier() {
    ReleaseAndNull(last_);
}

ABitmapRef* ASingleDocBitmapSupplier::bitmapNamed(const AString& name) {
    (void)name;
    ReleaseAndNull(last_);
    if (!gAppDataManager || docNo_ < 0)
        return nullptr;
    ADocRefInfo info = gAppDataManager->getDocRefInfo(docNo_);
    ASearchBase* base = gAppDataManager->getBase(info.fCdBase);
    if (!base)
        return nullptr;
    last_ = ReadRecordBitmap(base, 0, info.fRecord);
    return last_;
}
