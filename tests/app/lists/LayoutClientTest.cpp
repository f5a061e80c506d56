// The accordion arithmetic of the layout clients, without windows: extents,
// shares, partners, the shown mask, toggling and the owner's refusal.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/lists/ALayoutClient.h"
#include "tests/search/facade/FacadeTestSupport.h"

namespace {

// A client that records its span instead of moving a pane.
class Span : public ALayoutClient {
public:
    explicit Span(int32_t paneH = 0) : ALayoutClient(nullptr), height(paneH) {}
    void setSpan(int32_t t, int32_t b) override {
        top = t;
        bottom = b;
    }
    void postPlaced() override { ++placed; }
    int32_t paneHeight() override { return height; }
    int32_t height;
    int32_t top = -1, bottom = -1;
    int placed = 0;
};

class Owner : public ALayoutOwner {
public:
    int16_t acceptClientChange(int16_t, int16_t code) override {
        codes += std::to_string(code);
        return accept;
    }
    int32_t layoutHeight() override { return height; }
    int32_t height = 400;
    int16_t accept = 1;
    std::string codes;
};

// A client to add: stretchable, shown, partner index (-1 none), fixed extent, pane height.
struct Add {
    int16_t stretchable, shown;
    int partner;
    int32_t fixedExtent, paneHeight;
};

struct Arrangement {
    Owner owner;
    ALayoutClientList list{&owner};
    std::vector<std::unique_ptr<Span>> clients;

    Arrangement(int32_t height, const std::vector<Add>& adds, int32_t margin = 0, int32_t spacing = 0) {
        owner.height = height;
        list.margin = margin;
        list.spacing = spacing;
        for (const Add& a : adds) {
            clients.emplace_back(new Span(a.paneHeight));
            Span* c = clients.back().get();
            c->baseExtent = 23;
            c->fixedExtent = a.fixedExtent;
            list.addClient(c, a.stretchable, a.shown, a.partner >= 0 ? clients[static_cast<size_t>(a.partner)].get()
                                                                      : nullptr);
        }
    }
    std::string spans() const {
        std::string out;
        for (const auto& c : clients)
            out += (out.empty() ? "" : " ") + std::to_string(c->top) + "-" + std::to_string(c->bottom) +
                   (c->shown ? "+" : "");
        return out;
    }
};

}  // namespace

TEST(LayoutClient, PlacesClientsByExtentAndShare) {
    struct Case {
        const char* what;
        int32_t height;
        std::vector<Add> adds;
        int32_t margin, spacing;
        const char* spans;
        int16_t stretchCount;
    } const cases[] = {
        {"A shown, B its hidden partner", 400, {{1, 1, -1, 0, 0}, {1, 0, 0, 0, 0}}, 0, 0, "0-377+ 377-400", 1},
        {"three shown share 100", 100, {{1, 1, -1, 0, 0}, {1, 1, -1, 0, 0}, {1, 1, -1, 0, 0}}, 0, 0,
         "0-33+ 33-66+ 66-99+", 3},
        {"fixed extent 0 takes the pane height", 300, {{0, 1, -1, 0, 120}, {1, 1, -1, 0, 0}}, 0, 0,
         "0-120+ 120-300+", 1},
        {"fixed extent given", 300, {{0, 0, -1, 140, 50}, {1, 1, -1, 0, 0}}, 0, 0, "0-140 140-300+", 1},
        {"margin and spacing", 200, {{1, 1, -1, 0, 0}, {1, 0, -1, 0, 0}}, 30, 10, "30-157+ 167-190", 1},
        {"both partners passed shown: the last stays", 100, {{1, 1, -1, 0, 0}, {1, 1, 0, 0, 0}}, 0, 0,
         "0-23 23-100+", 1},
        {"both partners passed hidden: the last shows", 100, {{1, 0, -1, 0, 0}, {1, 0, 0, 0, 0}}, 0, 0,
         "0-23 23-100+", 1},
        {"no shown stretchable client: share 0", 100, {{1, 0, -1, 0, 0}, {0, 1, -1, 30, 0}}, 0, 0, "0-23 23-53+",
         0},
        {"a pane smaller than the headers", 30, {{1, 1, -1, 0, 0}, {1, 1, -1, 0, 0}}, 0, 0, "0-15+ 15-30+", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Arrangement a(c.height, c.adds, c.margin, c.spacing);
        EXPECT_EQ("ok", Outcome([&] { a.list.layout(); }));
        EXPECT_EQ(c.spans, a.spans());
        EXPECT_EQ(c.stretchCount, a.list.stretchCount);
        for (const auto& client : a.clients)
            EXPECT_EQ(1, client->placed);
    }
}

TEST(LayoutClient, TogglesPartnersAndKeepsTheLastExpandedClient) {
    Arrangement single(100, {{1, 1, -1, 0, 0}, {1, 0, -1, 0, 0}});
    single.list.layout();
    Span* only = single.clients[0].get();
    EXPECT_EQ(0, only->canToggle()) << "the only expanded client without partner";
    EXPECT_EQ(1, single.clients[1]->canToggle()) << "a collapsed client";
    single.clients[1]->toggle();
    EXPECT_EQ("0-50+ 50-100+", single.spans());
    EXPECT_EQ(1, only->canToggle());
    EXPECT_EQ("1", single.owner.codes);

    Arrangement pair(400, {{1, 1, -1, 0, 0}, {1, 0, 0, 0, 0}});
    pair.list.layout();
    EXPECT_EQ(1, pair.clients[0]->canToggle()) << "a partner takes over";
    pair.clients[0]->toggle();
    EXPECT_EQ("0-23 23-400+", pair.spans());
    EXPECT_EQ("2", pair.owner.codes) << "the client toggled was hidden";

    pair.owner.accept = 0;
    pair.clients[1]->toggle();
    EXPECT_EQ("0-23 23-400+", pair.spans()) << "a refused change leaves the arrangement";
    EXPECT_EQ(4, pair.clients[1]->placed) << "laid out twice for the refusal";

    Arrangement fixed(100, {{0, 1, -1, 50, 0}, {1, 1, -1, 0, 0}});
    fixed.list.layout();
    fixed.clients[0]->toggle();
    EXPECT_EQ(1, fixed.clients[0]->shown) << "a fixed client is left alone";

    ALayoutClient loose(nullptr);
    EXPECT_EQ("fatal File layout;line 97", Outcome([&] { loose.confirmChange(); }));
    EXPECT_EQ("fatal File layout;line 102", Outcome([&] { loose.setSpan(0, 1); }));
}

// Panes are torn down in any order: a record that goes leaves its list and
// its partner, and a list that goes is forgotten by its records.
TEST(LayoutClient, RecordsAndListsForgetEachOtherWhenOneGoes) {
    Arrangement a(200, {{1, 1, -1, 0, 0}, {1, 0, 0, 0, 0}, {1, 1, -1, 0, 0}});
    a.clients[1].reset();
    EXPECT_EQ(2u, a.list.clients.size());
    EXPECT_EQ(nullptr, a.clients[0]->partner);
    a.list.layout();
    EXPECT_EQ(0, a.clients[0]->top);
    EXPECT_EQ(100, a.clients[2]->bottom - a.clients[2]->top);
    auto list = std::make_unique<ALayoutClientList>(nullptr);
    Span kept;
    list->addClient(&kept, 1, 1, nullptr);
    list.reset();
    EXPECT_EQ(nullptr, kept.list);
}

TEST(LayoutClient, ShownMasksRestoreTheArrangement) {
    Arrangement a(300, {{1, 1, -1, 0, 0}, {1, 1, -1, 0, 0}, {1, 1, -1, 0, 0}});
    EXPECT_EQ(7u, a.list.shownMask());
    struct Case {
        uint32_t mask;
        uint32_t shown;
        const char* spans;
    } const cases[] = {
        {0x1, 0x1, "0-254+ 254-277 277-300"},
        {0x6, 0x6, "0-23 23-161+ 161-299+"},
        {0xFFFFFFF9u, 0x1, "0-254+ 254-277 277-300"},
        {0x0, 0x0, "0-23 23-46 46-69"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        a.list.setShownMask(c.mask);
        EXPECT_EQ(c.shown, a.list.shownMask()) << "bits past the clients are ignored";
        a.list.layout();
        EXPECT_EQ(c.spans, a.spans());
    }
    Owner owner;
    ALayoutClientList many(&owner);
    std::vector<std::unique_ptr<Span>> spans;
    for (int i = 0; i < 32; ++i) {
        spans.emplace_back(new Span);
        many.addClient(spans.back().get(), 1, 1, nullptr);
    }
    Span extra;
    EXPECT_EQ("fatal File layout;line 180", Outcome([&] { many.addClient(&extra, 1, 1, nullptr); }))
        << "a 33rd client could not be saved in a mask";
}
