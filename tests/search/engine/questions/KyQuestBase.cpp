// The generated base of 20,000 French documents that the question tests share,
// made once per test executable.
#include "tests/search/engine/questions/KyQuestBase.h"

#include <windows.h>

#include <map>
#include <random>

#include "base/procedural/EngineTables.h"
#include "search/writers/AbpWriter.h"
#include "search/writers/TextFileWriters.h"

namespace {

const char* const kWords[] = {
    "maison",  "jardin",  "pomme",   "poire",    "cerise",   "fruit",    "chat",      "chien",      "animal",
    "voiture", "route",   "ville",   "village",  "riviere",  "montagne", "foret",     "arbre",      "fleur",
    "soleil",  "pluie",   "neige",   "hiver",    "ete",      "automne",  "printemps", "ecole",      "maitre",
    "eleve",   "livre",   "page",    "histoire", "roi",      "reine",    "chateau",   "guerre",     "paix",
    "traite",  "peuple",  "nation",  "langue",   "mot",      "phrase",   "musique",   "chanson",    "peinture",
    "tableau", "musee",   "science", "chimie",   "physique", "etoile",   "planete",   "lune",       "mer",
    "ocean",   "poisson", "bateau",  "port",     "commerce", "marche",   "pain",      "vin",        "fromage",
    "cuisine", "table",   "porte",   "fenetre",  "mur",      "toit",     "pommeraie", "automobile", "train",
    "gare",    "avion",   "ciel",    "nuage",    "vent",     "orage",    "eglise",    "pont",
};
const char* const kStop[] = {"le", "la", "les", "de", "du", "des", "et", "un", "une", "en"};

std::string WordAt(std::mt19937& rng) {
    const size_t n = sizeof kWords / sizeof *kWords;
    if (rng() % 4 == 0)
        return kStop[rng() % (sizeof kStop / sizeof *kStop)];
    double u = (rng() % 10000) / 10000.0;
    return kWords[static_cast<size_t>(n * u * u)];
}

}  // namespace

QuestData* QuestBase::base_ = nullptr;

QuestData::QuestData() {
    std::mt19937 rng(25);
    docs.resize(kDocs);
    std::map<std::string, std::vector<AbpOcc>> words;
    for (int d = 0; d < kDocs; ++d) {
        Doc& doc = docs[static_cast<size_t>(d)];
        int day = d * 9000 / kDocs;  // about 25 years, dates never decrease
        doc.date = (1978 + day / 360) * 10000 + (1 + day % 360 / 30) * 100 + 1 + day % 30 * 28 / 30;
        int paras = 1 + static_cast<int>(rng() % 3), n = 0;
        for (int p = 0; p < paras; ++p) {
            doc.paras.emplace_back();
            for (int w = 0, count = 3 + static_cast<int>(rng() % 8); w < count; ++w, ++n) {
                std::string word = WordAt(rng);
                doc.paras.back().push_back({word, n});
                words[word].push_back({static_cast<uint32_t>(d), static_cast<uint32_t>(p << 16 | n)});
            }
        }
    }
    std::vector<AbpKeyItem> keys;
    for (auto& w : words)
        keys.push_back({w.first, 0, w.second});
    AbpTreeOptions positions;
    positions.positions = true;
    error = AbpWriteTree(folder.path("mots.abp"), keys, positions);
    std::map<int, std::vector<AbpOcc>> dates;
    for (int d = 0; d < kDocs; ++d)
        dates[docs[static_cast<size_t>(d)].date].push_back({static_cast<uint32_t>(d), 0});
    keys.clear();
    for (auto& k : dates)
        keys.push_back({std::to_string(k.first), 0, k.second});
    AbpTreeOptions plain;
    plain.width = abpWidthOf(kDocs);
    if (error.empty())
        error = AbpWriteTree(folder.path("dates.abp"), keys, plain);
    thes = {{"fruit", 1, "pomme"},        {"fruit", 1, "poire"},        {"fruit", 1, "cerise"},
            {"pomme", 2, "fruit"},        {"poire", 2, "fruit"},        {"cerise", 2, "fruit"},
            {"animal", 1, "chat"},        {"animal", 1, "chien"},       {"chat", 2, "animal"},
            {"voiture", 3, "automobile"}, {"automobile", 3, "voiture"}, {"pommeraie", 2, "arbre"},
            {"pommeraie", 2, "jardin"},   {"train", 2, "absentmot"},    {"train", 2, "gare"}};
    if (error.empty())
        error = WriteThesaurus(folder.path("thes"), "", thes);
    std::vector<std::string> stops(std::begin(kStop), std::end(kStop));
    if (error.empty())
        error = WriteStopList(folder.path("mots.stp"), stops);
    indexes.resize(2);
    indexes[0].path = folder.path("mots.abp");
    indexes[0].unitByte = kUnitW | kUnitP;
    indexes[1].path = folder.path("dates.abp");
    indexes[1].occurrences = 1;
    indexes[1].maxValue = kDocs;
    tables.fields = {0xFE, 0xFE, 0, 0, 1, 1};
    tables.lists = {{{0, 0}, {-1, 0}}, {{1, 0}, {-1, 0}}};
    tables.lists[0].pop_back();
    tables.lists[1].pop_back();
    tables.indexes = &indexes;
}

QuestData::~QuestData() {
    for (const char* name : {"mots.abp", "dates.abp", "thes.abp", "thes.dct", "mots.stp"})
        DeleteFileA(folder.path(name).c_str());
}

QuestData& QuestData::Get() {
    static QuestData data;
    return data;
}

void QuestBase::SetUpTestSuite() {
    base_ = &QuestData::Get();
    ASSERT_EQ("", base_->error);
    ASSERT_EQ(0, KY_EngineInit(&base_->tables, nullptr, kDocs));
    for (KY_IndexRecord& index : base_->indexes)
        ASSERT_EQ(0, KY_IndexOpen(&index)) << index.path;
    ASSERT_EQ(0, KY_LoadStopwords("", "", base_->folder.path("mots.stp").c_str()));
    ASSERT_EQ(0, KY_EngineLoadThes(base_->folder.path("thes").c_str()));
}

void QuestBase::TearDownTestSuite() {
    if (!base_)
        return;
    for (KY_IndexRecord& index : base_->indexes)
        if (index.open)
            KY_IndexClose(&index);
    KY_EngineClose();
    KY_StopWordsFree();
    base_ = nullptr;
}

std::set<int> QuestData::Run(const std::string& text, const KY_CriterionField& field, int* code) {
    std::set<int> out;
    KY_EngineClearQuests();
    *code = KY_QuestNew();
    std::vector<std::string> lists;
    if (!*code)
        *code = field.field == 2 ? KY_DateCriterionText(text.c_str(), field, folder.path("").c_str(), &lists)
                                 : KY_TextCriterion(text.c_str(), field);
    if (!*code)
        *code = KY_QuestCompile(nullptr, nullptr);
    KY_QuestFree();
    LoHandle h = -1;
    if (!*code)
        *code = KY_EngineEvaluate(&h, 0, " ");
    if (h != -1) {
        int32_t count, doc, value, firstPos;
        int c = LoRewind(h);
        for (c = c ? c : LoFirst(h, &count, &doc, &value, &firstPos); !c && doc != -1;
             c = LoNext(h, &doc, &value, &firstPos))
            out.insert(doc);
        if (c)
            *code = c;
        LoFree(&h);
    }
    KY_EngineClearQuests();
    for (const std::string& list : lists)
        KY_EngineDeleteList(list.c_str());
    return out;
}
