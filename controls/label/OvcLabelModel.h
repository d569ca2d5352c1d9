// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a caption label knows besides its text and font: the appearance and
// colour scheme presets, the effect settings they fill in, the scheme colour
// table, and the rules that tie them together. A direct edit of the effect
// settings turns the presets into apCustom / csCustom; choosing a preset
// edits the settings without that happening for its own kind.
//
// The model does not paint. The control that owns it is reached through
// TOvcLabelHost for the font colour, the loading state and its repaints.

#include "controls/label/OvcCustomSettings.h"
#include "controls/label/OvcSchemeColours.h"
#include "controls/label/OvcTypes.h"

#include <memory>

class TOvcLabelHost {
public:
    virtual TColor LabelFontColor() const = 0;
    virtual void SetLabelFontColor(TColor color) = 0;
    // While a stored layout is applied, the settings' notices are ignored so
    // that the stored presets stay as stored.
    virtual bool LabelLoading() const = 0;
    virtual void LabelRepaint() = 0;
    // The base label's text-changed and colour-changed notices.
    virtual void LabelTextChanged() = 0;
    virtual void LabelColorChanged() = 0;

protected:
    ~TOvcLabelHost() = default;
};

class TOvcLabelModel {
public:
    explicit TOvcLabelModel(TOvcLabelHost& host);
    TOvcLabelModel(const TOvcLabelModel&) = delete;
    TOvcLabelModel& operator=(const TOvcLabelModel&) = delete;

    TOvcAppearance Appearance() const { return appearance_; }
    void SetAppearance(TOvcAppearance value);
    TOvcColorScheme ColorScheme() const { return colorScheme_; }
    void SetColorScheme(TOvcColorScheme value);

    TOvcCustomSettings* CustomSettings() { return settings_.get(); }
    const TOvcCustomSettings& Settings() const { return *settings_; }
    const TOvcSchemeColours& SchemeColours() const { return schemeColours_; }

    bool AppearanceChanging() const { return appearanceChanging_; }
    bool SchemeChanging() const { return schemeChanging_; }

private:
    void ColourNotice();
    void StyleNotice();

    TOvcLabelHost& host_;
    TOvcAppearance appearance_ = apRaised;
    TOvcColorScheme colorScheme_ = csWindows;
    std::unique_ptr<TOvcCustomSettings> settings_;
    TOvcSchemeColours schemeColours_;
    bool schemeChanging_ = false;
    bool appearanceChanging_ = false;
};
