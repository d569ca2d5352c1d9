// SPDX-License-Identifier: GPL-3.0-or-later
// The gear dial as a real widget on the offscreen platform: construction and
// stored properties, the face cache of the panel's dial, pointer-only
// redraws, pointer colours and kinds, the relative drag driven by mouse
// events, keys, size squaring and the round outline.

#include "controls/AbGearDial.h"
#include "core/ClassRegistry.h"
#include "core/Layout.h"
#include "platform/Region.h"
#include "platform/SystemColors.h"
#include "tests/controls/WidgetInput.h"
#include "tests/platform/GeometryPrinters.h"
#include "tests/platform/QtTestApp.h"
#include "tests/support/PanelLayoutBlock.h"

#include <QApplication>
#include <QPalette>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace widget_input;

// The thousands dial of the front panel, as the panel's layout stores it.
std::string PanelDialLayout() {
    return PanelLayoutBlock("AbGearDial1");
}

QRgb Rgb(TColor c) {
    return ToQColor(c).rgb();
}

// A window holding one dial (and a neighbour that can take the focus), with
// a red background so that what the dial leaves unpainted can be seen.
class GearDialTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGearDial();
        host_.resize(200, 150);
        QPalette pal = host_.palette();
        pal.setColor(QPalette::Window, Qt::red);
        host_.setPalette(pal);
        host_.setAutoFillBackground(true);
        other_ = new QWidget(&host_);
        other_->setGeometry(150, 100, 20, 20);
        other_->setFocusPolicy(Qt::StrongFocus);
    }

    // The panel's dial, loaded from its stored layout and shown.
    TAbGearDial& PanelDial() {
        std::unique_ptr<TComponent> c = ReadLayout(PanelDialLayout());
        dial_ = dynamic_cast<TAbGearDial*>(c.release());
        EXPECT_NE(dial_, nullptr);
        dial_->setParent(&host_);
        dial_->setGeometry(20, 10, 84, 84);
        Show();
        return *dial_;
    }

    // A dial with the construction defaults, out of loading.
    TAbGearDial& PlainDial() {
        dial_ = new TAbGearDial(nullptr);
        dial_->setParent(&host_);
        dial_->Loaded();
        Show();
        return *dial_;
    }

    void Show() {
        dial_->show();
        Activate(host_);
        dial_->repaint();
        QApplication::processEvents();
    }

    // Turns to the minimum without a drag.
    void AtMinimum() {
        dial_->SetDigit(dial_->SignalSettings()->DigitalFrom());
        QApplication::processEvents();
    }

    QRgb PictureAt(TPoint p) const { return dial_->Picture().Image().pixel(p.X, p.Y); }

    QWidget host_;
    QWidget* other_ = nullptr;
    TAbGearDial* dial_ = nullptr;
};

TEST_F(GearDialTest, ConstructionDefaultsAndBevel) {
    TAbGearDial dial(nullptr);
    EXPECT_EQ(dial.RotAngle(), 3600);
    EXPECT_EQ(dial.StartAngle(), 0);
    EXPECT_EQ(dial.PointerType(), dpRound);
    EXPECT_EQ(dial.PointerSize(), 8);
    EXPECT_EQ(dial.Width(), 100);
    EXPECT_EQ(dial.Height(), 100);
    EXPECT_EQ(dial.DimpleRadiusLimit(), 6);
    EXPECT_EQ(dial.CurrentAngle(), 0.0f);
    EXPECT_EQ(dial.LastAngle(), 0.0f);
    EXPECT_EQ(dial.FaceCache().Width(), 1);
    EXPECT_TRUE(dial.FaceCache().Transparent());
    EXPECT_GT(dial.UpdateCount(), 0);

    const TAbSBevel& b = *dial.BevelGearDial();
    EXPECT_EQ(b.ColorShadowFrom(), clBtnHighlight);
    EXPECT_EQ(b.ColorShadowTo(), clBtnShadow);
    EXPECT_TRUE(b.Circular());
    EXPECT_EQ(b.BevelLine(), blOuter);
    EXPECT_EQ(b.PenColor(), clBtnShadow);
    EXPECT_EQ(b.Spacing(), 1);
    EXPECT_EQ(b.Style(), bsRaised);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Color(), clBtnFace);
    EXPECT_FALSE(b.SurfaceGrad().Visible());
    // Circular was on before BevelLine changed, so the ring exists already.
    EXPECT_NE(b.RingBitmap(), nullptr);
    EXPECT_EQ(b.Depth(), 1 + 2 + 1);
}

TEST_F(GearDialTest, StoredPropertiesFollowTheBaseInOrderWithoutDefaults) {
    TAbGearDial dial(nullptr);
    const PropertyList list = dial.StoredProperties();
    const auto& items = list.Items();
    ASSERT_GE(items.size(), 5u);
    const std::vector<std::string> expected{"RotAngle", "StartAngle", "BevelGearDial",
                                            "PointerType", "PointerSize"};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const PropertyInfo& p = items[items.size() - expected.size() + i];
        EXPECT_EQ(p.name, expected[i]);
        EXPECT_FALSE(p.defaultValue.has_value()) << p.name;
    }
    // Value comes before the signal settings, so it is applied under the
    // default ranges while loading.
    auto index = [&](const std::string& name) {
        for (std::size_t i = 0; i < list.Items().size(); ++i)
            if (list.Items()[i].name == name)
                return i;
        return list.Items().size();
    };
    EXPECT_LT(index("Value"), index("SignalSettings"));
    EXPECT_LT(index("SignalSettings"), index("RotAngle"));
}

TEST_F(GearDialTest, LayoutRoundTripKeepsTheDialSettings) {
    RegisterGearDial();
    std::unique_ptr<TComponent> c = ReadLayout(PanelDialLayout());
    const std::string text = WriteLayout(*c);
    std::unique_ptr<TComponent> again = ReadLayout(text);
    auto* d = dynamic_cast<TAbGearDial*>(again.get());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->RotAngle(), 303);
    EXPECT_EQ(d->StartAngle(), -153);
    EXPECT_EQ(d->PointerType(), dpRound);
    EXPECT_EQ(d->PointerSize(), 8);
    EXPECT_EQ(d->BevelGearDial()->Offset()->Right(), 15);
    EXPECT_EQ(d->BevelGearDial()->BevelLine(), blNone);
    EXPECT_TRUE(d->BevelGearDial()->SurfaceGrad()->Visible());
    EXPECT_EQ(d->ValueText(), "01");
    EXPECT_NE(text.find("PointerSize = 8"), std::string::npos);
}

TEST_F(GearDialTest, BevelStoresTheDialSetUpAsItsDefaults) {
    // Saved and read back, a dial whose bevel has the round bevel's own
    // defaults keeps them, and a new dial's bevel writes nothing.
    RegisterGearDial();
    TAbGearDial dial(nullptr);
    dial.SetName("Dial");
    dial.Loaded();
    const std::string fresh = WriteLayout(dial);
    EXPECT_EQ(fresh.find("BevelGearDial."), std::string::npos) << fresh;

    TAbSBevel& b = *dial.BevelGearDial();
    b.SetBevelLine(blNone);
    b.SetSpacing(5);
    b.SetColorShadowFrom(clBtnShadow);
    b.SetPenColor(clBlack);
    std::unique_ptr<TComponent> again = ReadLayout(WriteLayout(dial));
    const TAbSBevel& r = *dynamic_cast<TAbGearDial&>(*again).BevelGearDial();
    EXPECT_EQ(r.BevelLine(), blNone);
    EXPECT_EQ(r.Spacing(), 5);
    EXPECT_EQ(r.ColorShadowFrom(), clBtnShadow);
    EXPECT_EQ(r.PenColor(), clBlack);

    // The same properties in the same order as any round bevel.
    TAbSBevel plain;
    const PropertyList mineList = b.StoredProperties();
    const PropertyList theirList = plain.StoredProperties();
    const auto& mine = mineList.Items();
    const auto& theirs = theirList.Items();
    ASSERT_EQ(mine.size(), theirs.size());
    for (std::size_t i = 0; i < mine.size(); ++i) {
        EXPECT_EQ(mine[i].name, theirs[i].name);
        EXPECT_EQ(mine[i].kind, theirs[i].kind);
    }
}

TEST_F(GearDialTest, RegisteredUnderItsClassName) {
    RegisterGearDial();
    std::unique_ptr<TComponent> c(ClassRegistry::Instance().Create("TAbGearDial", nullptr));
    EXPECT_NE(dynamic_cast<TAbGearDial*>(c.get()), nullptr);
}

TEST_F(GearDialTest, NonPositiveRotAngleIsRejected) {
    TAbGearDial& d = PlainDial();
    for (int bad : {0, -1, -303}) {
        d.SetRotAngle(bad);
        EXPECT_EQ(d.RotAngle(), 3600) << bad;
    }
    d.SetRotAngle(303);
    EXPECT_EQ(d.RotAngle(), 303);
}

TEST_F(GearDialTest, PanelDialFaceCacheGeometry) {
    TAbGearDial& d = PanelDial();
    EXPECT_EQ(d.ValueText(), "01");
    EXPECT_TRUE(d.FaceValid());
    EXPECT_EQ(d.FaceCache().Width(), 83);
    EXPECT_EQ(d.FaceCache().Height(), 83);
    EXPECT_EQ(d.Centre(), Point(41, 41));
    EXPECT_EQ(d.InnerFace(), Rect(3, 3, 65, 80));
    EXPECT_EQ(d.DimpleRadius(), 4);
    EXPECT_EQ(d.StartShape().dimple, Point(26, 70));
}

struct DimpleCase {
    int digit;
    TPoint position;
    float angle;
};

class GearDialDimpleTest : public GearDialTest, public ::testing::WithParamInterface<DimpleCase> {};

TEST_P(GearDialDimpleTest, DimpleFollowsTheDigit) {
    TAbGearDial& d = PanelDial();
    d.SetDigit(GetParam().digit);
    EXPECT_EQ(d.DimplePosition(), GetParam().position);
    EXPECT_FLOAT_EQ(d.CurrentAngle(), GetParam().angle);
}

INSTANTIATE_TEST_SUITE_P(PanelDial, GearDialDimpleTest,
                         ::testing::Values(DimpleCase{0, {26, 70}, 0.0f},
                                           DimpleCase{10, {40, 8}, 151.5f},
                                           DimpleCase{20, {57, 69}, 303.0f}));

TEST_F(GearDialTest, ValueChangeRedrawsOnlyThePointer) {
    TAbGearDial& d = PanelDial();
    AtMinimum();
    const int renders = d.FaceRenders();
    const TPoint before = d.DimplePosition();
    d.SetValue(10.0f);
    QApplication::processEvents();
    EXPECT_EQ(d.FaceRenders(), renders);
    EXPECT_EQ(d.DimplePosition(), Point(40, 8));
    // The shown picture has the pointer at its new place and the face back
    // where it was.
    EXPECT_EQ(PictureAt(d.DimplePosition()), PictureAt(d.DimplePosition()));
    EXPECT_NE(PictureAt(before), PictureAt(d.DimplePosition()));
    EXPECT_EQ(PictureAt(before), d.FaceCache().Image().pixel(before.X, before.Y));
}

TEST_F(GearDialTest, PointerRedrawDoesNotSwallowAPendingFullRepaint) {
    TAbGearDial& d = PanelDial();
    const int renders = d.FaceRenders();
    // The resize asks for a repaint; the value change that follows before
    // it arrives must not show the old face in its place.
    d.SetBounds(d.Left(), d.Top(), 100, 100);
    d.SetDigit(3);
    QApplication::processEvents();
    EXPECT_GT(d.FaceRenders(), renders);
    EXPECT_EQ(d.FaceCache().Width(), 99);
}

TEST_F(GearDialTest, SettingsChangesRepaintTheFace) {
    TAbGearDial& d = PanelDial();
    int renders = d.FaceRenders();
    d.BevelGearDial()->SetWidth(3);
    QApplication::processEvents();
    EXPECT_GT(d.FaceRenders(), renders);
    EXPECT_EQ(d.InnerFace(), Rect(4, 4, 64, 79));

    renders = d.FaceRenders();
    d.SetPointerType(dpTriangle);
    QApplication::processEvents();
    EXPECT_GT(d.FaceRenders(), renders);
}

TEST_F(GearDialTest, PointerColourFollowsFocusAndEnabled) {
    TAbGearDial& d = PanelDial();
    const auto centre = [&] { return PictureAt(d.DimplePosition()); };

    other_->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(d.PointerColor(), clGray);
    EXPECT_EQ(centre(), Rgb(clGray));

    d.setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(d.Focused());
    EXPECT_EQ(d.PointerColor(), clYellow);
    EXPECT_EQ(centre(), Rgb(clYellow));

    d.SetEnabled(false);
    QApplication::processEvents();
    EXPECT_EQ(d.PointerColor(), clBtnShadow);
    EXPECT_EQ(centre(), Rgb(clBtnShadow));
}

TEST_F(GearDialTest, DragAcrossTheSeamBelowTheCentre) {
    TAbGearDial& d = PanelDial();
    AtMinimum();
    int changes = 0;
    int changed = 0;
    d.OnValueChange.Set([&](TPersistent*) { ++changes; });
    d.OnValueChanged.Set([&](TPersistent*) { ++changed; });
    const int renders = d.FaceRenders();

    // (60, 80) lies just outside the disc, so the drag starts straight below
    // the centre and reaches it: turning counter-clockwise from the minimum
    // leaves the knob there, with the mouse's angle at 334.03.
    Press(d, {41, 70});
    EXPECT_TRUE(d.Dragging());
    EXPECT_TRUE(d.Focused());
    Move(d, {60, 80}, Qt::LeftButton);
    EXPECT_NEAR(d.LastAngle(), 334.03, 0.01);
    EXPECT_EQ(d.CurrentAngle(), 0.0f);
    EXPECT_EQ(d.Digit(), 0);
    // Across the seam: 28.30 - 334.03 + 360 = 54.27 degrees clockwise.
    Move(d, {20, 80}, Qt::LeftButton);
    EXPECT_EQ(d.Digit(), 4);
    // The pointer settles on the digit's own angle.
    EXPECT_NEAR(d.CurrentAngle(), 60.6, 1e-4);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(changed, 0);
    Release(d, {20, 80});
    EXPECT_EQ(changed, 1);
    EXPECT_FALSE(d.Dragging());
    EXPECT_EQ(d.ValueText(), "04");
    EXPECT_EQ(d.FaceRenders(), renders);
}

TEST_F(GearDialTest, PressJustOutsideTheDiscDoesNotDrag) {
    TAbGearDial& d = PanelDial();
    AtMinimum();
    // 43.4 pixels from the centre of an 83-pixel disc.
    Press(d, {60, 80});
    EXPECT_FALSE(d.Dragging());
    EXPECT_NEAR(d.LastAngle(), 334.03, 0.01);
    Move(d, {20, 80}, Qt::LeftButton);
    EXPECT_EQ(d.Digit(), 0);
    Release(d, {20, 80});
}

TEST_F(GearDialTest, CounterClockwiseFromTheMinimumStaysThere) {
    TAbGearDial& d = PanelDial();
    AtMinimum();
    int changes = 0;
    d.OnValueChange.Set([&](TPersistent*) { ++changes; });
    Press(d, {41, 70});
    Move(d, {60, 80}, Qt::LeftButton);
    Move(d, {75, 41}, Qt::LeftButton);
    EXPECT_EQ(d.Digit(), 0);
    EXPECT_EQ(d.CurrentAngle(), 0.0f);
    EXPECT_EQ(changes, 0);
    // Turning back moves at once: nothing was wound up (270 to 334.03).
    Move(d, {60, 80}, Qt::LeftButton);
    EXPECT_EQ(d.Digit(), 4);
    Release(d, {60, 80});
}

TEST_F(GearDialTest, DragContinuesOutsideTheKnob) {
    TAbGearDial& d = PanelDial();
    AtMinimum();
    Press(d, {41, 80});
    // Far to the left of the dial: a quarter turn clockwise.
    Move(d, {-200, 41}, Qt::LeftButton);
    EXPECT_EQ(d.Digit(), 6); // 90 / 303 * 20 = 5.94
    Release(d, {-200, 41});
}

TEST_F(GearDialTest, PressOutsideTheActiveDiscDoesNotDrag) {
    TAbGearDial& d = PanelDial();
    AtMinimum();
    other_->setFocus();
    // Inside the window's outline, one pixel beyond the inscribed circle.
    Press(d, {83, 41});
    EXPECT_TRUE(d.Focused());
    EXPECT_FALSE(d.Dragging());
    EXPECT_NEAR(d.LastAngle(), 270.0, 0.01);
    Move(d, {41, 83}, Qt::LeftButton);
    EXPECT_EQ(d.Digit(), 0);
    Release(d, {41, 83});
}

// The disc of an 83-pixel dial is centred at (41.5, 41.5): the left and top
// edge points lie just outside it, the right and bottom ones inside.
TEST_F(GearDialTest, TheActiveDiscIsCentredBetweenPixels) {
    TAbGearDial& d = PanelDial();
    AtMinimum();
    const struct {
        QPoint p;
        bool drags;
    } cases[] = {{{0, 41}, false}, {{41, 0}, false}, {{82, 41}, true}, {{41, 82}, true}};
    for (const auto& c : cases) {
        Press(d, c.p);
        EXPECT_EQ(d.Dragging(), c.drags) << c.p.x() << "," << c.p.y();
        Release(d, c.p);
    }
}

TEST_F(GearDialTest, KeysAndWheelTurnThePointer) {
    TAbGearDial& d = PanelDial();
    AtMinimum();
    d.setFocus();
    const int renders = d.FaceRenders();
    int changed = 0;
    d.OnValueChanged.Set([&](TPersistent*) { ++changed; });
    KeyClick(d, Qt::Key_End);
    EXPECT_EQ(d.Digit(), 20);
    EXPECT_EQ(d.DimplePosition(), Point(57, 69));
    KeyPress(d, Qt::Key_Left);
    EXPECT_EQ(d.Digit(), 19);
    EXPECT_EQ(changed, 1);
    KeyRelease(d, Qt::Key_Left);
    EXPECT_EQ(changed, 2);
    Wheel(d, {41, 41}, -120);
    EXPECT_EQ(d.Digit(), 18);
    EXPECT_EQ(d.FaceRenders(), renders);
}

struct SquareCase {
    int width;
    int height;
    int side;
};

class GearDialSquareTest : public GearDialTest, public ::testing::WithParamInterface<SquareCase> {};

TEST_P(GearDialSquareTest, SquaresToTheLargerSide) {
    TAbGearDial& d = PlainDial();
    d.SetBounds(0, 0, GetParam().width, GetParam().height);
    QApplication::processEvents();
    EXPECT_EQ(d.Width(), GetParam().side);
    EXPECT_EQ(d.Height(), GetParam().side);
    d.repaint();
    EXPECT_EQ(d.FaceCache().Width(), GetParam().side - 1);
}

INSTANTIATE_TEST_SUITE_P(Sizes, GearDialSquareTest,
                         ::testing::Values(SquareCase{100, 60, 100}, SquareCase{60, 100, 100},
                                           SquareCase{84, 84, 84}));

TEST_F(GearDialTest, NotSquaredWhileLoading) {
    TAbGearDial dial(nullptr);
    dial.SetLoading(true);
    dial.SetBounds(0, 0, 100, 60);
    EXPECT_EQ(dial.Height(), 60);
    dial.Loaded();
    dial.setParent(&host_);
    dial.show();
    Activate(host_);
    dial.repaint();
    QApplication::processEvents();
    EXPECT_EQ(dial.Height(), 100);
    dial.setParent(nullptr);
}

TEST_F(GearDialTest, OutlineIsTheEllipseAndCornersShowWhatLiesBelow) {
    TAbGearDial& d = PanelDial();
    const QPoint origin = d.pos();
    // Clicks in the corners reach the window below; the disc is the dial's.
    EXPECT_NE(host_.childAt(origin + QPoint(1, 1)), &d);
    EXPECT_NE(host_.childAt(origin + QPoint(82, 82)), &d);
    EXPECT_EQ(host_.childAt(origin + QPoint(41, 41)), &d);
    EXPECT_EQ(host_.childAt(origin + QPoint(41, 1)), &d);
    EXPECT_EQ(d.mask(), TRegion::Elliptic({0, 0, 84, 84}).ToQRegion());

    // Nothing erases the background: the parent shows in the corners and in
    // the last column, which the 83-pixel face leaves unpainted.
    const QImage shot = host_.grab().toImage();
    EXPECT_EQ(shot.pixel(origin + QPoint(2, 2)), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(origin + QPoint(83, 41)), qRgb(255, 0, 0));
    EXPECT_NE(shot.pixel(origin + QPoint(41, 41)), qRgb(255, 0, 0));
}

TEST_F(GearDialTest, LineAndTrianglePointersAtTwelve) {
    TAbGearDial& d = PlainDial();
    d.SetColorNonFocus(clRed);
    other_->setFocus();
    d.SetRotAngle(360);
    AtMinimum();
    for (TDialPointer kind : {dpLine, dpTriangle}) {
        d.SetPointerType(kind);
        d.repaint();
        const TPoint c = d.Centre();
        const int depth = d.BevelGearDial()->Depth();
        // Halfway down the pointer, straight above the centre.
        EXPECT_EQ(PictureAt({c.X, depth + 5}), Rgb(clRed)) << kind;
        // Nothing below the centre.
        EXPECT_NE(PictureAt({c.X, c.Y + 10}), Rgb(clRed)) << kind;
    }
    // The triangle is outlined in black at its base.
    EXPECT_EQ(PictureAt({d.Centre().X, d.BevelGearDial()->Depth() + 8}), qRgb(0, 0, 0));
}

TEST_F(GearDialTest, OverlongPointerStopsAtTheCentre) {
    TAbGearDial& d = PlainDial();
    d.SetColorNonFocus(clRed);
    other_->setFocus();
    AtMinimum();
    d.SetPointerType(dpLine);
    d.SetPointerSize(500);
    d.repaint();
    const TPoint c = d.Centre();
    EXPECT_EQ(d.StartShape().lineEnd, c);
    EXPECT_EQ(PictureAt({c.X, c.Y - 3}), Rgb(clRed));
    EXPECT_NE(PictureAt({c.X, c.Y + 5}), Rgb(clRed));
    EXPECT_EQ(d.PointerSize(), 500);
}

TEST_F(GearDialTest, TinyFaceDrawsNoPointer) {
    TAbGearDial& d = PlainDial();
    d.SetBounds(0, 0, 12, 12);
    QApplication::processEvents();
    d.repaint();
    EXPECT_FALSE(d.FaceValid());
    // Turning it changes the value without drawing.
    d.SetDigit(500);
    EXPECT_EQ(d.Digit(), 500);
    // Growing again brings the pointer back.
    d.SetBounds(0, 0, 60, 60);
    QApplication::processEvents();
    d.repaint();
    EXPECT_TRUE(d.FaceValid());
    EXPECT_EQ(d.FaceCache().Width(), 59);
}

} // namespace
