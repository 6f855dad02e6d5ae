// SPDX-License-Identifier: MIT
#include "qt_dialog_items.h"

#include <QAccessible>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

QString FromLocal(const char* bytes) { return QString::fromLocal8Bit(bytes); }
QString FromLocal(const CString& text) { return QString::fromLocal8Bit(text.GetString()); }
CString ToLocal(const QString& text) { return CString(text.toLocal8Bit().toStdString()); }

QImage ImageOf(const IconImage& image) {
    QImage out(image.size, image.size, QImage::Format_ARGB32);
    for (int y = 0; y < image.size; ++y) {
        for (int x = 0; x < image.size; ++x) {
            out.setPixel(x, y, image.argb[static_cast<std::size_t>(y * image.size + x)]);
        }
    }
    return out;
}

namespace {

QFont DialogFont(const DialogTemplate& dialog) {
    QFont font(FromLocal(dialog.fontFace));
    // Points to pixels at the screen's logical resolution, rounded as the
    // original platform's MulDiv does.
    const int dpi = QGuiApplication::primaryScreen()
                        ? static_cast<int>(QGuiApplication::primaryScreen()->logicalDotsPerInchY())
                        : 96;
    font.setPixelSize((dialog.fontPoints * dpi + 36) / 72);
    return font;
}

}  // namespace

// Qt's bar takes every value late (see BackendProgressBar): the pump's
// dispatching is frequent enough to keep it moving.
class QtProgressBar final : public BackendProgressBar {
public:
    explicit QtProgressBar(QProgressBar* bar) : bar_(bar) {}

private:
    bool DrawsAtOnce(const ScaledProgress&) const override { return false; }
    void Draw(const ScaledProgress& value) override {
        bar_->setRange(0, value.upper);
        bar_->setValue(value.position);
    }
    QProgressBar* bar_;
};

QtDialogItems::QtDialogItems() = default;
QtDialogItems::~QtDialogItems() = default;

void QtDialogItems::Build(const DialogTemplate& dialog, QWidget& window,
                          std::function<void(UINT)> clicked) {
    window.setFont(DialogFont(dialog));
    const QFontMetrics metrics(window.font());
    const int alphabet =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseX_ = (alphabet / 26 + 1) / 2;
    baseY_ = metrics.height();
    window.setFixedSize(ToPixelsX(dialog.cx), ToPixelsY(dialog.cy));
    for (const DialogItem& item : dialog.items) CreateItem(item, window, clicked);
    NameForScreenReaders(dialog);
}

QWidget* QtDialogItems::Item(int id) const {
    auto found = items_.find(id);
    return found == items_.end() ? nullptr : found->second;
}
QWidget* QtDialogItems::FirstTabStop() const {
    for (QWidget* w : order_) {
        if (w->focusPolicy() & Qt::TabFocus) return w;
    }
    return nullptr;
}

ProgressBarView* QtDialogItems::ProgressBar(int id) const {
    auto found = bars_.find(id);
    return found == bars_.end() ? nullptr : found->second.get();
}

void QtDialogItems::CreateItem(const DialogItem& item, QWidget& window,
                               const std::function<void(UINT)>& clicked) {
    QWidget* widget = nullptr;
    const QString text = FromLocal(item.text);
    switch (item.kind) {
        case ControlClass::kGroupBox:
            widget = new QGroupBox(text, &window);
            break;
        case ControlClass::kButton: {
            auto* button = new QPushButton(text, &window);
            button->setAutoDefault(false);
            if (item.style & kDefaultButton) {
                button->setDefault(true);
                defaultButton_ = button;
            }
            const UINT id = static_cast<UINT>(item.id);
            QObject::connect(button, &QPushButton::clicked, &window,
                             [clicked, id] { clicked(id); });
            widget = button;
            break;
        }
        case ControlClass::kStatic: {
            auto* label = new QLabel(text, &window);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | ((item.style & kCenterVertically) ? Qt::AlignVCenter
                                                                                  : Qt::AlignTop));
            if (item.style & kClientEdge) {
                label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
                label->setAutoFillBackground(false);
            }
            widget = label;
            break;
        }
        case ControlClass::kIcon: {
            auto* label = new QLabel(&window);
            const IconResource* icon = FindIconResource(item.iconId);
            if (icon && !icon->images.empty()) {
                label->setPixmap(QPixmap::fromImage(ImageOf(icon->images.front())));
            }
            label->setGeometry(ToPixelsX(item.x), ToPixelsY(item.y), 32, 32);
            widget = label;
            break;
        }
        case ControlClass::kProgressBar: {
            auto* bar = new QProgressBar(&window);
            bar->setTextVisible(false);
            bar->setRange(0, 100);
            bar->setValue(0);
            bars_[item.id] = std::make_unique<QtProgressBar>(bar);
            widget = bar;
            break;
        }
    }
    if (item.kind != ControlClass::kIcon) {
        widget->setGeometry(ToPixelsX(item.x), ToPixelsY(item.y), ToPixelsX(item.cx),
                            ToPixelsY(item.cy));
    }
    widget->setFocusPolicy((item.style & kTabStop) ? Qt::StrongFocus : Qt::NoFocus);
    if (item.id >= 0) {
        widget->setObjectName(QString("item%1").arg(item.id));
        items_[item.id] = widget;
    }
    order_.push_back(widget);
}

// A screen reader speaks a control by its caption: the label just above
// it, or else the captioned frame around it. A sunken field with neither
// is the window's status line.
void QtDialogItems::NameForScreenReaders(const DialogTemplate& dialog) {
    auto overlapsAcross = [](const DialogItem& a, const DialogItem& b) {
        return a.x < b.x + b.cx && b.x < a.x + a.cx;
    };
    auto encloses = [](const DialogItem& frame, const DialogItem& b) {
        return frame.x <= b.x && frame.y <= b.y && b.x + b.cx <= frame.x + frame.cx &&
               b.y + b.cy <= frame.y + frame.cy;
    };
    for (const DialogItem& item : dialog.items) {
        const bool field = item.kind == ControlClass::kProgressBar ||
                           (item.kind == ControlClass::kStatic && (item.style & kClientEdge));
        if (item.id < 0 || !field) continue;
        const DialogItem* above = nullptr;
        const DialogItem* frame = nullptr;
        for (const DialogItem& other : dialog.items) {
            if (&other == &item) continue;
            if (other.kind == ControlClass::kGroupBox) {
                if (encloses(other, item) && (!frame || encloses(*frame, other))) frame = &other;
            } else if (other.y + other.cy <= item.y && overlapsAcross(other, item) &&
                       (!above || other.y + other.cy > above->y + above->cy)) {
                above = &other;
            }
        }
        QString caption;
        if (above && above->kind == ControlClass::kStatic && !(above->style & kClientEdge)) {
            caption = FromLocal(above->text);
        } else if (frame) {
            caption = FromLocal(frame->text);
        }
        QWidget* widget = Item(item.id);
        if (!caption.isEmpty()) {
            widget->setAccessibleName(caption);
        } else if (item.kind == ControlClass::kStatic) {
            widget->setProperty(kStatusLine, true);
            // An interface made for it while it was being created is
            // dropped, so that the next one asked for is the status line's.
            QAccessible::deleteAccessibleInterface(
                QAccessible::uniqueId(QAccessible::queryAccessibleInterface(widget)));
        }
    }
}
