// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Canvas.h"

#include "platform/Bitmap.h"
#include "platform/Fonts.h"
#include "platform/LinePixels.h"
#include "platform/SystemColors.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>
#include <numbers>

namespace {
QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}
QString ToQString(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// The bounding box Qt's outline figures take so that a 1-pixel pen lies on
// the outermost pixels of (l, t, r, b), the right and bottom edges excluded.
QRect OutlineBox(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
}

// Counter-clockwise angle (radians, y up) of a point seen from the centre
// of the ellipse of `box`, in the ellipse's parametric measure, so that the
// radial through the point and the parametric angle agree.
double ParametricAngle(const TRect& box, double x, double y) {
    const double cx = (box.Left + box.Right) / 2.0;
    const double cy = (box.Top + box.Bottom) / 2.0;
    const double a = box.Width() / 2.0;
    const double b = box.Height() / 2.0;
    return std::atan2(a * (cy - y), b * (x - cx));
}

// How far `angle` lies counter-clockwise from `start`, in [0, 2pi).
double CounterClockwiseFrom(double start, double angle) {
    constexpr double kTurn = 2 * std::numbers::pi;
    double d = std::fmod(angle - start, kTurn);
    if (d < 0)
        d += kTurn;
    return d;
}
} // namespace

TCanvas::TCanvas(QPaintDevice& device)
    : device_(&device), ownPainter_(std::make_unique<QPainter>()), painter_(ownPainter_.get()) {}

TCanvas::TCanvas(QPainter& painter) : device_(painter.device()), painter_(&painter) {
    if (painter.hasClipping())
        ownerClip_ = painter.clipRegion();
}

TCanvas::~TCanvas() {
    EndPaint();
}

void TCanvas::EndPaint() {
    if (ownPainter_ && ownPainter_->isActive())
        ownPainter_->end();
}

QPainter* TCanvas::Active() {
    if (ownPainter_ && !ownPainter_->isActive()) {
        if (!device_ || device_->width() <= 0 || device_->height() <= 0)
            return nullptr;
        if (!ownPainter_->begin(device_))
            return nullptr;
        ApplyClip();
    }
    return painter_->isActive() ? painter_ : nullptr;
}

QPainter& TCanvas::Painter() {
    Active();
    return *painter_;
}

void TCanvas::ApplyClip() {
    // Removing the canvas's clip returns a borrowed painter to the clip its
    // owner had set.
    if (clip_)
        painter_->setClipRegion(*clip_);
    else if (ownerClip_)
        painter_->setClipRegion(*ownerClip_);
    else
        painter_->setClipping(false);
}

QImage* TCanvas::DeviceImage() const {
    if (device_ && device_->devType() == QInternal::Image)
        return static_cast<QImage*>(device_);
    return nullptr;
}

QFontMetrics TCanvas::Metrics(const QFont& font) const {
    // Measured for the device drawn on, so widths match the drawn text.
    return device_ ? QFontMetrics(font, device_) : QFontMetrics(font);
}

QSize TCanvas::DeviceSize() const {
    return device_ ? QSize(device_->width(), device_->height()) : QSize();
}

void TCanvas::PaintSpans(const std::vector<TSpan>& spans, TColor color) {
    QPainter* p = Active();
    if (!p)
        return;
    const QColor c = ToQColor(color);
    for (const TSpan& s : spans)
        p->fillRect(QRect(s.Left, s.Y, s.Right - s.Left + 1, 1), c);
}

void TCanvas::PaintPixels(const std::vector<TPoint>& pixels, TColor color) {
    QPainter* p = Active();
    if (!p)
        return;
    const QColor c = ToQColor(color);
    // Neighbouring pixels of one row or column go out as one rectangle.
    std::size_t i = 0;
    while (i < pixels.size()) {
        std::size_t j = i + 1;
        while (j < pixels.size() && pixels[j].Y == pixels[i].Y &&
               std::abs(pixels[j].X - pixels[j - 1].X) == 1 &&
               (pixels[j].X - pixels[j - 1].X) == (pixels[i + 1].X - pixels[i].X))
            ++j;
        if (j - i > 1) {
            const int x0 = std::min(pixels[i].X, pixels[j - 1].X);
            p->fillRect(QRect(x0, pixels[i].Y, int(j - i), 1), c);
            i = j;
            continue;
        }
        j = i + 1;
        while (j < pixels.size() && pixels[j].X == pixels[i].X &&
               std::abs(pixels[j].Y - pixels[j - 1].Y) == 1 &&
               (pixels[j].Y - pixels[j - 1].Y) == (pixels[i + 1].Y - pixels[i].Y))
            ++j;
        const int y0 = std::min(pixels[i].Y, pixels[j - 1].Y);
        p->fillRect(QRect(pixels[i].X, y0, 1, int(j - i)), c);
        i = j;
    }
}

QPen TCanvas::QtPen() const {
    if (pen_.Style == psClear)
        return Qt::NoPen;
    QPen pen(ToQColor(pen_.Color));
    pen.setWidth(pen_.Width < 1 ? 1 : pen_.Width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QBrush TCanvas::QtBrush() const {
    if (brush_.Style == bsClear)
        return Qt::NoBrush;
    return QBrush(ToQColor(brush_.Color));
}

bool TCanvas::ThinPen() const {
    return pen_.Style == psClear || pen_.Width <= 1;
}

void TCanvas::MoveTo(int x, int y) {
    penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
    const TPoint to{x, y};
    if (pen_.Style != psClear) {
        if (ThinPen()) {
            PaintPixels(LinePixels(penPos_, to), pen_.Color);
        } else if (QPainter* p = Active()) {
            p->setPen(QtPen());
            p->drawLine(QPoint(penPos_.X, penPos_.Y), QPoint(x, y));
        }
    }
    penPos_ = to;
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    if (points.empty())
        return;
    const TPoint saved = penPos_;
    MoveTo(points[0].X, points[0].Y);
    for (std::size_t i = 1; i < points.size(); ++i)
        LineTo(points[i].X, points[i].Y);
    penPos_ = saved;
}

// Shapes outlined with a wide pen are left to QPainter, which draws them
// with round joins inside Qt's own outline box.
void TCanvas::DrawWide(const TRect& n, void (QPainter::*draw)(const QRect&)) {
    if (QPainter* p = Active()) {
        p->setPen(QtPen());
        p->setBrush(QtBrush());
        (p->*draw)(OutlineBox(n));
    }
}

void TCanvas::Rectangle(const TRect& r) {
    const TRect n = r.Normalized();
    if (n.IsEmpty())
        return;
    if (!ThinPen()) {
        DrawWide(n, &QPainter::drawRect);
        return;
    }
    QPainter* p = Active();
    if (!p)
        return;
    if (pen_.Style == psClear) {
        FillRect(n);
        return;
    }
    if (brush_.Style != bsClear && n.Width() > 2 && n.Height() > 2)
        p->fillRect(QRect(n.Left + 1, n.Top + 1, n.Width() - 2, n.Height() - 2),
                    ToQColor(brush_.Color));
    const QColor c = ToQColor(pen_.Color);
    p->fillRect(QRect(n.Left, n.Top, n.Width(), 1), c);
    p->fillRect(QRect(n.Left, n.Bottom - 1, n.Width(), 1), c);
    p->fillRect(QRect(n.Left, n.Top, 1, n.Height()), c);
    p->fillRect(QRect(n.Right - 1, n.Top, 1, n.Height()), c);
}

void TCanvas::Ellipse(const TRect& r) {
    const TRect n = r.Normalized();
    if (n.IsEmpty())
        return;
    if (!ThinPen()) {
        DrawWide(n, &QPainter::drawEllipse);
        return;
    }
    const std::vector<TSpan> spans = EllipseSpans(n);
    if (brush_.Style != bsClear)
        PaintSpans(spans, brush_.Color);
    if (pen_.Style != psClear)
        PaintPixels(SpanOutline(spans), pen_.Color);
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    if (points.size() < 2)
        return;
    QPainter* p = Active();
    if (!p)
        return;
    QPolygon polygon;
    polygon.reserve(qsizetype(points.size()));
    for (const TPoint& pt : points)
        polygon << QPoint(pt.X, pt.Y);
    p->setPen(QtPen());
    p->setBrush(QtBrush());
    p->drawPolygon(polygon, Qt::OddEvenFill);
}

void TCanvas::Arc(const TRect& bounds, TPoint start, TPoint end) {
    const TRect n = bounds.Normalized();
    if (n.IsEmpty() || pen_.Style == psClear)
        return;
    // Angles are taken at pixel centres, the end points' too.
    const double from = ParametricAngle(n, start.X + 0.5, start.Y + 0.5);
    const double to = ParametricAngle(n, end.X + 0.5, end.Y + 0.5);
    double sweep = CounterClockwiseFrom(from, to);
    constexpr double kFullTurn = 2 * std::numbers::pi;
    if (sweep < 1e-12)
        sweep = kFullTurn;
    if (ThinPen()) {
        // The arc is the part of the ellipse's own outline between the two
        // radials, so it lies exactly on an ellipse drawn in the same box.
        std::vector<TPoint> pixels;
        for (const TPoint& px : SpanOutline(EllipseSpans(n)))
            if (CounterClockwiseFrom(from, ParametricAngle(n, px.X + 0.5, px.Y + 0.5)) <= sweep)
                pixels.push_back(px);
        PaintPixels(pixels, pen_.Color);
        return;
    }
    if (QPainter* p = Active()) {
        constexpr double kSixteenthsPerRadian = 180.0 * 16 / std::numbers::pi;
        p->setPen(QtPen());
        p->setBrush(Qt::NoBrush);
        p->drawArc(OutlineBox(n), int(std::lround(from * kSixteenthsPerRadian)),
                   int(std::lround(sweep * kSixteenthsPerRadian)));
    }
}

void TCanvas::FillRect(const TRect& r) {
    if (r.IsEmpty() || brush_.Style == bsClear)
        return;
    if (QPainter* p = Active())
        p->fillRect(ToQRect(r), ToQColor(brush_.Color));
}

void TCanvas::Frame3D(TRect& r, TColor topLeft, TColor bottomRight, int width) {
    for (int i = 0; i < width; ++i) {
        if (r.IsEmpty())
            return;
        if (QPainter* p = Active()) {
            const QColor tl = ToQColor(topLeft);
            const QColor br = ToQColor(bottomRight);
            p->fillRect(QRect(r.Left, r.Top, r.Width() - 1, 1), tl);
            p->fillRect(QRect(r.Left, r.Top, 1, r.Height() - 1), tl);
            p->fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), br);
            p->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), br);
        }
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
}

TColor TCanvas::Pixel(int x, int y) const {
    const QImage* image = DeviceImage();
    if (!image || !image->valid(x, y))
        return clNone;
    return FromQColor(QColor(image->pixel(x, y)));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    if (QPainter* p = Active())
        p->fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    QPainter* p = Active();
    if (!p)
        return;
    const QFont font = ToQFont(font_);
    const QFontMetrics metrics = Metrics(font);
    const QString s = ToQString(text);
    if (brush_.Style != bsClear)
        p->fillRect(QRect(x, y, metrics.horizontalAdvance(s), metrics.height()),
                    ToQColor(brush_.Color));
    p->setFont(font);
    p->setPen(ToQColor(font_.Color()));
    p->drawText(QPoint(x, y + metrics.ascent()), s);
    penPos_ = {x + metrics.horizontalAdvance(s), y};
}

int TCanvas::TextWidth(const std::string& text) const {
    return TextExtent(text).cx;
}

int TCanvas::TextHeight(const std::string& text) const {
    return TextExtent(text).cy;
}

TSize TCanvas::TextExtent(const std::string& text) const {
    const QFontMetrics metrics = Metrics(ToQFont(font_));
    return {metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

int TCanvas::DrawText(const std::string& text, const TRect& r, unsigned flags) {
    int qtFlags = Qt::AlignTop;
    if (flags & dtRight)
        qtFlags |= Qt::AlignRight;
    else if (flags & dtCenter)
        qtFlags |= Qt::AlignHCenter;
    else
        qtFlags |= Qt::AlignLeft;
    if (flags & dtWordBreak)
        qtFlags |= Qt::TextWordWrap;
    if (flags & dtExpandTabs)
        qtFlags |= Qt::TextExpandTabs;
    if (!(flags & dtNoPrefix))
        qtFlags |= Qt::TextShowMnemonic;

    const QFont font = ToQFont(font_);
    const QString s = ToQString(text);
    const QRect box = ToQRect(r.Normalized());
    const QRect used = Metrics(font).boundingRect(box, qtFlags, s);
    QPainter* p = Active();
    if (!p)
        return used.height();
    p->save();
    p->setClipRect(box, p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (brush_.Style != bsClear)
        p->fillRect(used, ToQColor(brush_.Color));
    p->setFont(font);
    p->setPen(ToQColor(font_.Color()));
    p->drawText(box, qtFlags, s);
    p->restore();
    return used.height();
}

void TCanvas::DrawImage(const TRect& target, const QImage& image) {
    const TRect n = target.Normalized();
    if (n.IsEmpty() || image.isNull())
        return;
    QPainter* p = Active();
    if (!p)
        return;
    // Nearest-pixel scaling: a same-size draw is an exact copy.
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p->drawImage(ToQRect(n),
                 image.mirrored(target.Right < target.Left, target.Bottom < target.Top));
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    if (bitmap.Empty())
        return;
    DrawImage(Bounds(x, y, bitmap.Width(), bitmap.Height()), bitmap.MaskedImage());
}

void TCanvas::StretchDraw(const TRect& target, const TBitmap& bitmap) {
    if (bitmap.Empty())
        return;
    DrawImage(target, bitmap.MaskedImage());
}

namespace {
// The part of `image` in `r`; swapped corners of r mirror it.
QImage SourcePart(const QImage& image, const TRect& r) {
    const TRect n = r.Normalized();
    return image.copy(QRect(n.Left, n.Top, n.Width(), n.Height()))
        .mirrored(r.Right < r.Left, r.Bottom < r.Top);
}
} // namespace

void TCanvas::CopyRect(const TRect& target, const TBitmap& source, const TRect& sourceRect) {
    if (source.Empty() || sourceRect.Normalized().IsEmpty())
        return;
    DrawImage(target, SourcePart(source.Image(), sourceRect));
}

void TCanvas::BrushCopy(const TRect& target, const TBitmap& source, const TRect& sourceRect,
                        TColor key) {
    if (source.Empty() || sourceRect.Normalized().IsEmpty())
        return;
    QImage part = SourcePart(source.Image(), sourceRect).convertToFormat(QImage::Format_ARGB32);
    const QRgb keyRgb = ToQColor(key).rgb();
    const QRgb replacement =
        brush_.Style == bsClear ? qRgba(0, 0, 0, 0) : ToQColor(brush_.Color).rgb();
    for (int y = 0; y < part.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x)
            if ((line[x] | 0xFF000000u) == keyRgb)
                line[x] = replacement;
    }
    DrawImage(target, part);
}

TRect TCanvas::ClipRect() const {
    if (clip_) {
        const QRect b = clip_->boundingRect();
        return Bounds(b.x(), b.y(), b.width(), b.height());
    }
    const QSize size = DeviceSize();
    return Bounds(-origin_.X, -origin_.Y, size.width(), size.height());
}

void TCanvas::SelectClipRgn(const TRegion* region) {
    if (region)
        clip_ = region->ToQRegion().translated(-origin_.X, -origin_.Y);
    else
        clip_.reset();
    if (painter_->isActive())
        ApplyClip();
}
