// Parse and serialization speed of XmlDocument next to pugixml, on the same
// texts: a small facility and a facility-shaped file of some tens of megabytes.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>
#include <string>

#include "basalt/KvSimpleXml.h"
#include "basalt/XmlDocument.h"

namespace {

void AddSide(KvSimpleXml& w, const char16_t* side, int n) {
    w.Open(side);
    const char16_t* fields[] = {u"type", u"elementtype", u"panelid", u"loopaddress",
                                u"elementaddress", u"zoneid", u"rangebegin", u"rangeend"};
    for (int i = 0; i < 8; ++i) w.Add(fields[i], (n * 7 + i) % 250);
    w.Close(side);
}

// The shape of a saved facility: panels, loops, elements, zones and, inside
// every panel, the whole list of rules.
std::string FacilityXml(int panels, int loops, int elements, int zones, int rules) {
    KvSimpleXml w;
    w.Open(u"facility");
    w.Open(u"panels");
    for (int p = 1; p <= panels; ++p) {
        w.Open(u"panel");
        w.Add(u"id", p);
        w.Add(u"address", p);
        w.Add(u"label", KvWString().Format(u"Panel %d \u2013 Building A & B", p));
        w.Add(u"installer", u"Installer <North>");
        w.Add(u"description", u"Ground floor, east wing");
        w.Add(u"phone", u"+34 600 000 000");
        w.Open(u"loops");
        for (int l = 1; l <= loops; ++l) {
            w.Open(u"loop");
            w.Add(u"address", l);
            w.Open(u"elements");
            for (int e = 1; e <= elements; ++e) {
                w.Open(u"element");
                w.Add(u"address", e);
                w.Add(u"type", 1 + e % 18);
                w.Add(u"label", KvWString().Format(u"Detector %d.%d", l, e));
                w.Add(u"description", u"Corridor \u00e9tage 2");
                w.Add(u"zone", e % 250);
                w.Add(u"composite", 0);
                w.Add(u"generic", e % 9);
                w.Close(u"element");
            }
            w.Close(u"elements");
            w.Close(u"loop");
        }
        w.Close(u"loops");
        w.Open(u"zones");
        for (int z = 1; z <= zones; ++z) {
            w.Open(u"zone");
            w.Add(u"id", z);
            w.Add(u"description", KvWString().Format(u"Zone %d", z));
            w.Close(u"zone");
        }
        w.Close(u"zones");
        w.Open(u"events");
        for (int r = 1; r <= rules; ++r) {
            w.Open(u"eventaction");
            w.Add(u"id", r);
            w.Add(u"delay", r % 60);
            AddSide(w, u"event", r);
            AddSide(w, u"action", r + 1);
            w.Close(u"eventaction");
        }
        w.Close(u"events");
        w.Close(u"panel");
    }
    w.Close(u"panels");
    w.Close(u"facility");
    KvString text;
    w.CreateXmlCode(text);
    return std::string(XmlDocument::kDeclaration) + text.c_str();
}

const std::string& Sample(int which) {
    static const std::string small = FacilityXml(2, 2, 40, 20, 10);
    static const std::string large = FacilityXml(64, 8, 250, 250, 200);
    return which == 0 ? small : large;
}

void Label(benchmark::State& state, const std::string& text) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.SetLabel(std::to_string(text.size() / 1024) + " KiB");
}

void BM_ParseXmlDocument(benchmark::State& state) {
    const std::string& text = Sample(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        XmlDocument doc;
        if (!doc.Parse(text.data(), text.size())) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(doc.Root());
    }
    Label(state, text);
}

void BM_ParsePugixml(benchmark::State& state) {
    const std::string& text = Sample(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        pugi::xml_document doc;
        if (!doc.load_buffer(text.data(), text.size())) state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(doc.first_child());
    }
    Label(state, text);
}

void BM_SerializeXmlDocument(benchmark::State& state) {
    const std::string& text = Sample(static_cast<int>(state.range(0)));
    XmlDocument doc;
    doc.Parse(text.data(), text.size());
    for (auto _ : state) {
        KvString out;
        doc.CreateXmlCode(out, true);
        benchmark::DoNotOptimize(out.c_str());
    }
    Label(state, text);
}

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
};

void BM_SerializePugixml(benchmark::State& state) {
    const std::string& text = Sample(static_cast<int>(state.range(0)));
    pugi::xml_document doc;
    doc.load_buffer(text.data(), text.size());
    for (auto _ : state) {
        StringWriter w;
        doc.save(w, "", pugi::format_raw);
        benchmark::DoNotOptimize(w.out.data());
    }
    Label(state, text);
}

}  // namespace

BENCHMARK(BM_ParseXmlDocument)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParsePugixml)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SerializeXmlDocument)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SerializePugixml)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
