// Number printing and reading beside the standard library doing the same work.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "console/numbers/number_format.hpp"
#include "console/numbers/parse_number.hpp"
#include "console/strings.hpp"

namespace {

constexpr const char* kRowMask = "*_################  ";
constexpr const char* kListingMask = " +## ####x ########### ";

// Integers spread evenly over the bit lengths 1 to 33, as sequence values are.
std::vector<std::int64_t> integer_spread() {
    std::mt19937_64 gen(7);
    std::vector<std::int64_t> values(4096);
    for (auto& v : values) {
        const auto bits = static_cast<int>(gen() % 33) + 1;
        v = static_cast<std::int64_t>(gen() >> (64 - bits));
    }
    return values;
}

std::vector<std::string> number_texts() {
    std::vector<std::string> texts;
    for (const std::int64_t v : integer_spread()) texts.push_back(std::to_string(v));
    texts.push_back("0.05");
    texts.push_back("-3.25e7");
    texts.push_back("1234567890123456789");
    return texts;
}

void BM_NumberTextInteger(benchmark::State& state) {
    const auto values = integer_spread();
    std::string out;
    std::size_t i = 0;
    for (auto _ : state) {
        out.clear();
        cp::append_number_text(out, static_cast<cp::Real>(values[i++ & 4095]));
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_NumberTextInteger);

void BM_NumberTextIntegerReturned(benchmark::State& state) {
    const auto values = integer_spread();
    std::size_t i = 0;
    for (auto _ : state) {
        std::string text = cp::number_text(static_cast<cp::Real>(values[i++ & 4095]));
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_NumberTextIntegerReturned);

void BM_ToCharsWithBlank(benchmark::State& state) {
    const auto values = integer_spread();
    std::string out;
    std::size_t i = 0;
    for (auto _ : state) {
        out.clear();
        char buf[24];
        buf[0] = ' ';
        const auto r = std::to_chars(buf + 1, buf + sizeof buf, values[i++ & 4095]);
        out.append(buf, r.ptr);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_ToCharsWithBlank);

void BM_SnprintfInteger(benchmark::State& state) {
    const auto values = integer_spread();
    std::string out;
    std::size_t i = 0;
    for (auto _ : state) {
        out.clear();
        char buf[24];
        const int n =
            std::snprintf(buf, sizeof buf, " %lld", static_cast<long long>(values[i++ & 4095]));
        out.append(buf, static_cast<std::size_t>(n));
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_SnprintfInteger);

void BM_NumberTextFraction(benchmark::State& state) {
    const auto values = integer_spread();
    std::string out;
    std::size_t i = 0;
    for (auto _ : state) {
        out.clear();
        cp::append_number_text(out, static_cast<cp::Real>(values[i++ & 4095]) / 7);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_NumberTextFraction);

void BM_FormatUsingRowMask(benchmark::State& state) {
    const auto values = integer_spread();
    std::size_t i = 0;
    for (auto _ : state) {
        std::string text = cp::format_using(kRowMask, {static_cast<cp::Real>(values[i++ & 4095])});
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_FormatUsingRowMask);

void BM_SnprintfRowLayout(benchmark::State& state) {
    const auto values = integer_spread();
    std::size_t i = 0;
    for (auto _ : state) {
        char buf[64];
        const int n =
            std::snprintf(buf, sizeof buf, "%18lld  ", static_cast<long long>(values[i++ & 4095]));
        for (char* p = buf; *p == ' '; ++p) *p = '_';
        std::string text(buf, static_cast<std::size_t>(n));
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_SnprintfRowLayout);

void BM_FormatUsingListingMask(benchmark::State& state) {
    const auto values = integer_spread();
    std::size_t i = 0;
    for (auto _ : state) {
        const auto row = static_cast<cp::Real>(i % 100);
        const auto index = static_cast<cp::Real>(i % 1000);
        std::string text =
            cp::format_using(kListingMask, {row, index, static_cast<cp::Real>(values[i & 4095])});
        ++i;
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_FormatUsingListingMask);

void BM_SnprintfListingLayout(benchmark::State& state) {
    const auto values = integer_spread();
    std::size_t i = 0;
    for (auto _ : state) {
        char buf[96];
        const int n = std::snprintf(
            buf, sizeof buf, " %+3lld %4lldx %11lld ", static_cast<long long>(i % 100),
            static_cast<long long>(i % 1000), static_cast<long long>(values[i & 4095]));
        ++i;
        std::string text(buf, static_cast<std::size_t>(n));
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_SnprintfListingLayout);

void BM_ParseNumber(benchmark::State& state) {
    const auto texts = number_texts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cp::parse_number(texts[i++ % texts.size()]));
    }
}
BENCHMARK(BM_ParseNumber);

void BM_Strtold(benchmark::State& state) {
    const auto texts = number_texts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::strtold(texts[i++ % texts.size()].c_str(), nullptr));
    }
}
BENCHMARK(BM_Strtold);

}  // namespace
