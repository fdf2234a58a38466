// collatzperm search I: the records of the start numbers of 2^I, streaming,
// the same bytes whatever the number of threads.
#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "commands/command_runs.hpp"
#include "commands/ordered_chunks.hpp"
#include "commands/progress_line.hpp"
#include "commands/record_formats.hpp"
#include "commands/search_records.hpp"
#include "search/level_counts.hpp"
#include "search/pieces.hpp"

namespace cp {

namespace {

// Chunks held for the writer, all workers together.
constexpr std::size_t kHeldLimit = 16 * 1024 * 1024;
constexpr std::size_t kLargestChunk = 64 * 1024;
constexpr std::size_t kSmallestChunk = 4 * 1024;
// Parts per thread: enough for each to find work while one part is slow.
constexpr std::size_t kPartsPerJob = 64;
// A tree this shallow is walked in a few milliseconds, less than threads
// take to start on a busy machine: its first record would come later.
constexpr std::int32_t kDeepestWalkAlone = 40;

// The records written so far, for the progress line only.
class WrittenRecords {
  public:
    explicit WrittenRecords(bool wanted) : wanted_(wanted) {}
    void add(std::string_view records) {
        if (!wanted_) return;
        count_.fetch_add(
            static_cast<std::uint64_t>(std::count(records.begin(), records.end(), '\n')),
            std::memory_order_relaxed);
    }
    std::uint64_t count() const { return count_.load(std::memory_order_relaxed); }

  private:
    bool wanted_;
    std::atomic<std::uint64_t> count_{0};
};

// One thread: each chunk goes out at once.
class DirectSink final : public ChunkSink {
  public:
    DirectSink(RecordOutput& output, WrittenRecords& written)
        : output_(output), written_(written) {}
    bool take(std::size_t, ByteBuffer& chunk) override {
        written_.add(chunk.view());
        const bool written = output_.write(chunk.view());
        chunk.clear();
        return written;
    }

  private:
    RecordOutput& output_;
    WrittenRecords& written_;
};

// Several threads: the chunks wait in order for the writer.
class QueueSink final : public ChunkSink {
  public:
    explicit QueueSink(OrderedChunks& chunks) : chunks_(chunks) {}
    bool take(std::size_t part, ByteBuffer& chunk) override { return chunks_.put(part, chunk); }

  private:
    OrderedChunks& chunks_;
};

// The workers walk the parts; their records wait in order, without rows,
// and this thread puts the rows in and writes them.
void list_side_by_side(const ListingJob& job, std::span<const TreePart> piece, RowInserter& rows,
                       std::int32_t jobs, RecordOutput& output, std::atomic<bool>& cancel,
                       WrittenRecords& written) {
    const std::vector<TreePart> parts =
        cut_finer(job.rules, piece, job.exponent, kPartsPerJob * static_cast<std::size_t>(jobs));
    OrderedChunks chunks(parts.size(), kHeldLimit);
    QueueSink sink(chunks);
    const auto work = [&] {
        while (const auto part = chunks.next_part()) {
            if (!list_part(job, parts[*part], std::nullopt, *part, sink)) {
                // Stopped: the others stop too.
                chunks.cancel();
                return;
            }
            chunks.finish(*part);
        }
    };
    std::vector<std::thread> workers;
    for (std::int32_t j = 0; j < jobs; ++j) workers.emplace_back(work);
    while (auto chunk = chunks.take()) {
        written.add(chunk->view());
        rows.append(output.text(), chunk->view());
        chunks.give_back(std::move(*chunk));
        if (!output.write() || job.interrupt->load()) {
            cancel.store(true);
            chunks.cancel();
        }
    }
    for (std::thread& worker : workers) worker.join();
}

}  // namespace

int run_search_command(const CommandRequest& request, const CommandEnvironment& environment) {
    const std::int32_t exponent = request.first;
    const StepRules rules = request.rules;
    const std::int32_t jobs = exponent <= kDeepestWalkAlone ? 1 : jobs_for(request, environment);
    const RecordLayout layout = search_layout(request.format, exponent);
    RecordOutput output(environment.out);

    const std::vector<TreePart> piece = parts_for(request, exponent);
    std::uint64_t first_row = 1;
    if (request.part > 1 && !piece.empty()) {
        // The rows of the whole: count the records of the pieces before.
        const std::vector<TreePart> before = parts_before(rules, piece.front().node);
        const auto counts =
            count_levels(rules, before, exponent, {.jobs = jobs, .stop = &environment.interrupt});
        if (!counts) return finish_command(output, request, environment, true);
        first_row += (*counts)[static_cast<std::size_t>(exponent)];
    }
    if (request.part == 1) output.text().append(layout.header());

    std::atomic<bool> cancel{false};
    const std::size_t chunk_bytes =
        std::clamp(kHeldLimit / static_cast<std::size_t>(jobs), kSmallestChunk, kLargestChunk);
    const ListingJob job{.rules = rules,
                         .exponent = exponent,
                         .layout = &layout,
                         .interrupt = &environment.interrupt,
                         .cancel = &cancel,
                         .chunk_bytes = chunk_bytes};
    WrittenRecords written(progress_wanted(request.progress, environment));

    // The share done needs the whole number of records: counted beside the
    // listing, for the progress line only.
    std::atomic<bool> counted{false};
    std::atomic<std::uint64_t> total{0};
    std::atomic<bool> stop_counting{false};
    std::thread counter;
    std::optional<ProgressLine> progress;
    if (progress_wanted(request.progress, environment)) {
        counter = std::thread([&] {
            const auto counts = count_levels(rules, piece, exponent, {.stop = &stop_counting});
            if (!counts) return;
            total.store((*counts)[static_cast<std::size_t>(exponent)]);
            counted.store(true);
        });
        progress.emplace(environment.errors, [&] {
            ProgressReading reading{.share = std::nullopt, .records = written.count()};
            if (counted.load() && total.load() > 0) {
                reading.share =
                    static_cast<double>(*reading.records) / static_cast<double>(total.load());
            }
            return reading;
        });
    }

    if (jobs == 1) {
        // In order, one after the other: the rows count on from part to part.
        DirectSink sink(output, written);
        std::uint64_t row = first_row;
        for (const TreePart& part : piece) {
            const auto records = list_part(job, part, row, 0, sink);
            if (!records) break;
            row += *records;
        }
    } else {
        RowInserter rows(layout, exponent, first_row);
        list_side_by_side(job, piece, rows, jobs, output, cancel, written);
    }

    stop_counting.store(true);
    if (counter.joinable()) counter.join();
    progress.reset();
    return finish_command(output, request, environment, environment.interrupt.load());
}

}  // namespace cp
