// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) {
        owner_->Insert(this);
        if (owner_->IsDesigning())
            SetFlag(csDesigning, true);
    }
}

TComponent::~TComponent() {
    // Tell everyone who asked that this component is going away.
    auto notifies = std::move(freeNotifies_);
    freeNotifies_.clear();
    for (TComponent* c : notifies) {
        c->Notification(this, TOperation::opRemove);
        auto& back = c->freeNotifies_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
    }
    DestroyComponents();
    if (owner_)
        owner_->Remove(this);
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        components_.pop_back();
        last->owner_ = nullptr;
        delete last;
    }
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty())
        return nullptr;
    for (TComponent* c : components_)
        if (c->name_ == name)
            return c;
    return nullptr;
}

void TComponent::SetDesigning(bool on) {
    SetFlag(csDesigning, on);
    for (TComponent* c : components_)
        c->SetDesigning(on);
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this)
        return;
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) ==
        other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
    // Both sides know each other, so whichever goes first unlinks the other.
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other)
        return;
    auto drop = [](std::vector<TComponent*>& v, TComponent* c) {
        v.erase(std::remove(v.begin(), v.end(), c), v.end());
    };
    drop(other->freeNotifies_, this);
    drop(freeNotifies_, other);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    (void)component;
    (void)operation;
}

void TComponent::RegisterMethod(const std::string& name, std::any handler) {
    methods_[name] = std::move(handler);
}

const std::any* TComponent::FindMethod(const std::string& name) const {
    auto it = methods_.find(name);
    return it == methods_.end() ? nullptr : &it->second;
}

const std::any* TComponent::ResolveMethod(const std::string& name) const {
    for (const TComponent* c = this; c; c = c->owner_)
        if (const std::any* a = c->FindMethod(name))
            return a;
    return nullptr;
}

void TComponent::Insert(TComponent* c) {
    components_.push_back(c);
}

void TComponent::Remove(TComponent* c) {
    components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
}
