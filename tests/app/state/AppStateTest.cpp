// Navigation states: their text form as tables of text against object, a
// round trip of random states, the copy and chain rules, and damaged texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "app/state/AppState.h"
#include "tests/app/state/StateTestSupport.h"

namespace {

class AppStateText : public StateText {
protected:
    std::string form(const AppState& state) {
        return written([&](AFileStream& s) { state.write(s); });
    }
    TestSearchTable table;
};

std::string Text(std::mt19937& random) {
    static const char kBytes[] = "ab Z\n\r\xE9\x80\xFF:<!-->\t0";
    std::string text;
    for (int n = random() % 6; n > 0; --n)
        text += kBytes[random() % (sizeof kBytes - 1)];
    return text;
}

void FillPart(ABaseState& part, std::mt19937& random) {
    part.fPane = static_cast<int16_t>(random());
    part.fMode = static_cast<int16_t>(random());
    part.fSalleType = static_cast<int8_t>(random());
    part.fSalleLR = static_cast<int16_t>(random());
    part.fClone = static_cast<int16_t>(random() % 2);
    part.fNew = static_cast<int16_t>(random() % 2);
    part.fHisto = static_cast<int16_t>(random() % 2);
    for (int n = random() % 4; n > 0; --n)
        part.fUserInfo.slot(static_cast<long>(random())) = static_cast<long>(random());
    for (int n = random() % 4; n > 0; --n)
        part.setUserTxtInfo(static_cast<int16_t>(random() % 2000 - 1), Text(random).c_str());
}

AppState* RandomState(std::mt19937& random, ASVLoSearchState* const* searches) {
    ADocState* doc = nullptr;
    ALeftState* left = nullptr;
    ARightState* right = nullptr;
    if (random() % 2) {
        doc = new ADocState(static_cast<int16_t>(random()));
        FillPart(*doc, random);
        doc->fCadenas = static_cast<int16_t>(random() % 2);
        doc->fForceDoc = static_cast<int16_t>(random() % 2);
        doc->fDocType = static_cast<int16_t>(random() % 9);
        doc->fDate = static_cast<long>(random());
    }
    if (random() % 2) {
        left = new ALeftState();
        FillPart(*left, random);
        left->fExpand = static_cast<int16_t>(random() % 2);
    }
    if (random() % 2) {
        right = new ARightState(static_cast<int16_t>(random()), static_cast<long>(random() % 5000) - 1);
        FillPart(*right, random);
        right->fCadenas = static_cast<int16_t>(random() % 2);
    }
    auto* state = new AppState(static_cast<int16_t>(random() % 9), static_cast<int16_t>(random()), doc, left, right,
                               searches[random() % 3], static_cast<long>(random()));
    state->fNbFrame = static_cast<int16_t>(random());
    state->fNumFrame = static_cast<int16_t>(random());
    state->fSalle = static_cast<int16_t>(random());
    state->fTemporaire = static_cast<int16_t>(random() % 2);
    state->fNew = static_cast<int16_t>(random() % 2);
    state->fHisto = static_cast<int16_t>(random() % 2);
    state->fLink = static_cast<int16_t>(random() % 2);
    for (int n = random() % 3; n > 0; --n)
        state->setUserInfo(static_cast<long>(random()), static_cast<long>(random()));
    for (int n = random() % 3; n > 0; --n)
        state->setUserTxtInfo(static_cast<int16_t>(random()), Text(random).c_str());
    return state;
}

// The lines up to fSalle of a state of mode 2, pane 1203, no document.
std::string Head(int histo) {
    return "<!--AppState-->\n<!--fScreenMode-->2\n<!--fPane-->1203\n<!--fTemporaire-->0\n<!--fNew-->0\n<!--fHisto-->" +
           std::to_string(histo) +
           "\n<!--fLink-->0\n<!--fDocNo-->-1\n<!--fNbFrame-->0\n<!--fNumFrame-->0\n<!--fSalle-->0\n";
}

const char kNoUserInfo[] = "<!--fUserInfo-->0\n<!--fUserTxtInfo-->0\n";
const char kNoParts[] = "<!--fDocState-->0\n<!--fLeftState-->0\n<!--fRightState-->0\n";
const char kEnd[] = "<!--Fin AppState-->\n";

std::string PartLines(int histo) {
    return "<!--fPane-->0\n<!--fMode-->0\n<!--fSalleType-->0\n<!--fSalleLR-->0\n<!--fClone-->0\n<!--fNew-->1\n"
           "<!--fHisto-->" +
           std::to_string(histo) + "\n" + kNoUserInfo;
}

AppState* Plain() {
    return new AppState(2, 1203, nullptr, nullptr, nullptr, nullptr, -1);
}

}  // namespace

TEST_F(AppStateText, WritesEachFieldAfterItsMarker) {
    struct Row {
        const char* what;
        std::function<AppState*()> make;
        std::string text;
    } const rows[] = {
        {"no parts, no search state", Plain,
         Head(0) + kNoUserInfo + "<!--fSearchState-->0\n" + kNoParts + kEnd},
        {"user values in key order, a text with a line break",
         [] {
             AppState* s = Plain();
             s->setUserInfo(1190, 4);
             s->setUserInfo(1173, -2);
             s->setUserTxtInfo(5, "a\r\nb");
             return s;
         },
         Head(0) +
             "<!--fUserInfo-->2\n\t<!--fUserInfo-->\n<!--diclength-->2\n<!--key-->1173\n<!--val-->-2\n"
             "<!--key-->1190\n<!--val-->4\n<!--fUserTxtInfo-->1\n1\n6\na\x02\x01"
             "b\n<!--fSearchState-->0\n" +
             kNoParts + kEnd},
        {"a right part made without arguments, history set",
         [] {
             AppState* s = Plain();
             s->setRightState(new ARightState());
             s->setHisto(1);
             return s;
         },
         Head(1) + kNoUserInfo + "<!--fSearchState-->0\n<!--fDocState-->0\n<!--fLeftState-->0\n<!--fRightState-->1\n" +
             PartLines(1) + "<!--fExpand-->0\n<!--fCadenas-->0\n<!--fExtDocNo-->-1\n" + kEnd},
        {"a document part and a left part",
         [] {
             AppState* s = Plain();
             s->setDocState(new ADocState());
             delete s->clone();
             return s;
         },
         Head(0) + kNoUserInfo + "<!--fSearchState-->0\n<!--fDocState-->1\n" + PartLines(0) +
             "<!--fCadenas-->0\n<!--fForceDoc-->0\n<!--fDocType-->0\n<!--fDate-->0\n<!--fLeftState-->0\n"
             "<!--fRightState-->0\n" +
             kEnd},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::unique_ptr<AppState> state(r.make());
        EXPECT_EQ(r.text, form(*state));
        AppState back(0, 0, nullptr, nullptr, nullptr, nullptr, 0);
        EXPECT_EQ("ok", read(r.text, [&](AFileStream& s) { back.read(s); }));
        EXPECT_EQ(r.text, form(back));
    }
    std::unique_ptr<AppState> plain(Plain());
    std::string plainForm = form(*plain);
    EXPECT_EQ(18, std::count(plainForm.begin(), plainForm.end(), '\n')) << "18 lines";
    AppState back(0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    std::string upper = Head(0) + kNoUserInfo + "<!--fSearchState-->0\n" + kNoParts + kEnd;
    upper.replace(upper.find("<!--fPane-->1203"), 16, "<!--FPANE-->7");
    EXPECT_EQ("ok", read(upper, [&](AFileStream& s) { back.read(s); }));
    EXPECT_EQ(7, back.getPane()) << "markers are compared ignoring case";
    EXPECT_STREQ("a\r\nb", [&] {
        std::unique_ptr<AppState> s(Plain());
        s->setUserTxtInfo(5, "a\r\nb");
        AppState again(0, 0, nullptr, nullptr, nullptr, nullptr, 0);
        read(form(*s), [&](AFileStream& st) { again.read(st); });
        return again.getUserTxtInfo(5);
    }().c_str());
}

TEST_F(AppStateText, RandomStatesComeBackByteForByte) {
    std::mt19937 random(43);
    ASVLoSearchState* a = new ASVLoSearchState(900);
    ASVLoSearchState* b = new ASVLoSearchState();
    a->addRef();
    b->addRef();
    ASVLoSearchState* const searches[3] = {nullptr, a, b};
    for (int i = 0; i < 2000; ++i) {
        std::unique_ptr<AppState> state(RandomState(random, searches));
        std::string text = form(*state);
        AppState back(0, 0, nullptr, nullptr, nullptr, nullptr, 0);
        ASSERT_EQ("ok", read(text, [&](AFileStream& s) { back.read(s); })) << text;
        ASSERT_EQ(text, form(back)) << "state " << i;
        ASSERT_EQ(state->getSearchState(), back.getSearchState());
    }
    a->release();
    b->release();
    EXPECT_TRUE(table.states.empty()) << "the search states left the table";
}

TEST_F(AppStateText, DamagedTextsFailWithTheRecoverableError) {
    std::mt19937 random(53);
    ASVLoSearchState* const searches[3] = {nullptr, nullptr, nullptr};
    long nodes = longa_pvoidAVLNode::instanceCount();
    int failed = 0;
    for (int i = 0; i < 5000; ++i) {
        std::unique_ptr<AppState> state(RandomState(random, searches));
        std::string text = form(*state);
        switch (random() % 4) {
            case 0:
                text.resize(random() % (text.size() + 1));
                break;
            case 1:
                text.erase(random() % text.size(), 1 + random() % 20);
                break;
            case 2:
                text[random() % text.size()] = static_cast<char>(random());
                break;
            default: {
                size_t at = text.find("<!--diclength-->");
                text.insert(at == std::string::npos ? random() % text.size() : at + 16, "99999");
            }
        }
        AppState back(0, 0, nullptr, nullptr, nullptr, nullptr, 0);
        std::string outcome = read(text, [&](AFileStream& s) { back.read(s); });
        if (outcome != "ok") {
            ASSERT_EQ(0u, outcome.find("state text: ")) << outcome;
            ++failed;
            EXPECT_EQ(nullptr, back.getDocState()) << "nothing is half-linked";
            EXPECT_EQ(nullptr, back.getRightState());
        }
    }
    EXPECT_GT(failed, 1000);
    EXPECT_EQ(nodes, longa_pvoidAVLNode::instanceCount()) << "no dictionary entry leaked";
}

TEST_F(AppStateText, CopiesCloneTheirPartsAndStayOutOfTheChain) {
    ASVLoSearchState* search = new ASVLoSearchState();
    auto* doc = new ADocState(1206);
    doc->fUserInfo.slot(2) = 20;
    doc->fUserInfo.slot(5) = 50;
    doc->fCadenas = 1;
    doc->setUserTxtInfo(3, "texte");
    auto* first = new AppState(1, 10, nullptr, nullptr, nullptr, nullptr, 1);
    auto* current = new AppState(2, 20, doc, new ALeftState(), new ARightState(1205, 77), search, 5);
    current->setPrev(first);
    first->setNext(current);
    first->fNew = 1;
    current->setPrev(first);
    EXPECT_EQ(0, first->fNew) << "a previous state is no longer new";
    current->fNew = 1;
    current->fHisto = 1;
    EXPECT_EQ(1, search->refCount());
    {
        AppState copy(*current);
        EXPECT_EQ(nullptr, copy.getPrev());
        EXPECT_EQ(nullptr, copy.getNext());
        EXPECT_EQ(0, copy.fNew);
        EXPECT_EQ(0, copy.fHisto);
        EXPECT_EQ(search, copy.getSearchState());
        EXPECT_EQ(2, search->refCount());
        ASSERT_NE(nullptr, copy.getDocState());
        EXPECT_NE(doc, copy.getDocState());
        EXPECT_EQ(1, copy.getDocState()->fClone);
        EXPECT_STREQ("texte", copy.getDocState()->getUserTxtInfo(3).c_str());
        copy.getDocState()->setUserTxtInfo(3, "autre");
        EXPECT_EQ(77, copy.getRightDocNo());
        EXPECT_TRUE(copy.hasDocCadenas());
    }
    EXPECT_EQ(1, search->refCount());
    EXPECT_STREQ("texte", doc->getUserTxtInfo(3).c_str()) << "the copy's texts are its own";
    EXPECT_EQ(first, current->getPrev()) << "destroying the copy left the chain";
    std::unique_ptr<AppState> clone(current->clone());
    EXPECT_EQ(1, clone->getLeftState()->fClone);
    EXPECT_EQ(1, clone->getRightState()->fClone);
    clone->clearPartFlags();
    EXPECT_EQ(0, clone->getRightState()->fClone);
    EXPECT_EQ(0, clone->getRightState()->fNew);
    clone.reset();

    ADocState kept;
    doc->copyTo(kept);
    EXPECT_EQ(20, kept.fUserInfo.slot(2));
    EXPECT_FALSE(kept.fUserInfo.contains(5));
    EXPECT_EQ(1, kept.fCadenas);
    current->getRightState()->fExtDocNo = -1;
    EXPECT_EQ(5, current->getRightDocNo());
    EXPECT_EQ(0, current->getUserInfo(44));
    EXPECT_TRUE(current->fUserInfo.contains(44)) << "a lookup records the key";
    EXPECT_STREQ("", current->getUserTxtInfo(9).c_str());
    EXPECT_EQ(1, current->fUserTxtInfo.count());
    EXPECT_TRUE(current->showsDocument());

    // A long chain goes with its last state, one state at a time.
    AppState* last = current;
    for (int i = 0; i < 20000; ++i) {
        auto* next = new AppState(1, 1, nullptr, nullptr, nullptr, nullptr, i);
        next->setPrev(last);
        last->setNext(next);
        last = next;
    }
    delete last;
    EXPECT_TRUE(table.states.empty()) << "the search state went with its last holder";
}
