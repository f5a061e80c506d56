// The dictionary window's installed host.
#include "panes/search/dico/ADicoHost.h"

namespace {

ADicoHost* gHost = nullptr;

}  // namespace

ADicoHost* ADicoHost::current() {
    return gHost;
}

void ADicoHost::install(ADicoHost* host) {
    gHost = host;
}
