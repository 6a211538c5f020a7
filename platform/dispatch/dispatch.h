#pragma once
// libdispatch, as far as the main queue goes: blocks run on the main run loop, after a
// delay or at its next turn.
//
// Dispatch times count nanoseconds on the run loop's clock since the loop started (the
// counterpart of time since boot), so they follow the virtual clock too.

#include <cstdint>
#include <functional>

using dispatch_time_t = std::uint64_t;
using dispatch_queue_t = struct dispatch_queue_s*;
using dispatch_block_t = std::function<void()>;

inline constexpr dispatch_time_t DISPATCH_TIME_NOW = 0;
inline constexpr dispatch_time_t DISPATCH_TIME_FOREVER = ~0ull;
inline constexpr std::uint64_t NSEC_PER_SEC = 1'000'000'000ull;
inline constexpr std::uint64_t NSEC_PER_MSEC = 1'000'000ull;
inline constexpr std::uint64_t NSEC_PER_USEC = 1'000ull;
inline constexpr std::uint64_t USEC_PER_SEC = 1'000'000ull;

// The queue of the main thread: its blocks run one after another on the main run loop.
dispatch_queue_t dispatch_get_main_queue();

// `when` (DISPATCH_TIME_NOW: the current time) moved by `deltaNanoseconds`.
// DISPATCH_TIME_FOREVER stays forever.
dispatch_time_t dispatch_time(dispatch_time_t when, std::int64_t deltaNanoseconds);

// Runs `block` on `queue` at `when` (DISPATCH_TIME_FOREVER: never). Blocks due at the
// same time run in the order they were submitted. The block is moved out of the queue
// before it runs, so it may destroy whatever owns it.
void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block);
// Runs `block` on `queue` at the queue's next turn, after what is already due.
void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);
