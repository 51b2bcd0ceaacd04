#include "reports/windows/frm_racefiles.h"

#include "database/database_messages.h"
#include "platform/qt/frm_preview.h"
#include "platform/qt/window_support.h"
#include "reports/database_owner_lookup.h"
#include "reports/windows/frm_raceform.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace {
constexpr int kPathRole = Qt::UserRole;
const QString kParentFolder = QStringLiteral("..");
} // namespace

frmRacefiles::frmRacefiles(const RaceReportServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(services)
{
    setObjectName(QStringLiteral("frmRacefiles"));
    setWindowTitle(QStringLiteral("Corvex Race  Report"));
    setAttribute(Qt::WA_DeleteOnClose);

    Label1 = new QLabel(QStringLiteral("Available Race Files"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(reportWindowFont(10));
    Label2 = new QLabel(QStringLiteral("T = Training"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    lblFolder = new QLabel(this);
    lblFolder->setObjectName(QStringLiteral("lblFolder"));
    lblFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Dir1 = new QListWidget(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setMaximumHeight(QFontMetrics(Dir1->font()).height() * 6);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(List1, 1);
    auto* counts = new QHBoxLayout;
    counts->addWidget(Label2);
    counts->addStretch();
    counts->addWidget(Label3);
    layout->addLayout(counts);
    layout->addWidget(Drive1);
    layout->addWidget(lblFolder);
    layout->addWidget(Dir1);

    connect(List1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseEntry(List1->row(item)); });
    connect(List1, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { chooseEntry(List1->row(item)); });
    connect(Drive1, &QComboBox::activated, this, [this](int index) {
        const QString root = Drive1->itemData(index).toString();
        if (!root.isEmpty())
            setFolder(root);
    });
    connect(Dir1, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        setFolder(QDir::cleanPath(QDir(m_folder).filePath(item->data(kPathRole).toString())));
    });

    admin_ui::keyboardDefaults(this, nullptr, nullptr);

    setFolder(m_services.raceFolder);
    resize(QSize(300, 420).expandedTo(sizeHint()));
    centre();
}

void frmRacefiles::setFolder(const QString& folder)
{
    // The list follows the folder, so that a chosen name is always opened from the folder it was listed in.
    m_folder = folder;
    List1->clear();
    const auto entries = listRaceFiles(folder);
    for (const RaceFileEntry& entry : entries) {
        auto* item = new QListWidgetItem(entry.listText(), List1);
        item->setData(kPathRole, entry.name);
    }
    Label3->setText(filesListedText(int(entries.size())));
    List1->setEnabled(!entries.empty());
    if (entries.empty())
        List1->addItem(kNoFilesEntry);
    fillDrives();
    fillFolders();
    const QString shown = QDir::toNativeSeparators(QDir(folder).absolutePath());
    lblFolder->setText(lblFolder->fontMetrics().elidedText(shown, Qt::ElideMiddle, 280));
    lblFolder->setToolTip(shown);
}

frmRaceform* frmRacefiles::chooseEntry(int row)
{
    const QListWidgetItem* item = List1->item(row);
    if (!item || !List1->isEnabled())
        return nullptr;
    const QString name = item->data(kPathRole).toString();
    if (name.isEmpty())
        return nullptr;
    const QString path = QDir(m_folder).filePath(name);
    if (m_report && m_report->raceFilePath() == path) {
        m_report->raise();
        m_report->activateWindow();
        return m_report;
    }
    if (m_report) {
        m_report->disconnect(this); // replaced, not closed by the user: the chooser stays
        m_report->close();
    }
    auto* report = new frmRaceform(m_services, parentWidget());
    const auto opening = report->openFile(path);
    if (opening != frmRaceform::Opening::Shown) {
        delete report;
        if (opening == frmRaceform::Opening::FolderMissing)
            showFailedOpening();
        return nullptr;
    }
    m_report = report;
    connect(report, &frmRaceform::browseRequested, this, [this] {
        setFolder(m_folder);
        show();
        raise();
        activateWindow();
    });
    connect(report, &frmRaceform::previewOpened, this, &QWidget::hide);
    connect(report, &frmRaceform::closedWithoutBrowse, this, &QWidget::close);
    report->show();
    return report;
}

void frmRacefiles::showFailedOpening()
{
    List1->clear();
    List1->addItem(kNoFilesAfterFailureEntry);
    List1->setEnabled(false);
}

void frmRacefiles::centre()
{
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmRacefiles::mousePressEvent(QMouseEvent* event)
{
    centre();
    QWidget::mousePressEvent(event);
}

void frmRacefiles::fillDrives()
{
    Drive1->clear();
    int current = -1;
    qsizetype longest = -1;
    const QString absolute = QDir(m_folder).absolutePath();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = volume.rootPath();
        Drive1->addItem(root, root);
        // The volume holding the folder is the one with the longest matching root.
        if (absolute.startsWith(root) && root.size() > longest) {
            longest = root.size();
            current = Drive1->count() - 1;
        }
    }
    Drive1->setCurrentIndex(current);
}

void frmRacefiles::fillFolders()
{
    Dir1->clear();
    const QDir dir(m_folder);
    if (!dir.isRoot()) {
        auto* up = new QListWidgetItem(QStringLiteral("[..]"), Dir1);
        up->setData(kPathRole, kParentFolder);
    }
    for (const QString& name :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(QStringLiteral("[") + name + QStringLiteral("]"), Dir1);
        item->setData(kPathRole, name);
    }
}

frmRacefiles* makeRaceFileChooser(const QString& raceFolder, const QString& databasePath, Dialogs& dialogs,
                                  QWidget* parent)
{
    RaceReportServices services;
    services.dialogs = &dialogs;
    services.raceFolder = raceFolder;
    services.openOwners = [databasePath, &dialogs]() -> std::unique_ptr<OwnerLookup> {
        auto owners = std::make_unique<DatabaseOwnerLookup>();
        const DbResult opened = owners->open(databasePath);
        if (!opened.ok())
            ShowDatabaseError(dialogs, opened, databasePath);
        return owners;
    };
    return new frmRacefiles(services, parent);
}
