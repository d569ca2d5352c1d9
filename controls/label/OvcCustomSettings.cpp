// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/label/OvcCustomSettings.h"

template <class V>
void TOvcCustomSettings::Change(V& field, V value, void (TOvcCustomSettings::*notice)()) {
    if (field == value)
        return;
    field = value;
    (this->*notice)();
}

void TOvcCustomSettings::SetGraduateFromColor(TColor v) {
    Change(graduateFromColor_, v, &TOvcCustomSettings::ColourNotice);
}
void TOvcCustomSettings::SetGraduateStyle(TOvcGraduateStyle v) {
    Change(graduateStyle_, v, &TOvcCustomSettings::StyleNotice);
}
void TOvcCustomSettings::SetHighlightColor(TColor v) {
    Change(highlightColor_, v, &TOvcCustomSettings::ColourNotice);
}
void TOvcCustomSettings::SetHighlightDepth(TOvcDepth v) {
    Change(highlightDepth_, v, &TOvcCustomSettings::StyleNotice);
}
void TOvcCustomSettings::SetHighlightDirection(TOvcShadeDirection v) {
    Change(highlightDirection_, v, &TOvcCustomSettings::StyleNotice);
}
void TOvcCustomSettings::SetHighlightStyle(TOvcShadeStyle v) {
    Change(highlightStyle_, v, &TOvcCustomSettings::StyleNotice);
}
void TOvcCustomSettings::SetShadowColor(TColor v) {
    Change(shadowColor_, v, &TOvcCustomSettings::ColourNotice);
}
void TOvcCustomSettings::SetShadowDepth(TOvcDepth v) {
    Change(shadowDepth_, v, &TOvcCustomSettings::StyleNotice);
}
void TOvcCustomSettings::SetShadowDirection(TOvcShadeDirection v) {
    Change(shadowDirection_, v, &TOvcCustomSettings::StyleNotice);
}
void TOvcCustomSettings::SetShadowStyle(TOvcShadeStyle v) {
    Change(shadowStyle_, v, &TOvcCustomSettings::StyleNotice);
}

void TOvcCustomSettings::ColourNotice() {
    if (!held_ && onColourNotice_)
        onColourNotice_(this);
}

void TOvcCustomSettings::StyleNotice() {
    if (!held_ && onStyleNotice_)
        onStyleNotice_(this);
}

void TOvcCustomSettings::ReleaseNotices() {
    held_ = false;
    ColourNotice();
    StyleNotice();
}

void TOvcCustomSettings::Assign(const TPersistent& source) {
    const auto* s = dynamic_cast<const TOvcCustomSettings*>(&source);
    if (!s) {
        TPersistent::Assign(source);
        return;
    }
    graduateFromColor_ = s->graduateFromColor_;
    graduateStyle_ = s->graduateStyle_;
    highlightColor_ = s->highlightColor_;
    highlightDepth_ = s->highlightDepth_;
    highlightDirection_ = s->highlightDirection_;
    highlightStyle_ = s->highlightStyle_;
    shadowColor_ = s->shadowColor_;
    shadowDepth_ = s->shadowDepth_;
    shadowDirection_ = s->shadowDirection_;
    shadowStyle_ = s->shadowStyle_;
}

void TOvcCustomSettings::DeclareProperties(PropertyList& props) {
    TPersistent::DeclareProperties(props);
    using S = TOvcCustomSettings;
    props.Color("GraduateFromColor", &S::GraduateFromColor, &S::SetGraduateFromColor, clGray);
    props.Enum("GraduateStyle", &S::GraduateStyle, &S::SetGraduateStyle, OvcGraduateStyleNames(),
               gsNone);
    props.Color("HighlightColor", &S::HighlightColor, &S::SetHighlightColor, clWhite);
    props.Int("HighlightDepth", &S::HighlightDepth, &S::SetHighlightDepth, 1);
    props.Enum("HighlightDirection", &S::HighlightDirection, &S::SetHighlightDirection,
               OvcShadeDirectionNames(), sdUpLeft);
    props.Enum("HighlightStyle", &S::HighlightStyle, &S::SetHighlightStyle, OvcShadeStyleNames(),
               ssPlain);
    props.Color("ShadowColor", &S::ShadowColor, &S::SetShadowColor, clBlack);
    props.Int("ShadowDepth", &S::ShadowDepth, &S::SetShadowDepth, 1);
    props.Enum("ShadowDirection", &S::ShadowDirection, &S::SetShadowDirection,
               OvcShadeDirectionNames(), sdDownRight);
    props.Enum("ShadowStyle", &S::ShadowStyle, &S::SetShadowStyle, OvcShadeStyleNames(), ssPlain);
}
