#include "formats/completions.h"

#include "formats/datafile.h"

namespace tessarin {

bool decodeUtf8(std::string_view raw, std::u32string& out) {
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    out.clear();
    std::size_t i = 0;
    while (i < raw.size()) {
        const auto b = static_cast<unsigned char>(raw[i]);
        std::size_t extra = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF) extra = 1, cp = b & 0x1Fu;
        else if (b >= 0xE0 && b <= 0xEF) extra = 2, cp = b & 0x0Fu;
        else if (b >= 0xF0 && b <= 0xF4) extra = 3, cp = b & 0x07u;
        else return false;
        if (i + extra >= raw.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(raw[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        out.push_back(cp);
        i += 1 + extra;
    }
    return true;
}

namespace {

std::u32string markLine(std::string_view raw) {
    std::u32string text;
    if (decodeUtf8(raw, text)) {
        if (!text.empty() && text.front() == 0xFEFF) text.erase(0, 1);
        return text;
    }
    text.clear();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const auto b = static_cast<unsigned char>(raw[i]);
        if (b == 0x81 && i + 1 < raw.size() && static_cast<unsigned char>(raw[i + 1]) == 0x40) {
            text.push_back(0x3000);
            ++i;
        } else {
            text.push_back(b < 0x80 ? b : 0xFFFD);
        }
    }
    return text;
}

}  // namespace

std::vector<std::u32string> completionMarks(std::string_view bytes) {
    std::vector<std::u32string> marks;
    const auto space = [](char32_t c) { return c == 0x20 || c == 0x3000; };
    for (const std::string& raw : textLines(bytes)) {
        const std::u32string text = markLine(raw);
        std::size_t b = 0, e = text.size();
        while (b < e && space(text[b])) ++b;
        while (e > b && space(text[e - 1])) --e;
        // Five characters as the game counts them: in UTF-16 code units.
        std::size_t units = 0;
        for (std::size_t i = b; i < e; ++i) units += text[i] > 0xFFFF ? 2 : 1;
        if (units == 5) marks.push_back(text.substr(b, e - b));
    }
    return marks;
}

}  // namespace tessarin
