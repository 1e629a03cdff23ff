#include "ReportPdfText.h"

#include <QGuiApplication>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    ::pclose(pipe);
    return out;
}

std::string unescape(std::string s) {
    const std::pair<const char*, const char*> entities[] = {{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    for (const auto& [from, to] : entities)
        for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + 1)) s.replace(at, std::strlen(from), to);
    return s;
}

}  // namespace

void ReportPdfText::ensureApplication() {
    if (QGuiApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "cairn_reports_tests";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);  // lives as long as the test program
}

std::string ReportPdfText::tempPath(const std::string& name) {
    const std::string folder = "/tmp/cairn-reports-" + std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    return folder + "/" + name;
}

std::string ReportPdfText::layoutText(const std::string& pdf) {
    return run("pdftotext -layout '" + pdf + "' - 2>/dev/null");
}

std::string ReportPdfText::info(const std::string& pdf) { return run("pdfinfo '" + pdf + "' 2>/dev/null"); }

std::vector<std::string> ReportPdfText::layoutPages(const std::string& pdf) {
    const std::string text = layoutText(pdf);
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (std::size_t ff = text.find('\f'); ff != std::string::npos; ff = text.find('\f', start)) {
        pages.push_back(text.substr(start, ff - start));
        start = ff + 1;
    }
    return pages;
}

std::vector<PdfPage> ReportPdfText::boxes(const std::string& pdf) {
    const std::string html = run("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
    static const std::regex page(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
    static const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    std::vector<PdfPage> pages;
    std::istringstream lines(html);
    std::string line;
    std::smatch m;
    while (std::getline(lines, line)) {
        if (std::regex_search(line, m, page))
            pages.push_back({std::stod(m[1]), std::stod(m[2]), {}});
        else if (std::regex_search(line, m, word) && !pages.empty())
            pages.back().words.push_back({unescape(m[5]), std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])});
    }
    return pages;
}

bool ReportPdfText::exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

int ReportPdfText::count(const std::string& text, const std::string& needle) {
    int n = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) ++n;
    return n;
}

std::size_t ReportPdfText::find(const std::string& text, const std::string& phrase) {
    std::string pattern;
    for (char c : phrase) {
        if (c == ' ')
            pattern += "\\s+";
        else if (std::strchr(".^$|()[]{}*+?\\", c))
            pattern += std::string("\\") + c;
        else
            pattern += c;
    }
    std::smatch match;
    return std::regex_search(text, match, std::regex(pattern)) ? static_cast<std::size_t>(match.position(0))
                                                                : std::string::npos;
}
