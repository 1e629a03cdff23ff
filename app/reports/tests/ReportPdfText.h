// ReportPdfText: reads report PDFs back through poppler's pdftotext, as a reader would see them.
#pragma once

#include <string>
#include <vector>

// One word of a page with its box in points from the top-left corner of the page.
struct PdfWord {
    std::string text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

struct PdfPage {
    double width = 0, height = 0;
    std::vector<PdfWord> words;
};

class ReportPdfText {
public:
    // Makes sure a QGuiApplication exists (offscreen when no platform is set).
    static void ensureApplication();
    // A fresh path in a per-process temporary folder.
    static std::string tempPath(const std::string& name);
    // `pdftotext -layout`, one string per page.
    static std::vector<std::string> layoutPages(const std::string& pdf);
    // `pdftotext -layout` of the whole document; empty when it cannot be read.
    static std::string layoutText(const std::string& pdf);
    // What `pdfinfo` says of the document (title, page size, pages).
    static std::string info(const std::string& pdf);
    // `pdftotext -bbox`: every page with its words.
    static std::vector<PdfPage> boxes(const std::string& pdf);
    static bool exists(const std::string& path);
    // Whether `text` holds the words of `phrase` in a row, with any white space between them.
    static bool has(const std::string& text, const std::string& phrase) { return find(text, phrase) != std::string::npos; }
    // Where those words start in `text`; npos when they are not there.
    static std::size_t find(const std::string& text, const std::string& phrase);
    // Number of times `needle` occurs in `text`.
    static int count(const std::string& text, const std::string& needle);
};
