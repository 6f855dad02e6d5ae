// SPDX-License-Identifier: MIT
// The Qt 6 Widgets backend of the platform layer. It implements:
//  - the dialog window built from a template (group boxes, push buttons,
//    statics, icons, progress bars) with dialog units turned into pixels
//    from the dialog font, as the original platform computes them;
//  - the message routing: clicks, the close box, the dialog keys, the
//    window menu (right-click, Menu key, Shift+F10) and file drops become
//    the messages the application's maps expect;
//  - the modal loop, the message pump, the message box, the open-file
//    dialog and the system metrics.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QUrl>
#include <map>
#include <set>
#include <utility>

#include "drop_files.h"
#include "message_pump.h"
#include "native_window.h"
#include "testing.h"
#include "wnd.h"

namespace {

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

QIcon IconOf(HICON icon) {
    QIcon out;
    if (!icon) return out;
    for (const IconImage& image : icon->images) out.addPixmap(QPixmap::fromImage(ImageOf(image)));
    return out;
}

QFont DialogFont(const DialogTemplate& dialog) {
    QFont font(FromLocal(dialog.fontFace));
    // Points to pixels at the screen's logical resolution, rounded as the
    // original platform's MulDiv does.
    const int dpi = QGuiApplication::primaryScreen() ? static_cast<int>(QGuiApplication::primaryScreen()->logicalDotsPerInchY()) : 96;
    font.setPixelSize((dialog.fontPoints * dpi + 36) / 72);
    return font;
}

// The long loops move a bar after every block; showing each step would
// repaint it hundreds of times a second. A bar takes its latest value when
// the pump dispatches, when a text is pushed to the screen, before anything
// modal comes up, and at the top of the dialog's loop.
class QtProgressBar final : public ProgressBarView {
public:
    explicit QtProgressBar(QProgressBar* bar) : bar_(bar) {}
    ~QtProgressBar() override { Waiting().erase(this); }
    void Show(std::uint32_t upper, std::uint32_t position) override {
        upper_ = upper;
        position_ = position;
        Waiting().insert(this);
    }
    static void ShowWaiting() {
        for (QtProgressBar* bar : std::exchange(Waiting(), {})) bar->Apply();
    }

private:
    static std::set<QtProgressBar*>& Waiting() {
        static std::set<QtProgressBar*> waiting;
        return waiting;
    }
    void Apply() {
        const ScaledProgress scaled = ScaleForIntBar(upper_, position_);
        bar_->setRange(0, scaled.upper);
        bar_->setValue(scaled.position);
    }
    QProgressBar* bar_;
    std::uint32_t upper_ = 100;
    std::uint32_t position_ = 0;
};

class DialogWindow final : public QDialog, public NativeWindow {
public:
    DialogWindow(const DialogTemplate& dialog, CWnd& target, NativeWindow* owner)
        : QDialog(owner ? dynamic_cast<DialogWindow*>(owner) : nullptr), target_(target) {
        setObjectName(QString("dialog%1").arg(dialog.id));
        setWindowTitle(FromLocal(dialog.caption));
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        setWindowModality(owner ? Qt::ApplicationModal : Qt::NonModal);
        setFont(DialogFont(dialog));
        const QFontMetrics metrics(font());
        const int alphabet =
            metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        baseX_ = (alphabet / 26 + 1) / 2;
        baseY_ = metrics.height();
        setFixedSize(ToPixelsX(dialog.cx), ToPixelsY(dialog.cy));
        for (const DialogItem& item : dialog.items) CreateItem(item);
        if (dialog.style & kAcceptFiles) setAcceptDrops(true);
    }

    // NativeWindow
    void SetItemText(int id, const CString& text) override {
        QtProgressBar::ShowWaiting();
        if (auto* label = qobject_cast<QLabel*>(Item(id))) {
            label->setText(FromLocal(text));
            label->repaint();  // the long loops that follow must show it at once
        } else if (auto* button = qobject_cast<QAbstractButton*>(Item(id))) {
            button->setText(FromLocal(text));
        }
    }
    CString GetItemText(int id) const override {
        if (auto* label = qobject_cast<QLabel*>(Item(id))) return ToLocal(label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(Item(id))) return ToLocal(button->text());
        return CString();
    }
    void EnableItem(int id, bool enable) override {
        if (QWidget* w = Item(id)) w->setEnabled(enable);
    }
    bool IsItemEnabled(int id) const override {
        const QWidget* w = Item(id);
        return w && w->isEnabled();
    }
    ProgressBarView* ProgressBar(int id) override {
        auto found = bars_.find(id);
        return found == bars_.end() ? nullptr : found->second.get();
    }
    void Show() override {
        if (parentWidget()) {
            move(parentWidget()->geometry().center() - rect().center());
        } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
        show();
        raise();
        activateWindow();
        if (QWidget* first = focusWidget() ? focusWidget() : FirstTabStop()) first->setFocus();
    }
    // Qt's modality already keeps input from an owner while a dialog, box
    // or file dialog is up; greying every control as well would only flicker.
    void Enable(bool) override {}
    bool IsMinimized() const override { return isMinimized(); }
    RECT ClientRect() const override { return RECT{0, 0, width(), height()}; }
    void SetIcon(HICON icon, bool big) override {
        (big ? bigIcon_ : smallIcon_) = icon;
        setWindowIcon(IconOf(bigIcon_ ? bigIcon_ : smallIcon_));
    }
    void AcceptDrops(bool accept) override { setAcceptDrops(accept); }
    void AppendSystemMenu(UINT flags, UINT id, const CString& text) override {
        menuItems_.push_back({flags, id, FromLocal(text)});
    }
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM /*lParam*/) override {
        switch (message) {
            case WM_SYSCOMMAND:
                if ((wParam & 0xFFF0) == SC_CLOSE) return target_.SendMessage(WM_CLOSE);
                return 0;
            case WM_ICONERASEBKGND:
                if (painter_) painter_->fillRect(rect(), palette().window());
                return 1;
            default:
                return 0;
        }
    }
    // The painter of the paint event being routed stands for the device context.
    WPARAM BeginPaint() override { return reinterpret_cast<WPARAM>(painter_); }
    void EndPaint() override {}
    void DrawIcon(int x, int y, HICON icon) override {
        if (!painter_ || !icon || icon->images.empty()) return;
        painter_->drawImage(QPoint(x, y), ImageOf(icon->images.front()));
    }
    void Post(UINT message, WPARAM wParam, LPARAM lParam) override {
        CWnd* target = &target_;
        QMetaObject::invokeMethod(
            this, [target, message, wParam, lParam] { target->SendMessage(message, wParam, lParam); },
            Qt::QueuedConnection);
    }
    void RunModalLoop(const bool& ended) override {
        loopEnded_ = &ended;
        runningLoops_.push_back(this);
        while (!ended) {
            QtProgressBar::ShowWaiting();
            if (HasIdleTask() && !idleMarkerPosted_) PostIdleMarker();
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
        runningLoops_.pop_back();
        loopEnded_ = nullptr;
        hide();
    }

    // The window menu, as the title bar's would be.
    void ShowSystemMenu(const QPoint& at) {
        QMenu menu(this);
        QAction* close = menu.addAction(tr("&Close"));
        close->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
        close->setData(SC_CLOSE);
        for (const MenuItem& item : menuItems_) {
            if (item.flags & MF_SEPARATOR) {
                menu.addSeparator();
            } else {
                menu.addAction(item.text)->setData(item.id);
            }
        }
        if (QAction* chosen = menu.exec(at)) Post(WM_SYSCOMMAND, chosen->data().toUInt(), 0);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        // The close box is the window menu's Close: the dialog decides.
        event->ignore();
        target_.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    }
    void keyPressEvent(QKeyEvent* event) override {
        const bool menuKey = event->key() == Qt::Key_Menu ||
                             (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
        if (menuKey) {
            ShowSystemMenu(mapToGlobal(QPoint(0, 0)));
            return;
        }
        // While a long loop dispatches, keys are plain keys: no dialog effect.
        if (PumpDepth() > 0) return;
        switch (event->key()) {
            case Qt::Key_Escape:
                target_.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
                return;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
                    button->click();
                } else if (defaultButton_) {
                    defaultButton_->click();
                } else {
                    target_.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
                }
                return;
            case Qt::Key_F1:
                target_.SendMessage(WM_COMMAND, MAKEWPARAM(ID_HELP, 0));
                return;
            default:
                QWidget::keyPressEvent(event);
        }
    }
    bool focusNextPrevChild(bool next) override {
        if (PumpDepth() > 0) return true;
        return QDialog::focusNextPrevChild(next);
    }
    void contextMenuEvent(QContextMenuEvent* event) override { ShowSystemMenu(event->globalPos()); }
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (!LocalPaths(event->mimeData()).empty()) event->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* event) override {
        if (!LocalPaths(event->mimeData()).empty()) event->acceptProposedAction();
    }
    void dropEvent(QDropEvent* event) override {
        std::vector<std::string> paths = LocalPaths(event->mimeData());
        if (paths.empty()) return;
        // Accepted and finished at once: the file manager is not held while
        // the files are processed; the dialog's loop delivers the message.
        event->acceptProposedAction();
        Post(WM_DROPFILES, reinterpret_cast<WPARAM>(new DropList{std::move(paths)}), 0);
    }
    void paintEvent(QPaintEvent* event) override {
        if (!isMinimized()) {
            QDialog::paintEvent(event);
            return;
        }
        QPainter painter(this);
        painter_ = &painter;
        target_.SendMessage(WM_PAINT);
        painter_ = nullptr;
    }

private:
    // A test's next step runs from a queued event, so that everything
    // posted before it (a drop's message, say) is handled first; never from
    // inside a long loop's dispatching.
    void PostIdleMarker() {
        idleMarkerPosted_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                idleMarkerPosted_ = false;
                const bool innermost = !runningLoops_.empty() && runningLoops_.back() == this;
                if (innermost && !*loopEnded_ && PumpDepth() == 0) RunOneIdleTask();
            },
            Qt::QueuedConnection);
    }

    struct MenuItem {
        UINT flags;
        UINT id;
        QString text;
    };

    static std::vector<std::string> LocalPaths(const QMimeData* data) {
        std::vector<std::string> paths;
        if (!data || !data->hasUrls()) return paths;
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
        }
        return paths;
    }

    int ToPixelsX(int units) const { return units * baseX_ / 4; }
    int ToPixelsY(int units) const { return units * baseY_ / 8; }

    QWidget* Item(int id) const {
        auto found = items_.find(id);
        return found == items_.end() ? nullptr : found->second;
    }
    QWidget* FirstTabStop() const {
        for (QWidget* w : order_) {
            if (w->focusPolicy() & Qt::TabFocus) return w;
        }
        return nullptr;
    }

    void CreateItem(const DialogItem& item) {
        QWidget* widget = nullptr;
        const QString text = FromLocal(item.text);
        switch (item.kind) {
            case ControlClass::kGroupBox:
                widget = new QGroupBox(text, this);
                break;
            case ControlClass::kButton: {
                auto* button = new QPushButton(text, this);
                button->setAutoDefault(false);
                if (item.style & kDefaultButton) {
                    button->setDefault(true);
                    defaultButton_ = button;
                }
                const UINT id = static_cast<UINT>(item.id);
                QObject::connect(button, &QPushButton::clicked, this, [this, id] {
                    target_.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED));
                });
                widget = button;
                break;
            }
            case ControlClass::kStatic: {
                auto* label = new QLabel(text, this);
                label->setTextFormat(Qt::PlainText);
                label->setAlignment(Qt::AlignLeft |
                                    ((item.style & kCenterVertically) ? Qt::AlignVCenter : Qt::AlignTop));
                if (item.style & kClientEdge) {
                    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
                    label->setAutoFillBackground(false);
                }
                widget = label;
                break;
            }
            case ControlClass::kIcon: {
                auto* label = new QLabel(this);
                const IconResource* icon = FindIconResource(item.iconId);
                if (icon && !icon->images.empty()) {
                    label->setPixmap(QPixmap::fromImage(ImageOf(icon->images.front())));
                }
                label->setGeometry(ToPixelsX(item.x), ToPixelsY(item.y), 32, 32);
                widget = label;
                break;
            }
            case ControlClass::kProgressBar: {
                auto* bar = new QProgressBar(this);
                bar->setTextVisible(false);
                bar->setRange(0, 100);
                bar->setValue(0);
                bars_[item.id] = std::make_unique<QtProgressBar>(bar);
                widget = bar;
                break;
            }
        }
        if (item.kind != ControlClass::kIcon) {
            widget->setGeometry(ToPixelsX(item.x), ToPixelsY(item.y), ToPixelsX(item.cx), ToPixelsY(item.cy));
        }
        widget->setFocusPolicy((item.style & kTabStop) ? Qt::StrongFocus : Qt::NoFocus);
        if (item.id >= 0) {
            widget->setObjectName(QString("item%1").arg(item.id));
            items_[item.id] = widget;
        }
        order_.push_back(widget);
    }

    CWnd& target_;
    int baseX_ = 6;
    int baseY_ = 12;
    bool idleMarkerPosted_ = false;
    const bool* loopEnded_ = nullptr;
    static inline std::vector<DialogWindow*> runningLoops_;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    QPainter* painter_ = nullptr;
    QPushButton* defaultButton_ = nullptr;
    std::map<int, QWidget*> items_;
    std::vector<QWidget*> order_;
    std::map<int, std::unique_ptr<QtProgressBar>> bars_;
    std::vector<MenuItem> menuItems_;
};

// What a pump that is due dispatches: the bars' latest values, then every
// waiting event.
void DispatchWaitingEvents() {
    QtProgressBar::ShowWaiting();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace

namespace backend {

bool Initialize(int& argc, char** argv) {
    if (!QApplication::instance()) {
        static QApplication* application = new QApplication(argc, argv);
        (void)application;
    }
    QApplication::setQuitOnLastWindowClosed(false);
    // The classic look: group box captions on their frame line, sunken
    // statics, block progress bars, as the templates were drawn for.
    QApplication::setStyle(QStringLiteral("Windows"));
    // The templates' font is the original platform's; here a metric-compatible one answers for it,
    // or else another proportional Japanese gothic. Left to fontconfig, the name would resolve to
    // a Latin face whose wider letters no longer fit the labels sized in the template.
    QFont::insertSubstitutions(QString::fromUtf8("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QString::fromUtf8("IPA Pゴシック"),
                                QStringLiteral("VL PGothic"), QString::fromUtf8("VL Pゴシック"),
                                QStringLiteral("Noto Sans CJK JP")});
    InstallMessageSource(&DispatchWaitingEvents);
    return true;
}

std::unique_ptr<NativeWindow> CreateDialogWindow(const DialogTemplate& dialog, CWnd& target,
                                                 NativeWindow* owner) {
    return std::make_unique<DialogWindow>(dialog, target, owner);
}

int MessageBox(NativeWindow* owner, const CString& text, const CString& caption, UINT /*type*/) {
    QtProgressBar::ShowWaiting();
    QMessageBox box(QMessageBox::NoIcon, FromLocal(caption), FromLocal(text), QMessageBox::Ok,
                    owner ? dynamic_cast<DialogWindow*>(owner) : nullptr);
    box.exec();
    return IDOK;
}

bool ChooseFilesToOpen(NativeWindow* owner, const OpenFileRequest& request,
                       std::vector<std::string>& paths) {
    QtProgressBar::ShowWaiting();
    QFileDialog dialog(owner ? dynamic_cast<DialogWindow*>(owner) : nullptr);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multipleSelection ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    QStringList filters;
    for (const FileFilter& filter : request.filters) filters << FromLocal(filter.name.c_str());
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(FromLocal(request.defaultExtension.c_str()));
    if (dialog.exec() != QDialog::Accepted) return false;
    for (const QString& file : dialog.selectedFiles()) paths.push_back(QFile::encodeName(file).toStdString());
    return true;
}

HICON LoadIconResource(UINT id) { return FindIconResource(id); }

bool LoadStringResource(UINT id, std::string& text) {
    const char* found = FindStringResource(id);
    if (!found) return false;
    text = found;
    return true;
}

std::string ExecutablePath(const char* argv0) { return argv0 ? argv0 : ""; }

int SystemMetric(int index) {
    switch (index) {
        case SM_CXICON:
        case SM_CYICON:
            return 32;
        default:
            return 0;
    }
}

}  // namespace backend
