// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/std/StdForm.h"

#include "controls/access/ControlAccessible.h"
#include "controls/base/StdControl.h"
#include "core/Layout.h"
#include "platform/Fonts.h"
#include "platform/SystemColors.h"

#include <QEvent>
#include <QIcon>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <limits>
#include <map>
#include <vector>

namespace {
const std::vector<std::string>& BorderStyleNames() {
    static const std::vector<std::string> names{"bsNone",   "bsSingle",     "bsSizeable",
                                                "bsDialog", "bsToolWindow", "bsSizeToolWin"};
    return names;
}
const std::vector<std::string>& BorderIconNames() {
    static const std::vector<std::string> names{"biSystemMenu", "biMinimize", "biMaximize",
                                                "biHelp"};
    return names;
}
const std::vector<std::string>& PositionNames() {
    static const std::vector<std::string> names{
        "poDesigned",     "poDefault",       "poDefaultPosOnly", "poDefaultSizeOnly",
        "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"};
    return names;
}

// Controls with a window of their own: the standard containers and switch
// buttons, and every control that can take the keyboard focus.
bool IsWindowed(const QWidget& w) {
    return dynamic_cast<const TStdWindowed*>(&w) != nullptr || w.focusPolicy() != Qt::NoFocus;
}

// The stored TabOrder of a component, read through its stored properties so
// that every kind of control is served alike; unordered ones go last.
int TabOrderOf(TComponent& c) {
    const PropertyList props = c.StoredProperties();
    if (const PropertyInfo* info = props.Find("TabOrder")) {
        const PropertyValue v = info->get(c);
        if (const auto* n = std::get_if<std::int64_t>(&v); n && *n >= 0)
            return static_cast<int>(*n);
    }
    return std::numeric_limits<int>::max();
}
} // namespace

TForm::TForm(TComponent* owner) : TWidgetComponent(TopLevel{}, owner) {
    // Screen readers learn the custom-painted controls' names and values.
    InstallControlAccessibility();
}

TForm::~TForm() {
    // The controls go while the form is still whole: their handlers and
    // notifications may reach back into it.
    DestroyComponents();
}

void TForm::DeclareProperties(PropertyList& p) {
    TComponent::DeclareProperties(p);
    p.Int("Left", &TForm::Left, &TForm::SetLeft, 0);
    p.Int("Top", &TForm::Top, &TForm::SetTop, 0);
    p.Set("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons, BorderIconNames(),
          BorderIconBit(biSystemMenu) | BorderIconBit(biMinimize) | BorderIconBit(biMaximize));
    p.Enum("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle, BorderStyleNames(),
           bsSizeable);
    p.String("Caption", &TForm::Caption, &TForm::SetCaption, std::string());
    p.Int("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight);
    p.Int("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth);
    p.Color("Color", &TForm::Color, &TForm::SetColor, clBtnFace);
    p.Object("Font", &TForm::Font);
    p.String("Icon", &TForm::Icon, &TForm::SetIcon, std::string());
    p.Enum("Position", &TForm::Position, &TForm::SetPosition, PositionNames(), poDesigned);
    p.Event("OnCreate", &TForm::OnCreate);
}

void TForm::LoadLayout(std::string_view text) {
    ReadLayoutInto(*this, text);
    OnCreate(this);
}

void TForm::Loaded() {
    TComponent::Loaded();
    ApplyFrame();
    ArrangeStacking();
    ArrangeFocusOrder();
    WatchEnabling();
}

void TForm::SetCaption(const std::string& value) {
    caption_ = value;
    setWindowTitle(QString::fromStdString(value));
}

void TForm::SetClientWidth(int value) {
    resize(value, height());
    ApplyFrame();
}

void TForm::SetClientHeight(int value) {
    resize(width(), value);
    ApplyFrame();
}

void TForm::SetColor(TColor value) {
    color_ = value;
    update();
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
    borderStyle_ = value;
    ApplyFrame();
}

void TForm::SetBorderIcons(TBorderIcons value) {
    borderIcons_ = value;
    ApplyFrame();
}

void TForm::SetIcon(const std::string& value) {
    icon_ = value;
    setWindowIcon(value.empty() ? QIcon() : QIcon(QString::fromStdString(value)));
}

bool TForm::Sizeable() const {
    return borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin;
}

void TForm::ApplyFrame() {
    if (IsLoading())
        return;
    Qt::WindowFlags flags = Qt::Window;
    if (borderStyle_ == bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (borderIcons_ & BorderIconBit(biSystemMenu))
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (borderIcons_ & BorderIconBit(biMinimize))
            flags |= Qt::WindowMinimizeButtonHint;
        if ((borderIcons_ & BorderIconBit(biMaximize)) && Sizeable())
            flags |= Qt::WindowMaximizeButtonHint;
        if (borderIcons_ & BorderIconBit(biHelp))
            flags |= Qt::WindowContextHelpButtonHint;
    }
    const bool wasVisible = isVisible();
    setWindowFlags(flags);
    if (Sizeable()) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        setFixedSize(size());
    }
    if (wasVisible)
        show();
}

void TForm::ArrangeStacking() {
    // raise() puts a widget on top of its siblings: first every control in
    // creation order, then the windowed ones again, so they end up above.
    std::vector<QWidget*> windowed;
    for (TComponent* c : Components()) {
        auto* w = dynamic_cast<QWidget*>(c);
        if (!w)
            continue;
        w->raise();
        if (IsWindowed(*w))
            windowed.push_back(w);
    }
    for (QWidget* w : windowed)
        w->raise();
}

void TForm::ArrangeFocusOrder() {
    // Group the focusable controls by parent, order each group by TabOrder
    // (creation order breaks ties), then chain them depth first.
    std::map<QWidget*, std::vector<std::pair<int, QWidget*>>> byParent;
    for (TComponent* c : Components()) {
        auto* w = dynamic_cast<QWidget*>(c);
        if (!w || !IsWindowed(*w))
            continue;
        byParent[w->parentWidget()].push_back({TabOrderOf(*c), w});
    }
    for (auto& [parent, group] : byParent)
        std::stable_sort(group.begin(), group.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<QWidget*> chain;
    auto walk = [&](auto& self, QWidget* parent) -> void {
        auto it = byParent.find(parent);
        if (it == byParent.end())
            return;
        for (const auto& entry : it->second) {
            // Containers are only passed through: Qt keeps a container's
            // children together with it in the chain already.
            if (entry.second->focusPolicy() != Qt::NoFocus)
                chain.push_back(entry.second);
            self(self, entry.second);
        }
    };
    walk(walk, this);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    // The first control in the order has the focus when the window opens.
    firstFocus_ = chain.empty() ? nullptr : chain.front();
}

void TForm::WatchEnabling() {
    for (TComponent* c : Components()) {
        auto* w = dynamic_cast<QWidget*>(c);
        if (!w)
            continue;
        w->installEventFilter(this);
        w->setAttribute(Qt::WA_TransparentForMouseEvents, !w->isEnabled());
    }
}

bool TForm::eventFilter(QObject* watched, QEvent* event) {
    // A disabled control receives no pointer events; the control beneath it
    // (not only its parent) gets them instead.
    if (event->type() == QEvent::EnabledChange && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        w->setAttribute(Qt::WA_TransparentForMouseEvents, !w->isEnabled());
    }
    return QWidget::eventFilter(watched, event);
}

void TForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    const bool centre = position_ == poScreenCenter || position_ == poDesktopCenter ||
                        position_ == poMainFormCenter || position_ == poOwnerFormCenter;
    if (firstFocus_ && !focusWidget())
        firstFocus_->setFocus();
    if (centre && !centred_ && screen()) {
        centred_ = true;
        CentreFrame();
        if (FrameRect() == geometry())
            WatchForFrame();
    }
}

// While the window manager takes the window over, the frame can be reported
// smaller than the window for a moment: that is no frame.
bool TForm::CoversWindow(const QSize& frame) const {
    return frame.width() >= width() && frame.height() >= height();
}

// The frame as the window system last reported it. QWidget::frameGeometry()
// keeps the frame widths it read at the last move or resize: when the window
// manager frames a window that stays in place, they stay those of no frame.
QRect TForm::FrameRect() const {
    const QWindow* window = windowHandle();
    return window ? geometry().marginsAdded(window->frameMargins()) : geometry();
}

void TForm::CentreFrame() {
    const QRect client = geometry();
    QRect frame = FrameRect();
    if (!CoversWindow(frame.size()))
        frame = client;
    const QRect desktop = screen()->availableGeometry();
    QRect centred = frame;
    centred.moveCenter(desktop.center());
    // A frame larger than the free area keeps its title bar and its
    // top-left corner on screen, where it can still be reached and moved.
    centred.moveTopLeft(
        QPoint(std::max(centred.left(), desktop.left()), std::max(centred.top(), desktop.top())));
    centredFrameSize_ = centred.size();
    // The client area moves as far as the frame should: move() would place
    // the frame by those same stale frame widths.
    setGeometry(client.translated(centred.topLeft() - frame.topLeft()));
}

void TForm::WatchForFrame() {
    // Every 50 ms for two seconds: without a window manager no frame comes.
    constexpr int kIntervalMs = 50;
    constexpr int kChecks = 40;
    frameWatch_ = new QTimer(this);
    frameWatch_->setInterval(kIntervalMs);
    QObject::connect(frameWatch_, &QTimer::timeout, this, [this] {
        const QSize frameSize = FrameRect().size();
        const bool framed = frameSize != centredFrameSize_ && CoversWindow(frameSize);
        if (framed && screen())
            CentreFrame();
        if (framed || ++frameChecks_ >= kChecks) {
            frameWatch_->stop();
            frameWatch_->deleteLater();
            frameWatch_ = nullptr;
        }
    });
    frameWatch_->start();
}

void TForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(color_));
}
