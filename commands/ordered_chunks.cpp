#include "commands/ordered_chunks.hpp"

#include <utility>

namespace cp {

OrderedChunks::OrderedChunks(std::size_t parts, std::size_t limit_bytes)
    : queues_(parts), finished_(parts, false), limit_(limit_bytes) {}

std::optional<std::size_t> OrderedChunks::next_part() {
    const std::lock_guard lock(mutex_);
    if (cancelled_ || next_part_ == queues_.size()) return std::nullopt;
    return next_part_++;
}

bool OrderedChunks::put(std::size_t part, ByteBuffer& chunk) {
    std::unique_lock lock(mutex_);
    // The part being written goes on as soon as the writer has taken what it
    // has of it: waiting for room there could wait for ever.
    ++workers_waiting_;
    for_workers_.wait(lock, [&] {
        if (cancelled_) return true;
        if (part == turn_) return queues_[part].empty() || held_ + chunk.size() <= limit_;
        return held_ + chunk.size() <= limit_;
    });
    --workers_waiting_;
    if (cancelled_) return false;
    held_ += chunk.size();
    queues_[part].push_back(std::move(chunk));
    chunk = ByteBuffer();
    if (!spare_.empty()) {
        chunk = std::move(spare_.back());
        spare_.pop_back();
    }
    if (part == turn_) wake_writer();
    return true;
}

void OrderedChunks::finish(std::size_t part) {
    const std::lock_guard lock(mutex_);
    finished_[part] = true;
    if (part == turn_) wake_writer();
}

std::optional<ByteBuffer> OrderedChunks::take() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (cancelled_ || turn_ == queues_.size()) return std::nullopt;
        std::deque<ByteBuffer>& queue = queues_[turn_];
        if (!queue.empty()) {
            ByteBuffer chunk = std::move(queue.front());
            queue.pop_front();
            held_ -= chunk.size();
            wake_workers();
            return chunk;
        }
        if (finished_[turn_]) {
            ++turn_;
            wake_workers();
            continue;
        }
        writer_waits_ = true;
        for_writer_.wait(lock);
        writer_waits_ = false;
    }
}

void OrderedChunks::give_back(ByteBuffer chunk) {
    chunk.clear();
    const std::lock_guard lock(mutex_);
    spare_.push_back(std::move(chunk));
}

void OrderedChunks::cancel() {
    const std::lock_guard lock(mutex_);
    cancelled_ = true;
    for_writer_.notify_all();
    for_workers_.notify_all();
}

void OrderedChunks::wake_writer() {
    if (writer_waits_) for_writer_.notify_one();
}

void OrderedChunks::wake_workers() {
    if (workers_waiting_ > 0) for_workers_.notify_all();
}

}  // namespace cp
