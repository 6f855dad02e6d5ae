// SPDX-License-Identifier: MIT
// What the framework decides for every backend, on the null backend: the
// modal loop and its automation steps, when a bar that waits takes its
// latest value, and who owns a dialog.
#include "dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation.h"
#include "native_window.h"
#include "resources.h"
#include "win_app.h"

namespace {

constexpr UINT kDialogId = 500;
constexpr int kStatus = 10;
constexpr int kBar = 11;
constexpr UINT kRecord = 600;  // a command that only leaves a mark

const DialogTemplate kTemplate{kDialogId,
                               "Test",
                               0,
                               0,
                               100,
                               50,
                               kCaption,
                               "Sans",
                               9,
                               {{kStatus, ControlClass::kStatic, "initial", 5, 5, 90, 10, 0},
                                {kBar, ControlClass::kProgressBar, "", 5, 20, 90, 10, 0}}};

const ResourceTable kTable{[](UINT id) { return id == kDialogId ? &kTemplate : nullptr; }, nullptr,
                           nullptr};

class TestDialog : public CDialog {
public:
    TestDialog(std::vector<std::string>& log, CWnd* parent = nullptr)
        : CDialog(kDialogId, parent), log_(log) {}
    void OnRecord() { log_.push_back("command"); }

    DECLARE_MESSAGE_MAP()

private:
    std::vector<std::string>& log_;
};

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
    ON_COMMAND(kRecord, OnRecord)
END_MESSAGE_MAP()

// A bar that, like Qt's, takes every value late; it records what it shows.
class LateBar final : public BackendProgressBar {
public:
    std::vector<int> drawn;

private:
    bool DrawsAtOnce(const ScaledProgress&) const override { return false; }
    void Draw(const ScaledProgress& value) override { drawn.push_back(value.position); }
};

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterResources(&kTable); }
    void TearDown() override {
        RegisterResources(nullptr);
        platform_testing::SetMessageBoxResponder(nullptr);
        ShowWaitingProgress();  // nothing left waiting for the next test
    }
    std::vector<std::string> log;
};

TEST_F(FrameworkTest, StepsRunInOrderEachAfterWhatWasPostedBeforeIt) {
    TestDialog dialog(log);
    platform_testing::RunWhenIdle([&] {
        log.push_back("step 1");
        dialog.PostMessage(WM_COMMAND, MAKEWPARAM(kRecord, 0));
        dialog.PostMessage(WM_COMMAND, MAKEWPARAM(kRecord, 0));
    });
    platform_testing::RunWhenIdle([&] {
        log.push_back("step 2");
        dialog.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(log, (std::vector<std::string>{"step 1", "command", "command", "step 2"}));
}

TEST_F(FrameworkTest, StepsGoToTheInnermostDialogAndTheOuterOneResumesAfter) {
    TestDialog outer(log);
    TestDialog inner(log, &outer);
    std::intptr_t innerResult = 0;
    platform_testing::RunWhenIdle([&] {
        log.push_back("outer opens inner");
        innerResult = inner.DoModal();
        log.push_back("inner returned");
    });
    platform_testing::RunWhenIdle([&] {
        log.push_back("in inner");
        inner.EndDialog(IDCANCEL);
    });
    platform_testing::RunWhenIdle([&] {
        log.push_back("in outer");
        outer.EndDialog(IDOK);
    });
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(innerResult, IDCANCEL);
    EXPECT_EQ(log, (std::vector<std::string>{"outer opens inner", "in inner", "inner returned",
                                             "in outer"}));
}

TEST_F(FrameworkTest, CloseMeansCancelAndAMissingTemplateIsNoDialog) {
    TestDialog dialog(log);
    platform_testing::RunWhenIdle([&] { dialog.PostMessage(WM_SYSCOMMAND, SC_CLOSE); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);

    RegisterResources(nullptr);
    TestDialog orphan(log);
    EXPECT_EQ(orphan.DoModal(), -1);
}

TEST_F(FrameworkTest, AWaitingBarShowsItsLatestValueAtEveryPointTheUserLooks) {
    // Each row: what happens after the bar moved twice, and whether the
    // bar then shows the second value.
    struct Row {
        const char* name;
        void (*act)(CWnd& dialog);
        bool shown;
        bool box;
    };
    const Row rows[] = {
        {"nothing", [](CWnd&) {}, false, false},
        {"text pushed", [](CWnd& d) { d.SetDlgItemText(kStatus, "now"); }, true, false},
        {"message box", [](CWnd& d) { d.MessageBox("box"); }, true, true},
        {"item read", [](CWnd& d) { (void)d.GetDlgItemText(kStatus); }, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestDialog dialog(log);
        LateBar bar;
        std::vector<int> shownAtBox;
        platform_testing::SetMessageBoxResponder([&](const CString&, const CString&, UINT) {
            shownAtBox = bar.drawn;
            return static_cast<int>(IDOK);
        });
        std::vector<int> before;
        std::vector<int> after;
        platform_testing::RunWhenIdle([&] {
            CProgressCtrl ctrl;
            ctrl.Attach(&bar);
            bar.drawn.clear();
            ctrl.SetPos(40);
            ctrl.SetPos(70);
            before = bar.drawn;
            row.act(dialog);
            after = bar.drawn;
        });
        std::vector<int> atNextStep;
        platform_testing::RunWhenIdle([&] {
            atNextStep = bar.drawn;
            dialog.EndDialog(IDOK);
        });
        dialog.DoModal();
        EXPECT_TRUE(before.empty());
        EXPECT_EQ(after, row.shown ? std::vector<int>{70} : std::vector<int>{});
        // The box, when there is one, comes up over the bar as it is now.
        EXPECT_EQ(shownAtBox, row.box ? std::vector<int>{70} : std::vector<int>{});
        // The top of the loop shows whatever still waits.
        EXPECT_EQ(atNextStep, std::vector<int>{70});
    }
}

TEST_F(FrameworkTest, TextsLiveInTheWindowAndNotBeyondIt) {
    TestDialog dialog(log);
    CString seen;
    platform_testing::RunWhenIdle([&] {
        seen = dialog.GetDlgItemText(kStatus);
        dialog.SetDlgItemText(kStatus, "変わった");
        seen += CString("|") + dialog.GetDlgItemText(kStatus);
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(seen, "initial|変わった");
    EXPECT_EQ(dialog.GetDlgItemText(kStatus), "");  // the window has gone
}

}  // namespace
