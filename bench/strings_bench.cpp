// Character-by-character building, the pattern of the XML, UTF and number builders.
#include <benchmark/benchmark.h>

#include <string>

#include "basalt/KvBasicString.h"

namespace {

void KvWStringSmallAppend(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        KvWString s;
        s.SetGrowth(KvGrowth::Small);
        for (int i = 0; i < n; ++i) s.Append(static_cast<char16_t>(u'a' + (i & 15)));
        benchmark::DoNotOptimize(s.c_str());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void KvWStringLargeAppend(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        KvWString s;
        s.SetGrowth(KvGrowth::Large);
        for (int i = 0; i < n; ++i) s.Append(static_cast<char16_t>(u'a' + (i & 15)));
        benchmark::DoNotOptimize(s.c_str());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void U16StringPushBack(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::u16string s;
        for (int i = 0; i < n; ++i) s.push_back(static_cast<char16_t>(u'a' + (i & 15)));
        benchmark::DoNotOptimize(s.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(KvWStringSmallAppend)->Arg(64)->Arg(1000)->Arg(100000);
BENCHMARK(KvWStringLargeAppend)->Arg(64)->Arg(1000)->Arg(100000);
BENCHMARK(U16StringPushBack)->Arg(64)->Arg(1000)->Arg(100000);

BENCHMARK_MAIN();
