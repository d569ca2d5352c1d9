// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Bitmap.h"

#include "platform/Canvas.h"
#include "platform/SystemColors.h"

#include <QPainter>

namespace {
constexpr QImage::Format kFormat = QImage::Format_RGB32;

QImage WhiteImage(int width, int height) {
    QImage image(width, height, kFormat);
    image.fill(Qt::white);
    return image;
}
} // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) {
    if (width > 0 && height > 0)
        image_ = WhiteImage(width, height);
}

TBitmap::TBitmap(const QImage& image) {
    SetImage(image);
}

TBitmap::TBitmap(const TBitmap& other)
    : image_(other.Image()), transparent_(other.transparent_),
      fixedTransparentColor_(other.fixedTransparentColor_),
      transparentColor_(other.transparentColor_) {}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this == &other)
        return *this;
    Flush();
    image_ = other.Image();
    transparent_ = other.transparent_;
    fixedTransparentColor_ = other.fixedTransparentColor_;
    transparentColor_ = other.transparentColor_;
    return *this;
}

TBitmap::~TBitmap() {
    canvas_.reset();
}

void TBitmap::Flush() const {
    if (canvas_)
        canvas_->EndPaint();
}

void TBitmap::SetSize(int width, int height) {
    if (width == Width() && height == Height())
        return;
    Flush();
    if (width <= 0 || height <= 0) {
        image_ = QImage();
        return;
    }
    QImage resized = WhiteImage(width, height);
    if (!image_.isNull()) {
        QPainter p(&resized);
        p.drawImage(0, 0, image_);
    }
    image_ = std::move(resized);
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_)
        canvas_ = std::make_unique<TCanvas>(image_);
    return *canvas_;
}

TColor TBitmap::TransparentColor() const {
    if (fixedTransparentColor_ || Empty())
        return transparentColor_;
    return FromQColor(QColor(Image().pixel(0, Height() - 1)));
}

void TBitmap::SetTransparentColor(TColor color) {
    transparentColor_ = color;
    fixedTransparentColor_ = true;
}

const QImage& TBitmap::Image() const {
    Flush();
    return image_;
}

void TBitmap::SetImage(const QImage& image) {
    Flush();
    image_ = image.isNull() ? QImage() : image.convertToFormat(kFormat);
}

bool TBitmap::LoadFromFile(const std::string& path) {
    QImage loaded;
    if (!loaded.load(QString::fromStdString(path)))
        return false;
    SetImage(loaded);
    return true;
}

QImage TBitmap::MaskedImage() const {
    if (!transparent_ || Empty())
        return Image();
    QImage masked = Image().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(TransparentColor()).rgb();
    for (int y = 0; y < masked.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if ((line[x] | 0xFF000000u) == key)
                line[x] = qRgba(0, 0, 0, 0);
    }
    return masked;
}
