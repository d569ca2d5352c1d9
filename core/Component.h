// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The component model: an owner that destroys what it owns (in reverse order
// of creation), a name, the loading and designing state, stored properties
// (from TPersistent), Loaded() after a layout has been applied, notification
// when another component goes away, and a table of named event handlers that
// stored event properties are bound to.

#include "core/Persistent.h"

#include <any>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

enum ComponentStateFlag : std::uint32_t {
    csLoading = 1u << 0,   // stored values are being applied
    csDesigning = 1u << 1, // hosted by a designer; never set by the program
};

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    std::string ClassName() const override { return "TComponent"; }

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }

    // Owned components in creation order.
    const std::vector<TComponent*>& Components() const { return components_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* FindComponent(const std::string& name) const;
    // Destroys every owned component, the most recently created first.
    void DestroyComponents();

    std::uint32_t ComponentState() const { return state_; }
    bool IsLoading() const { return (state_ & csLoading) != 0; }
    bool IsDesigning() const { return (state_ & csDesigning) != 0; }
    void SetLoading(bool on) { SetFlag(csLoading, on); }
    // Sets the designing flag here and on everything owned (tests only).
    void SetDesigning(bool on);

    // Called once after the whole layout has been applied. Clears the
    // loading flag; overrides call this first.
    virtual void Loaded() { SetLoading(false); }

    // Nesting in a stored layout: the component that encloses this one
    // (a panel holding switch buttons). Null means the owner itself.
    virtual void SetParentComponent(TComponent* parent) { parentComponent_ = parent; }
    virtual TComponent* ParentComponent() const { return parentComponent_; }

    // Asks to be told (Notification with opRemove) when `other` is destroyed.
    // The notice comes from TComponent's destructor, when the derived part of
    // `other` is already gone: compare the pointer, do not call into it.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);
    virtual void Notification(TComponent* component, TOperation operation);

    // Named event handlers, bound to event properties by name while loading.
    // The value is a std::function of the event's own type.
    void RegisterMethod(const std::string& name, std::any handler);
    const std::any* FindMethod(const std::string& name) const;
    // Looks the handler up on the owner chain (a form holds them).
    const std::any* ResolveMethod(const std::string& name) const;

private:
    void SetFlag(std::uint32_t flag, bool on) { state_ = on ? (state_ | flag) : (state_ & ~flag); }
    void Insert(TComponent* c);
    void Remove(TComponent* c);

    TComponent* owner_ = nullptr;
    TComponent* parentComponent_ = nullptr;
    std::string name_;
    std::uint32_t state_ = 0;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    std::map<std::string, std::any> methods_;
};

// Looks up an event handler of type Fn by name for the component, throwing
// std::invalid_argument when it is missing or of another type. Empty names
// give an empty handler.
template <class Fn> Fn BindHandler(const TComponent& c, const std::string& name) {
    if (name.empty())
        return Fn();
    const std::any* a = c.ResolveMethod(name);
    if (!a)
        throw std::invalid_argument("no event handler named '" + name + "'");
    if (const Fn* fn = std::any_cast<Fn>(a))
        return *fn;
    throw std::invalid_argument("event handler '" + name + "' has another signature");
}
