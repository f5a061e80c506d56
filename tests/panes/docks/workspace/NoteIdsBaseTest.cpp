// Note ids of documents beyond the first base carry the document's number
// after the information records (table 1 of base 13), read from a generated
// installation.
#include <gtest/gtest.h>

#include <string>

#include "app/data/ADataManager.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "panes/docks/workspace/ANoteManager.h"
#include "panes/docks/workspace/ASVMarkerCallBack.h"
#include "search/facade/ADataLocation.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/search/facade/FacadeTestSupport.h"
#include "tests/search/facade/InstallationWriter.h"

namespace {

// Base A with tables DA (3 records) and DB (5 records); every entry of the
// descriptor table opens DA, entry 13 (the information base) DA then DB.
struct InfoInstallation {
    InfoInstallation() {
        std::string root = folder.path("");
        root.pop_back();
        Table(folder, "a", {"un", "deux", "trois"});
        Table(folder, "b", {"1", "2", "3", "4", "5"});
        folder.write("t.gen", "VERSION=1\r\n");
        std::string sgm = "<!-- KY MEDIA -->\r\n<KYDesc><pathinfo><path id=\"D\" type=\"dbg\">" + Encode(root) +
                          "</path></pathinfo><common><base id=\"A\"><data path=\"D\"><db id=\"DA\">a</db>"
                          "<db id=\"DB\">b</db></data></base></common></KYDesc>\r\n";
        code = location.open(folder.write("t.sgm", sgm).c_str(), root.c_str(), nullptr);
        for (int i = 0; i < 13; ++i)
            table[i] = {i ? "A" : "", "A:DA", nullptr, 0};
        table[13] = {"A", "A:DA,A:DB", nullptr, 0};
        table[14] = {nullptr, nullptr, nullptr, 0};
        gBaseDescriptors = table;
    }
    ~InfoInstallation() { gBaseDescriptors = nullptr; }

    BaseDescriptor table[15];
    TempFolder folder;
    FolderCleaner cleaner{folder.path("").substr(0, folder.path("").size() - 1)};
    ADataLocation location;
    long code = -1;
};

}  // namespace

TEST(NoteIds, ADocumentBeyondTheFirstBaseCountsAfterTheInformationRecords) {
    InfoInstallation in;
    ASSERT_EQ(0, in.code) << in.location.getLastError().c_str();
    ADataManager data(&in.location);
    ANoteManager store(&data, AFileSpec(in.folder.path("").substr(0, in.folder.path("").size() - 1).c_str()),
                       "sv.note");
    store.setReadOnly(1);
    ASVMarkerCallBack* callBack = store.getMarkerCallBack();
    struct Row {
        long reference;
        long number;
    } rows[] = {
        {1L << 24 | 12, 12},      // base index 0
        {2L << 24 | 12, 12 + 5},  // base index 1: after the 5 information records
        {3L << 24 | 0, 5},
        {12, 12},  // no base byte
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reference);
        callBack->document = row.reference;
        EXPECT_EQ(row.number, data.getDocRecord(row.reference)) << "the one document-number rule";
        EXPECT_EQ(1L << 24 | row.number, callBack->newNoteId(store.getMarkerSet(row.reference), 0));
    }
}
