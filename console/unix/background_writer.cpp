#include "console/unix/background_writer.hpp"

#include <signal.h>

#include <utility>

#include "console/fd_writer.hpp"

namespace cp {

BackgroundWriter::~BackgroundWriter() {
    wait_until_idle();
    if (!started_) return;
    state_.store(kStopping, std::memory_order_release);
    state_.notify_all();
    pthread_join(thread_, nullptr);
}

void* BackgroundWriter::thread_main(void* self) {
    static_cast<BackgroundWriter*>(self)->run();
    return nullptr;
}

bool BackgroundWriter::start() {
    // Signals go to the drawing thread, whose handlers and waits expect them
    // (a resize or a resume cuts into its wait for a key); the faults of the
    // writing thread itself stay its own.
    sigset_t all{};
    sigset_t before{};
    sigfillset(&all);
    for (const int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) sigdelset(&all, fault);
    pthread_sigmask(SIG_BLOCK, &all, &before);
    started_ = pthread_create(&thread_, nullptr, &BackgroundWriter::thread_main, this) == 0;
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    return started_;
}

void BackgroundWriter::wait_until_idle() {
    while (state_.load(std::memory_order_acquire) == kBusy) {
        state_.wait(kBusy, std::memory_order_acquire);
    }
}

bool BackgroundWriter::hand_over(ByteBuffer& bytes) {
    wait_until_idle();
    if (failed_.load(std::memory_order_relaxed)) return false;
    if (!started_ && !start()) {
        // No thread to be had: the piece is written here and now.
        if (!write_all(fd_, bytes.view())) failed_.store(true);
        bytes.clear();
        return !failed_.load(std::memory_order_relaxed);
    }
    std::swap(piece_, bytes);
    bytes.clear();
    state_.store(kBusy, std::memory_order_release);
    state_.notify_all();
    return true;
}

bool BackgroundWriter::drain() {
    wait_until_idle();
    return !failed_.load(std::memory_order_relaxed);
}

void BackgroundWriter::run() {
    for (;;) {
        int state = state_.load(std::memory_order_acquire);
        while (state == kIdle) {
            state_.wait(kIdle, std::memory_order_acquire);
            state = state_.load(std::memory_order_acquire);
        }
        if (state == kStopping) return;
        if (!write_all(fd_, piece_.view())) failed_.store(true, std::memory_order_relaxed);
        state_.store(kIdle, std::memory_order_release);
        state_.notify_all();
    }
}

}  // namespace cp
