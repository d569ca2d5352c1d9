// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/access/ControlAccessible.h"

#include "controls/analog/AbAnalogCControl.h"
#include "controls/analog/AbAnalogGControl.h"
#include "controls/analog/SignalSettings.h"
#include "controls/button/AbColBitBtn.h"
#include "controls/label/OvcCustomLabel.h"
#include "controls/std/StdImage.h"
#include "controls/std/StdLabel.h"
#include "controls/std/StdPanel.h"

#include <QAccessible>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

ValueChangeWatcher valueChangeWatcher = nullptr;

QAccessibleInterface* Factory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    return widget ? TControlAccessible::For(widget) : nullptr;
}

} // namespace

TControlAccessible* TControlAccessible::For(QWidget* widget) {
    if (dynamic_cast<TAbAnalogCControl*>(widget))
        return new TControlAccessible(widget, Kind::Dial);
    if (dynamic_cast<TAbAnalogGControl*>(widget) || dynamic_cast<TLabel*>(widget) ||
        dynamic_cast<TOvcCustomLabel*>(widget))
        return new TControlAccessible(widget, Kind::Display);
    if (dynamic_cast<TAbColBitBtn*>(widget))
        return new TControlAccessible(widget, Kind::Button);
    if (dynamic_cast<TImage*>(widget))
        return new TControlAccessible(widget, Kind::Picture);
    if (dynamic_cast<TPanel*>(widget))
        return new TControlAccessible(widget, Kind::Group);
    return nullptr;
}

TControlAccessible::TControlAccessible(QWidget* widget, Kind kind)
    : QAccessibleWidget(widget, kind == Kind::Dial      ? QAccessible::Dial
                                : kind == Kind::Button  ? QAccessible::Button
                                : kind == Kind::Picture ? QAccessible::Graphic
                                : kind == Kind::Group   ? QAccessible::Grouping
                                                        : QAccessible::StaticText),
      kind_(kind) {}

QString TControlAccessible::ShownText() const {
    QWidget* w = widget();
    if (auto* dial = dynamic_cast<TAbAnalogCControl*>(w))
        return FromStd(dial->ValueText());
    if (auto* gauge = dynamic_cast<TAbAnalogGControl*>(w))
        return FromStd(gauge->ValueText());
    if (auto* label = dynamic_cast<TLabel*>(w))
        return FromStd(label->Caption());
    if (auto* label = dynamic_cast<TOvcCustomLabel*>(w))
        return FromStd(label->Caption());
    if (auto* button = dynamic_cast<TAbColBitBtn*>(w))
        return FromStd(button->Checked() ? button->TextOn() : button->TextOff());
    return {};
}

QString TControlAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        if (!widget()->accessibleName().isEmpty())
            return widget()->accessibleName();
        // A dial's position is its value, not its name.
        return kind_ == Kind::Dial ? QString() : ShownText();
    case QAccessible::Value:
        return kind_ == Kind::Dial || kind_ == Kind::Display ? ShownText() : QString();
    case QAccessible::Description:
        if (!widget()->accessibleDescription().isEmpty())
            return widget()->accessibleDescription();
        return widget()->toolTip();
    default:
        return QAccessibleWidget::text(t);
    }
}

void* TControlAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface && kind_ == Kind::Dial)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant TControlAccessible::currentValue() const {
    return static_cast<double>(static_cast<TAbAnalogCControl*>(widget())->Value());
}

void TControlAccessible::setCurrentValue(const QVariant& value) {
    static_cast<TAbAnalogCControl*>(widget())->SetValue(value.toFloat());
}

QVariant TControlAccessible::maximumValue() const {
    const TSignalSettings* s = static_cast<TAbAnalogCControl*>(widget())->SignalSettings();
    return static_cast<double>(std::max(s->ValueFrom(), s->ValueTo()));
}

QVariant TControlAccessible::minimumValue() const {
    const TSignalSettings* s = static_cast<TAbAnalogCControl*>(widget())->SignalSettings();
    return static_cast<double>(std::min(s->ValueFrom(), s->ValueTo()));
}

QVariant TControlAccessible::minimumStepSize() const {
    const TSignalSettings* s = static_cast<TAbAnalogCControl*>(widget())->SignalSettings();
    return static_cast<double>(std::abs(s->ValuesPerDigit()));
}

void InstallControlAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

void AnnounceValueChange(QWidget* control, double value) {
    if (valueChangeWatcher)
        valueChangeWatcher(control, value);
    QAccessibleValueChangeEvent event(control, value);
    QAccessible::updateAccessibility(&event);
}

ValueChangeWatcher SetValueChangeWatcher(ValueChangeWatcher watcher) {
    return std::exchange(valueChangeWatcher, watcher);
}
