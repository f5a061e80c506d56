// Sound-alike proposals: the matcher's spellings, checked against the phonetic base.
#include "app/phon/IPhonAbp.h"

#include <string>

#include "app/data/ADataManager.h"
#include "base/object/AStrDic.h"
#include "base/procedural/AError.h"
#include "search/engine/phon/KyPhon.h"
#include "search/engine/request/KyRequest.h"
#include "search/facade/ASearchBase.h"
#include "search/facade/ASearchRequest.h"

namespace {

const char kFile[] = "PhonemPane";
IPhonAbp* gApplication = nullptr;

}  // namespace

IPhonAbp::IPhonAbp(int16_t flag, int16_t base, int16_t table)
    : source(KY_PhonCandidates), checkFlag(flag), checkBase(base), checkTable(table) {}

IPhonAbp::IPhonAbp(CandidateSource matcher, int16_t flag, int16_t base, int16_t table)
    : IPhon(matcher), source(matcher), checkFlag(flag), checkBase(base), checkTable(table) {}

IPhonAbp::~IPhonAbp() {
    clear();
    if (gApplication == this)
        gApplication = nullptr;
}

IPhonAbp* IPhonAbp::application() {
    return gApplication;
}

void IPhonAbp::setApplication(IPhonAbp* phon) {
    gApplication = phon;
}

void IPhonAbp::clear() {
    results.removeAll();
    chosenText = AString();
}

bool IPhonAbp::hasInnerBlank(const char* text) {
    std::string s(text ? text : "");
    size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return false;
    size_t last = s.find_last_not_of(' ');
    return s.find(' ', first) < last;
}

void IPhonAbp::addResult(const AString& text) {
    results.setString(results.count(), text.c_str());
}

long IPhonAbp::search(const char* text) {
    clear();
    if (!text || hasInnerBlank(text))
        return 0;
    if (IPhon::findCandidates(text) <= 0 || IPhon::getCount() <= 0)
        return 0;
    AStrDic& found = IPhon::getCandidates();
    if (!checkFlag) {
        for (Pix p = found.first(); p; found.next(p))
            addResult(found.key(p));
        return getResultCount();
    }
    ASearchRequest* request = runCheckQuery(checkQuestion(text).c_str(), checkBase);
    ASearchBase* base = request && gDataManager ? gDataManager->getBase(checkBase) : nullptr;
    if (!base)
        return 0;
    AStrDic seen;
    const long count = request->getResultCount(0);
    for (long i = 1; i <= count; ++i) {
        int32_t doc = 0;
        int part = 0;
        KY_SplitDocRef(&doc, &part, static_cast<KyDocRef>(request->getResultDoc(i)));
        AString form = base->getText(checkTable, doc, 0);
        if (form.empty() || seen.contains(form))
            continue;
        seen.insert(form) = nullptr;
        addResult(form);
    }
    return getResultCount();
}

std::string IPhonAbp::checkQuestion(const char* text) {
    AStrDic& found = IPhon::getCandidates();
    AStrDic best;
    AStrDic* used = &found;
    if (found.count() > kMaxCheckCandidates) {
        // The matcher lists its readings best first; the dictionary has lost that order.
        KyPhonList* list = nullptr;
        if (source(text, 0, &list) == 0 && list) {
            for (int32_t k = 0; k < list->count && best.count() < kMaxCheckCandidates; ++k)
                if (!best.contains(AString(list->strings[k])))
                    best.insert(AString(list->strings[k])) = nullptr;
            used = &best;
        }
        KY_PhonFreeList(list);
    }
    std::string question;
    for (Pix p = used->first(); p; used->next(p)) {
        if (!question.empty())
            question += " OU ";
        question += used->key(p).c_str();
    }
    return question;
}

ASearchRequest* IPhonAbp::runQuery(int16_t baseIndex, const char* question) {
    // An installation without the phonetic base proposes nothing.
    ADataManager* data = gDataManager;
    if (!data || baseIndex < 0 || baseIndex >= data->getBaseCount() || !data->getBase(baseIndex))
        return nullptr;
    ASearchChannel* channel = data->getSearchChannel(baseIndex);
    if (!channel)
        ThrowAssert(kFile, 161);
    ASearchRequest* request = StartSearchRequest(data, channel, baseIndex, 0, 0);
    if (!request)
        return nullptr;
    channel->setQuestion(1, question);
    channel->execute();
    return request;
}

ASearchRequest* IPhonAbp::runCheckQuery(const char* question, int16_t baseIndex) {
    ASearchRequest* request = runQuery(baseIndex, question);
    return request && request->getResultCount(0) > 0 ? request : nullptr;
}
