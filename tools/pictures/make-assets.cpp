// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the front panel's pictures with the controls' own painting helpers:
//   make-assets [output folder]   (default assets/)
// writes background.png (633 x 403, the furniture no control draws: frames,
// captions, dial scales, status strip, size grip), icon.png (16 x 16, the
// window icon), hand.png (32 x 32, the dials' pointing hand; its finger tip
// at 8, 1 is the hot spot the panel registers the cursor with) and the
// menu's icons: icons/orbel-N.png at each theme size and icons/orbel.svg.
// Each further argument names a compiled translation (orbel_LL.qm): the
// background is drawn again with its captions in that language, as
// background-LL.png (context "PanelBackground").

#include "controls/paint/AbBtnBevel.h"
#include "controls/paint/Gradient.h"
#include "controls/paint/TextPaint.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTranslator>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

namespace {

// --- Colours (TColor, 0x00BBGGRR) -----------------------------------------

constexpr TColor PanelColor = 0x404040;
constexpr TColor DisplayColor = 0x282828;
constexpr TColor ShadeLight = 0x626262;
constexpr TColor ShadeMidLight = 0x555555;
constexpr TColor ShadeMidDark = 0x353535;
constexpr TColor ShadeDark = 0x191919;
constexpr TColor CaptionGrey = 0xC0C0C0;
constexpr TColor CaptionGreen = 0x00FF00;
constexpr TColor ScaleYellow = 0x00FFFF;
constexpr TColor TickColor = 0xA0A0A0;

constexpr const char* Face = "Verdana";

// --- Background geometry (client pixels) -----------------------------------

constexpr int PanelWidth = 633;
constexpr int PanelHeight = 403;
constexpr int FrameBevel = 2;   // two rings: outer and inner shade
constexpr int DisplayBevel = 1; // the display windows' single sunken ring

// Top row: one frame per channel holding its frequency and level windows.
struct ChannelRow {
    const char* caption;
    TRect frame;
    TRect frequencyWindow; // behind the frequency labels
    TRect levelWindow;     // behind the level labels
};
constexpr int TopCaptionHeight = 13;
constexpr int TopCaptionTop = 6;
constexpr std::array<ChannelRow, 2> Channels{{
    {"Левый канал", {8, 3, 310, 75}, {22, 25, 150, 72}, {190, 25, 300, 72}},
    {"Правый канал", {317, 3, 625, 75}, {331, 25, 459, 72}, {499, 25, 613, 72}},
}};

// Middle row: the switch panels' frames, captioned at their bottom, and the
// plain frames behind the buttons.
struct CaptionedFrame {
    const char* caption;
    TRect frame;
};
constexpr int SwitchCaptionHeight = 12;
constexpr int SwitchCaptionGap = 3; // from the caption's baseline to the frame's bottom
constexpr std::array<CaptionedFrame, 3> SwitchFrames{{
    {"Канал", {8, 79, 154, 193}},
    {"Вид сигнала", {162, 79, 310, 193}},
    {"Дискретность", {317, 77, 462, 131}},
}};
constexpr TRect ExitFrame{469, 77, 625, 131};
constexpr TRect StartStopFrame{317, 135, 625, 193};

// Bottom row: a frame per dial with its scale.
struct DialScale {
    TRect frame;
    TPoint dialTopLeft;
    std::array<const char*, 6> numbers;
    const char* caption;
};
constexpr int DialSize = 84;
constexpr std::array<DialScale, 4> Dials{{
    {{8, 199, 154, 356}, {37, 233}, {"0", "4", "8", "12", "16", "20"}, "1×1кГц"},
    {{162, 199, 310, 356}, {189, 233}, {"0", "2", "4", "6", "8", "10"}, "1×100Гц"},
    {{317, 199, 462, 356}, {340, 233}, {"0", "20", "40", "60", "80", "100"}, "1×1Гц"},
    {{469, 199, 625, 356}, {503, 233}, {"0", "20", "40", "60", "80", "100"}, "Амплитуда (мВ)"},
}};
// The dials sweep 303 degrees clockwise from 153 degrees left of the top.
constexpr double SweepStart = -153.0;
constexpr double SweepAngle = 303.0;
constexpr int MinorTicksPerStep = 4; // between two numbers
constexpr int TickInner = 45;        // radii from the dial's centre
constexpr int MajorTickOuter = 50;
constexpr int MinorTickOuter = 47;
constexpr int NumberRadius = 58;
constexpr int ScaleFontHeight = 11;
constexpr int DialCaptionFontHeight = 12;
constexpr int DialCaptionBottomGap = 5; // from the frame's inner bottom edge

// Status strip: model name on the left, status and credit lines on the right.
constexpr TRect StatusStrip{0, 359, PanelWidth, PanelHeight};
constexpr TRect ModelFrame{10, 364, 102, 398};
constexpr TRect StatusFrame{107, 364, 606, 398};
// Size grip: diagonal ridges in the lower right corner.
constexpr int GripRidges = 4;
constexpr int GripPitch = 4; // pixels from one ridge to the next
constexpr int GripMargin = 2;

// A caption in the language of the installed translation (as written when
// there is none).
std::string Translated(const char* caption) {
    return QCoreApplication::translate("PanelBackground", caption).toStdString();
}

// --- Helpers ----------------------------------------------------------------

// The panel's raised and sunken frames: two rings in the four shades.
void DrawFrame(TCanvas& c, TRect r, bool raised) {
    TAbBtnBevel bevel;
    bevel.SetShadowColFrom(ShadeDark);
    bevel.SetShadowColTo(ShadeMidDark);
    bevel.SetHighlightColFrom(ShadeLight);
    bevel.SetHighlightColTo(ShadeMidLight);
    bevel.SetWidth(FrameBevel);
    bevel.PaintBevel(c, r, raised, false, PanelColor);
}

// A dark display window sunk one ring into its frame.
void DrawDisplayWindow(TCanvas& c, TRect r) {
    c.Frame3D(r, ShadeDark, ShadeLight, DisplayBevel);
    c.Brush().Style = bsSolid;
    c.Brush().Color = DisplayColor;
    c.FillRect(r);
}

void SetFont(TCanvas& c, int height, TColor color, bool bold = false) {
    c.Font().SetName(Face);
    c.Font().SetHeight(height);
    c.Font().SetColor(color);
    c.Font().SetStyle(bold ? FontStyleBit(fsBold) : TFontStyles(0));
    c.Brush().Style = bsClear;
}

// The point at `radius` from `centre` in the direction `degrees` clockwise
// from the top.
TPoint Polar(TPoint centre, double radius, double degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    return {centre.X + static_cast<int>(std::lround(radius * std::sin(a))),
            centre.Y - static_cast<int>(std::lround(radius * std::cos(a)))};
}

void DrawDialScale(TCanvas& c, const DialScale& dial) {
    DrawFrame(c, dial.frame, true);
    const TPoint centre{dial.dialTopLeft.X + DialSize / 2, dial.dialTopLeft.Y + DialSize / 2};
    const int steps = static_cast<int>(dial.numbers.size()) - 1;
    const int ticks = steps * (MinorTicksPerStep + 1);

    c.Pen().Color = TickColor;
    c.Pen().Width = 1;
    for (int t = 0; t <= ticks; ++t) {
        const double angle = SweepStart + SweepAngle * t / ticks;
        const bool major = t % (MinorTicksPerStep + 1) == 0;
        const TPoint from = Polar(centre, TickInner, angle);
        const TPoint to = Polar(centre, major ? MajorTickOuter : MinorTickOuter, angle);
        c.MoveTo(from.X, from.Y);
        c.LineTo(to.X, to.Y);
    }

    SetFont(c, ScaleFontHeight, ScaleYellow, true);
    for (int i = 0; i <= steps; ++i) {
        const TPoint p = Polar(centre, NumberRadius, SweepStart + SweepAngle * i / steps);
        TextOutAnchored(c, p.X, p.Y, dial.numbers[i], anCenter);
    }

    SetFont(c, DialCaptionFontHeight, CaptionGreen);
    const int captionBottom = dial.frame.Bottom - FrameBevel - DialCaptionBottomGap;
    TextOutAnchored(c, centre.X, captionBottom, Translated(dial.caption), anBottomCenter);
}

void DrawSizeGrip(TCanvas& c, const TRect& area) {
    // Each ridge: a light line with a dark one beside it, running from the
    // bottom edge to the right edge.
    const int right = area.Right - GripMargin;
    const int bottom = area.Bottom - GripMargin;
    for (int ridge = 1; ridge <= GripRidges; ++ridge) {
        const int reach = ridge * GripPitch;
        c.Pen().Color = ShadeLight;
        c.MoveTo(right - reach, bottom);
        c.LineTo(right, bottom - reach);
        c.Pen().Color = ShadeDark;
        c.MoveTo(right - reach + 1, bottom);
        c.LineTo(right, bottom - reach + 1);
    }
}

void DrawBackground(TCanvas& c, const TRect& client) {
    c.Brush().Style = bsSolid;
    c.Brush().Color = PanelColor;
    c.FillRect(client);

    for (const ChannelRow& row : Channels) {
        DrawFrame(c, row.frame, true);
        SetFont(c, TopCaptionHeight, CaptionGrey, true);
        TextOutAnchored(c, (row.frame.Left + row.frame.Right) / 2, TopCaptionTop,
                        Translated(row.caption), anTopCenter);
        DrawDisplayWindow(c, row.frequencyWindow);
        DrawDisplayWindow(c, row.levelWindow);
    }

    for (const CaptionedFrame& f : SwitchFrames) {
        DrawFrame(c, f.frame, true);
        SetFont(c, SwitchCaptionHeight, CaptionGreen, true);
        TextOutAnchored(c, (f.frame.Left + f.frame.Right) / 2,
                        f.frame.Bottom - FrameBevel - SwitchCaptionGap, Translated(f.caption),
                        anBottomCenter);
    }
    DrawFrame(c, ExitFrame, true);
    DrawFrame(c, StartStopFrame, true);

    for (const DialScale& dial : Dials)
        DrawDialScale(c, dial);

    TRect strip = StatusStrip;
    c.Frame3D(strip, ShadeLight, ShadeDark, DisplayBevel);
    DrawFrame(c, ModelFrame, false);
    DrawFrame(c, StatusFrame, false);
    DrawSizeGrip(c, client);
}

// --- Icon: a lime sine on a small dark display ------------------------------
// The same picture at every size: the 16 px window icon and the menu's
// theme icons. Bevel, trace width and swing grow with the size.

constexpr int IconSize = 16; // the window icon
constexpr std::array<int, 6> ThemeIconSizes{16, 32, 48, 64, 128, 256};
constexpr TColor IconTrace = 0x00FF00;
constexpr double IconPeriods = 1.5;

struct IconGeometry {
    int size;
    int bevel;     // each of the two rings
    int amplitude; // of the trace, from the middle row
    int penWidth;
};

IconGeometry IconGeometryFor(int size) {
    const int unit = std::max(1, size / IconSize);
    return {size, unit, size / 4, unit};
}

int IconTraceY(const IconGeometry& g, int mid, double phase) {
    return mid - static_cast<int>(std::lround(g.amplitude * std::sin(phase)));
}

void DrawIcon(TCanvas& c, const IconGeometry& g) {
    TRect r{0, 0, g.size, g.size};
    c.Frame3D(r, ShadeLight, ShadeDark, g.bevel);
    c.Frame3D(r, ShadeMidDark, ShadeMidLight, g.bevel);
    PaintGradient(c, r, DisplayColor, ShadeDark, gsTopLeft);
    const int mid = (r.Top + r.Bottom) / 2;
    const int span = r.Right - r.Left - 1;
    c.Pen().Color = IconTrace;
    c.Pen().Width = g.penWidth;
    for (int x = 0; x <= span; ++x) {
        const double phase = 2.0 * std::numbers::pi * IconPeriods * x / span;
        const int y = IconTraceY(g, mid, phase);
        if (x == 0)
            c.MoveTo(r.Left + x, y);
        else
            c.LineTo(r.Left + x, y);
    }
    c.LineTo(r.Right, IconTraceY(g, mid, 2 * std::numbers::pi * IconPeriods));
}

QImage IconImage(int size) {
    TBitmap icon(size, size);
    DrawIcon(icon.Canvas(), IconGeometryFor(size));
    // 24-bit colour, as the panel's picture and icon are stored.
    return icon.Image().convertToFormat(QImage::Format_RGB888);
}

std::string SvgColor(TColor c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return text;
}

// One ring of a 3-D frame `inset` units in from the edge of a square of
// side `size`: the top and left strips in one colour, bottom and right in
// the other, as Frame3D paints them.
std::string SvgRing(int size, int inset, int width, TColor topLeft, TColor bottomRight) {
    const int a = inset, b = size - inset, w = width;
    auto poly = [](const std::string& points, TColor color) {
        return "  <polygon points=\"" + points + "\" fill=\"" + SvgColor(color) + "\"/>\n";
    };
    auto pt = [](int x, int y) { return std::to_string(x) + "," + std::to_string(y) + " "; };
    return poly(pt(a, a) + pt(b, a) + pt(b - w, a + w) + pt(a + w, a + w) + pt(a + w, b - w) +
                    pt(a, b),
                topLeft) +
           poly(pt(b, a) + pt(b, b) + pt(a, b) + pt(a + w, b - w) + pt(b - w, b - w) +
                    pt(b - w, a + w),
                bottomRight);
}

// The icon as a vector drawing on a 256-unit square: the same rings,
// the display's diagonal shade and the trace as a smooth curve.
std::string IconSvg() {
    const IconGeometry g = IconGeometryFor(256);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                      "viewBox=\"0 0 256 256\">\n"
                      "  <defs>\n"
                      "    <linearGradient id=\"display\" x1=\"0\" y1=\"0\" x2=\"1\" y2=\"1\">\n"
                      "      <stop offset=\"0\" stop-color=\"" +
                      SvgColor(DisplayColor) +
                      "\"/>\n"
                      "      <stop offset=\"1\" stop-color=\"" +
                      SvgColor(ShadeDark) +
                      "\"/>\n"
                      "    </linearGradient>\n"
                      "  </defs>\n";
    svg += SvgRing(g.size, 0, g.bevel, ShadeLight, ShadeDark);
    svg += SvgRing(g.size, g.bevel, g.bevel, ShadeMidDark, ShadeMidLight);
    const int inner = 2 * g.bevel;
    svg += "  <rect x=\"" + std::to_string(inner) + "\" y=\"" + std::to_string(inner) +
           "\" width=\"" + std::to_string(g.size - 2 * inner) + "\" height=\"" +
           std::to_string(g.size - 2 * inner) + "\" fill=\"url(#display)\"/>\n";
    const int mid = g.size / 2;
    const int span = g.size - 2 * inner - 1;
    std::string path;
    for (int x = 0; x <= span; ++x) {
        const double phase = 2.0 * std::numbers::pi * IconPeriods * x / span;
        const double y = mid - g.amplitude * std::sin(phase);
        char point[40];
        std::snprintf(point, sizeof point, "%s%d,%.2f", x == 0 ? "M" : " L", inner + x, y);
        path += point;
    }
    svg += "  <path d=\"" + path + "\" fill=\"none\" stroke=\"" + SvgColor(IconTrace) +
           "\" stroke-width=\"" + std::to_string(g.penWidth) +
           "\" stroke-linejoin=\"round\" stroke-linecap=\"round\"/>\n</svg>\n";
    return svg;
}

// --- Hand cursor --------------------------------------------------------------

constexpr int CursorSize = 32;
constexpr TColor HandFill = 0xFFFFFF;
constexpr TColor HandOutline = 0x000000;

// The outline of a right hand pointing up with the index finger, drawn
// clockwise from the finger tip at (8, 1).
constexpr TPoint HandOutlinePoints[] = {
    {7, 1},   {9, 1},   {10, 2},  {10, 10}, {11, 9},  {14, 9},  {15, 10}, {16, 10}, {17, 10},
    {19, 10}, {20, 11}, {21, 11}, {23, 11}, {24, 12}, {24, 20}, {23, 23}, {21, 26}, {21, 29},
    {11, 29}, {11, 26}, {8, 23},  {3, 18},  {2, 16},  {3, 15},  {5, 15},  {6, 16},  {6, 2},
};
// The creases between the curled fingers.
constexpr std::array<std::array<TPoint, 2>, 3> HandCreases{{
    {{{10, 10}, {10, 15}}},
    {{{15, 10}, {15, 15}}},
    {{{20, 11}, {20, 15}}},
}};

void DrawHand(TCanvas& c) {
    c.Brush().Style = bsSolid;
    c.Brush().Color = HandFill;
    c.Pen().Color = HandOutline;
    c.Pen().Width = 1;
    c.Polygon(HandOutlinePoints);
    for (const auto& crease : HandCreases) {
        c.MoveTo(crease[0].X, crease[0].Y);
        c.LineTo(crease[1].X, crease[1].Y);
    }
}

bool Save(const QImage& image, const std::string& path) {
    if (!image.save(QString::fromStdString(path))) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s: %d x %d\n", path.c_str(), image.width(), image.height());
    return true;
}

} // namespace

QImage BackgroundImage() {
    TBitmap background(PanelWidth, PanelHeight);
    DrawBackground(background.Canvas(), {0, 0, PanelWidth, PanelHeight});
    // 24-bit colour, as the panel's picture and icon are stored.
    return background.Image().convertToFormat(QImage::Format_RGB888);
}

// background-LL.png for the translation file orbel_LL.qm.
bool SaveTranslatedBackground(const std::string& folder, const QString& qmFile) {
    QTranslator translator;
    if (!translator.load(qmFile)) {
        std::fprintf(stderr, "cannot read %s\n", qmFile.toLocal8Bit().constData());
        return false;
    }
    const QString language = QFileInfo(qmFile).completeBaseName().section('_', 1);
    QCoreApplication::installTranslator(&translator);
    const bool ok =
        Save(BackgroundImage(), folder + "/background-" + language.toStdString() + ".png");
    QCoreApplication::removeTranslator(&translator);
    return ok;
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const std::string folder = argc > 1 ? argv[1] : "assets";
    QDir().mkpath(QString::fromStdString(folder + "/icons"));

    const QImage backgroundImage = BackgroundImage();

    // The cursor needs transparency, which the bitmap does not keep: paint
    // straight on an image with an alpha channel.
    QImage hand(CursorSize, CursorSize, QImage::Format_ARGB32_Premultiplied);
    hand.fill(Qt::transparent);
    {
        TCanvas canvas(hand);
        DrawHand(canvas);
    }

    const bool ok = Save(backgroundImage, folder + "/background.png") &&
                    Save(IconImage(IconSize), folder + "/icon.png") &&
                    Save(hand.convertToFormat(QImage::Format_ARGB32), folder + "/hand.png");
    if (!ok)
        return 1;
    // The menu's icons, one per size of the hicolor theme, and the vector one.
    for (int size : ThemeIconSizes) {
        const std::string name = folder + "/icons/orbel-" + std::to_string(size) + ".png";
        if (!Save(IconImage(size), name))
            return 1;
    }
    const std::string svgName = folder + "/icons/orbel.svg";
    QFile svg(QString::fromStdString(svgName));
    const std::string svgText = IconSvg();
    if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        svg.write(svgText.data(), static_cast<qint64>(svgText.size())) !=
            static_cast<qint64>(svgText.size())) {
        std::fprintf(stderr, "cannot write %s\n", svgName.c_str());
        return 1;
    }
    std::printf("%s: scalable\n", svgName.c_str());
    for (int i = 2; i < argc; ++i)
        if (!SaveTranslatedBackground(folder, QString::fromLocal8Bit(argv[i])))
            return 1;
    return 0;
}
