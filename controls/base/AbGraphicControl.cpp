#include "controls/base/AbGraphicControl.h"

#include "controls/base/InputTranslation.h"

#include <QMouseEvent>

TAbGraphicControl::TAbGraphicControl(TComponent* owner) : TWidgetComponent(owner) {
    setFocusPolicy(Qt::NoFocus);
}

TAbGraphicControl::~TAbGraphicControl() = default;

void TAbGraphicControl::DeclareProperties(PropertyList& props) {
    TComponent::DeclareProperties(props);
    using T = TAbGraphicControl;
    props.Int("Left", &T::Left, &T::SetLeft);
    props.Int("Top", &T::Top, &T::SetTop);
    props.Int("Width", &T::Width, &T::SetWidth);
    props.Int("Height", &T::Height, &T::SetHeight);
    props.Bool("Enabled", &T::Enabled, &T::SetEnabled, true);
    props.Object("Font", &T::Font);
    props.String("Hint", &T::Hint, &T::SetHint, std::string());
    props.Bool("Visible", &T::Visible, &T::SetVisible, true);
    props.Event("OnClick", &T::OnClick);
    props.Event("OnDblClick", &T::OnDblClick);
    props.Event("OnMouseDown", &T::OnMouseDown);
    props.Event("OnMouseMove", &T::OnMouseMove);
    props.Event("OnMouseUp", &T::OnMouseUp);
}

void TAbGraphicControl::Invalidate() {
    repaintPending_ = true;
    update();
}

void TAbGraphicControl::RequestSettingsChanged() {
    if (lockCount_ == 0)
        SettingsChanged();
}

// Derived controls paint; the base only notes that the repaint happened.
void TAbGraphicControl::paintEvent(QPaintEvent*) {
    repaintPending_ = false;
}

void TAbGraphicControl::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    OnMouseDown(this, MouseButtonOf(event->button()),
                ShiftStateOf(event->modifiers(), event->buttons()), p.x(), p.y());
    event->accept();
}

void TAbGraphicControl::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    OnMouseDown(this, MouseButtonOf(event->button()),
                ShiftStateOf(event->modifiers(), event->buttons()) | ssDouble, p.x(), p.y());
    if (event->button() == Qt::LeftButton)
        OnDblClick(this);
    event->accept();
}

void TAbGraphicControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    OnMouseMove(this, ShiftStateOf(event->modifiers(), event->buttons()), p.x(), p.y());
    event->accept();
}

void TAbGraphicControl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    OnMouseUp(this, MouseButtonOf(event->button()),
              ShiftStateOf(event->modifiers(), event->buttons()), p.x(), p.y());
    if (event->button() == Qt::LeftButton && rect().contains(p))
        OnClick(this);
    event->accept();
}
