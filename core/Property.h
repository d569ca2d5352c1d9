// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stored properties: what a class declares so that the layout reader and
// writer can apply and save its settings without knowing the class.

#include "core/TColor.h"

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

class TPersistent;
class TMemoryStream;

enum class PropertyKind {
    Integer, // whole number within the declared type's range
    Float,   // IEEE single
    Boolean,
    String, // UTF-8 text
    Enum,   // one member, stored by name, held as its ordinal
    Set,    // members by name, held as a bit mask (member i is bit i)
    Color,  // TColor, stored as hex or by colour name
    Ident,  // a name: an event handler or another component; empty is "none"
    Object, // an owned settings object whose own properties are stored
};

// Value of a stored property as the reader and writer see it. Integer, Enum,
// Set and Color are held as int64.
using PropertyValue = std::variant<std::int64_t, float, bool, std::string>;

struct PropertyInfo {
    std::string name;
    PropertyKind kind = PropertyKind::Integer;
    std::vector<std::string> members;                                 // Enum and Set member names
    std::int64_t minValue = std::numeric_limits<std::int64_t>::min(); // Integer range
    std::int64_t maxValue = std::numeric_limits<std::int64_t>::max();
    std::function<PropertyValue(const TPersistent&)> get;
    std::function<void(TPersistent&, const PropertyValue&)> set;
    std::optional<PropertyValue> defaultValue;        // equal values are not written
    std::function<TPersistent*(TPersistent&)> object; // Object kind only
};

// A property stored as raw bytes (declared by DefineProperties), written after
// the declared properties.
struct RawPropertyInfo {
    std::string name;
    std::function<void(TMemoryStream&)> read;
    std::function<void(TMemoryStream&)> write;
    bool hasData = true;
};

namespace property_detail {
template <class V> PropertyValue ToValue(const V& v) {
    using D = std::decay_t<V>;
    if constexpr (std::is_same_v<D, bool>)
        return v;
    else if constexpr (std::is_floating_point_v<D>)
        return static_cast<float>(v);
    else if constexpr (std::is_enum_v<D>)
        return static_cast<std::int64_t>(v);
    else if constexpr (std::is_integral_v<D>)
        return static_cast<std::int64_t>(v);
    else
        return std::string(v);
}

template <class V> V FromValue(const PropertyValue& pv) {
    using D = std::decay_t<V>;
    if constexpr (std::is_same_v<D, bool>)
        return std::get<bool>(pv);
    else if constexpr (std::is_floating_point_v<D>)
        return static_cast<D>(std::get<float>(pv));
    else if constexpr (std::is_enum_v<D>)
        return static_cast<D>(std::get<std::int64_t>(pv));
    else if constexpr (std::is_integral_v<D>)
        return static_cast<D>(std::get<std::int64_t>(pv));
    else
        return D(std::get<std::string>(pv));
}
} // namespace property_detail

// The ordered list a class fills in DeclareProperties. Getters and setters are
// member functions of the declaring class T (a TPersistent).
class PropertyList {
public:
    const std::vector<PropertyInfo>& Items() const { return items_; }
    const PropertyInfo* Find(const std::string& name) const {
        for (const auto& p : items_)
            if (p.name == name)
                return &p;
        return nullptr;
    }

    template <class T, class G, class S>
    PropertyInfo& Add(PropertyKind kind, std::string name, G (T::*get)() const, void (T::*set)(S),
                      std::optional<PropertyValue> def) {
        using V = std::decay_t<S>;
        PropertyInfo info;
        info.name = std::move(name);
        info.kind = kind;
        if constexpr (std::is_integral_v<V> && !std::is_same_v<V, bool>) {
            info.minValue = std::numeric_limits<V>::min();
            info.maxValue = static_cast<std::int64_t>(std::min<std::uint64_t>(
                std::numeric_limits<V>::max(), std::numeric_limits<std::int64_t>::max()));
        }
        info.get = [get](const TPersistent& o) {
            return property_detail::ToValue((static_cast<const T&>(o).*get)());
        };
        info.set = [set](TPersistent& o, const PropertyValue& v) {
            (static_cast<T&>(o).*set)(property_detail::FromValue<V>(v));
        };
        info.defaultValue = std::move(def);
        items_.push_back(std::move(info));
        return items_.back();
    }

    template <class T, class G, class S>
    PropertyInfo& Int(std::string name, G (T::*get)() const, void (T::*set)(S),
                      std::optional<std::int64_t> def = std::nullopt) {
        return Add(PropertyKind::Integer, std::move(name), get, set, Opt(def));
    }
    template <class T, class G, class S>
    PropertyInfo& Float(std::string name, G (T::*get)() const, void (T::*set)(S),
                        std::optional<float> def = std::nullopt) {
        return Add(PropertyKind::Float, std::move(name), get, set, Opt(def));
    }
    template <class T, class G, class S>
    PropertyInfo& Bool(std::string name, G (T::*get)() const, void (T::*set)(S),
                       std::optional<bool> def = std::nullopt) {
        return Add(PropertyKind::Boolean, std::move(name), get, set, Opt(def));
    }
    template <class T, class G, class S>
    PropertyInfo& String(std::string name, G (T::*get)() const, void (T::*set)(S),
                         std::optional<std::string> def = std::nullopt) {
        return Add(PropertyKind::String, std::move(name), get, set, Opt(def));
    }
    template <class T, class G, class S>
    PropertyInfo& Enum(std::string name, G (T::*get)() const, void (T::*set)(S),
                       std::vector<std::string> members,
                       std::optional<std::int64_t> def = std::nullopt) {
        auto& p = Add(PropertyKind::Enum, std::move(name), get, set, Opt(def));
        p.members = std::move(members);
        return p;
    }
    template <class T, class G, class S>
    PropertyInfo& Set(std::string name, G (T::*get)() const, void (T::*set)(S),
                      std::vector<std::string> members,
                      std::optional<std::int64_t> def = std::nullopt) {
        auto& p = Add(PropertyKind::Set, std::move(name), get, set, Opt(def));
        p.members = std::move(members);
        p.minValue = 0;
        return p;
    }
    template <class T, class G, class S>
    PropertyInfo& Color(std::string name, G (T::*get)() const, void (T::*set)(S),
                        std::optional<TColor> def = std::nullopt) {
        auto& p = Add(PropertyKind::Color, std::move(name), get, set,
                      def ? std::optional<PropertyValue>(std::int64_t(*def)) : std::nullopt);
        p.minValue = 0;
        p.maxValue = 0xFFFFFFFFll;
        return p;
    }
    // A name (event handler, component reference). Written only when not empty.
    template <class T, class G, class S>
    PropertyInfo& Ident(std::string name, G (T::*get)() const, void (T::*set)(S)) {
        return Add(PropertyKind::Ident, std::move(name), get, set, PropertyValue(std::string()));
    }
    // An event, stored as the name of its handler. The member `slot` keeps
    // that name and binds it among the handlers the component's owners
    // registered (TEventSlot); empty is "none".
    template <class T, class Slot> PropertyInfo& Event(std::string name, Slot T::*slot) {
        PropertyInfo info;
        info.name = std::move(name);
        info.kind = PropertyKind::Ident;
        info.get = [slot](const TPersistent& o) {
            return PropertyValue((static_cast<const T&>(o).*slot).Name());
        };
        info.set = [slot](TPersistent& o, const PropertyValue& v) {
            T& component = static_cast<T&>(o);
            (component.*slot).Bind(component, std::get<std::string>(v));
        };
        info.defaultValue = std::string();
        items_.push_back(std::move(info));
        return items_.back();
    }
    // An owned settings object; its own declared properties are stored as
    // "Name.Property".
    template <class T, class O> PropertyInfo& Object(std::string name, O* (T::*get)()) {
        PropertyInfo info;
        info.name = std::move(name);
        info.kind = PropertyKind::Object;
        info.object = [get](TPersistent& o) -> TPersistent* { return (static_cast<T&>(o).*get)(); };
        items_.push_back(std::move(info));
        return items_.back();
    }

    // Replaces the defaults of the named properties (see
    // TPersistent::KeepSetUpAsDefaults).
    void OverrideDefaults(const std::vector<std::pair<std::string, PropertyValue>>& defaults) {
        for (const auto& [name, value] : defaults)
            for (auto& p : items_)
                if (p.name == name)
                    p.defaultValue = value;
    }

private:
    template <class V> static std::optional<PropertyValue> Opt(const std::optional<V>& v) {
        if (!v)
            return std::nullopt;
        return property_detail::ToValue(*v);
    }

    std::vector<PropertyInfo> items_;
};

class RawPropertyList {
public:
    void Define(std::string name, std::function<void(TMemoryStream&)> read,
                std::function<void(TMemoryStream&)> write, bool hasData) {
        items_.push_back({std::move(name), std::move(read), std::move(write), hasData});
    }
    const std::vector<RawPropertyInfo>& Items() const { return items_; }
    const RawPropertyInfo* Find(const std::string& name) const {
        for (const auto& p : items_)
            if (p.name == name)
                return &p;
        return nullptr;
    }

private:
    std::vector<RawPropertyInfo> items_;
};
