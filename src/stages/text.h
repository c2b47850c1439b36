// Small text helpers shared by the readers of data files.
#pragma once

#include <QString>

namespace tessarin {

// Removes ordinary (U+0020) and ideographic (U+3000) spaces at both ends.
inline QString trimSpaces(const QString& s) {
    auto isSpace = [](QChar c) { return c == QChar(0x20) || c == QChar(0x3000); };
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isSpace(s[b])) ++b;
    while (e > b && isSpace(s[e - 1])) --e;
    return s.mid(b, e - b);
}

}  // namespace tessarin
