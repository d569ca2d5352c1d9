// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A plain coloured container with an optional raised or lowered bevel. The
// switch buttons placed in one panel form one group.

#include "controls/base/StdControl.h"

#include <QWidget>

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TStdControl<QWidget>, public TStdWindowed {
public:
    explicit TPanel(TComponent* owner);

    std::string ClassName() const override { return "TPanel"; }
    void DeclareProperties(PropertyList& p) override;

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel value);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    // Two-tone (3D) frame look; a flat panel draws its bevels in one tone.
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value) { tabStop_ = value; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string caption_;
    TColor color_ = clBtnFace;
    TPanelBevel bevelOuter_ = bvRaised;
    TPanelBevel bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    bool ctl3D_ = true;
    bool tabStop_ = false;
};
