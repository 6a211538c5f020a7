#pragma once
// `lumetrix-sim serve` from libsimserve.so, beside libplatform.so: the server's stacks
// (cpp-httplib, OpenSSL, brotli) are mapped by the command that serves, not by every run.

#include "serve/ServeOptions.h"

namespace sim {

// As serveLivePhone; exits 2 with a message when the server does not load.
int serveLoadedLivePhone(const ServeOptions&);

} // namespace sim

// libsimserve.so's entry.
extern "C" int lumetrixServeLivePhone(const sim::ServeOptions*);
