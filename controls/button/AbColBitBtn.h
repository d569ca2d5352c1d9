// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TAbColBitBtn: the coloured bit button. It draws everything itself on top
// of what lies beneath it: a face in one colour or a gradient, a graded
// bevel, an optional glyph from a strip of cells and a text of one or more
// lines ("|" separates them) with an optional 3D look.
//
// The parent's picture under the button and the gradient face are captured
// at each repaint into a background cache; state changes and flash phases
// only recompose glyph, text and bevel on a copy of that cache and show it in
// one step, so the button neither flickers nor makes its parent repaint.

#include "controls/button/AbBinGControl.h"
#include "controls/button/BtnLayout.h"
#include "controls/paint/AbBtnBevel.h"
#include "controls/paint/AbGradSettings.h"
#include "platform/Bitmap.h"

#include <memory>
#include <string>

class TAbColBitBtn : public TAbBinGControl {
public:
    static constexpr int DefaultWidth = 65;
    static constexpr int DefaultHeight = 33;
    static constexpr int DefaultBevelWidth = 4;
    static constexpr TColor DefaultColorDisabled = 0xA0A0A0;
    static constexpr TColor DefaultFaceFrom = 0xF0F0F0;
    static constexpr TColor DefaultFaceTo = 0x696969;
    static constexpr int DefaultSpacing = 4;

    explicit TAbColBitBtn(TComponent* owner);
    ~TAbColBitBtn() override;

    std::string ClassName() const override { return "TAbColBitBtn"; }
    void DeclareProperties(PropertyList& props) override;
    void DefineProperties(RawPropertyList& props) override;
    void Loaded() override;

    TAbBtnBevel* ButtonBevel() { return buttonBevel_.get(); }
    TAbGradSettings* GradBtnFace() { return gradBtnFace_.get(); }

    TFlashOptions FlashOptions() const { return flashOptions_; }
    void SetFlashOptions(TFlashOptions value);
    TCheckedOptions CheckedOptions() const { return checkedOptions_; }
    void SetCheckedOptions(TCheckedOptions value);
    const TBitmap& Glyph() const { return glyph_; }
    void SetGlyph(const TBitmap& value);
    int NumGlyph() const { return numGlyph_; }
    void SetNumGlyph(int value);
    TColor ColorOff() const { return colorOff_; }
    void SetColorOff(TColor value) { StoreAndRedraw(colorOff_, value); }
    TColor ColorOn() const { return colorOn_; }
    void SetColorOn(TColor value) { StoreAndRedraw(colorOn_, value); }
    TColor ColorDisabled() const { return colorDisabled_; }
    void SetColorDisabled(TColor value) { StoreAndRedraw(colorDisabled_, value); }
    int OffsetDown() const { return offsetDown_; }
    void SetOffsetDown(int value) { StoreAndRedraw(offsetDown_, value); }
    int OffsetX() const { return offsetX_; }
    void SetOffsetX(int value) { StoreAndRedraw(offsetX_, value); }
    int OffsetY() const { return offsetY_; }
    void SetOffsetY(int value) { StoreAndRedraw(offsetY_, value); }
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool value) { StoreAndRedraw(beveled_, value); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value) { StoreAndRedraw(flat_, value); }
    int Spacing() const { return spacing_; }
    void SetSpacing(int value) { StoreAndRedraw(spacing_, value); }
    std::string TextOn() const { return textOn_; }
    void SetTextOn(std::string value) { StoreAndRedraw(textOn_, std::move(value)); }
    std::string TextOff() const { return textOff_; }
    void SetTextOff(std::string value) { StoreAndRedraw(textOff_, std::move(value)); }
    TColor TextColOn() const { return textColOn_; }
    void SetTextColOn(TColor value) { StoreAndRedraw(textColOn_, value); }
    TColor TextColOff() const { return textColOff_; }
    void SetTextColOff(TColor value) { StoreAndRedraw(textColOff_, value); }
    TColor TextColDisabled() const { return textColDisabled_; }
    void SetTextColDisabled(TColor value) { StoreAndRedraw(textColDisabled_, value); }
    bool Text3D() const { return text3D_; }
    void SetText3D(bool value) { StoreAndRedraw(text3D_, value); }
    TPosH PosHorizontal() const { return posH_; }
    void SetPosHorizontal(TPosH value) { StoreAndRedraw(posH_, value); }
    TPosV PosVertical() const { return posV_; }
    void SetPosVertical(TPosV value) { StoreAndRedraw(posV_, value); }
    TPos PosGlyph() const { return posGlyph_; }
    void SetPosGlyph(TPos value) { StoreAndRedraw(posGlyph_, value); }

    // A disabled button takes no mouse input, the pointer reaches whatever
    // lies beneath it, and a press under way is let go.
    void SetEnabled(bool value) override;

    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value) { parentFont_ = value; }
    std::string PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(std::string value) { popupMenu_ = std::move(value); }

    bool FlashPhase() const { return flashPhase_; }
    bool MouseInside() const { return mouseInside_; }
    // What the button shows now (the last composed image); empty before the
    // first paint.
    const TBitmap& ComposedImage() const { return composed_; }
    const TBitmap& BackgroundCache() const { return cache_; }
    // The width a line of text has inside the bevel, beside a glyph placed
    // left or right, with room for the raised copies of 3D text.
    int TextAreaWidth() const;

protected:
    void RequestRepaint() override;
    void Redraw() override;
    void SetFlashPhase(bool phase) override;
    void FontChanged() override { RequestRepaint(); }

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    template <class V> void StoreAndRedraw(V& field, V value) {
        if (field == value)
            return;
        field = std::move(value);
        Redraw();
    }
    // Recaptures the background and the gradient face, then recomposes.
    void Paint();
    void Compose(const TBtnLookFlags& flags);
    bool Shown() const;
    void ReadGlyph(TMemoryStream& stream);
    void WriteGlyph(TMemoryStream& stream);

    std::unique_ptr<TAbBtnBevel> buttonBevel_;
    std::unique_ptr<TAbGradSettings> gradBtnFace_;
    TFlashOptions flashOptions_ = AllFlashOptions;
    TCheckedOptions checkedOptions_ = AllCheckedOptions;
    TBitmap glyph_;
    int numGlyph_ = 1;
    TColor colorOff_ = clBtnFace;
    TColor colorOn_ = clBtnFace;
    TColor colorDisabled_ = DefaultColorDisabled;
    int offsetDown_ = 1;
    int offsetX_ = 0;
    int offsetY_ = 0;
    bool beveled_ = true;
    bool transparent_ = false;
    bool flat_ = false;
    int spacing_ = DefaultSpacing;
    std::string textOn_;
    std::string textOff_;
    TColor textColOn_ = clLime;
    TColor textColOff_ = clBlack;
    TColor textColDisabled_ = clBtnShadow;
    bool text3D_ = true;
    TPosH posH_ = phCenter;
    TPosV posV_ = pvCenter;
    TPos posGlyph_ = pLeft;
    bool parentFont_ = true;
    std::string popupMenu_;

    bool flashPhase_ = false;
    bool mouseInside_ = false;
    bool painting_ = false;     // the painting guard
    bool inPaintEvent_ = false; // composing for the paint event under way
    bool composedOnly_ = false; // the next paint shows the composed image as it is
    TBitmap cache_;             // parent's picture plus the gradient face
    TBitmap composed_;
};
