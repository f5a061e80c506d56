// A pane that a layout pane places: it owns its layout client record (a
// 23-pixel header above its content) and answers its header's expand and
// collapse command 2121.
#pragma once

#include "app/frame/SVPane.h"
#include "framework/clusters/AClusterItem.h"

class ALayoutClient;

class AClientPane : public SVPane {
    SV_DECLARE_CLASS(AClientPane)
public:
    enum : int16_t { kToggleCommand = 2121 };
    static const int32_t kHeaderHeight = 23;

    AClientPane() = default;
    ~AClientPane() override;

    // Record: the pane base's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    // Nothing: a client pane is refreshed by its subclass.
    void updatePane() override {}

    ALayoutClient* getClient() const { return client; }

protected:
    ALayoutClient* client = nullptr;  // owned from setUpItems to detachItems
};
