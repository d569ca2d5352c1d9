// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture: shows a bitmap unscaled at its top left corner. The stored
// `Picture` names the image in the program's resources (":/assets/...").

#include "controls/base/StdControl.h"

#include <QPixmap>
#include <QWidget>

class TImage : public TStdControl<QWidget> {
public:
    explicit TImage(TComponent* owner);

    std::string ClassName() const override { return "TImage"; }
    void DeclareProperties(PropertyList& p) override;

    const std::string& Picture() const { return picture_; }
    // Loads the named image; a name that loads nothing leaves the control
    // empty (it then shows its parent).
    void SetPicture(const std::string& name);
    const QPixmap& Bitmap() const { return bitmap_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string picture_;
    QPixmap bitmap_;
};
