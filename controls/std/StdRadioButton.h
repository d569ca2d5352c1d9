// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A switch button. The switch buttons of one parent form a group: checking
// one unchecks the others. OnClick fires only when the button becomes
// checked (by the pointer, the keyboard or from code), not while the
// stored layout is applied and not on a click that finds it checked.

#include "controls/base/StdControl.h"

#include <QRadioButton>

class TRadioButton : public TStdControl<QRadioButton>, public TStdWindowed {
public:
    explicit TRadioButton(TComponent* owner);

    std::string ClassName() const override { return "TRadioButton"; }
    void DeclareProperties(PropertyList& p) override;

    std::string Caption() const { return text().toStdString(); }
    void SetCaption(const std::string& value);
    bool Checked() const { return isChecked(); }
    void SetChecked(bool value) { setChecked(value); }

    // The width the caption is drawn in, beside the indicator.
    int CaptionAreaWidth() const;

protected:
    void FontChanged() override;
    void resizeEvent(QResizeEvent* event) override;
    // The whole control answers the pointer, not only the indicator and text.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

private:
    // Draws the caption in the stored font, narrowed where it would not fit.
    void FitCaption();
};
