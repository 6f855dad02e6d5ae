// SPDX-License-Identifier: MIT
#include "normalize_dlg.h"

#include <climits>

#include "about_dlg.h"
#include "drop_files.h"
#include "file_dialog.h"
#include "resource_ids.h"
#include "win_app.h"

namespace {

constexpr DWORD kFileDialogBufferBytes = 16384;
constexpr const char* kWaveFilter = "Wave Files (*.wav)|*.wav|All Files (*.*)|*.*||";

}  // namespace

CNormalizeDlg::CNormalizeDlg(CWnd* parent) : CDialog(IDD_NORMALIZE_DIALOG, parent) {
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

CNormalizeDlg::~CNormalizeDlg() = default;

void CNormalizeDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SAVE_PROGRESS, saveBar);
    DDX_Control(pDX, IDC_MEASURE_PROGRESS, measureBar);
    DDX_Text(pDX, IDC_FILE_NAME, fileName);
    DDX_Text(pDX, IDC_STATUS, status);
}

BEGIN_MESSAGE_MAP(CNormalizeDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_FILE, OnFile)
    ON_WM_DROPFILES()
END_MESSAGE_MAP()

BOOL CNormalizeDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
        CString aboutMenu;
        aboutMenu.LoadString(IDS_ABOUTBOX);
        if (!aboutMenu.IsEmpty()) {
            systemMenu->AppendMenu(MF_SEPARATOR);
            systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutMenu);
        }
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    DragAcceptFiles(TRUE);
    return TRUE;
}

void CNormalizeDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(id, lParam);
    }
}

void CNormalizeDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, dc.GetSafeHdc(), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - cxIcon + 1) / 2;
    const int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HICON CNormalizeDlg::OnQueryDragIcon() { return m_hIcon; }

void CNormalizeDlg::OnFile() {
    if (busy_) {
        fileClickWaiting_ = true;  // opened once the running files are done
        return;
    }
    std::vector<CString> paths;
    if (ChooseFiles(paths)) ProcessInTurn(std::move(paths));
}

bool CNormalizeDlg::ChooseFiles(std::vector<CString>& paths) {
    CFileDialog dialog(TRUE, "wav", nullptr,
                       OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_LONGNAMES, kWaveFilter, this);
    std::vector<char> buffer(kFileDialogBufferBytes);
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.lpstrFile[0] = '\0';
    dialog.m_ofn.nMaxFile = kFileDialogBufferBytes;
    if (dialog.DoModal() != IDOK) return false;
    for (POSITION position = dialog.GetStartPosition(); position != 0;) {
        paths.push_back(dialog.GetNextPathName(position));
    }
    return true;
}

void CNormalizeDlg::OnDropFiles(HDROP drop) {
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<CString> paths;
    for (UINT i = 0; i < count; ++i) {
        // The buffer takes the whole path: a path cut short would name
        // another file, perhaps one that exists.
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::vector<char> path(std::max<std::size_t>(length + 1u, PATH_MAX));
        DragQueryFileA(drop, i, path.data(), static_cast<UINT>(path.size()));
        paths.emplace_back(path.data());
    }
    DragFinish(drop);
    CDialog::OnDropFiles(drop);
    ProcessInTurn(std::move(paths));
}

void CNormalizeDlg::ProcessInTurn(std::vector<CString> paths) {
    waiting_.insert(waiting_.end(), paths.begin(), paths.end());
    if (busy_) return;
    busy_ = true;
    EnableDlgItem(IDC_FILE, FALSE);
    for (;;) {
        while (!waiting_.empty()) {
            const CString path = waiting_.front();
            waiting_.pop_front();
            ProcessFile(path);
        }
        if (!fileClickWaiting_) break;
        fileClickWaiting_ = false;
        std::vector<CString> chosen;
        if (ChooseFiles(chosen)) waiting_.insert(waiting_.end(), chosen.begin(), chosen.end());
    }
    busy_ = false;
    EnableDlgItem(IDC_FILE, TRUE);
}

void CNormalizeDlg::ProcessFile(CString path) {
    fileName = path.Mid(path.ReverseFind(kPathSeparator) + 1);
    if (fileName.Right(4).CompareNoCase(".wav") == 0)
        fileName = fileName.Left(fileName.GetLength() - 4);
    status.Empty();
    measureBar.SetPos(0);
    saveBar.SetPos(0);
    UpdateData(FALSE);

    normalizer = std::make_unique<CWaveNormalizer>();
    if (!normalizer->Open(path.GetString())) {
        MessageBox("Wave File として認識できませんでした", nullptr, MB_OK);
        normalizer.reset();
        return;
    }

    status = "音量を調べています";
    UpdateData(FALSE);
    normalizer->ComputeGain(measureBar);

    if (normalizer->GetGain() == CWaveNormalizer::kUnityGain) {
        status = "すでに正規化済みです";
        UpdateData(FALSE);
        saveBar.SetRange32(0, 100);
        saveBar.SetPos(100);
        return;
    }

    status = "保存しています";
    UpdateData(FALSE);
    const bool ok = normalizer->SaveNormalized(saveBar);
    status = ok ? "正規化が終わりました" : "保存に失敗しました";
    UpdateData(FALSE);
}
