#pragma once
// The Darwin notify centre: process-to-process notifications that carry only a name.
// A post reaches every process listening on the same device, including the poster; each
// matching registration's handler then runs on that process's main queue, at the
// instant its run loop next runs (so delivery stays repeatable with a virtual clock).
//
// Stand-in mechanism: each listening process owns a FIFO named after its pid in
// /var/run/lumetrix-notifyd under the device root, watched by its run loop. A post
// writes "name\n" to every FIFO there without ever blocking; a FIFO nobody reads any
// more belongs to a process that has gone, and is removed.

#include "dispatch/dispatch.h"

#include <functional>

inline constexpr int NOTIFY_STATUS_OK = 0;
inline constexpr int NOTIFY_STATUS_INVALID_NAME = 1;
inline constexpr int NOTIFY_STATUS_INVALID_TOKEN = 2;
inline constexpr int NOTIFY_STATUS_INVALID_REQUEST = 4;
inline constexpr int NOTIFY_STATUS_FAILED = 1000000;

using notify_handler_t = std::function<void(int token)>;

int notify_post(const char* name);
// `queue` must be the main queue, the only one this platform has.
int notify_register_dispatch(const char* name, int* outToken, dispatch_queue_t queue, notify_handler_t handler);
int notify_cancel(int token);
