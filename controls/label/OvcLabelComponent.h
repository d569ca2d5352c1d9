#pragma once
// The caption label as the panel stores it: TOvcCustomLabel with its
// settings and events published in stored order.

#include "controls/label/OvcCustomLabel.h"

class TOvcLabel : public TOvcCustomLabel {
public:
    explicit TOvcLabel(TComponent* owner) : TOvcCustomLabel(owner) {}

    std::string ClassName() const override { return "TOvcLabel"; }
    void DeclareProperties(PropertyList& props) override;

private:
    // The stored layout binds events by handler name.
    std::string OnClickName() const { return OnClick.Name(); }
    void BindOnClick(const std::string& n) { OnClick.Bind(*this, n); }
    std::string OnDblClickName() const { return OnDblClick.Name(); }
    void BindOnDblClick(const std::string& n) { OnDblClick.Bind(*this, n); }
    std::string OnDragDropName() const { return OnDragDrop.Name(); }
    void BindOnDragDrop(const std::string& n) { OnDragDrop.Bind(*this, n); }
    std::string OnDragOverName() const { return OnDragOver.Name(); }
    void BindOnDragOver(const std::string& n) { OnDragOver.Bind(*this, n); }
    std::string OnEndDragName() const { return OnEndDrag.Name(); }
    void BindOnEndDrag(const std::string& n) { OnEndDrag.Bind(*this, n); }
    std::string OnMouseDownName() const { return OnMouseDown.Name(); }
    void BindOnMouseDown(const std::string& n) { OnMouseDown.Bind(*this, n); }
    std::string OnMouseMoveName() const { return OnMouseMove.Name(); }
    void BindOnMouseMove(const std::string& n) { OnMouseMove.Bind(*this, n); }
    std::string OnMouseUpName() const { return OnMouseUp.Name(); }
    void BindOnMouseUp(const std::string& n) { OnMouseUp.Bind(*this, n); }
    TFont* FontObject() { return Font(); }
    TOvcCustomSettings* SettingsObject() { return CustomSettings(); }
};
