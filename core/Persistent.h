// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The root of everything that stores settings: a class name, the ordered
// list of declared stored properties, and the raw-byte properties.

#include "core/Property.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

class TPersistent;

// The plain notification event: the sender only. Unassigned events are
// skipped by whoever fires them.
using TNotifyEvent = std::function<void(TPersistent* sender)>;

// The one error the settings objects raise: copying from an object of
// another class ("Cannot assign a TFoo to a TBar"); the target is unchanged.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TPersistent {
public:
    TPersistent() = default;
    TPersistent(const TPersistent&) = delete;
    TPersistent& operator=(const TPersistent&) = delete;
    virtual ~TPersistent() = default;

    virtual std::string ClassName() const { return "TPersistent"; }

    // Each class appends its stored properties after its base's.
    virtual void DeclareProperties(PropertyList& props) { (void)props; }
    // Raw-byte properties, stored after the declared ones.
    virtual void DefineProperties(RawPropertyList& props) { (void)props; }

    // The declared properties, with the defaults KeepSetUpAsDefaults took
    // in place of the declared ones.
    PropertyList StoredProperties() {
        PropertyList list;
        DeclareProperties(list);
        list.OverrideDefaults(setUpDefaults_);
        return list;
    }
    // Makes the values the declared properties hold now their stored
    // defaults. A control that sets up one of its settings objects (or its
    // font) differently from that object's own defaults calls this at the
    // end of its constructor: a stored layout leaves out every value equal to
    // its default, so without it a value equal to the object's own default
    // but not to the control's set-up would read back as the set-up.
    void KeepSetUpAsDefaults() {
        setUpDefaults_.clear();
        PropertyList list;
        DeclareProperties(list);
        for (const PropertyInfo& info : list.Items())
            if (info.kind != PropertyKind::Object && info.defaultValue)
                setUpDefaults_.emplace_back(info.name, info.get(*this));
    }
    RawPropertyList RawProperties() {
        RawPropertyList list;
        DefineProperties(list);
        return list;
    }

    // Copies settings from another object; the base refuses every source.
    virtual void Assign(const TPersistent& source) { AssignError(source); }

protected:
    [[noreturn]] void AssignError(const TPersistent& source) const {
        throw EConvertError("Cannot assign a " + source.ClassName() + " to a " + ClassName());
    }

private:
    std::vector<std::pair<std::string, PropertyValue>> setUpDefaults_;
};
