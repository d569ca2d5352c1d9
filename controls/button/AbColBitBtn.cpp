// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/button/AbColBitBtn.h"

#include "controls/base/RectHelpers.h"
#include "controls/paint/Gradient.h"
#include "controls/paint/TextLayout.h"
#include "controls/paint/TextPaint.h"
#include "core/ByteStream.h"
#include "platform/Canvas.h"
#include "platform/Fonts.h"
#include "platform/ParentBackground.h"
#include "platform/SystemColors.h"

#include <QApplication>
#include <QBuffer>
#include <QEnterEvent>
#include <QPaintEvent>
#include <QPainter>

TAbColBitBtn::TAbColBitBtn(TComponent* owner)
    : TAbBinGControl(owner), buttonBevel_(std::make_unique<TAbBtnBevel>()),
      gradBtnFace_(std::make_unique<TAbGradSettings>()) {
    buttonBevel_->SetWidth(DefaultBevelWidth);
    gradBtnFace_->SetColorFrom(DefaultFaceFrom);
    gradBtnFace_->SetColorTo(DefaultFaceTo);
    gradBtnFace_->SetStyle(gsHorizontal1);
    gradBtnFace_->SetVisible(true);
    resize(DefaultWidth, DefaultHeight);
    Font()->SetStyle(Font()->Style() | FontStyleBit(fsBold));
    // A stored layout leaves out what a new button already has.
    buttonBevel_->KeepSetUpAsDefaults();
    gradBtnFace_->KeepSetUpAsDefaults();
    Font()->KeepSetUpAsDefaults();
    SetMode(mButton);
    // The widget paints itself completely from its cache; Qt need not clear
    // anything first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TAbColBitBtn::~TAbColBitBtn() {
    // Leave the flash beat before anything the notification uses goes.
    RemoveFlashClient(this);
}

void TAbColBitBtn::DeclareProperties(PropertyList& props) {
    using T = TAbColBitBtn;
    TComponent::DeclareProperties(props);
    DeclareBounds(props);
    DeclareVisible(props);
    props.Ident("PopupMenu", &T::PopupMenu, &T::SetPopupMenu);
    props.Enum("PosHorizontal", &T::PosHorizontal, &T::SetPosHorizontal, PosHNames(), phCenter);
    props.Enum("PosVertical", &T::PosVertical, &T::SetPosVertical, PosVNames(), pvCenter);
    props.Enum("PosGlyph", &T::PosGlyph, &T::SetPosGlyph, PosNames(), pLeft);
    props.Object("GradBtnFace", &T::GradBtnFace);
    props.Object("ButtonBevel", &T::ButtonBevel);
    props.Set("FlashOptions", &T::FlashOptions, &T::SetFlashOptions, FlashOptionNames(),
              AllFlashOptions);
    props.Set("CheckedOptions", &T::CheckedOptions, &T::SetCheckedOptions, CheckedOptionNames(),
              AllCheckedOptions);
    props.Color("ColorOff", &T::ColorOff, &T::SetColorOff, clBtnFace);
    props.Color("ColorDisabled", &T::ColorDisabled, &T::SetColorDisabled, DefaultColorDisabled);
    props.Color("ColorOn", &T::ColorOn, &T::SetColorOn, clBtnFace);
    props.Int("OffsetX", &T::OffsetX, &T::SetOffsetX, 0);
    props.Int("OffsetY", &T::OffsetY, &T::SetOffsetY, 0);
    props.Int("OffsetDown", &T::OffsetDown, &T::SetOffsetDown, 1);
    // The glyph's pixels are a raw-byte property ("GlyphData").
    props.Int("NumGlyph", &T::NumGlyph, &T::SetNumGlyph, 1).minValue = 1;
    props.Bool("Beveled", &T::Beveled, &T::SetBeveled, true);
    props.Bool("Transparent", &T::Transparent, &T::SetTransparent, false);
    props.Bool("Flat", &T::Flat, &T::SetFlat, false);
    props.Int("Spacing", &T::Spacing, &T::SetSpacing, DefaultSpacing);
    props.String("TextOff", &T::TextOff, &T::SetTextOff, std::string());
    props.String("TextOn", &T::TextOn, &T::SetTextOn, std::string());
    props.Color("TextColOn", &T::TextColOn, &T::SetTextColOn, clLime);
    props.Color("TextColOff", &T::TextColOff, &T::SetTextColOff, clBlack);
    props.Color("TextColDisabled", &T::TextColDisabled, &T::SetTextColDisabled, clBtnShadow);
    props.Bool("Text3D", &T::Text3D, &T::SetText3D, true);
    DeclareState(props);
    DeclareEnabled(props);
    DeclareFont(props);
    props.Bool("ParentFont", &T::ParentFont, &T::SetParentFont, true);
    DeclareStatusEvents(props);
    DeclarePointerEvents(props);
}

void TAbColBitBtn::DefineProperties(RawPropertyList& props) {
    TAbBinGControl::DefineProperties(props);
    props.Define(
        "GlyphData", [this](TMemoryStream& s) { ReadGlyph(s); },
        [this](TMemoryStream& s) { WriteGlyph(s); }, !glyph_.Empty());
}

void TAbColBitBtn::ReadGlyph(TMemoryStream& stream) {
    std::vector<std::uint8_t> bytes(stream.Remaining());
    if (!bytes.empty())
        stream.ReadBytes(bytes.data(), bytes.size());
    QImage image;
    // Bytes that are no picture leave the button without a glyph.
    if (!bytes.empty() && !image.loadFromData(bytes.data(), static_cast<int>(bytes.size())))
        image = QImage();
    SetGlyph(TBitmap(image));
}

void TAbColBitBtn::WriteGlyph(TMemoryStream& stream) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    glyph_.Image().save(&buffer, "PNG");
    stream.WriteBytes(data.constData(), static_cast<std::size_t>(data.size()));
}

void TAbColBitBtn::Loaded() {
    TAbBinGControl::Loaded();
    gradBtnFace_->SetOnChange([this](TPersistent*) { RequestRepaint(); });
    buttonBevel_->SetOnChange([this](TPersistent*) { RequestRepaint(); });
}

void TAbColBitBtn::SetFlashOptions(TFlashOptions value) {
    // Takes effect at the next redraw.
    flashOptions_ = value & AllFlashOptions;
}

void TAbColBitBtn::SetCheckedOptions(TCheckedOptions value) {
    checkedOptions_ = value & AllCheckedOptions;
    Redraw();
}

void TAbColBitBtn::SetGlyph(const TBitmap& value) {
    glyph_ = value;
    if (glyph_.Height() <= 0) {
        numGlyph_ = 1;
    } else {
        const QRgb corner = glyph_.Image().pixel(0, glyph_.Height() - 1);
        glyph_.SetTransparentColor(FromQColor(QColor::fromRgb(corner)));
        glyph_.SetTransparent(true);
    }
    Redraw();
}

void TAbColBitBtn::SetNumGlyph(int value) {
    if (value < 1 || value == numGlyph_)
        return;
    numGlyph_ = value;
    Redraw();
}

void TAbColBitBtn::SetTransparent(bool value) {
    if (value == transparent_)
        return;
    transparent_ = value;
    Invalidate();
}

void TAbColBitBtn::SetEnabled(bool value) {
    if (value == Enabled())
        return;
    TAbGraphicControl::SetEnabled(value);
    if (!value) {
        // Disabled while held down: the release will never arrive, so the
        // button lets go now instead of staying pressed and on.
        mouseInside_ = false;
        ClearPressed();
    }
    Redraw();
}

bool TAbColBitBtn::Shown() const {
    return isVisible() || IsDesigning();
}

void TAbColBitBtn::RequestRepaint() {
    composedOnly_ = false;
    Invalidate();
}

void TAbColBitBtn::SetFlashPhase(bool phase) {
    flashPhase_ = phase;
    if (!painting_)
        Redraw();
}

void TAbColBitBtn::Redraw() {
    if (painting_)
        return;
    painting_ = true;
    const TBtnLookFlags flags =
        LookFlags(flashOptions_, checkedOptions_, Checked(), Flashing(), flashPhase_);
    if (Shown())
        Compose(flags);
    painting_ = false;
}

void TAbColBitBtn::Paint() {
    if (painting_)
        return;
    painting_ = true;
    const TRect face = ShrinkRect(TRect{0, 0, width(), height()}, buttonBevel_->Width());
    if (Shown()) {
        CaptureParentBackground(*this, cache_);
        if (!transparent_ && gradBtnFace_->Visible() && !cache_.Empty())
            PaintGradient(cache_.Canvas(), face, gradBtnFace_->ColorFrom(), gradBtnFace_->ColorTo(),
                          gradBtnFace_->Style());
        painting_ = false;
        Redraw();
    }
    painting_ = false;
}

int TAbColBitBtn::TextAreaWidth() const {
    const int numGlyph = numGlyph_ > 0 ? numGlyph_ : 1;
    const int cellW = glyph_.Width() / numGlyph;
    const bool sideBySide = posGlyph_ == pLeft || posGlyph_ == pRight;
    const int glyphRoom = (sideBySide && cellW > 0) ? cellW + spacing_ : 0;
    const int raisedCopies = text3D_ ? 2 : 0;
    return width() - 2 * buttonBevel_->Width() - glyphRoom - raisedCopies;
}

void TAbColBitBtn::Compose(const TBtnLookFlags& flags) {
    // Before the first paint there is no background to compose on.
    if (cache_.Empty())
        return;
    const int numGlyph = numGlyph_ > 0 ? numGlyph_ : 1;
    const int cellW = glyph_.Width() / numGlyph;
    const int cellH = glyph_.Height();
    TBitmap work(cache_);
    TCanvas& canvas = work.Canvas();
    TRect r{0, 0, work.Width(), work.Height()};

    const bool pressed = Pressed();
    const bool bevelDown = (checkedOptions_ & OptionBit(coBevel)) != 0;
    int dx = offsetX_;
    int dy = offsetY_;
    if (pressed || (Checked() && bevelDown)) {
        dx += offsetDown_;
        dy += offsetDown_;
    }

    const std::string& text = flags.text ? textOn_ : (textOff_.empty() ? textOn_ : textOff_);
    const TColor faceColor = !Enabled() ? colorDisabled_ : (flags.faceColor ? colorOn_ : colorOff_);

    const bool drawBevel = (beveled_ && !flat_) || (flat_ && (IsDesigning() || mouseInside_));
    const bool raised = bevelDown ? (!Checked() && !pressed) : !pressed;
    const bool fillFace = !transparent_ && !gradBtnFace_->Visible();
    if (drawBevel) {
        buttonBevel_->PaintBevel(canvas, r, raised, fillFace, faceColor);
    } else if (fillFace) {
        canvas.Pen().Color = faceColor;
        canvas.Pen().Style = psSolid;
        canvas.Brush().Color = faceColor;
        canvas.Brush().Style = bsSolid;
        canvas.Rectangle(r);
    }

    canvas.Font().Assign(*Font());
    // A line that would not fit is drawn narrower; both texts take the same
    // font.
    std::string rest = textOff_ + LineSeparator + textOn_, line;
    while (!rest.empty()) {
        NextSegment(rest, LineSeparator, line);
        FitFontToWidth(canvas.Font(), line, TextAreaWidth());
    }
    // Both texts are measured so the layout stays still when the text
    // changes with the state.
    const std::string both = textOff_ + LineSeparator + textOn_;
    const TMultiLineSize size = MultiLineSize(canvas, both, LineSeparator);
    const int textH = size.lineHeight * (CountChar(text, LineSeparator) + 1);
    const TBtnBlockPlacement at = PlaceBlock(r, cellW, cellH, size.maxWidth, textH, spacing_, posH_,
                                             posV_, posGlyph_, dx, dy);

    canvas.Brush().Style = bsClear;
    TColor textColor = flags.textColor ? textColOn_ : textColOff_;
    if (!Enabled())
        textColor = textColDisabled_;
    if (!text.empty())
        DrawMultiLineText(canvas, at.text.X, at.text.Y, 0, textColor, buttonBevel_->ShadowColTo(),
                          buttonBevel_->HighlightColTo(), text, at.anchor, text3D_);

    if (cellW > 0) {
        const int index = GlyphCellIndex(numGlyph, Enabled(), flags.glyph);
        TBitmap cell(cellW, cellH);
        cell.Canvas().CopyRect(TRect{0, 0, cellW, cellH}, glyph_,
                               TRect{index * cellW, 0, index * cellW + cellW, cellH});
        cell.SetTransparentColor(glyph_.TransparentColor());
        cell.SetTransparent(true);
        canvas.Draw(at.glyph.X, at.glyph.Y, cell);
    }
    canvas.EndPaint();
    composed_ = work;
    if (!inPaintEvent_) {
        // Shown in one step; the paint only puts the new image on screen.
        composedOnly_ = true;
        update();
    }
}

void TAbColBitBtn::paintEvent(QPaintEvent* event) {
    TAbBinGControl::paintEvent(event);
    inPaintEvent_ = true;
    const bool cacheFits = cache_.Width() == width() && cache_.Height() == height();
    if (!composedOnly_ || !cacheFits || composed_.Empty())
        Paint();
    composedOnly_ = false;
    inPaintEvent_ = false;
    if (composed_.Empty())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, composed_.Image());
}

void TAbColBitBtn::enterEvent(QEnterEvent* event) {
    TAbBinGControl::enterEvent(event);
    if (flat_ && !mouseInside_ && Enabled() && QWidget::mouseGrabber() == nullptr &&
        QApplication::mouseButtons() == Qt::NoButton) {
        mouseInside_ = true;
        Redraw();
    }
}

void TAbColBitBtn::leaveEvent(QEvent* event) {
    TAbBinGControl::leaveEvent(event);
    if (flat_ && mouseInside_ && Enabled()) {
        mouseInside_ = false;
        Redraw();
    }
}
