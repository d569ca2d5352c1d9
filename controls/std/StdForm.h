// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window that is also the root component of a stored layout: it owns
// every control of the layout and holds the event handlers the layout names
// (registered with RegisterMethod before the layout is read).
//
// After loading it puts its controls in their stacking order (creation
// order, controls with a window of their own above the others) and their
// keyboard focus order (TabOrder within each parent), and lets the pointer
// pass through disabled controls to whatever lies beneath them.

#include "controls/base/Events.h"
#include "controls/base/WidgetComponent.h"

#include <QWidget>

#include <string>
#include <string_view>

class QTimer;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = std::uint32_t; // bit i: TBorderIcon i
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};

constexpr TBorderIcons BorderIconBit(TBorderIcon icon) {
    return TBorderIcons(1) << icon;
}

class TForm : public TWidgetComponent<QWidget> {
public:
    explicit TForm(TComponent* owner = nullptr);
    ~TForm() override;

    std::string ClassName() const override { return "TForm"; }
    void DeclareProperties(PropertyList& p) override;
    void Loaded() override;

    // Reads the stored layout into this form (its handlers must be
    // registered), then fires OnCreate.
    void LoadLayout(std::string_view text);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    int ClientWidth() const { return width(); }
    void SetClientWidth(int value);
    int ClientHeight() const { return height(); }
    void SetClientHeight(int value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    // The window icon, by its resource name.
    const std::string& Icon() const { return icon_; }
    void SetIcon(const std::string& value);

    // Fired once the stored layout has been read.
    TEventSlot<TNotifyEvent> OnCreate;

    // Whether the window can be resized by the user.
    bool Sizeable() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ApplyFrame();
    void ArrangeStacking();
    void ArrangeFocusOrder();
    void WatchEnabling();
    // Puts the frame's centre on the screen's available area's centre.
    bool CoversWindow(const QSize& frame) const;
    QRect FrameRect() const;
    void CentreFrame();

    std::string caption_;
    TColor color_ = clBtnFace;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ =
        BorderIconBit(biSystemMenu) | BorderIconBit(biMinimize) | BorderIconBit(biMaximize);
    TPosition position_ = poDesigned;
    std::string icon_;
    bool centred_ = false;
    // A window manager frames the window only after it is shown, and Qt
    // passes on no event when the frame appears around a window that stays
    // in place; the frame is looked at for a short while after the show and
    // centred again once its size is known.
    void WatchForFrame();
    QSize centredFrameSize_;
    QTimer* frameWatch_ = nullptr;
    int frameChecks_ = 0;
    QWidget* firstFocus_ = nullptr;
};
