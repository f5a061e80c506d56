// Change notices between engine objects that do not know each other's types:
// dependables send them, dependents receive them, and a bracket defers
// data-less notices until the outermost bracket closes.
//
// Neither side owns the other: each dependent stops depending on what it
// depends on before it dies. Delivery is synchronous and in ascending order
// of the dependents' addresses.
#pragma once

#include "base/object/ALongDic.h"

class ADependable;

class ADependent {
public:
    virtual ~ADependent() = default;
    // The notice: code is the change, data its cause or 0.
    virtual void changed(ADependable* source, long code, long data);

    // Null is ignored.
    void dependOn(ADependable* other);
    void stopDependingOn(ADependable* other);
};

class ADependable {
public:
    ADependable() : changeDepth_(0) {}
    virtual ~ADependable() = default;
    ADependable(const ADependable&) = delete;
    ADependable& operator=(const ADependable&) = delete;

    // Null is ignored; registering twice keeps one entry.
    void addDependent(ADependent* dependent);
    void removeDependent(ADependent* dependent);
    // Inside a bracket a notice without data is recorded once under its code;
    // otherwise every dependent receives it now.
    void notify(long code, long data);
    void beginChange();
    // Closing the outermost bracket sends each recorded code once, ascending.
    void endChange();

    long dependentCount() const { return dependents_.count(); }

private:
    longa_pvoidAVLMap dependents_;  // key: the dependent's address; not owned
    unsigned short changeDepth_;
    longa_pvoidAVLMap pending_;  // key: a deferred code
};

// Opens a bracket on a dependable (null: nothing) for the life of the guard.
class AChangeBracket {
public:
    explicit AChangeBracket(ADependable* dependable) : dependable_(dependable) {
        if (dependable_)
            dependable_->beginChange();
    }
    ~AChangeBracket() {
        if (dependable_)
            dependable_->endChange();
    }
    AChangeBracket(const AChangeBracket&) = delete;
    AChangeBracket& operator=(const AChangeBracket&) = delete;

private:
    ADependable* dependable_;  // not owned
};
