// Small services of the application: today's date as a short text, and the
// cell separator of the kytab tables a view's documents embed.
//
// The clock is a seam: a toolkit made with a clock reads the date from it,
// one made without reads the system's local time. Allocation failures raise
// AMemError; a view without a renderer model is an assertion ("grender").
#pragma once

#include <ctime>

#include "base/object/AString.h"

class ARendererView;

class AppToolKit {
public:
    using Clock = std::tm (*)();

    explicit AppToolKit(Clock clock = nullptr) : clock_(clock) {}
    virtual ~AppToolKit() = default;
    AppToolKit(const AppToolKit&) = delete;
    AppToolKit& operator=(const AppToolKit&) = delete;

    // "DD-MM-YY": day, month from 1, year within its century.
    AString dateText() const;
    // The view's renderer reads "/&TABLE:" tables with this cell separator
    // from now on; the previous table reader is released.
    void setKytabSeparator(ARendererView* view, char separator);

private:
    Clock clock_;
};
