// The generated installation of the line-getter tests.
#include "tests/app/lines/LinesTestSupport.h"

#include <vector>

#include "search/facade/ASearchBase.h"
#include "tests/search/facade/InstallationWriter.h"

namespace {

std::string Root(const TempFolder& folder) {
    std::string root = folder.path("");
    root.pop_back();
    return root;
}

}  // namespace

LinesBase::LinesBase(long records) : cleaner(Root(folder)) {
    std::vector<std::string> rows;
    for (long i = 0; i < records; ++i)
        rows.push_back("titre " + std::to_string(i) + "\t" + std::to_string(i) + "#" + std::to_string(i));
    make(rows, records);
}

LinesBase::LinesBase(const std::vector<std::string>& rows) : cleaner(Root(folder)) {
    make(rows, long(rows.size()));
}

void LinesBase::make(const std::vector<std::string>& rows, long records) {
    Table(folder, "a", rows);
    std::vector<uint32_t> hits;
    for (uint32_t doc : {2u, 7u, 31u})
        if (doc < static_cast<uint32_t>(records))
            hits.push_back(doc);
    WordTree(folder.path("am.abp"), {{"chat", hits}});
    folder.write("t.gen", "VERSION=1\r\n");
    std::string sgm = "<!-- KY MEDIA -->\r\n<KYDesc><pathinfo><path id=\"D\" type=\"dbg\">" + Encode(Root(folder)) +
                      "</path></pathinfo><common><base id=\"A\"><data path=\"D\"><db id=\"DA\">a</db></data>"
                      "<index path=\"D\"><idx id=\"M\" prox=\"PROXW\" nbdoc=\"" + std::to_string(records < 10 ? 10 : records) +
                      "\">am</idx></index>"
                      "<mapping><form id=\"SEARCH\" nbReq=\"1\"><req num=\"0\" direct=\"M\"><sep> </sep></req>"
                      "</form></mapping></base></common></KYDesc>\r\n";
    code = location.open(folder.write("t.sgm", sgm).c_str(), Root(folder).c_str(), nullptr);
    if (code)
        error = location.getLastError().c_str();
}

LinesBase::~LinesBase() {
    delete base;
}

ASearchBase* LinesBase::open() {
    if (!base)
        base = location.openBase("A:DA", nullptr);
    return base;
}
