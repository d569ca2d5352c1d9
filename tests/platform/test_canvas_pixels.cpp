// SPDX-License-Identifier: GPL-3.0-or-later
// Exact pixels of the drawing surface on off-screen bitmaps. Text is only
// checked for where it lands, never pixel by pixel.

#include "GeometryPrinters.h"
#include "PixelArt.h"
#include "QtTestApp.h"

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/EllipseSpans.h"
#include "platform/Region.h"
#include "platform/SystemColors.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <set>
#include <utility>

using Art = std::vector<std::string>;

namespace {
TBitmap Blank(int w, int h) {
    return TBitmap(w, h);
}

// Pixels that are not white.
std::set<std::pair<int, int>> Painted(const TBitmap& b) {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (PixelAt(b, x, y) != clWhite)
                s.insert({x, y});
    return s;
}

TRect BoundingBox(const std::set<std::pair<int, int>>& pixels) {
    TRect r{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
    for (auto [x, y] : pixels) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
    }
    return r;
}
} // namespace

TEST(Bitmap, NewBitmapIsWhiteRgb32) {
    TBitmap b(3, 2);
    EXPECT_EQ(b.Image().format(), QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(b.Image().pixel(x, y), qRgb(255, 255, 255));
}

TEST(Bitmap, GrowingKeepsPixelsAndAddsWhite) {
    TBitmap b(2, 1);
    b.Canvas().SetPixel(0, 0, clBlack);
    b.SetSize(3, 2);
    EXPECT_EQ(PixelArt(b), (Art{"#..", "..."}));
    b.SetSize(0, 5);
    EXPECT_TRUE(b.Empty());
    b.Canvas().FillRect({0, 0, 5, 5}); // nothing to paint on, and no harm
    EXPECT_EQ(b.Canvas().Pixel(0, 0), clNone);
}

TEST(Canvas, ColourBytesMapToRgbAndSystemColoursResolve) {
    TBitmap b(2, 1);
    b.Canvas().SetPixel(0, 0, 0x00332211);
    b.Canvas().SetPixel(1, 0, clBtnShadow);
    EXPECT_EQ(b.Image().pixel(0, 0), qRgb(0x11, 0x22, 0x33));
    EXPECT_EQ(b.Image().pixel(1, 0), qRgb(128, 128, 128));
    EXPECT_EQ(b.Canvas().Pixel(0, 0), TColor(0x00332211));
    EXPECT_EQ(b.Canvas().Pixel(2, 0), clNone);
}

TEST(Canvas, FillRectExcludesRightAndBottomEdges) {
    TBitmap b = Blank(6, 4);
    b.Canvas().Brush().Color = clBlack;
    b.Canvas().FillRect({1, 1, 4, 3});
    EXPECT_EQ(PixelArt(b), (Art{"......", ".###..", ".###..", "......"}));
    b.Canvas().Brush().Style = bsClear;
    b.Canvas().FillRect({0, 0, 6, 4});
    EXPECT_EQ(PixelArt(b)[0], "......");
}

TEST(Canvas, RectangleOutlinesOutermostPixelsAsQtDrawRectDoes) {
    TBitmap b = Blank(8, 6);
    TCanvas& c = b.Canvas();
    c.Pen().Color = clBlack;
    c.Brush().Color = clRed;
    c.Rectangle(1, 1, 7, 5);
    EXPECT_EQ(PixelArt(b, {{'#', clBlack}, {'r', clRed}}),
              (Art{"........", ".######.", ".#rrrr#.", ".#rrrr#.", ".######.", "........"}));

    // The rule measured on Qt: drawRect(QRect(l, t, r-l-1, b-t-1)) with a
    // 1-pixel pen covers the same pixels.
    QImage qt(8, 6, QImage::Format_RGB32);
    qt.fill(Qt::white);
    {
        QPainter p(&qt);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::red);
        p.drawRect(QRect(1, 1, 7 - 1 - 1, 5 - 1 - 1));
    }
    EXPECT_EQ(qt, b.Image());
}

TEST(Canvas, ClearBrushRectangleLeavesInside) {
    TBitmap b = Blank(5, 5);
    b.Canvas().Brush().Style = bsClear;
    b.Canvas().Rectangle(0, 0, 5, 5);
    EXPECT_EQ(PixelArt(b), (Art{"#####", "#...#", "#...#", "#...#", "#####"}));
}

struct EllipseCase {
    TRect box;
    // Qt's own ellipse spans the same box (it draws nothing for one pixel,
    // and overshoots the box of a long flat ellipse).
    bool qtAgrees;
};

void PrintTo(const EllipseCase& e, std::ostream* os) {
    *os << "(" << e.box.Left << ", " << e.box.Top << ", " << e.box.Right << ", " << e.box.Bottom
        << ")";
}

class EllipseBox : public testing::TestWithParam<EllipseCase> {};

TEST_P(EllipseBox, FillsItsBoxSymmetrically) {
    const TRect r = GetParam().box;
    TBitmap b = Blank(r.Right + 2, r.Bottom + 2);
    b.Canvas().Brush().Color = clBlack;
    b.Canvas().Ellipse(r);
    const auto painted = Painted(b);
    EXPECT_EQ(BoundingBox(painted), r);
    for (auto [x, y] : painted) {
        EXPECT_TRUE(painted.contains({r.Left + r.Right - 1 - x, y})) << x << "," << y;
        EXPECT_TRUE(painted.contains({x, r.Top + r.Bottom - 1 - y})) << x << "," << y;
    }

    if (!GetParam().qtAgrees)
        return;
    // The rule measured on Qt: drawEllipse(QRect(l, t, r-l-1, b-t-1)) with
    // a 1-pixel pen spans the same box.
    TBitmap q = Blank(b.Width(), b.Height());
    {
        QPainter p(const_cast<QImage*>(&q.Image()));
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::black);
        p.drawEllipse(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
    }
    EXPECT_EQ(BoundingBox(Painted(q)), r);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, EllipseBox,
    testing::Values(EllipseCase{{0, 0, 1, 1}, false}, EllipseCase{{1, 1, 3, 3}, true},
                    EllipseCase{{2, 1, 7, 4}, true}, EllipseCase{{0, 0, 10, 10}, true},
                    EllipseCase{{3, 2, 14, 23}, true}, EllipseCase{{0, 0, 83, 83}, true},
                    EllipseCase{{1, 2, 41, 9}, false}));

TEST(Canvas, EllipseOutlineInPenAroundBrushFace) {
    TBitmap b = Blank(7, 7);
    b.Canvas().Pen().Color = clBlack;
    b.Canvas().Brush().Color = clRed;
    b.Canvas().Ellipse(0, 0, 7, 7);
    EXPECT_EQ(PixelArt(b, {{'#', clBlack}, {'r', clRed}}),
              (Art{"..###..", ".#rrr#.", "#rrrrr#", "#rrrrr#", "#rrrrr#", ".#rrr#.", "..###.."}));
}

TEST(Canvas, EllipticRegionOneLargerCoversTheDrawnEllipse) {
    // A round control draws Ellipse(0, 0, w, w) and is cut to the elliptic
    // region (0, 0, w + 1, w + 1): both must be the same pixels.
    for (int w : {5, 8, 13, 30, 83}) {
        TBitmap drawn = Blank(w + 2, w + 2);
        drawn.Canvas().Brush().Color = clBlack;
        drawn.Canvas().Ellipse(0, 0, w, w);

        TBitmap clipped = Blank(w + 2, w + 2);
        const TRegion region = TRegion::Elliptic({0, 0, w + 1, w + 1});
        clipped.Canvas().SelectClipRgn(region);
        clipped.Canvas().Brush().Color = clBlack;
        clipped.Canvas().FillRect({0, 0, w + 2, w + 2});
        EXPECT_EQ(drawn.Image(), clipped.Image()) << "w = " << w;
        EXPECT_EQ(region.Bounds(), (TRect{0, 0, w, w}));
    }
}

struct LineCase {
    TPoint from, to;
    Art expected;
};

class Line : public testing::TestWithParam<LineCase> {};

TEST_P(Line, OnePixelLineLeavesOutItsEndPoint) {
    const LineCase& lc = GetParam();
    TBitmap b = Blank(int(lc.expected[0].size()), int(lc.expected.size()));
    b.Canvas().MoveTo(lc.from.X, lc.from.Y);
    b.Canvas().LineTo(lc.to.X, lc.to.Y);
    EXPECT_EQ(PixelArt(b), lc.expected);
    EXPECT_EQ(b.Canvas().PenPos(), lc.to);
}

INSTANTIATE_TEST_SUITE_P(
    Directions, Line,
    testing::Values(LineCase{{1, 1}, {5, 1}, {"......", ".####.", "......"}},
                    LineCase{{5, 1}, {1, 1}, {"......", "..####", "......"}},
                    LineCase{{1, 0}, {1, 3}, {".#.", ".#.", ".#.", "..."}},
                    LineCase{{0, 0}, {4, 4}, {"#....", ".#...", "..#..", "...#.", "....."}},
                    LineCase{{0, 0}, {6, 2}, {"##.....", "..###..", ".....#.", "......."}},
                    LineCase{{3, 3}, {3, 3}, {"....", "....", "....", "...."}}));

TEST(Canvas, PolylinePaintsEachCornerOnce) {
    TBitmap b = Blank(6, 6);
    const std::array<TPoint, 5> square = {{{1, 1}, {4, 1}, {4, 4}, {1, 4}, {1, 1}}};
    b.Canvas().MoveTo(0, 5);
    b.Canvas().Polyline(square);
    EXPECT_EQ(PixelArt(b), (Art{"......", ".####.", ".#..#.", ".#..#.", ".####.", "......"}));
    EXPECT_EQ(b.Canvas().PenPos(), (TPoint{0, 5})); // a poly-line keeps the pen position
}

TEST(Canvas, WidePenLineStaysNearItsSegment) {
    TBitmap b = Blank(16, 11);
    b.Canvas().Pen().Width = 2;
    b.Canvas().MoveTo(3, 5);
    b.Canvas().LineTo(12, 5);
    const auto painted = Painted(b);
    EXPECT_TRUE(painted.contains({7, 5}) || painted.contains({7, 4}));
    for (auto [x, y] : painted) {
        EXPECT_GE(x, 1);
        EXPECT_LE(x, 14);
        EXPECT_GE(y, 3);
        EXPECT_LE(y, 6);
    }
}

TEST(Canvas, ArcRunsCounterClockwiseOnTheEllipseOutline) {
    const TRect box{0, 0, 11, 11};
    TBitmap full = Blank(11, 11);
    full.Canvas().Brush().Style = bsClear;
    full.Canvas().Ellipse(box);
    const auto outline = Painted(full);

    TBitmap quarter = Blank(11, 11);
    quarter.Canvas().Arc(box, {10, 5}, {5, 0}); // from 3 o'clock to 12 o'clock
    const auto q = Painted(quarter);
    ASSERT_FALSE(q.empty());
    for (auto p : q) {
        EXPECT_TRUE(outline.contains(p));
        EXPECT_GE(p.first, 5);
        EXPECT_LE(p.second, 5);
    }
    EXPECT_TRUE(q.contains({10, 5}));
    EXPECT_TRUE(q.contains({5, 0}));

    // The rest of the way round gives the other three quarters.
    TBitmap rest = Blank(11, 11);
    rest.Canvas().Arc(box, {5, 0}, {10, 5});
    auto all = Painted(rest);
    all.insert(q.begin(), q.end());
    EXPECT_EQ(all, outline);

    TBitmap whole = Blank(11, 11);
    whole.Canvas().Arc(box, {10, 5}, {10, 5});
    EXPECT_EQ(Painted(whole), outline);
}

TEST(Canvas, DimpleArcShadesTheUpperLeftHalf) {
    // The round pointer: radials through (x + r + 2, y - r) and
    // (x - r, y + r + 1) around a dimple of radius r.
    const int x = 8, y = 8, r = 4;
    TBitmap b = Blank(17, 17);
    b.Canvas().Arc({x - r, y - r, x + r + 1, y + r + 1}, {x + r + 2, y - r}, {x - r, y + r + 1});
    const auto painted = Painted(b);
    EXPECT_TRUE(painted.contains({x - r, y}));  // left
    EXPECT_TRUE(painted.contains({x, y - r}));  // top
    EXPECT_FALSE(painted.contains({x + r, y})); // right
    EXPECT_FALSE(painted.contains({x, y + r})); // bottom
}

TEST(Canvas, PolygonFillsByOddEvenRule) {
    // A five-pointed star drawn in one stroke: its centre is crossed twice.
    TBitmap b = Blank(41, 41);
    b.Canvas().Pen().Style = psClear;
    b.Canvas().Brush().Color = clBlack;
    const std::array<TPoint, 5> star = {{{20, 0}, {32, 38}, {0, 14}, {40, 14}, {8, 38}}};
    b.Canvas().Polygon(star);
    EXPECT_EQ(PixelAt(b, 20, 22), clWhite);
    EXPECT_EQ(PixelAt(b, 20, 5), clBlack);
}

TEST(Canvas, Frame3DPaintsStripsAndShrinksTheRectangle) {
    TBitmap b = Blank(7, 6);
    TRect r{0, 0, 7, 6};
    b.Canvas().Frame3D(r, clRed, clBlue, 2);
    EXPECT_EQ(r, (TRect{2, 2, 5, 4}));
    EXPECT_EQ(PixelArt(b, {{'r', clRed}, {'b', clBlue}}),
              (Art{"rrrrrrb", "rrrrrbb", "rr...bb", "rr...bb", "rbbbbbb", "bbbbbbb"}));
}

TEST(Canvas, DrawLeavesTheTransparentColourOut) {
    TBitmap sprite(3, 3);
    sprite.Canvas().Brush().Color = clRed;
    sprite.Canvas().FillRect({0, 0, 3, 3});
    sprite.Canvas().SetPixel(1, 1, clBlack);

    TBitmap target = Blank(5, 5);
    sprite.SetTransparent(true); // colour of the bottom-left pixel: red
    EXPECT_EQ(sprite.TransparentColor(), clRed);
    target.Canvas().Draw(1, 1, sprite);
    EXPECT_EQ(PixelArt(target, {{'#', clBlack}, {'r', clRed}}),
              (Art{".....", ".....", "..#..", ".....", "....."}));

    sprite.SetTransparentColor(clBlack);
    target.Canvas().Draw(1, 1, sprite);
    EXPECT_EQ(PixelArt(target, {{'#', clBlack}, {'r', clRed}}),
              (Art{".....", ".rrr.", ".r#r.", ".rrr.", "....."}));

    sprite.SetTransparent(false);
    target.Canvas().Draw(1, 1, sprite);
    EXPECT_EQ(PixelAt(target, 2, 2), clBlack);
}

TEST(Canvas, StretchDrawScalesAndSwappedCornersMirror) {
    TBitmap src(2, 2);
    src.Canvas().SetPixel(0, 0, clRed);
    src.Canvas().SetPixel(1, 0, clBlue);
    src.Canvas().SetPixel(0, 1, clLime);
    src.Canvas().SetPixel(1, 1, clBlack);
    const std::map<char, TColor> legend = {
        {'r', clRed}, {'b', clBlue}, {'g', clLime}, {'#', clBlack}};

    TBitmap same = Blank(2, 2);
    same.Canvas().StretchDraw({0, 0, 2, 2}, src);
    EXPECT_EQ(PixelArt(same, legend), (Art{"rb", "g#"}));

    TBitmap doubled = Blank(4, 2);
    doubled.Canvas().StretchDraw({0, 0, 4, 2}, src);
    EXPECT_EQ(PixelArt(doubled, legend), (Art{"rrbb", "gg##"}));

    TBitmap mirrored = Blank(2, 2);
    mirrored.Canvas().StretchDraw({2, 0, 0, 2}, src);
    EXPECT_EQ(PixelArt(mirrored, legend), (Art{"br", "#g"}));

    TBitmap turned = Blank(2, 2);
    turned.Canvas().StretchDraw({2, 2, 0, 0}, src);
    EXPECT_EQ(PixelArt(turned, legend), (Art{"#g", "br"}));
}

TEST(Canvas, CopyRectAndBrushCopy) {
    constexpr TColor kKey = 0xFE09F1;
    TBitmap src(4, 1);
    src.Canvas().SetPixel(0, 0, clRed);
    src.Canvas().SetPixel(1, 0, kKey);
    src.Canvas().SetPixel(2, 0, kKey);
    src.Canvas().SetPixel(3, 0, clBlue);
    const std::map<char, TColor> legend = {{'r', clRed}, {'b', clBlue}, {'k', kKey}, {'g', clLime}};

    TBitmap copy = Blank(5, 1);
    copy.Canvas().CopyRect({1, 0, 4, 1}, src, {1, 0, 4, 1});
    EXPECT_EQ(PixelArt(copy, legend), (Art{".kkb."}));

    TBitmap brushed = Blank(4, 1);
    brushed.Canvas().Brush().Color = clLime;
    brushed.Canvas().BrushCopy({0, 0, 4, 1}, src, {0, 0, 4, 1}, kKey);
    EXPECT_EQ(PixelArt(brushed, legend), (Art{"rggb"}));

    TBitmap clear = Blank(4, 1);
    clear.Canvas().Brush().Style = bsClear;
    clear.Canvas().BrushCopy({0, 0, 4, 1}, src, {0, 0, 4, 1}, kKey);
    EXPECT_EQ(PixelArt(clear, legend), (Art{"r..b"}));
}

TEST(Canvas, ClipRegionsAreInDevicePixelsAndCanBeRemoved) {
    TBitmap b = Blank(6, 6);
    TCanvas& c = b.Canvas();
    EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 6, 6}));
    c.SelectClipRgn(TRegion::Rectangle({2, 2, 4, 4}));
    EXPECT_EQ(c.ClipRect(), (TRect{2, 2, 4, 4}));
    c.Brush().Color = clBlack;
    c.FillRect({0, 0, 6, 6});
    (void)b.Image(); // ends the painter; the clip must outlive it
    c.SetPixel(0, 0, clBlack);
    EXPECT_EQ(PixelArt(b), (Art{"......", "......", "..##..", "..##..", "......", "......"}));

    c.SelectClipRgn(nullptr);
    EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 6, 6}));
    c.SetPixel(0, 0, clBlack);
    EXPECT_EQ(PixelAt(b, 0, 0), clBlack);

    // A canvas whose origin lies at (3, 3) on its device.
    TBitmap o = Blank(4, 4);
    o.Canvas().SetOrigin({3, 3});
    o.Canvas().SelectClipRgn(TRegion::Rectangle({4, 4, 5, 5}));
    EXPECT_EQ(o.Canvas().ClipRect(), (TRect{1, 1, 2, 2}));
    o.Canvas().Brush().Color = clBlack;
    o.Canvas().FillRect({0, 0, 4, 4});
    EXPECT_EQ(Painted(o), (std::set<std::pair<int, int>>{{1, 1}}));
}

TEST(Canvas, TextStaysInsideItsRectangle) {
    TBitmap b = Blank(60, 40);
    TCanvas& c = b.Canvas();
    c.Font().SetName("Verdana");
    c.Font().SetHeight(13);
    c.Brush().Style = bsClear;
    const TRect box{5, 5, 45, 22};
    c.DrawText("Word wrapped text that is far too long", box, dtWordBreak | dtNoPrefix);
    const auto painted = Painted(b);
    ASSERT_FALSE(painted.empty());
    for (auto [x, y] : painted) {
        EXPECT_GE(x, box.Left);
        EXPECT_LT(x, box.Right);
        EXPECT_GE(y, box.Top);
        EXPECT_LT(y, box.Bottom);
    }
}

TEST(Canvas, AlignmentFlagsMoveTheText) {
    auto leftmost = [](unsigned flags) {
        TBitmap b(100, 20);
        b.Canvas().Brush().Style = bsClear;
        b.Canvas().DrawText("ab", {0, 0, 100, 20}, flags);
        return BoundingBox(Painted(b)).Left;
    };
    const int left = leftmost(dtLeft), centre = leftmost(dtCenter), right = leftmost(dtRight);
    EXPECT_LT(left, 10);
    EXPECT_GT(centre, 35);
    EXPECT_LT(centre, 55);
    EXPECT_GT(right, 80);
}

TEST(Canvas, TextOutWithSolidBrushFillsTheTextBox) {
    TBitmap b = Blank(80, 30);
    TCanvas& c = b.Canvas();
    c.Brush().Color = clLime;
    c.TextOut(3, 4, "Hi");
    const TSize size = c.TextExtent("Hi");
    EXPECT_EQ(PixelAt(b, 3, 4), clLime);
    EXPECT_EQ(PixelAt(b, 3 + size.cx - 1, 4 + size.cy - 1), clLime);
    EXPECT_EQ(PixelAt(b, 3 + size.cx, 4), clWhite);
    EXPECT_EQ(PixelAt(b, 2, 4), clWhite);
    EXPECT_GT(c.TextWidth("abcdef"), c.TextWidth("ab"));
    EXPECT_GT(c.TextHeight("X"), 0);
}
