// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Root of the controls' settings objects: a change notification that the
// owning control binds to its repaint or recomputation.

#include "core/Persistent.h"

#include <utility>

class TAbPersistent : public TPersistent {
public:
    std::string ClassName() const override { return "TAbPersistent"; }

    const TNotifyEvent& OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }

    // Fires OnChange when assigned. Property setters call it after storing a
    // value that differs from the current one.
    virtual void Changed() {
        if (onChange_)
            onChange_(this);
    }

protected:
    // The property setters' rule: store the value if it differs from the
    // current one, then notify.
    template <class V, class U> void Store(V& field, U&& value) {
        if (field == value)
            return;
        field = std::forward<U>(value);
        Changed();
    }

private:
    TNotifyEvent onChange_;
};
