// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small components for the layout tests: they record every setter call and
// every Loaded() into a shared log, so tests can check the order of events.

#include "core/ByteStream.h"
#include "core/ClassRegistry.h"
#include "core/Component.h"

#include <string>
#include <vector>

inline std::vector<std::string>& EventLog() {
    static std::vector<std::string> log;
    return log;
}

class TTestSettings : public TPersistent {
public:
    std::string ClassName() const override { return "TTestSettings"; }
    void DeclareProperties(PropertyList& p) override {
        p.Int("Low", &TTestSettings::Low, &TTestSettings::SetLow, 0);
        p.Float("Scale", &TTestSettings::Scale, &TTestSettings::SetScale, 100.0f);
    }
    int Low() const { return low_; }
    void SetLow(int v) {
        EventLog().push_back("Settings.Low=" + std::to_string(v));
        low_ = v;
    }
    float Scale() const { return scale_; }
    void SetScale(float v) {
        EventLog().push_back("Settings.Scale");
        scale_ = v;
    }

private:
    int low_ = 0;
    float scale_ = 100.0f;
};

enum TTestMode { tmOff, tmOn, tmBlink };

class TTestWidget : public TComponent {
public:
    using TComponent::TComponent;
    std::string ClassName() const override { return "TTestWidget"; }

    void DeclareProperties(PropertyList& p) override {
        TComponent::DeclareProperties(p);
        p.Int("Count", &TTestWidget::Count, &TTestWidget::SetCount, 7);
        p.Int("Small", &TTestWidget::Small, &TTestWidget::SetSmall, 0);
        p.Float("Level", &TTestWidget::Level, &TTestWidget::SetLevel, 0.0f);
        p.Float("Gain", &TTestWidget::Gain, &TTestWidget::SetGain); // no default
        p.Bool("Active", &TTestWidget::Active, &TTestWidget::SetActive, true);
        p.String("Caption", &TTestWidget::Caption, &TTestWidget::SetCaption, std::string());
        p.Enum("Mode", &TTestWidget::Mode, &TTestWidget::SetMode, {"tmOff", "tmOn", "tmBlink"},
               tmOff);
        p.Set("Keys", &TTestWidget::Keys, &TTestWidget::SetKeys, {"kA", "kB", "kC"}, 0b111);
        p.Color("Color", &TTestWidget::Color, &TTestWidget::SetColor, clBtnFace);
        p.Ident("OnClick", &TTestWidget::OnClickName, &TTestWidget::SetOnClickName);
        p.Object("Settings", &TTestWidget::Settings);
    }
    void DefineProperties(RawPropertyList& p) override {
        p.Define(
            "Blob",
            [this](TMemoryStream& s) {
                EventLog().push_back(Name() + ".Blob");
                const auto n = s.ReadU8();
                blob_.clear();
                for (int i = 0; i < n; ++i)
                    blob_.push_back(s.ReadU8());
            },
            [this](TMemoryStream& s) {
                s.WriteU8(static_cast<std::uint8_t>(blob_.size()));
                for (auto b : blob_)
                    s.WriteU8(b);
            },
            true);
    }
    void Loaded() override {
        TComponent::Loaded();
        EventLog().push_back(Name() + ".Loaded");
    }

    int Count() const { return count_; }
    void SetCount(int v) { Record("Count", v), count_ = v; }
    short Small() const { return small_; }
    void SetSmall(short v) { Record("Small", v), small_ = v; }
    float Level() const { return level_; }
    void SetLevel(float v) { Record("Level", 0), level_ = v; }
    float Gain() const { return gain_; }
    void SetGain(float v) { Record("Gain", 0), gain_ = v; }
    bool Active() const { return active_; }
    void SetActive(bool v) { Record("Active", v), active_ = v; }
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& v) { Record("Caption", 0), caption_ = v; }
    TTestMode Mode() const { return mode_; }
    void SetMode(TTestMode v) { Record("Mode", v), mode_ = v; }
    unsigned Keys() const { return keys_; }
    void SetKeys(unsigned v) { Record("Keys", static_cast<int>(v)), keys_ = v; }
    TColor Color() const { return color_; }
    void SetColor(TColor v) { Record("Color", 0), color_ = v; }
    std::string OnClickName() const { return onClick_; }
    void SetOnClickName(const std::string& v) {
        handler_ = BindHandler<TNotifyEvent>(*this, v);
        onClick_ = v;
    }
    TTestSettings* Settings() { return &settings_; }
    std::vector<std::uint8_t>& Blob() { return blob_; }
    void Click() {
        if (handler_)
            handler_(this);
    }

private:
    void Record(const char* prop, int v) {
        EventLog().push_back(Name() + "." + prop + "=" + std::to_string(v) +
                             (IsLoading() ? " (loading)" : ""));
    }

    int count_ = 7;
    short small_ = 0;
    float level_ = 0.0f;
    float gain_ = 1.0f;
    bool active_ = true;
    std::string caption_;
    TTestMode mode_ = tmOff;
    unsigned keys_ = 0b111;
    TColor color_ = clBtnFace;
    std::string onClick_;
    TNotifyEvent handler_;
    TTestSettings settings_;
    std::vector<std::uint8_t> blob_;
};

// A form: owns the widgets and holds the event handlers.
class TTestForm : public TComponent {
public:
    using TComponent::TComponent;
    std::string ClassName() const override { return "TTestForm"; }
    void Loaded() override {
        TComponent::Loaded();
        EventLog().push_back(Name() + ".Loaded");
    }
};

// Records its destruction, for the ownership tests.
class TTracked : public TComponent {
public:
    TTracked(TComponent* owner, std::string tag) : TComponent(owner), tag_(std::move(tag)) {}
    ~TTracked() override { EventLog().push_back("~" + tag_); }
    void Notification(TComponent* c, TOperation op) override {
        if (op == TOperation::opRemove)
            EventLog().push_back(tag_ + (c ? " told of a component" : " told of nothing"));
    }

private:
    std::string tag_;
};

inline void RegisterTestClasses() {
    ClassRegistry::Instance().Register<TTestWidget>("TTestWidget");
    ClassRegistry::Instance().Register<TTestForm>("TTestForm");
}
