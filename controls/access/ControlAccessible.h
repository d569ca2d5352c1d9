// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What assistive technology learns about a custom-painted control: its role,
// its name and, for dials and displays, its value. The controls draw
// everything themselves, so Qt's stock description of a plain widget would
// say nothing; this one reads the control's own state.
//
// The name is the widget's accessible name when whoever placed the control
// set one (the panel names each dial after what it sets), else the text the
// control shows (a label's caption, a button's text). A dial also offers
// the value interface, so a screen reader can read and set its position.

#include <QAccessibleWidget>
#include <QString>

class QWidget;

class TControlAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    // The description of `widget` when it is one of the custom-painted
    // controls, or nullptr (Qt then uses its own).
    static TControlAccessible* For(QWidget* widget);

    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // Value interface (dials only; interface_cast offers it to nobody else).
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    enum class Kind { Dial, Display, Button, Picture, Group };
    TControlAccessible(QWidget* widget, Kind kind);

    // The text the control shows, if it shows one.
    QString ShownText() const;

    Kind kind_;
};

// Makes Qt ask TControlAccessible first for every widget. Idempotent.
void InstallControlAccessibility();

// Tells assistive technology that a control's value changed (Qt passes it
// on only while one listens). The watcher, when set, sees every
// announcement whether or not one listens: a check that needs no running
// screen reader.
void AnnounceValueChange(QWidget* control, double value);
using ValueChangeWatcher = void (*)(QWidget* control, double value);
ValueChangeWatcher SetValueChangeWatcher(ValueChangeWatcher watcher);
