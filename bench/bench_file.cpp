// Saving and loading the largest facility (128 panels, 8 x 250 elements, 250 zones each, 2048
// rules; about 170 MB), beside pugixml parsing the same file, and loading a crafted file of
// 60,000 distinct rules.
//
// The "peak_MB" counter is the process's peak resident size when the benchmark ends; run one
// benchmark per process (--benchmark_filter=Load...) to read a benchmark's own peak. The figures to
// compare are CPU times: the build machine is shared.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <pugixml.hpp>
#include <sstream>
#include <string>

#include "FacilityBuilder.h"
#include "basalt/KvUtf.h"
#include "basalt/XmlDocument.h"
#include "file/CXmlHandler.h"
#include "model/CFacilityManager.h"

namespace {

std::string path(const char* what) { return "/tmp/cairn-bench-" + std::to_string(::getpid()) + "-" + what + ".kvg"; }

double peakMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The largest facility, written once per process by a child process, so that building it does
// not count in the peak of the loading benchmark.
const std::string& largestFile() {
    static const std::string file = [] {
        const std::string name = path("largest");  // the child's pid differs
        const pid_t child = ::fork();
        if (child == 0) {
            CFacilityManager m;
            FacilityBuilder::largest(m);
            ::_exit(CXmlHandler(m).save(ToWide(name.c_str())) ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return name;
    }();
    return file;
}

// 60,000 rules with distinct ids and selections: each files a group of its own on both sides.
const std::string& manyRulesFile() {
    static const std::string file = [] {
        std::string rules;
        auto side = [](int panel, int loop, int element, int zone) {
            return "<type>1</type><elementtype>1</elementtype><panelid>" + std::to_string(panel) +
                   "</panelid><loopaddress>" + std::to_string(loop) + "</loopaddress><elementaddress>" +
                   std::to_string(element) + "</elementaddress><zoneid>" + std::to_string(zone) +
                   "</zoneid><rangebegin>0</rangebegin><rangeend>0</rangeend>";
        };
        for (int i = 0; i < 60000; ++i)
            rules += "<eventaction><id>" + std::to_string(i + 1) + "</id><delay>0</delay><event>" +
                     side(1 + i / 2000, 1 + i / 250 % 8, 1 + i % 250, 0) + "</event><action>" +
                     side(1 + i % 128, 0, 0, 1 + i % 250 + i / 250 * 1000) + "</action></eventaction>";
        std::ofstream(path("rules"), std::ios::binary)
            << XmlDocument::kDeclaration << "<facility><panels><panel><id>1</id><address>1</address><events>"
            << rules << "</events></panel></panels></facility>";
        return path("rules");
    }();
    return file;
}

std::string readAll(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void BM_SaveLargestFacility(benchmark::State& state) {
    CFacilityManager m;
    FacilityBuilder::largest(m);
    CXmlHandler handler(m);
    for (auto _ : state)
        if (!handler.save(ToWide(path("saved").c_str()))) state.SkipWithError("save failed");
    std::remove(path("saved").c_str());
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_SaveLargestFacility)->Unit(benchmark::kMillisecond)->Iterations(3);

void load(benchmark::State& state, const std::string& file) {
    for (auto _ : state) {
        auto m = std::make_unique<CFacilityManager>();
        auto handler = std::make_unique<CXmlHandler>(*m);
        if (!handler->load(ToWide(file.c_str()))) {
            state.SkipWithError("load failed");
            return;
        }
        benchmark::DoNotOptimize(m->getNumberOfPanels());
        state.PauseTiming();  // releasing the facility is not part of loading
        handler.reset();
        m.reset();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMegabytes();
}

void BM_LoadLargestFacility(benchmark::State& state) { load(state, largestFile()); }
BENCHMARK(BM_LoadLargestFacility)->Unit(benchmark::kMillisecond)->Iterations(3);

// pugixml's parse alone, in place, of the same bytes already in memory: the yardstick for loading.
void BM_PugixmlParseLargestFacility(benchmark::State& state) {
    const std::string text = readAll(largestFile());
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<char[]> copy(new char[text.size()]);
        std::memcpy(copy.get(), text.data(), text.size());
        auto doc = std::make_unique<pugi::xml_document>();
        state.ResumeTiming();
        if (!doc->load_buffer_inplace(copy.get(), text.size())) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(doc->first_child());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMegabytes();
}
BENCHMARK(BM_PugixmlParseLargestFacility)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Load60000DistinctRules(benchmark::State& state) { load(state, manyRulesFile()); }
BENCHMARK(BM_Load60000DistinctRules)->Unit(benchmark::kMillisecond)->Iterations(3);

// Removes the generated files at exit, whichever benchmarks ran.
struct Cleanup {
    ~Cleanup() {
        std::remove(path("largest").c_str());
        std::remove(path("rules").c_str());
    }
} cleanup;

}  // namespace

BENCHMARK_MAIN();
