#include "platform/Fonts.h"

#include "platform/Font.h"

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
