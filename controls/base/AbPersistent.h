#pragma once
// Root of the controls' settings objects: a change notification that the
// owning control binds to its repaint or recomputation.

#include "core/Persistent.h"

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

private:
    TNotifyEvent onChange_;
};
