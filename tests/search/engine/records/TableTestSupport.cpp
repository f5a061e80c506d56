// The two-part test base: part files through the table writer, mounted specs.
#include "tests/search/engine/records/TableTestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "base/procedural/Assoc.h"
#include "base/procedural/KyFile.h"
#include "search/writers/TableWriter.h"
#include "tests/base/procedural/TextTestSupport.h"

namespace {

void Spec(const std::string& path, KY_OpenSpec* spec) {
    KY_ClearOpenSpec(spec);
    KY_MakeOpenSpecIn(KY_GetGlobalFileSys(), path.c_str(), nullptr, 0, 0, 0, 0, spec);
}

}  // namespace

TwoPartBase::TwoPartBase(TempFolder& folder, const PartSource& part0, const PartSource& part1) {
    std::memset(&base, 0, sizeof base);
    std::memset(parts, 0, sizeof parts);
    std::memset(supports, 0, sizeof supports);
    for (KyMountedSupport& s : supports)
        s.first = s.end = -1;  // as mounted without firstdoc and nbdoc
    base.supports = 2;
    base.supportArray = supports;
    base.data = KY_NewAssoc(nullptr, 0);
    AddAssoc(base.data, "DB", parts);
    const PartSource* sources[2] = {&part0, &part1};
    for (int i = 0; i < 2; ++i) {
        const PartSource& s = *sources[i];
        std::string stem = folder.path(i ? "p1" : "p0");
        TablePartFiles files{stem + ".fmt", stem + ".of7", stem + ".uf7", s.cor.empty() ? "" : stem + ".cor"};
        EXPECT_EQ("", WriteTablePart(files, s.records, s.mode, s.adjust, s.cor));
        KyMountedData& d = parts[i];
        d.present = 1;
        d.compression = s.mode;
        d.adjust = s.adjust;
        d.tabcor = !s.cor.empty();
        Spec(files.catalogue, &d.catalogue);
        Spec(files.data, &d.data);
        Spec(files.companion, &d.companion);
        for (const char* ext : {".fmt", ".of7", ".uf7", ".cor"})
            cleanup.push_back(stem + ext);
    }
}

TwoPartBase::~TwoPartBase() {
    for (KyMountedData& d : parts) {
        KY_FreeOpenSpec(&d.catalogue);
        KY_FreeOpenSpec(&d.data);
        KY_FreeOpenSpec(&d.companion);
    }
    KY_FreeAssoc(base.data);
    for (const std::string& f : cleanup)
        DeleteFileA(f.c_str());
}
