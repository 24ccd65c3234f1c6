#pragma once
// The driver's threads: FlashWorker, which writes every selected image in a
// fixed order, and the reformat timer, which moves progress on while the
// device repartitions its flash.
//
// The host keeps no handle of either thread. The driver keeps them so that
// a test (or an orderly unload) can wait for them; a thread still running
// when the library goes away is left to end with the process.

#include <cstdint>

namespace drkclient {

inline constexpr uint32_t kReformatTimerWaitMs = 10000;
inline constexpr uint32_t kReformatTimerWeight = 24;

// Step order and weights of the worker, run on the calling thread.
void FlashWorker();
// The body of the reformat timer, run on the calling thread.
void ReformatTimer();

// Starts FlashWorker on a new thread unless progress is negative; 1.
int Client_StartFlash();
// Starts the reformat timer on a new thread unless progress is negative; 1.
int CreateReformatTimer();
// The same for the repartitioning, which starts the timer itself.
void StartReformatTimer();

// Waits until every thread the driver started has ended (including those
// started meanwhile by the threads waited for).
void JoinDriverThreads();

}  // namespace drkclient
