// Parse time of JsonDocument and nlohmann-json on the same files, written once
// to the temporary folder so that both read identical bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "basalt/JsonDocument.h"

namespace {

// A facility: panels with loops of addressed elements, zones and rules.
std::string FacilityJson(int panels) {
    std::ostringstream s;
    s << "{\"facility\":{\"name\":\"Site \\u00e9cole\",\"panels\":[";
    for (int p = 1; p <= panels; ++p) {
        s << (p > 1 ? "," : "") << "{\"id\":" << p << ",\"label\":\"Panel " << p << "\",\"loops\":[";
        for (int l = 1; l <= 8; ++l) {
            s << (l > 1 ? "," : "") << "{\"address\":" << l << ",\"elements\":[";
            for (int e = 1; e <= 125; ++e)
                s << (e > 1 ? "," : "") << "{\"address\":" << e << ",\"type\":" << (e % 18 + 1) << ",\"zone\":" << (e % 250 + 1)
                  << ",\"description\":\"Detector " << p << "." << l << "." << e << " corridor\",\"enabled\":true}";
            s << "]}";
        }
        s << "],\"zones\":[";
        for (int z = 1; z <= 250; ++z) s << (z > 1 ? "," : "") << "{\"number\":" << z << ",\"text\":\"Zone " << z << "\"}";
        s << "]}";
    }
    s << "]}}";
    return s.str();
}

std::string NumbersJson(int count) {
    std::ostringstream s;
    s << "[";
    for (int i = 0; i < count; ++i) s << (i ? "," : "") << (i * 37 % 100000) << "," << (i * 0.001 + 0.5) << ",-1.5e" << (i % 20);
    s << "]";
    return s.str();
}

std::string TextJson(int count) {
    std::ostringstream s;
    s << "{";
    for (int i = 0; i < count; ++i)
        s << (i ? "," : "") << "\"key" << i << "\":\"line one\\nline \\\"two\\\" \xC3\xA9\xE2\x82\xAC \\ud83d\\ude00 tail " << i << "\"";
    s << "}";
    return s.str();
}

const std::string& File(const std::string& name) {
    static std::map<std::string, std::string> files;
    auto it = files.find(name);
    if (it != files.end()) return it->second;
    std::string text = name == "facility" ? FacilityJson(12) : name == "numbers" ? NumbersJson(100000) : TextJson(50000);
    const std::string path = "/tmp/cairn-bench-" + name + ".json";
    std::ofstream(path, std::ios::binary) << text;
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return files[name] = ss.str();
}

void JsonDocumentParse(benchmark::State& state, const char* name) {
    const std::string& text = File(name);
    for (auto _ : state) {
        JsonDocument doc;
        if (!doc.Parse(text.data(), text.size())) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(doc.Root());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(text.size()));
}

void NlohmannParse(benchmark::State& state, const char* name) {
    const std::string& text = File(name);
    for (auto _ : state) {
        nlohmann::json j = nlohmann::json::parse(text);
        benchmark::DoNotOptimize(j);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(text.size()));
}

}  // namespace

BENCHMARK_CAPTURE(JsonDocumentParse, facility, "facility")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NlohmannParse, facility, "facility")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(JsonDocumentParse, numbers, "numbers")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NlohmannParse, numbers, "numbers")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(JsonDocumentParse, text, "text")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NlohmannParse, text, "text")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
