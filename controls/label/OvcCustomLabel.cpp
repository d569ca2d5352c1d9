// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/label/OvcCustomLabel.h"

#include "controls/label/OvcEffectPainter.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/ParentBackground.h"

#include <QPainter>
#include <QPointer>

TOvcCustomLabel::TOvcCustomLabel(TComponent* owner) : TWidgetComponent(owner), model_(*this) {
    resize(DefaultWidth, DefaultHeight);
    Font()->SetName(DefaultFontName);
    Font()->SetSize(DefaultFontPoints);
    Font()->SetColor(model_.SchemeColours().Row(csWindows).font);
    // A stored layout leaves out what a new label already has.
    Font()->KeepSetUpAsDefaults();
    model_.CustomSettings()->KeepSetUpAsDefaults();
    // Every pixel is painted from the captured background, so Qt need not
    // clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TOvcCustomLabel::~TOvcCustomLabel() = default;

void TOvcCustomLabel::SetCustomSettings(const TOvcCustomSettings& value) {
    model_.CustomSettings()->Assign(value);
    update();
}

void TOvcCustomLabel::SetCaption(const std::string& value) {
    if (value == caption_)
        return;
    caption_ = value;
    TextChanged();
}

void TOvcCustomLabel::SetAlignment(TAlignment value) {
    if (value == alignment_)
        return;
    alignment_ = value;
    update();
}

void TOvcCustomLabel::SetWordWrap(bool value) {
    if (value == wordWrap_)
        return;
    wordWrap_ = value;
    update();
}

void TOvcCustomLabel::SetShowAccelChar(bool value) {
    if (value == showAccelChar_)
        return;
    showAccelChar_ = value;
    update();
}

void TOvcCustomLabel::SetTransparent(bool value) {
    if (value == transparent_)
        return;
    transparent_ = value;
    update();
}

void TOvcCustomLabel::SetColor(TColor value) {
    // An own colour stops following the parent's.
    parentColor_ = false;
    if (value == color_)
        return;
    color_ = value;
    ColorChanged();
}

unsigned TOvcCustomLabel::TextFlags(TAlignment alignment, bool wordWrap, bool showAccelChar) {
    using namespace ovc_text_flags;
    unsigned flags = kExpandTabs;
    if (wordWrap)
        flags |= kWordBreak;
    if (alignment == taCenter)
        flags |= kCenter;
    else if (alignment == taRightJustify)
        flags |= kRight;
    if (!showAccelChar)
        flags |= kNoPrefix;
    return flags;
}

unsigned TOvcCustomLabel::TextFlags() const {
    return TextFlags(alignment_, wordWrap_, showAccelChar_);
}

void TOvcCustomLabel::Paint(TCanvas& canvas) {
    TBitmap background;
    CaptureParentBackground(*this, background);
    const TOvcCaption caption{caption_, Font(), TextFlags(), transparent_, color_};
    OvcDrawEffects(canvas, TRect{0, 0, width(), height()}, background, caption, model_.Settings());
}

void TOvcCustomLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TCanvas canvas(painter);
    Paint(canvas);
}

void TOvcCustomLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft)
        pressed_ = true;
    if (shift & ssDouble)
        OnDblClick(Sender());
    TWidgetComponent::MouseDown(button, shift, x, y);
}

void TOvcCustomLabel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const bool click = button == mbLeft && pressed_ && rect().contains(x, y);
    if (button == mbLeft)
        pressed_ = false;
    const QPointer<QWidget> alive(this);
    if (click)
        OnClick(Sender());
    if (alive)
        TWidgetComponent::MouseUp(button, shift, x, y);
}
