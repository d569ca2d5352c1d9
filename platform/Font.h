// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A font as controls store it. Height is the character height in pixels (a
// negative stored value means the same, so both sign conventions of stored
// layouts give the same pixel size). The name is mapped to an installed face
// when the font is used (platform/Fonts.h).

#include "core/Persistent.h"
#include "core/TColor.h"

#include <cstdint>
#include <string>

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = std::uint32_t; // bit i set: TFontStyle i present

constexpr TFontStyles FontStyleBit(TFontStyle s) {
    return TFontStyles(1) << s;
}

// Character sets kept for stored layouts; Qt text is Unicode, so they do not
// change the drawing.
constexpr int DEFAULT_CHARSET = 1;
constexpr int RUSSIAN_CHARSET = 204;

class TFont : public TPersistent {
public:
    static constexpr const char* DefaultName = "MS Sans Serif";
    static constexpr int DefaultHeight = 11;
    // Pixels per inch used to turn point sizes into pixel heights.
    static constexpr int PixelsPerInch = 96;

    std::string ClassName() const override { return "TFont"; }
    void DeclareProperties(PropertyList& props) override;
    void Assign(const TPersistent& source) override;

    int Charset() const { return charset_; }
    void SetCharset(int value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    int Height() const { return height_; }
    void SetHeight(int value);
    std::string Name() const { return name_; }
    void SetName(std::string value);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles value);

    // Size in points, derived from the height at PixelsPerInch.
    int Size() const;
    void SetSize(int points);
    // The pixel size the font is drawn at (never below 1).
    int PixelSize() const;
    bool Bold() const { return (style_ & FontStyleBit(fsBold)) != 0; }

    const TNotifyEvent& OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }

private:
    void Changed();

    int charset_ = DEFAULT_CHARSET;
    TColor color_ = clWindowText;
    int height_ = DefaultHeight;
    std::string name_ = DefaultName;
    TFontStyles style_ = 0;
    TNotifyEvent onChange_;
};
