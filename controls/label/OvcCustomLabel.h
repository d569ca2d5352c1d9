// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A text label that draws its caption with shade effects (highlight and
// shadow copies, extruded or graduated, and a graduated fill of the text).
// It has no window of its own in the panel's sense: it paints over what its
// parent and the controls beneath it show, and takes no focus.
//
// The presets and effect settings live in TOvcLabelModel; painting is
// OvcDrawEffects. This class ties them to the widget, the caption, the font
// and the label's standard settings. TOvcLabel decides what is stored.

#include "controls/base/ControlTypes.h"
#include "controls/base/Events.h"
#include "controls/base/WidgetComponent.h"
#include "controls/label/OvcLabelModel.h"

#include <QWidget>

#include <string>

class TCanvas;

class TOvcCustomLabel : public TWidgetComponent<QWidget>, private TOvcLabelHost {
public:
    static constexpr int DefaultWidth = 150;
    static constexpr int DefaultHeight = 35;
    static constexpr const char* DefaultFontName = "Times New Roman";
    static constexpr int DefaultFontPoints = 20;
    static constexpr TCursor crDrag = -12;

    explicit TOvcCustomLabel(TComponent* owner);
    ~TOvcCustomLabel() override;

    std::string ClassName() const override { return "TOvcCustomLabel"; }

    // The presets and their settings.
    TOvcAppearance Appearance() const { return model_.Appearance(); }
    void SetAppearance(TOvcAppearance value) { model_.SetAppearance(value); }
    TOvcColorScheme ColorScheme() const { return model_.ColorScheme(); }
    void SetColorScheme(TOvcColorScheme value) { model_.SetColorScheme(value); }
    TOvcCustomSettings* CustomSettings() { return model_.CustomSettings(); }
    const TOvcCustomSettings& Settings() const { return model_.Settings(); }
    // Copies the values in without switching the presets, then repaints.
    void SetCustomSettings(const TOvcCustomSettings& value);
    const TOvcSchemeColours& SchemeColours() const { return model_.SchemeColours(); }

    // The standard label's settings.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value) { parentColor_ = value; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value) { parentFont_ = value; }

    // Kept for stored layouts; the panel neither docks, drags, shows hints
    // of labels nor focuses through a label's accelerator.
    TAlign Align() const { return align_; }
    void SetAlign(TAlign value) { align_ = value; }
    TCursor DragCursor() const { return dragCursor_; }
    void SetDragCursor(TCursor value) { dragCursor_ = value; }
    TDragMode DragMode() const { return dragMode_; }
    void SetDragMode(TDragMode value) { dragMode_ = value; }
    std::string FocusControl() const { return focusControl_; }
    void SetFocusControl(const std::string& name) { focusControl_ = name; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value) { showHint_ = value; }
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value) { parentShowHint_ = value; }

    // The text formatting flags the label's settings give.
    unsigned TextFlags() const;
    static unsigned TextFlags(TAlignment alignment, bool wordWrap, bool showAccelChar);

    // Paints the whole label onto `canvas`, whose (0, 0) is the label's
    // top-left corner, over what lies beneath it.
    void Paint(TCanvas& canvas);

    TEventSlot<TDragDropEvent> OnDragDrop;
    TEventSlot<TDragOverEvent> OnDragOver;
    TEventSlot<TEndDragEvent> OnEndDrag;

protected:
    void paintEvent(QPaintEvent* event) override;
    // The label's own order of the pointer's events: OnDblClick (whichever
    // the button) before the press of a double click, OnClick (a left press
    // and release both over the label) before OnMouseUp.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override {}
    void Click() override {}

    // The base label's notices.
    virtual void TextChanged() { update(); }
    virtual void ColorChanged() { update(); }

private:
    // TOvcLabelHost
    TColor LabelFontColor() const override { return Font()->Color(); }
    void SetLabelFontColor(TColor color) override { Font()->SetColor(color); }
    bool LabelLoading() const override { return IsLoading(); }
    void LabelRepaint() override { update(); }
    void LabelTextChanged() override { TextChanged(); }
    void LabelColorChanged() override { ColorChanged(); }

    TOvcLabelModel model_;
    std::string caption_;
    TAlignment alignment_ = taLeftJustify;
    bool wordWrap_ = true;
    bool showAccelChar_ = true;
    bool transparent_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    bool parentFont_ = false;
    TAlign align_ = alNone;
    TCursor dragCursor_ = crDrag;
    TDragMode dragMode_ = dmManual;
    std::string focusControl_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    // The left button went down on the label; a release over it is a click.
    bool pressed_ = false;
};
