// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Creates components by class name, as the layout reader needs.

#include <functional>
#include <map>
#include <string>
#include <vector>

class TComponent;

class ClassRegistry {
public:
    using Factory = std::function<TComponent*(TComponent* owner)>;

    static ClassRegistry& Instance();

    void Register(const std::string& className, Factory factory);
    bool Has(const std::string& className) const { return factories_.count(className) != 0; }
    // Null when the class is unknown.
    TComponent* Create(const std::string& className, TComponent* owner) const;
    // Every registered class name, in alphabetical order.
    std::vector<std::string> ClassNames() const;

    template <class T> void Register(const std::string& className) {
        Register(className, [](TComponent* owner) -> TComponent* { return new T(owner); });
    }

private:
    std::map<std::string, Factory> factories_;
};
