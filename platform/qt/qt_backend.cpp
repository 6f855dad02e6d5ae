// SPDX-License-Identifier: MIT
// The Qt 6 Widgets backend of the platform layer. It implements:
//  - the dialog window, its controls built from the template by
//    qt_dialog_items.cpp;
//  - the message routing: clicks, the close box, the dialog keys, the
//    window menu (right-click, Menu key, Shift+F10) and file drops become
//    the messages the application's maps expect;
//  - the modal loop's steps, the message pump, the message box and the
//    system metrics; the open-file dialog is qt_file_dialog.cpp's.
#include <xcb/xcb.h>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QUrl>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "drop_files.h"
#include "message_pump.h"
#include "native_window.h"
#include "qt_dialog_items.h"
#include "qt_file_dialog.h"
#include "wnd.h"

namespace {

QIcon IconOf(HICON icon) {
    QIcon out;
    if (!icon) return out;
    for (const IconImage& image : icon->images) out.addPixmap(QPixmap::fromImage(ImageOf(image)));
    return out;
}

class QtDialogWindow final : public QDialog, public NativeWindow {
public:
    QtDialogWindow(const DialogTemplate& dialog, CWnd& target, NativeWindow* owner)
        : QDialog(owner ? dynamic_cast<QtDialogWindow*>(owner) : nullptr), target_(target) {
        setObjectName(QString("dialog%1").arg(dialog.id));
        setWindowTitle(FromLocal(dialog.caption));
        // An application window (the main dialog) is a window of its own to
        // the window manager, listed in task bars; one with an owner is a
        // dialog kept over it. Neither can be minimised, maximised or resized.
        const Qt::WindowType kind = (dialog.style & kAppWindow) && !owner ? Qt::Window : Qt::Dialog;
        setWindowFlags(kind | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                       Qt::MSWindowsFixedSizeDialogHint);
        setWindowModality(owner ? Qt::ApplicationModal : Qt::NonModal);
        items_.Build(dialog, *this, [this](UINT id) {
            target_.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED));
        });
        if (dialog.style & kAcceptFiles) setAcceptDrops(true);
    }

    // NativeWindow
    void SetItemText(int id, const CString& text) override {
        if (auto* label = qobject_cast<QLabel*>(items_.Item(id))) {
            label->setText(FromLocal(text));
            // A captioned field is spoken by its caption, its text after it.
            if (!label->accessibleName().isEmpty()) label->setAccessibleDescription(label->text());
            label->repaint();  // the long loops that follow must show it at once
        } else if (auto* button = qobject_cast<QAbstractButton*>(items_.Item(id))) {
            button->setText(FromLocal(text));
        }
    }
    CString GetItemText(int id) const override {
        if (auto* label = qobject_cast<QLabel*>(items_.Item(id))) return ToLocal(label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(items_.Item(id)))
            return ToLocal(button->text());
        return CString();
    }
    // Disabling the control that has the focus leaves the window with none:
    // Space would do nothing and Enter would reach the OK handling. It takes
    // the focus back when enabled again, unless the focus went elsewhere.
    void EnableItem(int id, bool enable) override {
        QWidget* w = items_.Item(id);
        if (!w) return;
        if (!enable && focusWidget() == w) refocus_ = w;
        w->setEnabled(enable);
        if (!enable || w != refocus_) return;
        refocus_ = nullptr;
        if (!focusWidget()) w->setFocus(Qt::OtherFocusReason);
    }
    bool IsItemEnabled(int id) const override {
        const QWidget* w = items_.Item(id);
        return w && w->isEnabled();
    }
    ProgressBarView* ProgressBar(int id) override { return items_.ProgressBar(id); }
    void Show() override {
        if (parentWidget()) {
            move(parentWidget()->geometry().center() - rect().center());
        } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
        show();
        raise();
        activateWindow();
        if (QWidget* first = focusWidget() ? focusWidget() : items_.FirstTabStop()) {
            first->setFocus();
        }
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
            this,
            [target, message, wParam, lParam] { target->SendMessage(message, wParam, lParam); },
            Qt::QueuedConnection);
    }
    bool DispatchNextMessage() override {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        return true;
    }
    // A queued marker runs the task, so that everything posted before it (a
    // drop's message, say) is handled first.
    bool RunWhenDrained() override {
        if (idleMarkerPosted_) return false;
        idleMarkerPosted_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                idleMarkerPosted_ = false;
                RunIdleTaskFrom(*this);
            },
            Qt::QueuedConnection);
        return false;
    }
    void Hide() override { hide(); }

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
    void showEvent(QShowEvent* event) override {
        AskForFixedFrame();
        QDialog::showEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        // The close box is the window menu's Close: the dialog decides.
        event->ignore();
        target_.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    }
    void keyPressEvent(QKeyEvent* event) override {
        const bool menuKey =
            event->key() == Qt::Key_Menu ||
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
                } else if (QPushButton* defaultButton = items_.DefaultButton()) {
                    defaultButton->click();
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
    // The files are read where they are and never taken away: a drop is a
    // copy, whatever the source proposes. A source that offers no copy
    // (a move, a link) is refused, since it might delete its originals.
    static bool AcceptAsCopy(QDropEvent* event) {
        if (!(event->possibleActions() & Qt::CopyAction) || LocalPaths(event->mimeData()).empty()) {
            event->ignore();
            return false;
        }
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return true;
    }
    void dragEnterEvent(QDragEnterEvent* event) override { AcceptAsCopy(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { AcceptAsCopy(event); }
    void dropEvent(QDropEvent* event) override {
        if (!AcceptAsCopy(event)) return;
        // Finished at once: the file manager is not held while the files
        // are processed; the dialog's loop delivers the message.
        Post(WM_DROPFILES, reinterpret_cast<WPARAM>(new DropList{LocalPaths(event->mimeData())}),
             0);
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
    struct MenuItem {
        UINT flags;
        UINT id;
        QString text;
    };

    // A file URL carries the name's bytes percent-encoded; decoded straight
    // to bytes they name the file whatever its encoding, where a detour
    // through a string would replace what is not UTF-8.
    static std::vector<std::string> LocalPaths(const QMimeData* data) {
        std::vector<std::string> paths;
        if (!data || !data->hasUrls()) return paths;
        for (const QUrl& url : data->urls()) {
            const bool local =
                url.isLocalFile() && (url.host().isEmpty() || url.host() == "localhost");
            if (!local) continue;
            const QByteArray path =
                QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
            if (!path.isEmpty() && !path.contains('\0')) paths.push_back(path.toStdString());
        }
        return paths;
    }

    // What the window manager offers is read from the Motif hints when the
    // window is mapped. Qt always offers resizing there, with its handles;
    // the dialog's frame is modal: moved, closed, nothing else.
    void AskForFixedFrame() {
        // Other platforms (offscreen among them) may answer for X11 too.
        if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
        auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
        xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
        if (!connection) return;
        static constexpr char kName[] = "_MOTIF_WM_HINTS";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr);
        if (!atom) return;
        enum : std::uint32_t { kFunctions = 1, kDecorations = 2 };     // which fields count
        enum : std::uint32_t { kMove = 4, kClose = 32 };               // functions
        enum : std::uint32_t { kBorder = 2, kTitle = 8, kMenu = 16 };  // decorations
        const std::uint32_t hints[5] = {kFunctions | kDecorations, kMove | kClose,
                                        kBorder | kTitle | kMenu, 0, 0};  // no input mode, status
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(winId()),
                            atom->atom, atom->atom, 32, 5, hints);
        std::free(atom);
    }

    CWnd& target_;
    bool idleMarkerPosted_ = false;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    QPainter* painter_ = nullptr;
    QWidget* refocus_ = nullptr;
    QtDialogItems items_;
    std::vector<MenuItem> menuItems_;
};

// The status line is announced as the window's status bar, by its text.
class StatusLineAccessible final : public QAccessibleWidget {
public:
    explicit StatusLineAccessible(QLabel* label)
        : QAccessibleWidget(label, QAccessible::StatusBar) {}
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* AccessibleFor(const QString&, QObject* object) {
    auto* label = qobject_cast<QLabel*>(object);
    return label && label->property(kStatusLine).toBool() ? new StatusLineAccessible(label)
                                                          : nullptr;
}

// What a pump that is due dispatches: the bars' latest values, then every
// waiting event.
void DispatchWaiting() {
    ShowWaitingProgress();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QWidget* WindowHandleOf(NativeWindow* window) {
    return window ? dynamic_cast<QtDialogWindow*>(window) : nullptr;
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
    QAccessible::installFactory(&AccessibleFor);
    InstallMessageSource(&DispatchWaiting);
    return true;
}

std::unique_ptr<NativeWindow> CreateDialogWindow(const DialogTemplate& dialog, CWnd& target,
                                                 NativeWindow* owner) {
    return std::make_unique<QtDialogWindow>(dialog, target, owner);
}

int MessageBox(NativeWindow* owner, const CString& text, const CString& caption, UINT /*type*/) {
    QMessageBox box(QMessageBox::NoIcon, FromLocal(caption), FromLocal(text), QMessageBox::Ok,
                    WindowHandleOf(owner));
    box.exec();
    return IDOK;
}

bool ChooseFilesToOpen(NativeWindow* owner, const OpenFileRequest& request,
                       std::vector<std::string>& paths) {
    return ChooseFilesInDialog(owner ? dynamic_cast<QtDialogWindow*>(owner) : nullptr, request,
                               paths);
}

}  // namespace backend
