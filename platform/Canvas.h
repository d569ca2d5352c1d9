// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing surface the controls paint through. It keeps its own pen,
// brush, font, pen position and clip so that painting code can hold them
// across calls, and draws on a QPainter with fixed pixel rules:
//  - FillRect (l, t, r, b) fills the pixels l .. r-1, t .. b-1;
//  - Rectangle and Ellipse with a 1-pixel pen cover the same pixels, the
//    outline on the outermost ones; the interior is filled with the brush;
//  - 1-pixel lines leave out their end point; wider pens have round caps;
//  - Arc runs counter-clockwise between the radials through two points;
//  - Polygon fills by the odd-even rule;
//  - the 1-pixel outlines of ellipses and arcs and elliptic regions share
//    one set of pixels (platform/EllipseSpans.h).
// Colours go through ColorToRGB (platform/SystemColors.h).

#include "platform/Brush.h"
#include "platform/EllipseSpans.h"
#include "platform/Font.h"
#include "platform/Geometry.h"
#include "platform/Pen.h"
#include "platform/Region.h"

#include <QBrush>
#include <QFontMetrics>
#include <QPen>
#include <QRegion>

#include <memory>
#include <optional>
#include <span>
#include <string>

class QImage;
class QPaintDevice;
class QPainter;
class TBitmap;

// Flags of DrawText; left alignment and top placement are the default.
constexpr unsigned dtLeft = 0x0;
constexpr unsigned dtCenter = 0x1;
constexpr unsigned dtRight = 0x2;
constexpr unsigned dtWordBreak = 0x10;
constexpr unsigned dtExpandTabs = 0x40;
constexpr unsigned dtNoPrefix = 0x800;

class TCanvas {
public:
    // Paints on a device with a painter of its own, begun on the first
    // drawing call and ended by EndPaint or the destructor.
    explicit TCanvas(QPaintDevice& device);
    // Paints through a painter someone else owns (a widget's paint event).
    explicit TCanvas(QPainter& painter);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TFont& Font() { return font_; }

    // Lines.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    TPoint PenPos() const { return penPos_; }
    void Polyline(std::span<const TPoint> points);

    // Figures in the brush colour outlined with the pen.
    void Rectangle(const TRect& r);
    void Rectangle(int left, int top, int right, int bottom) {
        Rectangle(TRect{left, top, right, bottom});
    }
    void Ellipse(const TRect& r);
    void Ellipse(int left, int top, int right, int bottom) {
        Ellipse(TRect{left, top, right, bottom});
    }
    void Polygon(std::span<const TPoint> points);
    // The part of the ellipse in `bounds` from the radial through `start`
    // counter-clockwise to the radial through `end` (the whole ellipse when
    // both radials coincide).
    void Arc(const TRect& bounds, TPoint start, TPoint end);
    void FillRect(const TRect& r);
    // One ring per width: top and left edges in topLeft, bottom and right in
    // bottomRight; each ring moves r's sides inward by one pixel.
    void Frame3D(TRect& r, TColor topLeft, TColor bottomRight, int width = 1);

    // Pixels; reading needs an image underneath (a bitmap): off the image or
    // without one it gives clNone.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    // Text in the font colour, its top-left corner at (x, y); with a solid
    // brush the text's box is filled with the brush first.
    void TextOut(int x, int y, const std::string& text);
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;
    TSize TextExtent(const std::string& text) const;
    // Text laid out in r from its top with the dt* flags, clipped to r; "&"
    // marks the next character unless dtNoPrefix. Returns the text's height.
    int DrawText(const std::string& text, const TRect& r, unsigned flags);

    // Bitmaps. A transparent bitmap leaves the pixels of its transparent
    // colour out. Swapped corners of the target mirror the picture.
    void Draw(int x, int y, const TBitmap& bitmap);
    void StretchDraw(const TRect& target, const TBitmap& bitmap);
    // Copies (stretching if the sizes differ) a rectangle of a bitmap.
    void CopyRect(const TRect& target, const TBitmap& source, const TRect& sourceRect);
    // As CopyRect, but pixels of colour `key` take the brush colour (a clear
    // brush leaves the target there unchanged).
    void BrushCopy(const TRect& target, const TBitmap& source, const TRect& sourceRect, TColor key);

    // Clipping. Regions are in device pixels: the canvas's (0, 0) lies at
    // Origin() on the device. No region means the whole device.
    TRect ClipRect() const;
    void SelectClipRgn(const TRegion* region);
    void SelectClipRgn(const TRegion& region) { SelectClipRgn(&region); }
    TPoint Origin() const { return origin_; }
    void SetOrigin(TPoint origin) { origin_ = origin; }

    // Ends an own painter so the device can be read or resized; the next
    // drawing call begins a new one with the same state.
    void EndPaint();
    // The painter itself, with the canvas's clip applied, for what the canvas
    // does not offer.
    QPainter& Painter();

private:
    // The painter, begun if need be; null when there is nothing to paint on.
    QPainter* Active();
    void ApplyClip();
    QPen QtPen() const;
    QBrush QtBrush() const;
    bool ThinPen() const;
    void DrawWide(const TRect& n, void (QPainter::*draw)(const QRect&));
    void PaintSpans(const std::vector<TSpan>& spans, TColor color);
    void PaintPixels(const std::vector<TPoint>& pixels, TColor color);
    void DrawImage(const TRect& target, const QImage& image);
    QImage* DeviceImage() const;
    QSize DeviceSize() const;
    QFontMetrics Metrics(const QFont& font) const;

    QPaintDevice* device_ = nullptr;
    std::unique_ptr<QPainter> ownPainter_;
    QPainter* painter_ = nullptr;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    TPoint penPos_;
    TPoint origin_;
    std::optional<QRegion> clip_;
    std::optional<QRegion> ownerClip_; // a borrowed painter's clip at the start
};
