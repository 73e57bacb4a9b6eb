#pragma once

#include "Services.h"

#include <functional>

namespace gyrodex {

// Shows the busy pointer for its lifetime, so an error can never leave it on.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Turns the busy pointer on (true) and off (false); handed to the painter for its long runs.
void SetBusyCursor(bool busy);

// Runs one user command: an error it raises ends it, and its text is shown in a message box.
// No exception ever leaves a Qt slot; the state stays as far as the command got.
void RunCommand(Services& services, const std::function<void()>& command);

} // namespace gyrodex
