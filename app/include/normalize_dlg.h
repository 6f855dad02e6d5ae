// SPDX-License-Identifier: MIT
// The main window: the name of the file being worked on, a bar for the
// measurement, a bar for the rewrite and a one-line status. Files come from
// the File button or from a drop, and each runs through ProcessFile.
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "dialog.h"
#include "wave_normalizer.h"

class CNormalizeDlg : public CDialog {
public:
    explicit CNormalizeDlg(CWnd* parent = nullptr);
    ~CNormalizeDlg() override;

    // The whole job for one file, from showing its name to the outcome.
    void ProcessFile(CString path);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HICON OnQueryDragIcon();
    void OnFile();
    void OnDropFiles(HDROP drop);

    DECLARE_MESSAGE_MAP()

private:
    // Files asked for while a job runs wait their turn: the running loop
    // owns the normalizer, so no second job may start inside it.
    void ProcessInTurn(std::vector<CString> paths);
    bool ChooseFiles(std::vector<CString>& paths);

    CString fileName;
    CString status;
    CProgressCtrl measureBar;
    CProgressCtrl saveBar;
    std::unique_ptr<CWaveNormalizer> normalizer;
    HICON m_hIcon;

    std::deque<CString> waiting_;
    bool busy_ = false;
    bool fileClickWaiting_ = false;
};
