// SPDX-License-Identifier: GPL-3.0-or-later
// A canvas over a widget's own painter in its paint event: the same pixel
// rules as on bitmaps, and a clip that leaves the painter as it found it.

#include "PixelArt.h"
#include "QtTestApp.h"

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Region.h"

#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {
class CanvasWidget : public QWidget {
public:
    explicit CanvasWidget(std::function<void(TCanvas&)> paint) : paint_(std::move(paint)) {
        resize(8, 6);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        TCanvas canvas(painter);
        paint_(canvas);
    }

private:
    std::function<void(TCanvas&)> paint_;
};

TBitmap Grab(QWidget& w) {
    return TBitmap(w.grab().toImage());
}
} // namespace

TEST(WidgetCanvas, DrawsWithTheBitmapRules) {
    CanvasWidget w([](TCanvas& c) {
        c.Brush().Color = clRed;
        c.Rectangle(1, 1, 7, 5);
        c.MoveTo(0, 5);
        c.LineTo(4, 5);
    });
    EXPECT_EQ(PixelArt(Grab(w), {{'#', clBlack}, {'r', clRed}}),
              (std::vector<std::string>{"........", ".######.", ".#rrrr#.", ".#rrrr#.", ".######.",
                                        "####...."}));
}

TEST(WidgetCanvas, RemovingTheClipRestoresThePaintersOwn) {
    QImage image(6, 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setClipRect(QRect(0, 0, 3, 1));
    {
        TCanvas canvas(painter);
        canvas.SelectClipRgn(TRegion::Rectangle({4, 0, 5, 1}));
        canvas.SetPixel(0, 0, clBlack); // outside the canvas's clip
        canvas.SetPixel(4, 0, clBlack);
        canvas.SelectClipRgn(nullptr);
        canvas.SetPixel(1, 0, clBlack);
        canvas.SetPixel(5, 0, clBlack); // outside the painter's own clip
    }
    painter.end();
    EXPECT_EQ(PixelArt(TBitmap(image)), (std::vector<std::string>{".#..#."}));
}

TEST(WidgetCanvas, ClipRegionAndItsRemoval) {
    CanvasWidget w([](TCanvas& c) {
        EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 8, 6}));
        c.SelectClipRgn(TRegion::Elliptic({0, 0, 7, 7}));
        c.Brush().Color = clBlack;
        c.FillRect({0, 0, 8, 6});
        c.SelectClipRgn(nullptr);
        c.SetPixel(7, 5, clRed);
    });
    const TBitmap shot = Grab(w);
    EXPECT_EQ(PixelAt(shot, 0, 0), clWhite);
    EXPECT_EQ(PixelAt(shot, 3, 3), clBlack);
    EXPECT_EQ(PixelAt(shot, 6, 0), clWhite);
    EXPECT_EQ(PixelAt(shot, 7, 5), clRed);
    EXPECT_EQ(PixelAt(shot, 0, 3), clBlack); // the disc's left edge
}
