// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The round rotary knob of the front panel. The value model, keys, wheel and
// focus come from TAbAnalogCControl; the dial adds a square window cut to a
// circle, a face drawn by a round bevel, a pointer at an angle that follows
// the value, and a drag that turns the knob by the change of the mouse's
// angle around the centre.
//
// The dial draws in two layers. The face (bevel ring and surface) is
// rendered only on a full repaint and kept in a cache; a value change copies
// the cache, draws the pointer on the copy and shows that at once, without
// rendering the face again.

#include "controls/analog/AbAnalogCControl.h"
#include "controls/gear/GearDialBevel.h"
#include "controls/gear/GearDrag.h"
#include "controls/gear/GearGeometry.h"
#include "controls/gear/GearPointer.h"
#include "controls/paint/AbSBevel.h"
#include "platform/Bitmap.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <memory>

class TCanvas;

class TAbGearDial : public TAbAnalogCControl {
public:
    static constexpr std::int32_t DefaultRotAngle = 3600;
    static constexpr std::int32_t DefaultStartAngle = 0;
    static constexpr std::int32_t DefaultPointerSize = 8;
    static constexpr int DefaultSize = 100;

    explicit TAbGearDial(TComponent* owner);
    ~TAbGearDial() override;

    std::string ClassName() const override { return "TAbGearDial"; }
    void DeclareProperties(PropertyList& props) override;
    void Loaded() override;

    // Total clockwise turn from the minimum to the maximum, in degrees.
    // Only positive turns are taken: the drag divides by it.
    std::int32_t RotAngle() const { return rotAngle_; }
    void SetRotAngle(std::int32_t value);
    // Clockwise turn of the minimum away from 12 o'clock.
    std::int32_t StartAngle() const { return startAngle_; }
    void SetStartAngle(std::int32_t value);
    TAbSBevel* BevelGearDial() { return bevel_.get(); }
    const TAbSBevel* BevelGearDial() const { return bevel_.get(); }
    TDialPointer PointerType() const { return pointerType_; }
    void SetPointerType(TDialPointer value);
    // Length of the line pointer, height of the triangle. A pointer longer
    // than the face allows is drawn only as far as the centre.
    std::int32_t PointerSize() const { return pointerSize_; }
    void SetPointerSize(std::int32_t value);

    // The base's refresh, then a full repaint.
    void SettingsChanged() override;

    // What the last full repaint worked out, for the owner and for checks.
    TPoint Centre() const { return centre_; }
    bool FaceValid() const { return faceValid_; }
    const TBitmap& FaceCache() const { return faceCache_; }
    TRect InnerFace() const { return innerFace_; }
    int DimpleRadius() const { return dimpleRadius_; }
    int DimpleRadiusLimit() const { return dimpleRadiusLimit_; }
    TPoint DimplePosition() const { return dimplePosition_; }
    const gear::PointerShape& StartShape() const { return startShape_; }
    float CurrentAngle() const { return drag_.CurrentAngle(); }
    float LastAngle() const { return drag_.LastAngle(); }
    // The pointer's colour in the dial's present state.
    TColor PointerColor() const;
    // The face and pointer the control shows.
    const TBitmap& Picture() const { return picture_; }
    // How many times the face has been rendered.
    int FaceRenders() const { return faceRenders_; }

protected:
    // The full repaint: face into the cache, then the pointer.
    void Paint(TCanvas& canvas);
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void TrackPointer(TShiftState shift, int x, int y, TPoint last) override;
    // The pointer on a copy of the face cache, shown at once.
    void DigitChanged() override;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    TAbSBevel* BevelObject() { return bevel_.get(); }
    // Makes the window square at its larger side; true when it had to.
    bool SquareSize();
    void ShowPicture(const TBitmap& picture);

    std::int32_t rotAngle_ = DefaultRotAngle;
    std::int32_t startAngle_ = DefaultStartAngle;
    std::unique_ptr<TAbGearDialBevel> bevel_;
    TDialPointer pointerType_ = dpRound;
    std::int32_t pointerSize_ = DefaultPointerSize;

    TPoint centre_;
    TBitmap faceCache_;
    bool faceValid_ = false;
    TRect innerFace_;
    int dimpleRadius_ = gear::kMinDimpleRadius;
    int dimpleRadiusLimit_ = gear::kDimpleRadiusLimit;
    gear::PointerShape startShape_;
    TPoint dimplePosition_;
    gear::TGearDrag drag_;
    int faceRenders_ = 0;

    // The face and pointer as last composed; a pointer-only redraw shows it.
    TBitmap picture_;
    bool pointerOnly_ = false;
    // The face must be rendered again before a pointer redraw may reuse it.
    bool faceStale_ = true;
    // The surface of a full repaint in progress: the pointer is drawn there
    // instead of asking for another paint.
    TCanvas* paintCanvas_ = nullptr;
};

// Makes the dial known to the stored layout's reader under "TAbGearDial".
void RegisterGearDial();
