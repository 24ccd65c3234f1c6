#pragma once
// The driver's threads: FlashWorker, which writes every selected image in a
// fixed order, and the reformat timer, which moves progress on while the
// device repartitions its flash.
//
// The driver keeps their handles although the host never sees them: at most
// one worker runs at a time, the exports that would disturb it refuse while
// it runs, and every thread is joined before the library unloads (waits end
// early then, and the run ends as a failure).

#include <cstdint>

namespace drkclient {

inline constexpr uint32_t kReformatTimerWaitMs = 10000;
inline constexpr uint32_t kReformatTimerWeight = 24;

// Step order and weights of the worker, run on the calling thread.
void FlashWorker();
// The body of the reformat timer, run on the calling thread.
void ReformatTimer();

// Starts FlashWorker on a new thread; 1 whether it started or not. Nothing
// starts while progress is negative, while a worker runs, or unless the last
// identification succeeded with a block size (progress then becomes -1). A
// run after the first starts from progress 1 with its weights computed anew.
int Client_StartFlash();
// Starts the reformat timer on a new thread unless progress is negative or
// a flash runs; 1.
int CreateReformatTimer();
// The timer as the repartitioning starts it, from the worker.
void StartReformatTimer();

// True from an accepted Client_StartFlash until its worker has ended.
bool FlashRunning();

// Waits until every thread the driver started has ended (including those
// started meanwhile by the threads waited for).
void JoinDriverThreads();

}  // namespace drkclient
