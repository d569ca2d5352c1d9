// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/paint/Gradient.h"

#include "controls/base/RectHelpers.h"
#include "controls/paint/ColorSteps.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/SystemColors.h"

#include <algorithm>
#include <array>
#include <cmath>

TColor BlendColor(TColor from, TColor to, int steps, int step) {
    const TColor fromRgb = ColorToRGB(from);
    const TColor toRgb = ColorToRGB(to);
    if (fromRgb == toRgb)
        return from;
    return BlendResolved(fromRgb, toRgb, steps, step);
}

namespace {

// Where the lightest row of the third-way styles lies, and how far the
// steps reach from it (two thirds of the size).
constexpr int ThirdDivisor = 3;
constexpr double TwoThirds = 0.67;
// Radius scales of the elliptic styles, per step: half the size for the
// first, a little more (so the corners fill) for the second and third.
constexpr float EllipticScale1 = 0.5f;
constexpr float EllipticScale2 = 0.695f;
constexpr float EllipticScale3 = 0.82f;

long RoundHalfEven(double x) {
    return std::lrint(x);
}

// Draws one style on a white canvas of W x H pixels. Channels are resolved
// and different (n >= 1).
class GradientRenderer {
public:
    GradientRenderer(TCanvas& canvas, int width, int height, TColor fromRgb, TColor toRgb)
        : c_(canvas), w_(width), h_(height), from_(TColorChannels::Of(fromRgb)),
          delta_(TColorChannels::Of(toRgb) - from_), n_(GradientStepCount(delta_)),
          fromRgb_(fromRgb), toRgb_(toRgb) {
        c_.Pen().Width = 1;
        c_.Pen().Style = psSolid;
        c_.Brush().Style = bsSolid;
    }

    void Draw(TGradientStyle style) {
        switch (style) {
        case gsHorizontal1:
            Banded(false);
            break;
        case gsVertical1:
            Banded(true);
            break;
        case gsHorizontal2:
            Mirrored(false);
            break;
        case gsVertical2:
            Mirrored(true);
            break;
        case gsHorizontal3:
            Third(false);
            break;
        case gsVertical3:
            Third(true);
            break;
        case gsElliptic1:
        case gsElliptic2:
        case gsElliptic3:
            Elliptic(style);
            break;
        case gsRectangle:
            Rectangles();
            break;
        case gsDiamond1:
        case gsDiamond2:
            Diamond(style == gsDiamond1);
            break;
        case gsTopLeft:
            Corner(false);
            break;
        case gsTopRight:
            Corner(true);
            break;
        }
    }

private:
    TColor S(double t, int m) const { return SteppedColor(from_, delta_, t, m); }

    // A line across the whole bitmap at position p (a row, or a column).
    void Line(bool vertical, int p, TColor color) {
        c_.Pen().Color = color;
        if (vertical) {
            c_.MoveTo(p, 0);
            c_.LineTo(p, h_);
        } else {
            c_.MoveTo(0, p);
            c_.LineTo(w_, p);
        }
    }

    void FillBackground(TColor color) {
        c_.Brush().Color = color;
        c_.FillRect({0, 0, w_, h_});
    }

    // Bands of equal size, never more bands than pixels.
    void Banded(bool vertical) {
        const int size = vertical ? w_ : h_;
        if (size <= 0)
            return; // nothing to band (the division below needs a size)
        const int bands = std::min(n_, size);
        const int band = size / bands;
        const int k = std::max(1, size / band);
        for (int i = 0; i <= k; ++i) {
            c_.Brush().Color = BandedColor(from_, delta_, i, k);
            if (vertical)
                c_.FillRect({i * band, 0, (i + 1) * band, h_});
            else
                c_.FillRect({0, i * band, w_, (i + 1) * band});
        }
    }

    // The first colour on the middle line, the second at both edges.
    void Mirrored(bool vertical) {
        int m = (vertical ? w_ : h_) / 2;
        if (m == 0)
            m = 1;
        Line(vertical, m, fromRgb_);
        for (int i = 1; i <= m; ++i) {
            const TColor color = S(i, m);
            Line(vertical, m + i, color);
            Line(vertical, m - i, color);
        }
    }

    // The first colour a third of the way in, steps reaching two thirds.
    void Third(bool vertical) {
        const int size = vertical ? w_ : h_;
        int m = int(RoundHalfEven(size * TwoThirds));
        if (m == 0)
            m = 1;
        const int p0 = size / ThirdDivisor;
        Line(vertical, p0, fromRgb_);
        for (int i = 1; i <= m; ++i) {
            const TColor color = S(i, m);
            Line(vertical, p0 + i, color);
            if (p0 - i >= 0)
                Line(vertical, p0 - i, color);
        }
    }

    void Elliptic(TGradientStyle style) {
        TPoint centre = RectCenter({0, 0, w_, h_});
        float scale = EllipticScale1;
        if (style == gsElliptic2)
            scale = EllipticScale2;
        if (style == gsElliptic3) {
            scale = EllipticScale3;
            centre.X = centre.X - w_ / 4 + 1;
            centre.Y = centre.Y - h_ / 4 + 1;
        }
        const float sx = float(w_) / float(n_) * scale;
        const float sy = float(h_) / float(n_) * scale;
        FillBackground(toRgb_);
        for (int i = n_; i >= 1; --i) {
            const TColor color = S(i, n_);
            c_.Pen().Color = color;
            c_.Brush().Color = color;
            const int rx = int(RoundHalfEven(i * double(sx)));
            const int ry = int(RoundHalfEven(i * double(sy)));
            c_.Ellipse(centre.X - rx, centre.Y - ry, centre.X + rx, centre.Y + ry);
        }
    }

    void Rectangles() {
        const TPoint centre = RectCenter({0, 0, w_, h_});
        const float sx = float(w_) / float(n_) / 2.0f;
        const float sy = float(h_) / float(n_) / 2.0f;
        for (int i = n_; i >= 0; --i) {
            const TColor color = S(i, n_);
            c_.Pen().Color = color;
            c_.Brush().Color = color;
            const int rx = int(RoundHalfEven(i * double(sx)));
            const int ry = int(RoundHalfEven(i * double(sy)));
            c_.Rectangle(centre.X - rx, centre.Y - ry, centre.X + rx + 1, centre.Y + ry + 1);
        }
    }

    void Diamond(bool half) {
        const TPoint centre = RectCenter({0, 0, w_, h_});
        const int larger = MaxOf(w_, h_);
        const int m = half ? MaxOf(larger / 2, n_) : MaxOf(larger, n_);
        const float divisor = half ? 2.0f : 1.0f;
        const float sx = float(w_) / float(m) / divisor;
        const float sy = float(h_) / float(m) / divisor;
        FillBackground(toRgb_);
        for (int i = m; i >= 1; --i) {
            c_.Pen().Color = S(i, m);
            const int rx = int(RoundHalfEven(i * double(sx)));
            const int ry = int(RoundHalfEven(i * double(sy)));
            const std::array<TPoint, 5> outline = {
                TPoint{centre.X, centre.Y - ry}, TPoint{centre.X + rx, centre.Y},
                TPoint{centre.X, centre.Y + ry}, TPoint{centre.X - rx, centre.Y},
                TPoint{centre.X, centre.Y - ry}};
            c_.Polyline(outline);
        }
        c_.SetPixel(centre.X, centre.Y, fromRgb_);
    }

    // Diagonal lines from one corner and, in the opposite colour order, from
    // the other; both halves meet on the far diagonal in the middle colour.
    void Corner(bool fromRight) {
        const int m = MaxOf(w_, h_);
        const float sx = float(w_) / float(m);
        const float sy = float(h_) / float(m);
        for (int i = 0; i <= m; ++i) {
            const double t = i / 2.0;
            const int a = int(RoundHalfEven(i * double(sx)));
            const int b = int(RoundHalfEven(i * double(sy)));
            c_.Pen().Color = S(t, m);
            if (fromRight) {
                c_.MoveTo(w_, b);
                c_.LineTo(w_ - a, -1);
            } else {
                c_.MoveTo(0, b);
                c_.LineTo(a, -1);
            }
            c_.Pen().Color = S(m - t, m);
            if (fromRight) {
                c_.MoveTo(0, h_ - b);
                c_.LineTo(a, h_);
            } else {
                c_.MoveTo(w_, h_ - b);
                c_.LineTo(w_ - a, h_);
            }
        }
    }

    TCanvas& c_;
    const int w_;
    const int h_;
    const TColorChannels from_;
    const TColorChannels delta_;
    const int n_;
    const TColor fromRgb_;
    const TColor toRgb_;
};

} // namespace

void RenderGradient(TCanvas& canvas, int width, int height, TColor from, TColor to,
                    TGradientStyle style) {
    if (width <= 0 || height <= 0)
        return;
    const TColor fromRgb = ColorToRGB(from);
    const TColor toRgb = ColorToRGB(to);
    if (fromRgb == toRgb) {
        canvas.Brush().Style = bsSolid;
        canvas.Brush().Color = from;
        canvas.Pen().Color = from;
        canvas.Pen().Width = 1;
        canvas.Rectangle(0, 0, width, height);
        return;
    }
    GradientRenderer(canvas, width, height, fromRgb, toRgb).Draw(style);
}

void PaintGradient(TCanvas& canvas, const TRect& rect, TColor from, TColor to,
                   TGradientStyle style) {
    const int width = rect.Right - rect.Left;
    const int height = rect.Bottom - rect.Top;
    if (width <= 0 || height <= 0)
        return;
    TBitmap work(width, height);
    RenderGradient(work.Canvas(), width, height, from, to, style);
    canvas.StretchDraw(rect, work);
}
