// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/label/OvcLabelModel.h"

namespace {
// Clears a change-under-way flag however the change ends.
class FlagReset {
public:
    explicit FlagReset(bool& flag) : flag_(flag) {}
    ~FlagReset() { flag_ = false; }
    FlagReset(const FlagReset&) = delete;
    FlagReset& operator=(const FlagReset&) = delete;

private:
    bool& flag_;
};

// Runs a preset change with the settings' notices held. The hold is released
// (raising both notices) and the flag cleared even when a step throws, so the
// settings never stay silenced.
template <class Body> void RunPresetChange(TOvcCustomSettings& settings, bool& flag, Body body) {
    flag = true;
    FlagReset reset(flag);
    settings.HoldNotices();
    try {
        body();
    } catch (...) {
        settings.ReleaseNotices();
        throw;
    }
    settings.ReleaseNotices();
}

struct AppearancePreset {
    TOvcShadeDirection highlightDirection;
    TOvcShadeDirection shadowDirection;
    TOvcDepth highlightDepth;
    TOvcDepth shadowDepth;
};
} // namespace

TOvcLabelModel::TOvcLabelModel(TOvcLabelHost& host)
    : host_(host), settings_(std::make_unique<TOvcCustomSettings>()) {
    const TOvcSchemeRow& row = schemeColours_.Row(csWindows);
    settings_->SetHighlightColor(row.highlight);
    settings_->SetShadowColor(row.shadow);
    settings_->SetOnColourNotice([this](TPersistent*) { ColourNotice(); });
    settings_->SetOnStyleNotice([this](TPersistent*) { StyleNotice(); });
}

void TOvcLabelModel::SetAppearance(TOvcAppearance value) {
    if (value == appearance_)
        return;
    RunPresetChange(*settings_, appearanceChanging_, [&] {
        appearance_ = value;
        const TOvcSchemeRow& row = schemeColours_.Row(colorScheme_);
        settings_->SetHighlightColor(row.highlight);
        auto apply = [this](const AppearancePreset& p) {
            settings_->SetHighlightDirection(p.highlightDirection);
            settings_->SetShadowDirection(p.shadowDirection);
            settings_->SetHighlightDepth(p.highlightDepth);
            settings_->SetShadowDepth(p.shadowDepth);
        };
        switch (value) {
        case apNone:
            apply({sdNone, sdNone, 0, 0});
            break;
        case apCustom:
            break;
        case apFlying:
            // Both copies fall the same way; the near one takes the shadow
            // colour so the text seems to hover above its shadow.
            apply({sdDownRight, sdDownRight, 1, 5});
            settings_->SetHighlightColor(row.shadow);
            break;
        case apRaised:
            apply({sdUpLeft, sdDownRight, 1, 1});
            break;
        case apSunken:
            apply({sdDownRight, sdUpLeft, 1, 1});
            break;
        case apShadow:
            apply({sdNone, sdDownRight, 0, 2});
            break;
        }
    });
    host_.LabelTextChanged();
}

void TOvcLabelModel::SetColorScheme(TOvcColorScheme value) {
    if (value == colorScheme_)
        return;
    RunPresetChange(*settings_, schemeChanging_, [&] {
        colorScheme_ = value;
        const TOvcSchemeRow row = schemeColours_.Row(value);
        settings_->SetHighlightColor(row.highlight);
        host_.SetLabelFontColor(row.font);
        settings_->SetShadowColor(row.shadow);
        schemeColours_.RememberAsCustom(value);
    });
    host_.LabelTextChanged();
}

void TOvcLabelModel::ColourNotice() {
    if (host_.LabelLoading())
        return;
    host_.LabelRepaint();
    if (!schemeChanging_) {
        colorScheme_ = csCustom;
        host_.LabelColorChanged();
    }
}

void TOvcLabelModel::StyleNotice() {
    if (host_.LabelLoading())
        return;
    host_.LabelRepaint();
    if (!appearanceChanging_) {
        appearance_ = apCustom;
        host_.LabelTextChanged();
    }
}
