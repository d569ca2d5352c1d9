// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A text label: one line of caption in its font, on its own background
// colour unless transparent, sized to its text while AutoSize is on.

#include "controls/base/StdControl.h"

#include <QWidget>

class TLabel : public TStdControl<QWidget> {
public:
    explicit TLabel(TComponent* owner);

    std::string ClassName() const override { return "TLabel"; }
    void DeclareProperties(PropertyList& p) override;
    void Loaded() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

    // Size the caption needs in the label's font.
    QSize TextExtent() const;

protected:
    void FontChanged() override;
    void paintEvent(QPaintEvent* event) override;

private:
    void AdjustBounds();

    std::string caption_;
    TColor color_ = clBtnFace;
    bool transparent_ = false;
    bool autoSize_ = true;
};
