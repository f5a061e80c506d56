// A placeholder in a layout that loads another layout beside itself, then
// queues its own deletion, so the finished tree holds only what it included.
//
// Record after AComponent's part:
//   layout name, NUL-terminated (a leading "*" grafts: the included layout's
//   single top-level object is dropped and its children are added) | FFFF
#pragma once

#include "base/object/AString.h"
#include "framework/components/AComponent.h"

class ATreeIncluder : public AComponent {
    SV_DECLARE_CLASS(ATreeIncluder)
public:
    ATreeIncluder() : graft_(0) {}
    void readFrom(AMemoryStream& stream) override;
    void childrenLoaded() override;
    void setUpItems() override;

    const AString& layoutName() const { return name_; }
    bool grafts() const { return graft_ != 0; }

private:
    AString name_;
    uint16_t graft_;
};
