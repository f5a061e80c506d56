// The application's cluster side, with the default kept when no application installs its own.
#include "framework/clusters/AClusterServices.h"

namespace {

AClusterServices* g_installed = nullptr;

}  // namespace

AClusterServices::~AClusterServices() {
    if (g_installed == this)
        g_installed = nullptr;
}

AClusterServices& AClusterServices::current() {
    static AClusterServices fallback;
    return g_installed ? *g_installed : fallback;
}

void AClusterServices::install(AClusterServices* services) {
    g_installed = services;
}
