// SPDX-License-Identifier: MIT
// The open-file dialog: a folder's entries as the file system names them.
// Qt's own file dialog leaves out every name that is not valid UTF-8, so a
// file named on an older system could not be chosen; here each entry keeps
// its bytes and only the name shown is converted.
#include "qt_file_dialog.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>

namespace {

constexpr int kNameRole = Qt::UserRole;  // the entry's name, as bytes
constexpr int kFolderRole = Qt::UserRole + 1;

// A wildcard as the filters mean it: '*' any run, '?' any one byte, letters
// of either case alike, and "*.*" every name, with a dot or without.
bool Matches(const char* pattern, const char* name) {
    if (std::strcmp(pattern, "*.*") == 0) pattern = "*";
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' || std::tolower(static_cast<unsigned char>(*pattern)) ==
                                          std::tolower(static_cast<unsigned char>(*name))) {
            ++pattern;
            ++name;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

bool MatchesAny(const std::string& patterns, const std::string& name) {
    std::size_t start = 0;
    while (start <= patterns.size()) {
        std::size_t end = patterns.find(';', start);
        if (end == std::string::npos) end = patterns.size();
        std::string pattern = patterns.substr(start, end - start);
        pattern.erase(0, pattern.find_first_not_of(' '));
        pattern.erase(pattern.find_last_not_of(' ') + 1);
        if (!pattern.empty() && Matches(pattern.c_str(), name.c_str())) return true;
        start = end + 1;
    }
    return false;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder == "/" ? folder + name : folder + '/' + name;
}

std::string WorkingFolder() {
    std::vector<char> buffer(4096);
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) return "/";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

// Several names are typed each in quotes, as the name field shows a
// multiple selection; otherwise the field holds one name.
QStringList TypedNames(const QString& text) {
    if (!text.trimmed().startsWith('"')) return text.isEmpty() ? QStringList() : QStringList{text};
    QStringList names;
    const QStringList parts = text.split('"');
    for (int i = 1; i < parts.size(); i += 2) {
        if (!parts[i].isEmpty()) names << parts[i];
    }
    return names;
}

// The folder the dialog opens in: the last one chosen from while it is
// there, else the working folder, as the system's open dialog does.
std::string& LastFolder() {
    static std::string folder;
    return folder;
}

class OpenDialog final : public QDialog {
public:
    OpenDialog(QWidget* owner, const OpenFileRequest& request) : QDialog(owner), request_(request) {
        setWindowTitle(QStringLiteral("Open"));
        folderEdit_->setObjectName("folderEdit");
        list_->setObjectName("fileList");
        nameEdit_->setObjectName("fileNameEdit");
        types_->setObjectName("fileTypeCombo");
        list_->setSelectionMode(request.multipleSelection ? QAbstractItemView::ExtendedSelection
                                                          : QAbstractItemView::SingleSelection);
        for (const FileFilter& filter : request.filters)
            types_->addItem(QString::fromLocal8Bit(filter.name.c_str()));
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
        buttons->button(QDialogButtonBox::Open)->setDefault(true);

        auto* layout = new QGridLayout(this);
        auto row = [layout](int at, const char* caption, QWidget* field) {
            auto* label = new QLabel(QString::fromUtf8(caption));
            label->setBuddy(field);
            layout->addWidget(label, at, 0);
            layout->addWidget(field, at, 1);
        };
        row(0, "&Look in:", folderEdit_);
        layout->addWidget(list_, 1, 0, 1, 2);
        row(2, "File &name:", nameEdit_);
        row(3, "Files of &type:", types_);
        layout->addWidget(buttons, 4, 0, 1, 2);
        resize(560, 400);

        connect(buttons, &QDialogButtonBox::accepted, this, &OpenDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(types_, &QComboBox::currentIndexChanged, this, [this] { Show(folder_); });
        connect(list_, &QListWidget::itemSelectionChanged, this, &OpenDialog::NameSelection);
        connect(list_, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
        connect(nameEdit_, &QLineEdit::textEdited, this, [this] { typed_ = true; });
        if (LastFolder().empty() || !Show(LastFolder())) Show(WorkingFolder());
        list_->setFocus();
    }

    std::vector<std::string> chosen;

protected:
    // Open: a folder is entered; files end the dialog, those selected or
    // else the name typed (as it stands, existing or not: the job tells the
    // user about a name it cannot open).
    void accept() override {
        // Enter in the folder field goes to the folder typed, and only
        // there: a mistyped folder must not open what the list has selected.
        if (folderEdit_->hasFocus()) {
            Show(QFile::encodeName(folderEdit_->text()).toStdString());
            return;
        }
        std::vector<std::string> files;
        if (!typed_) {
            for (QListWidgetItem* item : list_->selectedItems()) {
                const std::string name = item->data(kNameRole).toByteArray().toStdString();
                if (item->data(kFolderRole).toBool()) {
                    if (list_->selectedItems().size() == 1) {
                        Show(Join(folder_, name));
                        return;
                    }
                    continue;
                }
                files.push_back(Join(folder_, name));
            }
        } else {
            const QStringList names = TypedNames(nameEdit_->text());
            if (names.size() > 1 && !request_.multipleSelection) return;
            for (const QString& typed : names) {
                std::string name = QFile::encodeName(typed).toStdString();
                if (name.front() != '/') name = Join(folder_, name);
                if (names.size() == 1 && IsFolder(name)) {
                    Show(name);
                    return;
                }
                files.push_back(name);
            }
        }
        if (files.empty()) return;
        chosen = std::move(files);
        LastFolder() = folder_;
        QDialog::accept();
    }

private:
    bool Show(const std::string& folder) {
        char resolved[PATH_MAX];
        DIR* dir = ::realpath(folder.c_str(), resolved) ? ::opendir(resolved) : nullptr;
        if (!dir) return false;
        folder_ = resolved;
        struct Entry {
            std::string name;
            QString shown;
            bool folder;
        };
        std::vector<Entry> entries;
        const int type = types_->currentIndex();
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            // Hidden names stay hidden, as the system's dialog hides them.
            if (name[0] == '.' && (name != ".." || folder_ == "/")) continue;
            const bool isFolder = IsFolder(Join(folder_, name));
            if (!isFolder && (type < 0 || !MatchesAny(request_.filters[type].patterns, name)))
                continue;
            entries.push_back({name, QString::fromLocal8Bit(name.c_str()), isFolder});
        }
        ::closedir(dir);
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
            if (a.folder != b.folder) return a.folder;
            return a.shown.compare(b.shown, Qt::CaseInsensitive) < 0;
        });
        list_->clear();
        for (const Entry& entry : entries) {
            auto* item = new QListWidgetItem(entry.folder ? entry.shown + '/' : entry.shown, list_);
            item->setData(kNameRole, QByteArray::fromStdString(entry.name));
            item->setData(kFolderRole, entry.folder);
        }
        folderEdit_->setText(QString::fromLocal8Bit(folder_.c_str()));
        nameEdit_->clear();
        typed_ = false;
        return true;
    }

    // The name field shows what is selected; typing in it chooses instead.
    void NameSelection() {
        QStringList names;
        for (QListWidgetItem* item : list_->selectedItems()) {
            if (!item->data(kFolderRole).toBool()) names << item->text();
        }
        nameEdit_->setText(names.size() == 1 ? names.front()
                           : names.isEmpty() ? QString()
                                             : '"' + names.join("\" \"") + '"');
        typed_ = false;
    }

    const OpenFileRequest& request_;
    std::string folder_;
    bool typed_ = false;
    QLineEdit* folderEdit_ = new QLineEdit;
    QListWidget* list_ = new QListWidget;
    QLineEdit* nameEdit_ = new QLineEdit;
    QComboBox* types_ = new QComboBox;
};

}  // namespace

bool ChooseFilesInDialog(QWidget* owner, const OpenFileRequest& request,
                         std::vector<std::string>& paths) {
    OpenDialog dialog(owner, request);
    if (dialog.exec() != QDialog::Accepted) return false;
    paths = dialog.chosen;
    return true;
}
