#include "controls/base/AbGraphicControl.h"

#include "controls/base/InputTranslation.h"
#include "platform/Fonts.h"

#include <QMouseEvent>

namespace {
QWidget* AsWidget(TComponent* component) {
    return dynamic_cast<QWidget*>(component);
}
} // namespace

TAbGraphicControl::TAbGraphicControl(TComponent* owner)
    : QWidget(AsWidget(owner)), TComponent(owner), font_(std::make_unique<TFont>()) {
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setFont(ToQFont(*font_));
    font_->SetOnChange([this](TPersistent*) {
        setFont(ToQFont(*font_));
        FontChanged();
    });
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
    props.Object("Font", &T::FontObject);
    props.String("Hint", &T::Hint, &T::SetHint, std::string());
    props.Bool("Visible", &T::Visible, &T::SetVisible, true);
    props.Ident("OnClick", &T::OnClickName, &T::BindOnClick);
    props.Ident("OnDblClick", &T::OnDblClickName, &T::BindOnDblClick);
    props.Ident("OnMouseDown", &T::OnMouseDownName, &T::BindOnMouseDown);
    props.Ident("OnMouseMove", &T::OnMouseMoveName, &T::BindOnMouseMove);
    props.Ident("OnMouseUp", &T::OnMouseUpName, &T::BindOnMouseUp);
}

void TAbGraphicControl::SetParentComponent(TComponent* parent) {
    TComponent::SetParentComponent(parent);
    QWidget* widget = AsWidget(parent ? parent : Owner());
    if (widget != parentWidget()) {
        setParent(widget);
        ApplyVisibility();
    }
}

void TAbGraphicControl::SetEnabled(bool value) {
    enabled_ = value;
    setEnabled(value);
}

void TAbGraphicControl::SetVisible(bool value) {
    visible_ = value;
    ApplyVisibility();
}

void TAbGraphicControl::ApplyVisibility() {
    if (parentWidget())
        setVisible(visible_);
}

void TAbGraphicControl::SetHint(const std::string& value) {
    hint_ = value;
    setToolTip(QString::fromStdString(value));
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
