// SPDX-License-Identifier: GPL-3.0-or-later
// Costs of the canvas operations the gradients and the dial repeat most.

#include "platform/Bitmap.h"
#include "platform/Canvas.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {
constexpr int kDial = 83;

// The diagonal strokes of a corner gradient over a dial-sized bitmap: lines
// with no two pixels on one row, the worst case for span merging.
void DiagonalLines(benchmark::State& state) {
    TBitmap bitmap(kDial, kDial);
    TCanvas& canvas = bitmap.Canvas();
    for (auto _ : state) {
        for (int i = 0; i <= 2 * kDial; ++i) {
            canvas.Pen().Color = TColor(i);
            canvas.MoveTo(0, i);
            canvas.LineTo(i, -1);
        }
        canvas.EndPaint();
        benchmark::DoNotOptimize(bitmap.Image().constBits());
    }
}
BENCHMARK(DiagonalLines);

// The horizontal bands of a banded gradient.
void HorizontalLines(benchmark::State& state) {
    TBitmap bitmap(kDial, kDial);
    TCanvas& canvas = bitmap.Canvas();
    for (auto _ : state) {
        for (int y = 0; y < kDial; ++y) {
            canvas.MoveTo(0, y);
            canvas.LineTo(kDial, y);
        }
        canvas.EndPaint();
        benchmark::DoNotOptimize(bitmap.Image().constBits());
    }
}
BENCHMARK(HorizontalLines);

// Nested filled ellipses of an elliptic gradient (n steps).
void NestedEllipses(benchmark::State& state) {
    TBitmap bitmap(kDial, kDial);
    TCanvas& canvas = bitmap.Canvas();
    const int steps = int(state.range(0));
    for (auto _ : state) {
        for (int i = steps; i >= 1; --i) {
            const int r = i * kDial / (2 * steps);
            canvas.Ellipse(kDial / 2 - r, kDial / 2 - r, kDial / 2 + r, kDial / 2 + r);
        }
        canvas.EndPaint();
        benchmark::DoNotOptimize(bitmap.Image().constBits());
    }
}
BENCHMARK(NestedEllipses)->Arg(58)->Arg(255);

// The dial's ring: a 30 x 30 bitmap stretched over the face, turned round.
void StretchRing(benchmark::State& state) {
    TBitmap ring(30, 30);
    TBitmap face(kDial, kDial);
    for (auto _ : state) {
        face.Canvas().StretchDraw({kDial + 1, kDial + 1, -1, -1}, ring);
        face.Canvas().EndPaint();
        benchmark::DoNotOptimize(face.Image().constBits());
    }
}
BENCHMARK(StretchRing);
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
