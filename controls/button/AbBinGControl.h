// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TAbBinGControl: the on/off state machine of the coloured bit button. Its
// state (Checked) is one bit (StatusBit) of a 32-bit status word (StatusInt)
// shared by the buttons of one group (same owner, same non-zero GroupIndex);
// Mode decides what the left mouse button does; while checked and Flashing
// it takes the flash beat of its Frequency from the flash registry.

#include "controls/base/AbGraphicControl.h"
#include "controls/button/BinGTypes.h"
#include "controls/flash/FlashFreq.h"
#include "controls/flash/FlashRegistry.h"

#include <cstdint>

class TAbBinGControl : public TAbGraphicControl, public TFlashTarget {
public:
    explicit TAbBinGControl(TComponent* owner);
    ~TAbBinGControl() override;

    std::string ClassName() const override { return "TAbBinGControl"; }
    void DeclareProperties(PropertyList& props) override;

    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    TFlashFreq Frequency() const { return frequency_; }
    void SetFrequency(TFlashFreq value);
    bool Flashing() const { return flashing_; }
    void SetFlashing(bool value);
    std::int32_t StatusInt() const { return statusInt_; }
    void SetStatusInt(std::int32_t value);
    int StatusBit() const { return statusBit_; }
    void SetStatusBit(int value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    TMode Mode() const { return mode_; }
    void SetMode(TMode value);
    bool Pressed() const { return pressed_; }

    TEventSlot<TNotifyEvent> OnStatusChanged;
    TEventSlot<TNotifyEvent> OnStatusIntChanged;

    // The flash notification from the registry (window thread).
    void FlashNotification(const TFlashMessage& message) override;

protected:
    // Asks for a full repaint (background recaptured).
    virtual void RequestRepaint() {}
    // Recomposes the image from the cached background and shows it.
    virtual void Redraw() {}
    virtual void GroupIndexChanged() {}
    virtual void StatusIntChanged() {}
    virtual void SetFlashPhase(bool phase) { (void)phase; }

    // Pieces of the stored-property list, for the derived class's own order.
    void DeclareState(PropertyList& props);
    void DeclareStatusEvents(PropertyList& props);
    // The click, drag and mouse events.
    void DeclarePointerEvents(PropertyList& props);

    // Left-button press and release in the button's own terms. A release
    // fires OnClick (left button over the button) and OnMouseUp itself,
    // before the state changes; Click therefore adds nothing.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Click() override {}
    void ClearPressed();

    bool event(QEvent* event) override;

private:
    // Drag events are kept for stored layouts; this program does no dragging.
    std::string OnDragDropName() const { return onDragDrop_; }
    void SetOnDragDropName(const std::string& n) { onDragDrop_ = n; }
    std::string OnDragOverName() const { return onDragOver_; }
    void SetOnDragOverName(const std::string& n) { onDragOver_ = n; }
    std::string OnEndDragName() const { return onEndDrag_; }
    void SetOnEndDragName(const std::string& n) { onEndDrag_ = n; }
    std::string OnStartDragName() const { return onStartDrag_; }
    void SetOnStartDragName(const std::string& n) { onStartDrag_ = n; }

    void UpdateFlashRegistration();
    // Gives the word to every member of the owner's group in turn; the
    // members set this way do not propagate again.
    static void PropagateToGroup(const TComponent& owner, int group, std::int32_t word);
    std::uint32_t Bit() const { return std::uint32_t(1) << statusBit_; }

    bool checked_ = false;
    TFlashFreq frequency_ = ff1Hz;
    bool flashing_ = false;
    std::int32_t statusInt_ = 0;
    int statusBit_ = 0;
    int groupIndex_ = 0;
    TMode mode_ = mIndicator;
    bool pressed_ = false;
    std::string onDragDrop_, onDragOver_, onEndDrag_, onStartDrag_;
};
