// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Font.h"

#include <cmath>
#include <cstdlib>

void TFont::DeclareProperties(PropertyList& props) {
    TPersistent::DeclareProperties(props);
    props.Int("Charset", &TFont::Charset, &TFont::SetCharset, DEFAULT_CHARSET);
    props.Color("Color", &TFont::Color, &TFont::SetColor, clWindowText);
    props.Int("Height", &TFont::Height, &TFont::SetHeight, DefaultHeight);
    props.String("Name", &TFont::Name, &TFont::SetName, std::string(DefaultName));
    props.Set("Style", &TFont::Style, &TFont::SetStyle,
              {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, 0);
}

void TFont::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TFont*>(&source);
    if (!other)
        AssignError(source);
    if (other == this)
        return;
    charset_ = other->charset_;
    color_ = other->color_;
    height_ = other->height_;
    name_ = other->name_;
    style_ = other->style_;
    Changed();
}

void TFont::SetCharset(int value) {
    if (value == charset_)
        return;
    charset_ = value;
    Changed();
}

void TFont::SetColor(TColor value) {
    if (value == color_)
        return;
    color_ = value;
    Changed();
}

void TFont::SetHeight(int value) {
    if (value == height_)
        return;
    height_ = value;
    Changed();
}

void TFont::SetName(std::string value) {
    if (value == name_)
        return;
    name_ = std::move(value);
    Changed();
}

void TFont::SetStyle(TFontStyles value) {
    if (value == style_)
        return;
    style_ = value;
    Changed();
}

int TFont::Size() const {
    return int(std::lround(double(PixelSize()) * 72 / PixelsPerInch));
}

void TFont::SetSize(int points) {
    SetHeight(int(std::lround(double(std::abs(points)) * PixelsPerInch / 72)));
}

int TFont::PixelSize() const {
    const int h = std::abs(height_);
    return h > 0 ? h : 1;
}

void TFont::Changed() {
    if (onChange_)
        onChange_(this);
}
