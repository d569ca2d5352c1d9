// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ClassRegistry.h"

#include "core/Component.h"

ClassRegistry& ClassRegistry::Instance() {
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::Register(const std::string& className, Factory factory) {
    factories_[className] = std::move(factory);
}

TComponent* ClassRegistry::Create(const std::string& className, TComponent* owner) const {
    auto it = factories_.find(className);
    return it == factories_.end() ? nullptr : it->second(owner);
}

std::vector<std::string> ClassRegistry::ClassNames() const {
    std::vector<std::string> names;
    for (const auto& entry : factories_)
        names.push_back(entry.first);
    return names;
}
