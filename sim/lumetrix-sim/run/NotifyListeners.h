#pragma once
// The notification centre's listeners in a device root: one FIFO per process that
// registered, `/var/run/lumetrix-notifyd/PID.fifo`. A simulated process ends with
// _exit, so the process that waited for it removes its FIFO; a kept root is swept of
// FIFOs no process reads (left by a run that was killed) before the next run.

#include <filesystem>
#include <sys/types.h>

namespace sim {

void removeNotifyListener(const std::filesystem::path& deviceRoot, pid_t);
void removeDeadNotifyListeners(const std::filesystem::path& deviceRoot);

} // namespace sim
