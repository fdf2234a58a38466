#pragma once
// Parts of a listing walked side by side, their records written in the
// parts' order: each worker hands its chunks on under its part's number, and
// the writer takes them part by part. Memory stays bounded: a worker whose
// part is not the one being written waits while the chunks held reach the
// limit; the worker of the part being written never waits for the others.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "console/byte_buffer.hpp"

namespace cp {

class OrderedChunks {
  public:
    OrderedChunks(std::size_t parts, std::size_t limit_bytes);

    // For the workers: the next part to walk, in order; nothing when all are
    // taken or the work is cancelled.
    std::optional<std::size_t> next_part();
    // Hands on a chunk of `part`, leaving an empty one (with room) in its
    // place; false when cancelled.
    bool put(std::size_t part, ByteBuffer& chunk);
    void finish(std::size_t part);

    // For the writer: the next chunk in order, waiting for it; nothing after
    // the last part, or once cancelled. Written, it comes back for reuse.
    std::optional<ByteBuffer> take();
    void give_back(ByteBuffer chunk);

    void cancel();

  private:
    // Wakes only those who may be waiting for what changed.
    void wake_writer();
    void wake_workers();

    std::mutex mutex_;
    std::condition_variable for_writer_;
    std::condition_variable for_workers_;
    bool writer_waits_ = false;
    std::size_t workers_waiting_ = 0;
    std::vector<std::deque<ByteBuffer>> queues_;
    std::vector<bool> finished_;
    std::vector<ByteBuffer> spare_;
    std::size_t next_part_ = 0;
    std::size_t turn_ = 0;  // the part being written
    std::size_t held_ = 0;  // bytes in the queues
    std::size_t limit_;
    bool cancelled_ = false;
};

}  // namespace cp
