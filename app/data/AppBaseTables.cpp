// The installations' base-descriptor tables.
#include "app/data/AppBaseTables.h"

namespace {

#define SV_FIG(B) #B ":DOC," #B ":EXT," #B ":TITLE," #B ":LEG," #B ":DIM," #B ":COPYRIGHT"
#define SV_SONS(B) #B ":DOC," #B ":EXT," #B ":TITLE," #B ":LEG," #B ":TEXT," #B ":COPYRIGHT"
#define SV_MEDIA(B)                                                                                       \
    #B ":DOC," #B ":EXT," #B ":TITLE," #B ":LEG," #B ":DIM," #B ":APPNAME," #B ":COPYRIGHT," #B ":VIDNAME," \
    #B ":DCRNAME," #B ":ININAME"
#define SV_VIDEOS(B) #B ":DOC," #B ":EXT," #B ":TITLE," #B ":LEG," #B ":VIDNAME," #B ":DCRNAME," #B ":COPYRIGHT"

#define SV_HDFILES "HDFILES:HDGLIB,HDFILES:HDGINFO,HDFILES:ALPHATRI,HDFILES:NBMOTS,HDFILES:ICONTYPE,HDFILES:CHRHDG"

// Entries 0 to 17, alike in both tables but for HDFILES and the discs.
#define SV_COMMON_ENTRIES(HD, DISC)                                                                              \
    {"", "COM:AIDE,COM:POPS,COM:AVSRC", nullptr, DISC},                                                         \
    {"GLB",                                                                                                     \
     "GLB:HDG,GLB:HDGTHM,GLB:HDGVECT,GLB:THMLST,GLB:TITTHM,GLB:ESSLST,GLB:THMEXT,GLB:FRISE,GLB:VIG,GLB:DOCVIG," \
     "GLB:THEMES,GLB:COPYRIGHT,GLB:URL,GLB:HS",                                                                 \
     "HILITEMAJ", DISC},                                                                                        \
    {"EXPERT", "EXPERT:HDGLIB", "HILITEMAJ", DISC}, {"SVX", "SVX:HDG", "HILITEMAJ", DISC},                     \
    {"LINKS", "LINKS:HDG", nullptr, DISC},                                                                      \
    {"TEXT", "TEXT:DOC,TEXT:EXT,TEXT:TITLE,TEXT:STRUCT,TEXT:STRUCTPOS,TEXT:FORMULE,TEXT:DECOUPE", nullptr, DISC}, \
    {"CARTES",                                                                                                  \
     "CARTES:DOC,CARTES:EXT,CARTES:TITLE,CARTES:LEG,CARTES:DIM,CARTES:PREVIEW,CARTES:FS,CARTES:VECTEUR,"        \
     "CARTES:COPYRIGHT",                                                                                        \
     nullptr, DISC},                                                                                            \
    {"AUTEURS", "AUTEURS:DOC,AUTEURS:NOMS,AUTEURS:DOCLIST", nullptr, DISC},                                     \
    {"SALLES", "SALLES:DOC,SALLES:CONTENU,SALLES:FS,SALLES:SALLEONGLET,SALLES:URL", nullptr, DISC},             \
    {"CHRONO", "CHRONO:HDG,CHRONO:LNK,CHRONO:EVENTS,CHRONO:BMP,CHRONO:THM,CHRONO:SCALE,CHRONO:BKGND", nullptr, \
     DISC},                                                                                                     \
    {"EPHEMERIDE", "EPHEMERIDE:HDG,EPHEMERIDE:BASE", nullptr, DISC},                                            \
    {"PHONEM", "PHONEM:HDG", "HILITEMAJ", DISC}, {"AIDE", "AIDE:GUIDE", nullptr, DISC},                        \
    {"HDFILES", HD, nullptr, DISC}, {"FIG", SV_FIG(FIG), nullptr, DISC}, {"SONS", SV_SONS(SONS), nullptr, DISC}, \
    {"MEDIA", SV_MEDIA(MEDIA), nullptr, DISC}, {                                                                \
        "VIDEOS", SV_VIDEOS(VIDEOS), nullptr, DISC                                                              \
    }

const BaseDescriptor kSingleDisc[] = {
    SV_COMMON_ENTRIES(SV_HDFILES, 0),
    {nullptr, nullptr, nullptr, 0},
};

const BaseDescriptor kCDSet[] = {
    SV_COMMON_ENTRIES(SV_HDFILES ",HDFILES:INFOBASE", -1),
    {"FIGCD", SV_FIG(FIGCD), nullptr, 2},
    {"SONSCD", SV_SONS(SONSCD), nullptr, 3},
    {"MEDIABMP", SV_FIG(MEDIABMP), nullptr, 2},
    {"MEDIAVID", SV_MEDIA(MEDIAVID), nullptr, 3},
    {"VIDEOS4", SV_VIDEOS(VIDEOS4), nullptr, 4},
    {"VIDEOS5", SV_VIDEOS(VIDEOS5), nullptr, 5},
    {"VIDEOS6", SV_VIDEOS(VIDEOS6), nullptr, 6},
    {nullptr, nullptr, nullptr, 0},
};

}  // namespace

const BaseDescriptor* SingleDiscBaseTable() {
    return kSingleDisc;
}

const BaseDescriptor* CDSetBaseTable() {
    return kCDSet;
}
