#pragma once
// Writes pieces of output to a file descriptor on a thread of its own, one
// piece at a time, so that the program goes on drawing while a terminal takes
// the last piece: a terminal accepts output only as fast as its reader takes
// it, and drawing and that wait no longer add up. Whoever must have the output
// out (before a key check, a sleep, a line read) waits with drain().
#include <pthread.h>

#include <atomic>

#include "console/byte_buffer.hpp"

namespace cp {

class BackgroundWriter {
  public:
    explicit BackgroundWriter(int fd) : fd_(fd) {}
    // Waits for the piece in hand, then stops the thread.
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // Takes the bytes for writing once the piece before is written; `bytes`
    // comes back empty, holding the storage of an earlier piece. False if a
    // write has failed (nothing more is written then).
    bool hand_over(ByteBuffer& bytes);
    // Waits until every piece handed over is written. False if a write failed.
    bool drain();

  private:
    // A bare thread and a futex-backed atomic rather than std::thread and a
    // condition variable: the program's memory stays within its bounds.
    enum State : int { kIdle, kBusy, kStopping };

    static void* thread_main(void* self);
    void run();
    bool start();
    void wait_until_idle();

    int fd_;
    ByteBuffer piece_;  // the writing thread's alone while kBusy
    std::atomic<int> state_{kIdle};
    std::atomic<bool> failed_{false};
    pthread_t thread_{};
    bool started_ = false;
};

}  // namespace cp
