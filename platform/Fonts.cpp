// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Fonts.h"

#include "platform/Font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>
#include <array>
#include <utility>

namespace {
bool SameName(std::string_view a, std::string_view b) {
    return QString::fromUtf8(a.data(), qsizetype(a.size()))
               .compare(QString::fromUtf8(b.data(), qsizetype(b.size())), Qt::CaseInsensitive) == 0;
}
} // namespace

QString MapFontFamily(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, const char*>, 4> kFaces = {{
        {"Verdana", "DejaVu Sans"},
        {"Arial", "Liberation Sans"},
        {"MS Sans Serif", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
    }};
    for (const auto& [from, to] : kFaces)
        if (SameName(name, from))
            return QString::fromLatin1(to);
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

QFont ToQFont(const TFont& font) {
    QFont q(MapFontFamily(font.Name()));
    q.setPixelSize(font.PixelSize());
    const TFontStyles s = font.Style();
    q.setBold((s & FontStyleBit(fsBold)) != 0);
    q.setItalic((s & FontStyleBit(fsItalic)) != 0);
    q.setUnderline((s & FontStyleBit(fsUnderline)) != 0);
    q.setStrikeOut((s & FontStyleBit(fsStrikeOut)) != 0);
    return q;
}

int CoveredTextWidth(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    return std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).right() + 1);
}

namespace {
// The installed condensed face of the font's family, or an empty name.
QString CondensedFamily(const QFont& font) {
    const QString family = QFontInfo(font).family();
    if (family.endsWith(QLatin1String(" Condensed")))
        return {};
    const QString condensed = family + QLatin1String(" Condensed");
    return QFontDatabase::families().contains(condensed) ? condensed : QString();
}

// Below half its size a caption would no longer read as the same text.
constexpr int kSmallestFraction = 2;
} // namespace

void FitFontToWidth(TFont& font, const std::string& text, int width) {
    QFont face = ToQFont(font);
    const QString s = QString::fromStdString(text);
    if (s.isEmpty() || CoveredTextWidth(face, s) <= width)
        return;
    const QString condensed = CondensedFamily(face);
    if (!condensed.isEmpty()) {
        face.setFamily(condensed);
        font.SetName(condensed.toStdString());
    }
    const int full = font.PixelSize();
    const int smallest = std::max(1, full / kSmallestFraction);
    int size = full;
    face.setPixelSize(size);
    while (size > smallest && CoveredTextWidth(face, s) > width)
        face.setPixelSize(--size);
    if (size != full)
        font.SetHeight(size);
}
