// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The caption label as the panel stores it: TOvcCustomLabel with its
// settings and events published in stored order.

#include "controls/label/OvcCustomLabel.h"

class TOvcLabel : public TOvcCustomLabel {
public:
    explicit TOvcLabel(TComponent* owner) : TOvcCustomLabel(owner) {}

    std::string ClassName() const override { return "TOvcLabel"; }
    void DeclareProperties(PropertyList& props) override;

private:
    TOvcCustomSettings* SettingsObject() { return CustomSettings(); }
};
