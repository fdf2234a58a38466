#include "commands/progress_line.hpp"

#include <cstdio>

namespace cp {

namespace {
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
constexpr std::string_view kGap = "   ";

// Minutes and seconds, hours when there are any.
int put_duration(char* piece, std::size_t size, double seconds, const char* after) {
    const auto whole = static_cast<long long>(seconds + 0.5);
    if (whole >= 3600) {
        return std::snprintf(piece, size, "%lld:%02lld:%02lld %s", whole / 3600, whole / 60 % 60,
                             whole % 60, after);
    }
    return std::snprintf(piece, size, "%lld:%02lld %s", whole / 60, whole % 60, after);
}

}  // namespace

bool progress_wanted(ProgressMode mode, const CommandEnvironment& environment) {
    if (!environment.threads) return false;
    // Records on the same screen would be drawn over.
    return mode == ProgressMode::always ||
           (mode == ProgressMode::automatic && environment.error_is_terminal &&
            !environment.output_is_terminal);
}

std::string progress_text(const ProgressReading& reading, double seconds) {
    std::string text;
    char piece[64];
    const auto add = [&](int size) {
        if (!text.empty()) text += kGap;
        text.append(piece, static_cast<std::size_t>(size));
    };
    if (reading.share) add(std::snprintf(piece, sizeof piece, "%5.1f %%", 100 * *reading.share));
    if (reading.records) {
        add(std::snprintf(piece, sizeof piece, "%llu records",
                          static_cast<unsigned long long>(*reading.records)));
        const double rate = seconds > 0 ? static_cast<double>(*reading.records) / seconds : 0;
        add(rate >= 1e6 ? std::snprintf(piece, sizeof piece, "%.1f M/s", rate / 1e6)
                        : std::snprintf(piece, sizeof piece, "%.0f/s", rate));
    }
    if (reading.share && *reading.share > 0) {
        add(put_duration(piece, sizeof piece, seconds * (1 - *reading.share) / *reading.share,
                         "left"));
    } else {
        add(put_duration(piece, sizeof piece, seconds, "so far"));
    }
    return text;
}

ProgressLine::ProgressLine(OutputSink& errors, std::function<ProgressReading()> read)
    : errors_(errors), read_(std::move(read)), thread_([this] { run(); }) {}

ProgressLine::~ProgressLine() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_all();
    thread_.join();
}

void ProgressLine::run() {
    std::unique_lock lock(mutex_);
    while (!stop_.wait_for(lock, kRedrawEvery, [this] { return stopping_; })) {
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start_;
        draw(progress_text(read_(), seconds.count()));
    }
    draw({});
}

// In place: back to the line's start, the text, and blanks over what is left
// of a longer text before it. An empty text clears the line.
void ProgressLine::draw(const std::string& text) {
    if (text.empty() && drawn_ == 0) return;
    std::string line = "\r" + text;
    if (drawn_ > text.size()) line.append(drawn_ - text.size(), ' ');
    if (text.empty()) line += '\r';
    drawn_ = text.size();
    errors_.write(line);
}

}  // namespace cp
