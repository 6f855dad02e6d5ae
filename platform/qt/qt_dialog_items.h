// SPDX-License-Identifier: MIT
// The Qt backend's controls of a dialog template, and the text and image
// conversions its other sources share.
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "native_window.h"

class QImage;
class QPushButton;
class QWidget;

// Marks the status line, for the accessibility factory that announces it.
inline constexpr const char* kStatusLine = "varnolaStatusLine";

// Texts are in the locale's encoding on both sides of the contract.
QString FromLocal(const char* bytes);
QString FromLocal(const CString& text);
CString ToLocal(const QString& text);
QImage ImageOf(const IconImage& image);

class QtProgressBar;

// The widgets of a template's controls, laid out in dialog units turned into
// pixels by the dialog font's base units, as the original platform computes
// them, and named for screen readers by their captions.
class QtDialogItems {
public:
    QtDialogItems();
    ~QtDialogItems();
    QtDialogItems(const QtDialogItems&) = delete;
    QtDialogItems& operator=(const QtDialogItems&) = delete;

    // Gives the window the template's font and size and creates its
    // controls; a button's click calls `clicked` with the button's id.
    void Build(const DialogTemplate& dialog, QWidget& window, std::function<void(UINT)> clicked);

    QWidget* Item(int id) const;
    // The first control in the template's order that Tab stops at.
    QWidget* FirstTabStop() const;
    QPushButton* DefaultButton() const { return defaultButton_; }
    ProgressBarView* ProgressBar(int id) const;

private:
    void CreateItem(const DialogItem& item, QWidget& window,
                    const std::function<void(UINT)>& clicked);
    void NameForScreenReaders(const DialogTemplate& dialog);
    int ToPixelsX(int units) const { return units * baseX_ / 4; }
    int ToPixelsY(int units) const { return units * baseY_ / 8; }

    int baseX_ = 6;
    int baseY_ = 12;
    QPushButton* defaultButton_ = nullptr;
    std::map<int, QWidget*> items_;
    std::vector<QWidget*> order_;
    std::map<int, std::unique_ptr<QtProgressBar>> bars_;
};
