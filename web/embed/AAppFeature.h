// The base of application features: objects the application owns and deletes through this base.
#pragma once

class AAppFeature {
public:
    AAppFeature() = default;
    AAppFeature(const AAppFeature&) = delete;
    AAppFeature& operator=(const AAppFeature&) = delete;
    virtual ~AAppFeature() = default;
};
