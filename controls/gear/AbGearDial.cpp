// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/AbGearDial.h"

#include "core/ClassRegistry.h"
#include "platform/Canvas.h"
#include "platform/Region.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QShowEvent>

namespace {
// Everything white in the face bitmap stays unpainted on the control: the
// corners outside the ring show what lies below.
constexpr TColor kFaceTransparent = clWhite;
} // namespace

TAbGearDial::TAbGearDial(TComponent* owner)
    : TAbAnalogCControl(owner), bevel_(std::make_unique<TAbGearDialBevel>()), faceCache_(1, 1) {
    SetBounds(0, 0, DefaultSize, DefaultSize);
    faceCache_.SetTransparent(true);
    // The dial paints only its disc; the parent shows through the corners,
    // and nothing erases the background before a paint.
    setAutoFillBackground(false);
}

TAbGearDial::~TAbGearDial() {
    bevel_->SetOnChange(nullptr);
}

void TAbGearDial::DeclareProperties(PropertyList& props) {
    TAbAnalogCControl::DeclareProperties(props);
    using T = TAbGearDial;
    // None has a default: the layout always carries all five.
    props.Int("RotAngle", &T::RotAngle, &T::SetRotAngle);
    props.Int("StartAngle", &T::StartAngle, &T::SetStartAngle);
    props.Object("BevelGearDial", &T::BevelObject);
    props.Enum("PointerType", &T::PointerType, &T::SetPointerType, DialPointerNames());
    props.Int("PointerSize", &T::PointerSize, &T::SetPointerSize);
}

void TAbGearDial::Loaded() {
    TAbAnalogCControl::Loaded();
    bevel_->SetOnChange([this](TPersistent*) { SettingsChanged(); });
    EndUpdate();
    Invalidate();
}

void TAbGearDial::SetRotAngle(std::int32_t value) {
    // A turn of zero or less would make every drag divide by zero or run
    // backwards; the old turn stays.
    if (value <= 0 || value == rotAngle_)
        return;
    rotAngle_ = value;
    SettingsChanged();
}

void TAbGearDial::SetStartAngle(std::int32_t value) {
    if (value == startAngle_)
        return;
    startAngle_ = value;
    SettingsChanged();
}

void TAbGearDial::SetPointerType(TDialPointer value) {
    if (value == pointerType_)
        return;
    pointerType_ = value;
    RequestSettingsChanged();
}

void TAbGearDial::SetPointerSize(std::int32_t value) {
    if (value == pointerSize_)
        return;
    pointerSize_ = value;
    RequestSettingsChanged();
}

void TAbGearDial::SettingsChanged() {
    TAbAnalogCControl::SettingsChanged();
    faceStale_ = true;
    Invalidate();
}

TColor TAbGearDial::PointerColor() const {
    if (!Enabled())
        return clBtnShadow;
    return Focused() ? ColorFocus() : ColorNonFocus();
}

bool TAbGearDial::SquareSize() {
    if (Width() == Height())
        return false;
    if (Height() < Width())
        SetHeight(Width());
    if (Height() > Width())
        SetWidth(Height());
    return true;
}

void TAbGearDial::Paint(TCanvas& canvas) {
    if (IsLoading())
        return;
    // A resize brings a new paint at the squared size.
    if (SquareSize())
        return;

    const int side = Width() - 1;
    TBitmap face(side, Height() - 1);
    TRect r{0, 0, side, Height() - 1};
    SetActiveArea(r, true);
    bevel_->PaintRound(face.Canvas(), r, 0, 0);
    innerFace_ = r;
    ++faceRenders_;
    faceStale_ = false;

    const int innerWidth = r.Right - r.Left;
    dimpleRadius_ = gear::DimpleRadius(innerWidth, dimpleRadiusLimit_);
    if (innerWidth > gear::kMinPointerFaceWidth) {
        faceCache_ = face;
        faceCache_.SetTransparent(true);
        faceCache_.SetTransparentColor(kFaceTransparent);
        faceValid_ = true;
    } else {
        faceValid_ = false;
    }
    centre_ = gear::FaceCentre(faceCache_.Width());
    startShape_ =
        gear::PointerAtStart(centre_, bevel_->Depth(), pointerSize_, dimpleRadius_, startAngle_);

    face.SetTransparent(true);
    face.SetTransparentColor(kFaceTransparent);
    canvas.Draw(0, 0, face);

    paintCanvas_ = &canvas;
    DigitChanged();
    paintCanvas_ = nullptr;
}

void TAbGearDial::DigitChanged() {
    TAbAnalogCControl::DigitChanged();
    if (!Visible() || !faceValid_)
        return;

    TBitmap work(faceCache_);
    const int ppt = SignalSettings()->ValueToPPT(Value());
    drag_.SetCurrentAngle(gear::PointerAngle(ppt, rotAngle_));
    const gear::PointerShape shape = gear::RotateShape(startShape_, centre_, drag_.CurrentAngle());
    dimplePosition_ = shape.dimple;
    gear::DrawPointer(work.Canvas(), pointerType_, shape, dimpleRadius_, PointerColor());
    work.SetTransparent(true);
    work.SetTransparentColor(kFaceTransparent);
    ShowPicture(work);
}

// During a full repaint the picture goes onto that paint's surface; at any
// other time the control shows it at once, without rendering the face.
void TAbGearDial::ShowPicture(const TBitmap& picture) {
    picture_ = picture;
    if (paintCanvas_) {
        paintCanvas_->Draw(0, 0, picture_);
        return;
    }
    pointerOnly_ = true;
    repaint();
    pointerOnly_ = false;
}

// A pointer-only redraw shows the composed picture over the face cache, as
// the screen would still hold the face under the picture's transparent
// pixels. A repaint request that is still pending when a pointer redraw
// comes along is merged into its paint, so a stale face is rendered anew.
void TAbGearDial::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TCanvas canvas(painter);
    if (pointerOnly_ && !faceStale_) {
        if (faceValid_)
            canvas.Draw(0, 0, faceCache_);
        if (!picture_.Empty())
            canvas.Draw(0, 0, picture_);
        return;
    }
    Paint(canvas);
}

void TAbGearDial::showEvent(QShowEvent* event) {
    TAbAnalogCControl::showEvent(event);
    faceStale_ = true;
}

void TAbGearDial::resizeEvent(QResizeEvent* event) {
    TAbAnalogCControl::resizeEvent(event);
    faceStale_ = true;
    if (!IsLoading())
        SquareSize();
    // Only the disc belongs to the dial: clicks outside the ellipse reach
    // whatever lies below.
    SetWindowRegion(*this, TRegion::Elliptic({0, 0, Width(), Height()}));
    update();
}

void TAbGearDial::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    drag_.Press(centre_, {x, y});
    TAbAnalogCControl::MouseDown(button, shift, x, y);
}

void TAbGearDial::TrackPointer(TShiftState shift, int x, int y, TPoint last) {
    TAbAnalogCControl::TrackPointer(shift, x, y, last);
    const TSignalSettings& s = *SignalSettings();
    SetDigit(drag_.Track(centre_, {x, y}, rotAngle_, s.DigitalSpan(), s.DigitalFrom()));
}

void RegisterGearDial() {
    ClassRegistry::Instance().Register<TAbGearDial>("TAbGearDial");
}
