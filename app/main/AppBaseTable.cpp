// The sample installation's base-descriptor table.
#include "app/main/AppBaseTable.h"

namespace {

const BaseDescriptor kSampleTable[] = {
    {"", "TEXT:DOC,TEXT:EXT,TEXT:TITLE", nullptr, 1},
    {"TEXT", "TEXT:DOC,TEXT:EXT,TEXT:TITLE", nullptr, 1},
    {"ENCART", "ENCART:DOC", nullptr, 1},
    {"TEXT", "TEXT:TITLE", nullptr, 1},
    {"LINKS", "LINKS:LNK", nullptr, 1},
    {"MEDIA", "MEDIA:DOC", nullptr, 1},
    {"CARTES", "CARTES:DOC", nullptr, 1},
    {"AUTEURS", "AUTEURS:DOC", nullptr, 1},
    {"SALLES", "SALLES:DOC", nullptr, 1},
    {"CHRONO", "CHRONO:HDG", nullptr, 1},
    {"EPHEMERIDE", "EPHEMERIDE:DOC", nullptr, 1},
    {"PHONEM", "PHONEM:DOC", nullptr, 1},
    {"AIDE", "AIDE:DOC", nullptr, 1},
    {"HDFILES", "HDFILES:HDGLIB,HDFILES:HDGINFO", nullptr, 1},
    {nullptr, nullptr, nullptr, 0},
};

}  // namespace

const BaseDescriptor* SampleBaseTable() {
    return kSampleTable;
}
