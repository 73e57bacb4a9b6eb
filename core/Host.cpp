#include "Host.h"

namespace gyrodex {

Host::~Host() = default;

void Host::setBusy(bool) {}

void Host::showMessage(const QString&) {}

BusyGuard::BusyGuard(Host* host) : host_(host) {
    if (host_)
        host_->setBusy(true);
}

BusyGuard::~BusyGuard() {
    if (host_)
        host_->setBusy(false);
}

} // namespace gyrodex
