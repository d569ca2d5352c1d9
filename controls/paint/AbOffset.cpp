// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/paint/AbOffset.h"

void TAbOffset::DeclareProperties(PropertyList& props) {
    TAbPersistent::DeclareProperties(props);
    props.Int("Top", &TAbOffset::Top, &TAbOffset::SetTop, 0);
    props.Int("Left", &TAbOffset::Left, &TAbOffset::SetLeft, 0);
    props.Int("Right", &TAbOffset::Right, &TAbOffset::SetRight, 0);
    props.Int("Bottom", &TAbOffset::Bottom, &TAbOffset::SetBottom, 0);
}

void TAbOffset::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TAbOffset*>(&source);
    if (!other)
        AssignError(source);
    top_ = other->top_;
    left_ = other->left_;
    right_ = other->right_;
    bottom_ = other->bottom_;
    Changed();
}

void TAbOffset::SetTop(std::int32_t value) {
    Store(top_, value);
}
void TAbOffset::SetLeft(std::int32_t value) {
    Store(left_, value);
}
void TAbOffset::SetRight(std::int32_t value) {
    Store(right_, value);
}
void TAbOffset::SetBottom(std::int32_t value) {
    Store(bottom_, value);
}

TRect TAbOffset::Apply(const TRect& r) const {
    return {r.Left + left_, r.Top + top_, r.Right - right_, r.Bottom - bottom_};
}
