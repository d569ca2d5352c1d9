// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An off-screen bitmap with a canvas of its own. A new bitmap, and the area a
// bitmap gains when it grows, is white. Pixels are 32-bit RGB.

#include "core/TColor.h"
#include "platform/Geometry.h"

#include <QImage>

#include <memory>
#include <string>

class TCanvas;

class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height);
    explicit TBitmap(const QImage& image);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    ~TBitmap();

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    bool Empty() const { return image_.isNull(); }
    // Keeps the pixels that stay inside; a size of 0 empties the bitmap.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }

    TCanvas& Canvas();

    // Drawing with one colour left out: the fixed transparent colour, or,
    // without one, the colour of the bottom-left pixel.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { transparent_ = value; }
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    void SetTransparentColorAuto() { fixedTransparentColor_ = false; }

    // The pixels, with any drawing in progress finished.
    const QImage& Image() const;
    void SetImage(const QImage& image);
    bool LoadFromFile(const std::string& path);
    // The picture with transparent pixels (if Transparent) at alpha 0.
    QImage MaskedImage() const;

    void Assign(const TBitmap& source) { *this = source; }

private:
    void Flush() const;

    QImage image_;
    mutable std::unique_ptr<TCanvas> canvas_;
    bool transparent_ = false;
    bool fixedTransparentColor_ = false;
    TColor transparentColor_ = clWhite;
};
