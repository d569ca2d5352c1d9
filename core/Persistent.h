#pragma once
// The root of everything that stores settings: a class name, the ordered
// list of declared stored properties, and the raw-byte properties.

#include "core/Property.h"

#include <functional>
#include <stdexcept>
#include <string>

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

    PropertyList StoredProperties() {
        PropertyList list;
        DeclareProperties(list);
        return list;
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
};
